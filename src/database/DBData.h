#pragma once

#include "DB.h"
#include "DBIndex.h"
#include "Register.h"

#include <memory>
#include <mutex>

namespace mz {

// The contents of one database file, read once and then only read: every
// record's word, explanations and sound text in three flat buffers with the
// offsets of each record's part. Shared by every TDB loaded from it.
class TDBData {
public:
    TDBData();

    // Adds a record of the file as the loader reads it.
    void AddRecord(uint8_t kind, std::string_view text, const std::string& fileName);

    size_t Count() const { return WordAt.size() - 1; }
    // Every word, record after record; record id's word runs from
    // WordStarts()[id] to WordStarts()[id + 1].
    std::string_view AllWords() const { return Words; }
    const uint32_t* WordStarts() const { return WordAt.data(); }
    std::string_view Word(uint32_t id) const { return Part(Words, WordAt, id); }
    std::string_view ExplLines(uint32_t id) const { return Part(Expl, ExplAt, id); }
    std::string_view AudioLines(uint32_t id) const { return Part(Audio, AudioAt, id); }
    size_t Length(uint32_t id) const { return WordAt[id + 1] - WordAt[id]; }
    // Commonness 0 (rare) to 100; -1 when the file gives the word no score.
    int32_t Score(uint32_t id) const { return Scores[id]; }
    // The register record's kind of language; rgOrdinary for a word without one.
    TRegister Register(uint32_t id) const { return static_cast<TRegister>(Regs[id]); }

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
    static std::string_view Part(const std::string& text, const std::vector<uint32_t>& at, uint32_t id)
    {
        return std::string_view(text).substr(at[id], at[id + 1] - at[id]);
    }
    static uint64_t Hash(std::string_view word);
    void BuildLookup() const;

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
    mutable bool Duplicates = false;
    mutable std::once_flag IndexBuilt;
    mutable std::unique_ptr<TDBIndex> IndexPtr;
};

template <class Visit> void TDBData::ForEachEqual(std::string_view word, Visit&& visit) const
{
    std::call_once(LookupBuilt, [this] { BuildLookup(); });
    const size_t mask = Lookup.size() - 1;
    for (size_t at = Hash(word) & mask; Lookup[at] != 0; at = (at + 1) & mask)
        if (Word(Lookup[at] - 1) == word)
            visit(Lookup[at] - 1);
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
