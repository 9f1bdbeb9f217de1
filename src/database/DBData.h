#pragma once

#include "DB.h"
#include "DBIndex.h"
#include "Register.h"

#include <memory>
#include <mutex>
#include <span>

namespace mz {

// The contents of one database file, read once and then only read: every
// record's word, explanations and sound text in three flat buffers with the
// offsets of each record's part. Shared by every TDB loaded from it.
//
// The buffers are read through views, which point either at the buffers this
// object filled from the file's records or at a mapped cache file (DBCache.h).
class TDBData {
public:
    TDBData();

    // Adds a record of the file as the loader reads it. Nothing added is seen
    // by the readers below before Seal.
    void AddRecord(uint8_t kind, std::string_view text, const std::string& fileName);
    // Ends the adding: the readers see every record added so far.
    void Seal();

    size_t Count() const { return V.WordAt.size() - 1; }
    // Every word, record after record; record id's word runs from
    // WordStarts()[id] to WordStarts()[id + 1].
    std::string_view AllWords() const { return V.Words; }
    const uint32_t* WordStarts() const { return V.WordAt.data(); }
    std::string_view Word(uint32_t id) const { return Part(V.Words, V.WordAt, id); }
    std::string_view ExplLines(uint32_t id) const { return Part(V.Expl, V.ExplAt, id); }
    std::string_view AudioLines(uint32_t id) const { return Part(V.Audio, V.AudioAt, id); }
    size_t Length(uint32_t id) const { return V.WordAt[id + 1] - V.WordAt[id]; }
    // Commonness 0 (rare) to 100; -1 when the file gives the word no score.
    int32_t Score(uint32_t id) const { return V.Scores[id]; }
    // The register record's kind of language; rgOrdinary for a word without one.
    TRegister Register(uint32_t id) const { return static_cast<TRegister>(V.Regs[id]); }

    // Calls visit(id) for every record whose word equals `word`, in no order.
    template <class Visit> void ForEachEqual(std::string_view word, Visit&& visit) const;
    bool HasDuplicates() const;
    // Built at the first indexed query of any TDB that shares the data.
    const TDBIndex& Index() const;

    int32_t Edition = -1;
    int32_t SkippedWords = 0;  // word records a grid cell cannot show, left out with their clues
    int32_t RefusedSounds = 0; // sound names that are not plain file names, dropped
    int32_t MinLen = 255;
    int32_t MaxLen = 0;

private:
    friend class TDBCache;
    struct TViews {
        std::string_view Words;
        std::string_view Expl;
        std::string_view Audio;
        std::span<const uint32_t> WordAt;
        std::span<const uint32_t> ExplAt;
        std::span<const uint32_t> AudioAt;
        std::span<const int8_t> Scores;
        std::span<const uint8_t> Regs;
    };
    static std::string_view Part(std::string_view text, std::span<const uint32_t> at, uint32_t id)
    {
        return text.substr(at[id], at[id + 1] - at[id]);
    }
    static uint64_t Hash(std::string_view word);
    void BuildLookup() const;
    size_t Added() const { return WordAt.size() - 1; }

    TViews V;
    // What the views point into when it is not this object's buffers.
    std::shared_ptr<const void> Mapping;

    std::string Words;
    std::string Expl;
    std::string Audio;
    std::vector<uint32_t> WordAt;
    std::vector<uint32_t> ExplAt;
    std::vector<uint32_t> AudioAt;
    std::vector<int8_t> Scores;
    std::vector<uint8_t> Regs;
    bool SkippingWord = false; // the records after a skipped word are its own

    // Open addressing by the word's hash: 1 + record number, 0 for an empty place.
    mutable std::once_flag LookupBuilt;
    mutable std::vector<uint32_t> Lookup;
    mutable std::span<const uint32_t> LookupView;
    mutable bool Duplicates = false;
    mutable std::once_flag IndexBuilt;
    mutable std::unique_ptr<TDBIndex> IndexPtr;
};

template <class Visit> void TDBData::ForEachEqual(std::string_view word, Visit&& visit) const
{
    std::call_once(LookupBuilt, [this] { BuildLookup(); });
    const size_t mask = LookupView.size() - 1;
    for (size_t at = Hash(word) & mask; LookupView[at] != 0; at = (at + 1) & mask)
        if (Word(LookupView[at] - 1) == word)
            visit(LookupView[at] - 1);
}

// Where every record stands: its chain and its place in it (ascending from the
// chain's front), with the three counts and the next key at each front.
struct TDBState {
    std::vector<uint8_t> Lists;
    std::vector<int32_t> Keys;
    int32_t Counts[3] = {0, 0, 0};
    int32_t FrontKeys[3] = {0, 0, 0};
};

} // namespace mz
