#pragma once

#include "composer/Kwelin.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace mz {

// The search a run falls back on when the plain search of TCrossKwelin keeps
// losing its way (large open templates). It grows the crossword by the same
// rules and with the same parts (slot choice, candidate filtering, scoring,
// closing a lone letter), but differs where the plain search gets stuck:
//
// - Every cell remembers the stack entry that put its letter or block there.
//   A slot without a word jumps back to the newest entry that touched the
//   slot's stretch or the crossing stretches its candidates were checked
//   against, instead of undoing the last word and trying its alternatives
//   one by one.
// - An entry takes only JumpsPerEntry such jumps; after that the blame passes
//   to the next older entry of the dead end, and when every one of them is
//   spent the oldest is taken out altogether and the search grows again from
//   the grid before it.
// - A crossing that a word would complete (no free cell left between its
//   blocks) must be exactly an unused database word; it is then marked used
//   like a laid word, so no answer occurs twice and every run of at least
//   MinLenPWord letters is a word of the database.
//
// It works on the kwelin's grid, generator and database; the kwelin's own
// stack stays empty. Like the plain search it has no bound of its own: the
// run counts its steps.
class TBackjumpSearch {
public:
    static constexpr int32_t JumpsPerEntry = 3;

    // `db` is the database the kwelin was created with.
    TBackjumpSearch(TCrossKwelin& kwelin, TDB& db);

    // The slot of the next step: of the open groups of two or more letters the
    // one with the fewest candidates, so that a hopeless one fails first;
    // without such groups the plain search's choice (lone letters, free room).
    TPWordCoordinate ChooseSlot() const;
    // One step for the slot: lay a word, close a lone letter or jump back.
    // False when no entry is to blame for the dead end: the attempt has failed.
    bool Step(const TPWordCoordinate& slot);
    // Whether the grid obeys every rule: every run of at least MinLenPWord
    // letters is a database word, no shorter run has two letters, and no
    // word occurs twice.
    bool GridIsSound() const;

    // The words the steps laid, oldest first.
    std::vector<std::string> PlacedWords() const;
    // The first cell of the slot that met the most dead ends so far; false
    // before the first dead end.
    bool WorstDeadEnd(int32_t& col, int32_t& row) const;
    int32_t Depth() const { return static_cast<int32_t>(Stack.size()); }

    // Called after every placed or undone word, with the grid as it is then.
    std::function<void(const TTable&)> OnPreview;

private:
    struct TEntry {
        TPWordLists Candidates; // alternatives not yet tried
        TPWordCoordinate Slot;
        std::string PWord;
        uint8_t Offset = 0;
        std::vector<std::string> Completed; // crossings the word completed, marked used
        int32_t Jumps = 0;
        TTable Snapshot; // the grid before the word
        std::vector<int32_t> OwnerSnapshot;
    };

    // Keeps only the candidates whose completed crossings are unused words.
    void FilterCompletions(TPWordLists& list, const TPWordCoordinate& slot) const;
    // Lays the word with its closing blocks into `table`; the changed cells go to `changed`.
    void Lay(TTable& table, const TPWordCoordinate& slot, const std::string& word, uint8_t offset,
             std::vector<std::pair<int32_t, int32_t>>* changed) const;
    // The runs that laying the word into `table` closed with no free cell, except the word itself.
    std::vector<std::string> CompletedRuns(const TTable& table, const TPWordCoordinate& slot, const std::string& word,
                                           uint8_t offset, const std::vector<std::pair<int32_t, int32_t>>& changed,
                                           bool& shortRun) const;
    // The slot a later step would take for the group of letters through (c, r)
    // along `dir`; not Found() when that group needs no word (a lone letter,
    // a complete run, a stretch too short, the first row or column).
    TPWordCoordinate CrossingSlot(const TTable& table, int32_t c, int32_t r, uint8_t dir) const;
    // CrossingSlot for a group that still has a free cell next to it.
    TPWordCoordinate OpenGroupSlot(const TTable& table, int32_t c, int32_t r, uint8_t dir) const;
    // Whether some candidate of the slot passes the filter on the kwelin's grid.
    bool AnyCandidateSurvives(const TPWordCoordinate& slot) const;
    // Draws one of the lowest-scored alternatives of the top entry and lays it.
    void LayNextCandidate();
    bool JumpBack(const TPWordCoordinate& slot);
    // Entries (numbered from 1) whose cells the slot's candidates depend on, newest first.
    std::vector<int32_t> Blame(const TPWordCoordinate& slot) const;
    // Undoes entries down to `depth` entries, restoring the grid before the first undone one.
    void PopTo(int32_t depth);
    void Release(const TEntry& entry);
    int32_t& Owner(int32_t c, int32_t r) { return Owners[(c - 1) + static_cast<size_t>(r - 1) * Table().ColCount()]; }
    int32_t Owner(int32_t c, int32_t r) const
    {
        return Owners[(c - 1) + static_cast<size_t>(r - 1) * Table().ColCount()];
    }
    const TTable& Table() const { return Kwelin.Table(); }
    void UpdatePreview();

    TCrossKwelin& Kwelin;
    TDB& DB;
    std::vector<TEntry> Stack;      // back() is the top
    std::vector<int32_t> Owners;    // per cell: the entry that set it (from 1), 0 for the template
    std::vector<uint32_t> DeadEnds; // per cell: dead ends of slots starting there
};

// The grid with every cell within `radius` of (col, row) freed again, except
// the template's own cells and, unless words may start anywhere, row 1 and
// column 1 (their blocks keep words that start there apart). The words it
// cuts become groups of letters that the search extends again.
TTable EraseAround(const TTable& grid, const TTable& pattern, int32_t col, int32_t row, int32_t radius,
                   bool anyWordLocation);
// The letters of the grid.
int32_t LetterCount(const TTable& grid);
// The centre of a window of 2 * radius + 1 cells a side, inside the grid and
// off row 1 and column 1, with few letters: one of the eight sparsest such
// windows, drawn at random.
void SparseWindow(const TTable& grid, int32_t radius, TRandom& random, int32_t& col, int32_t& row);

// Marks every word standing in the grid (a run of at least minLen letters
// shut in by blocks or edges) used, as a search that laid them would have.
void MarkStandingWords(TDB& db, const TTable& grid, int32_t minLen);

} // namespace mz
