#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace mz {

class TDBData;
struct TDBActive;

// One accepted placement of the candidate search: the record and the anchor's
// position inside its word, from 1.
struct TDBIndexHit {
    uint32_t Id;
    uint32_t Q;
};

// The index behind TDB's indexed queries, built once for a TDBData and shared
// by every TDB made from it. Words are grouped by length; within a group every
// record has a fixed slot, in file order, and for every (letter position, byte)
// there is a bit set of the slots whose word has that byte there. Which records
// a query sees (those in Words) is a bit set per group of its own, TDBActive,
// kept by each TDB. A query tries every placement of the anchor (its position
// inside the word and the word's length) and intersects the bit sets of the
// pattern's letters; a second level of one bit per 64-slot block skips empty
// blocks, so a placement that nothing fits costs a few words. Order does not
// live in the index: TDB sorts the hits by chain position.
class TDBIndex {
public:
    // Longest word the groups hold; longer patterns are answered by the plain walk.
    static constexpr size_t MaxLength = 255;

    explicit TDBIndex(const TDBData& data);
    TDBIndex(const TDBIndex&) = delete;
    TDBIndex& operator=(const TDBIndex&) = delete;

    // An active record that fits the pattern around its anchor; -1 for none.
    int64_t FirstFit(const TDBActive& active, std::string_view pattern, std::string_view anchor,
                     size_t anchorPos) const;
    using THit = TDBIndexHit;
    // Stops once `hits` holds `limit` hits.
    void FindCandidates(const TDBActive& active, std::string_view pattern, std::string_view anchor, size_t anchorPos,
                        std::vector<THit>& hits, size_t limit = SIZE_MAX) const;
    // Appends every active record of exactly the pattern's length whose letters
    // agree with the pattern's (' ' takes any), in file order.
    void FitExactly(const TDBActive& active, std::string_view pattern, std::vector<uint32_t>& ids) const;
    // Appends every active record of `length` letters, in file order.
    void ActiveIds(const TDBActive& active, size_t length, std::vector<uint32_t>& ids) const;

    size_t GroupSize(size_t length) const { return Groups[length].Ids.size(); }
    uint32_t SlotOf(uint32_t id) const { return Slots[id]; }

private:
    friend struct TDBActive;
    friend class TDBCache;
    // One length group, read through views of this index's own buffers or of
    // a mapped cache file.
    struct TGroup {
        std::span<const uint32_t> Ids; // slot -> record
        // The words, slot after slot, so that a query never leaves the group.
        std::string_view Letters;
        size_t Blocks = 0;
        size_t SumWords = 0;
        const uint32_t* Table = nullptr; // (position * 256 + byte) -> 1 + bit set number; 0: none
        const uint64_t* Pool = nullptr;  // the bit sets, Blocks + SumWords words each
        size_t Sets = 0;                 // how many
        size_t Stride() const { return Blocks + SumWords; }
    };
    struct TGroupBuffers {
        std::vector<uint32_t> Ids;
        std::string Letters;
        std::vector<uint32_t> Table;
        std::vector<uint64_t> Pool;
    };
    TDBIndex() = default;
    // A group's Blocks and SumWords for `count` slots.
    static void SetBlocks(TGroup& group, size_t count);

    // The bit sets one placement intersects: the active set and one per letter.
    struct TSets {
        const uint64_t* Set[MaxLength + 1];
        size_t Count = 0;
    };
    // The pattern's letters (its cells other than ' '), left to right.
    struct TLetters {
        uint8_t Byte[MaxLength];
        uint8_t At[MaxLength]; // index in the pattern, from 0
        size_t Count = 0;
        explicit TLetters(std::string_view pattern);
    };
    // Collects the bit sets of one placement, the word's first letter on
    // pattern index `start`; false when one of them is empty.
    static bool Constraints(const TGroup& group, const uint64_t* active, const TLetters& letters, size_t start,
                            size_t length, TSets& sets);
    // Calls visit(slot) for every slot in all of `sets`, until it returns true.
    template <class Visit> static bool Intersect(const TGroup& group, const TSets& sets, Visit&& visit);

    std::vector<TGroup> Groups;         // by word length
    std::span<const uint32_t> Slots;    // record -> slot in its length group
    std::vector<TGroupBuffers> Buffers; // what the views point into, unless mapped
    std::vector<uint32_t> SlotBuffer;
};

// Which records of a TDBData one TDB's indexed queries see: per length group a
// bit per slot and a summary bit per 64-slot block, and a count per length.
struct TDBActive {
    TDBActive(const TDBIndex& index, const TDBData& data);
    void Set(uint32_t id, bool active);
    // Sets every record whose entry in `lists` is `list`, on a set with none set yet.
    void SetAll(const std::vector<uint8_t>& lists, uint8_t list);
    bool IsSet(uint32_t id) const;

    // Counts the records that became active, so that an answer "nothing fits"
    // can tell whether it may have changed, and keeps the latest of them:
    // record Activated[i] was activation LogBase + i.
    uint64_t Activations = 0;
    uint64_t LogBase = 0;
    std::vector<uint32_t> Activated;
    static constexpr size_t MaxLogged = 1 << 14;

    const TDBIndex* Index;
    const TDBData* Data;
    std::vector<std::vector<uint64_t>> Bits; // by length: Blocks words, then SumWords summary words
    std::vector<int32_t> ByLength;
};

// Whether `anchor` stands at position q (from 1) in the chain of its
// non-overlapping occurrences in `word`, searched from the left.
inline bool IsOccurrence(std::string_view word, std::string_view anchor, size_t q)
{
    size_t pos = word.find(anchor);
    while (pos != std::string_view::npos && pos + 1 < q)
        pos = word.find(anchor, pos + anchor.size());
    return pos != std::string_view::npos && pos + 1 == q;
}

} // namespace mz
