#pragma once

#include "core/Random.h"
#include "documents/CrossTXT.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mz {

// Checking and revealing a crossword against the answers its explanations
// keep, and the numbered cells of its "rozwiązanie".
//
// A word lies from its first letter (Col, Row) in its direction up to the
// first block or the edge of the grid. An answer counts only when it is as
// long as that word; where two answers cross with different letters the cell
// has no known letter. Cells are the characters of TCrossTXT: ' ' empty, '*'
// block, '?' a letter not shown, anything else a letter.

// The cells of an explanation's word, first letter first; empty when its
// first cell is outside the grid or a block.
std::vector<TCellPos> WordCells(const TCrossTXT& doc, const TExpl& expl);

// The letter every cell should hold according to the answers.
class TSolutionGrid {
public:
    explicit TSolutionGrid(const TCrossTXT& doc);

    // The expected letter, 0 where no usable answer covers the cell.
    unsigned char Letter(int32_t col, int32_t row) const;
    // The cell lies in some explanation's word.
    bool InWord(int32_t col, int32_t row) const;
    // Every explanation has a usable answer and no two of them disagree.
    bool Complete() const { return FComplete; }
    // Some explanation has an answer: checking and revealing can do something.
    bool Any() const { return FAny; }

private:
    int32_t Index(int32_t col, int32_t row) const;

    int32_t FColCount = 0;
    int32_t FRowCount = 0;
    std::vector<unsigned char> FLetters;
    std::vector<bool> FInWord;
    bool FComplete = false;
    bool FAny = false;
};

// Whether the commands that check and reveal have anything to work with.
bool HasAnswers(const TCrossTXT& doc);

// The number of the explanation whose word covers the cell in that direction
// (the lowest number when several do), 0 for none.
int32_t ExplNumberAt(const TCrossTXT& doc, int32_t col, int32_t row, bool horizontal);

// Cells holding a letter other than the expected one, column by column.
// Empty cells and cells without a known letter are never wrong.
std::vector<TCellPos> WrongCells(const TCrossTXT& doc);
// The same within the word of explanation `number`, first letter first.
std::vector<TCellPos> WrongCellsOfWord(const TCrossTXT& doc, int32_t number);

// Puts the expected letter into the cell and marks it revealed. False (and
// nothing changes) when the cell has no known letter or already holds it.
bool RevealLetter(TCrossTXT& doc, int32_t col, int32_t row);
// Reveals every letter of the word; returns how many cells changed.
int32_t RevealWord(TCrossTXT& doc, int32_t number);
// Reveals the whole crossword; returns how many cells changed.
int32_t RevealAll(TCrossTXT& doc);

// Every cell of every word holds its expected letter, and every such cell has
// one: a crossword with an unknown answer is never solved.
bool IsSolved(const TCrossTXT& doc);

// The "rozwiązanie".

// The phrase as it is stored: letters upper-cased, runs of spaces made one,
// spaces at both ends dropped. Raises EIOOperation with a Polish message for
// an empty phrase, a character other than a letter or a space, or more than
// MaxPhraseLetters letters.
inline constexpr int32_t MaxPhraseLetters = 100;
std::string NormalizePhrase(std::string_view cp1250);

// Chooses, for each letter of the phrase in turn, an open cell whose expected
// letter it is, each cell at most once, every new cell as far as possible from
// the cells chosen before (ties drawn at random), and numbers them 1..n. The
// document is not changed. Raises EIOOperation with a Polish message naming
// the missing letters when the crossword cannot spell the phrase.
TPhrase ChoosePhraseCells(const TCrossTXT& doc, std::string_view phrase, TRandom& random);
// Whether the phrase's letters can all be taken from different cells.
bool PhraseFits(const TCrossTXT& doc, std::string_view phrase);

// The phrase's number of the cell (1..n), 0 for a cell outside the phrase.
int32_t PhraseNumberAt(const TCrossTXT& doc, int32_t col, int32_t row);
// The phrase as the solver has filled it so far: the current letter of each
// phrase cell, '_' where the cell is empty, and the phrase's own spaces kept.
std::string PhraseLetters(const TCrossTXT& doc);

} // namespace mz
