#pragma once

#include "DB.h"

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace mz {

// The index behind TDB's indexed queries. Words are grouped by length; within a
// group every word has a fixed slot, and for every (letter position, byte) there
// is a bit set of the slots whose word has that byte there, plus one bit set of
// the slots whose record is currently in Words. A query tries every placement of
// the anchor (its position inside the word and the word's length) and intersects
// the bit sets of the pattern's letters; a second level of one bit per 64-slot
// block skips empty blocks, so a placement that nothing fits costs a few words.
// Order does not live in the index: TDB sorts the hits by chain position.
class TDBIndex {
public:
    // Longest word the groups hold; longer patterns are answered by the plain walk.
    static constexpr size_t MaxLength = 255;

    // Indexes every record of the two chains; `active` is the one in Words.
    void Build(const TDBRec* active, const TDBRec* used);
    void SetActive(const TDBRec* rec, bool active);

    bool AnyWordFits(std::string_view pattern, std::string_view anchor, size_t anchorPos) const;
    // One accepted placement of the candidate search.
    struct THit {
        int64_t OrderKey;     // the record's place in Words
        uint32_t Q;           // the anchor's position inside the word, from 1
        std::string_view Word;
    };
    void FindCandidates(std::string_view pattern, std::string_view anchor, size_t anchorPos,
                        std::vector<THit>& hits) const;
    // Whether some record in Words is at most `length` long (length <= MaxLength).
    bool AnyActiveUpTo(size_t length) const;
    // Every indexed record whose word equals `word`.
    const std::vector<TDBRec*>* RecordsOf(std::string_view word) const;

private:
    struct TGroup {
        std::vector<TDBRec*> Recs;
        // Copies of the words (Recs.size() times the length, slot after slot)
        // and of their chain positions, so that a query never touches a record.
        std::string Letters;
        std::vector<int64_t> Keys;
        size_t Blocks = 0;
        size_t SumWords = 0;
        std::vector<uint64_t> Active; // Blocks words, then SumWords summary words
        std::vector<uint32_t> Table;  // (position * 256 + byte) -> 1 + bit set number; 0: none
        std::vector<uint64_t> Pool;   // the bit sets, Blocks + SumWords words each
        size_t Stride() const { return Blocks + SumWords; }
    };

    // Collects the bit sets of one placement; false when one of them is empty.
    bool Constraints(const TGroup& group, std::string_view pattern, size_t start, size_t length,
                     std::vector<const uint64_t*>& sets) const;
    // Calls visit(slot) for every slot in all of `sets`, until it returns true.
    template <class Visit>
    static bool Intersect(const TGroup& group, const std::vector<const uint64_t*>& sets, Visit&& visit);

    std::vector<TGroup> Groups;          // by word length
    std::vector<int32_t> ActiveByLength; // records of Words per length
    std::unordered_map<std::string_view, std::vector<TDBRec*>> ByWord;
    mutable std::vector<const uint64_t*> Scratch;
};

} // namespace mz
