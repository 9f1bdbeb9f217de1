#pragma once

#include "documents/CrossTXT.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace mz {

// The numbers every crossword program and magazine prints: each cell where a
// word starts gets one number, counted in reading order (rows from the top,
// each row from the left), shared by its across and its down word. The numbers
// depend only on where the words lie, never on the order of the explanations
// in the file, so they stay the same through any number of saves.

// One word with its printed number.
struct TNumberedWord {
    int32_t Number = 0; // the printed number, from 1
    int32_t Expl = 0;   // the explanation's own number in the document (GetExpl)
    TExpl Word;         // the explanation itself
    int32_t Length = 0; // letters from the start cell to the first block or edge
};

class TNumbering {
public:
    TNumbering() = default;
    explicit TNumbering(const TCrossTXT& doc);

    // Across and down words, each by printed number; two explanations of one
    // cell and direction keep their document order. A word whose first cell
    // is a block or off the grid is in neither list.
    const std::vector<TNumberedWord>& Across() const { return FAcross; }
    const std::vector<TNumberedWord>& Down() const { return FDown; }
    // The number printed in the cell, 0 where no word starts.
    int32_t NumberAt(int32_t col, int32_t row) const;
    // The printed number of explanation `expl` (its document number), 0 when unknown.
    int32_t NumberOfExpl(int32_t expl) const;
    // The largest printed number (the count of start cells).
    int32_t Count() const { return FCount; }

private:
    int32_t FColCount = 0;
    int32_t FRowCount = 0;
    int32_t FCount = 0;
    std::vector<int32_t> FCellNumbers; // column by column, like the grid
    std::vector<int32_t> FExplNumbers; // by document number, [0] unused
    std::vector<TNumberedWord> FAcross;
    std::vector<TNumberedWord> FDown;
};

// Where typing goes on after the last letter of a word: a cell and the
// direction of its word.
struct TTypingPlace {
    TCellPos Cell;
    bool Horizontal = true;

    bool operator==(const TTypingPlace&) const = default;
};

// The first cell of the word that holds no letter, nullopt when it is full.
std::optional<TCellPos> FirstEmptyCell(const TCrossTXT& doc, const TExpl& expl);

// After the last cell of explanation `expl`'s word: its own first empty cell,
// else the first empty cell of the next word that has one, in the order a
// solver reads the clue list (the rest of this direction's words, the other
// direction's words, then this direction's from the start); nullopt when
// every word is full or `expl` has no numbered word.
std::optional<TTypingPlace> NextEmptyPlace(const TCrossTXT& doc, const TNumbering& numbering, int32_t expl);

} // namespace mz
