#pragma once

#include "core/CellChars.h"
#include "documents/CrossTXT.h"
#include "documents/Numbering.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mz {

// A crossword kind decides everything that differs between kinds of
// crosswords: what each cell shows, where words and clues are, which composer
// makes it, and what prints and exports carry. Views and exports ask the kind
// of their document (KindOf) and paint or write what it describes; a new kind
// is a new implementation, the others stay as they are.

// What a cell is.
enum class TCellShape : uint8_t {
    Missing, // no cell at all (a file whose rows differ in length)
    Block,
    Letter, // a cell a letter goes into, empty or not
    Clue,   // a cell holding clues instead of a letter
};

// One clue written in a clue cell, with the direction its word goes from there.
struct TCellClue {
    std::string Text; // CP1250
    TDirection Arrow = TDirection::Across;

    bool operator==(const TCellClue&) const = default;
};

// Everything a view draws on one cell, told without any drawing.
struct TCellFace {
    TCellShape Shape = TCellShape::Missing;
    // The cell's own character: a letter, BlankCell, HiddenLetterCell or
    // BlockedCell; BlankCell for a missing cell.
    unsigned char Letter = BlankCell;
    // The letter the answers expect, 0 where none is known.
    unsigned char Answer = 0;
    // The printed number of the words starting here, 0 for none.
    int32_t Number = 0;
    // The cell's number in the "rozwiązanie", 0 for none.
    int32_t PhraseNumber = 0;
    bool Revealed = false;
    // The cell lies in some word.
    bool InWord = false;
    // A clue cell's clues.
    std::vector<TCellClue> Clues;

    bool operator==(const TCellFace&) const = default;
};

// The faces of a whole grid, column by column.
class TCellFaces {
public:
    TCellFaces() = default;
    TCellFaces(int32_t colCount, int32_t rowCount);

    int32_t ColCount() const { return FColCount; }
    int32_t RowCount() const { return FRowCount; }
    // A missing cell's face outside the grid.
    const TCellFace& At(int32_t col, int32_t row) const;
    TCellFace& operator[](TCellPos cell);

private:
    int32_t FColCount = 0;
    int32_t FRowCount = 0;
    std::vector<TCellFace> FFaces;
};

// One list of clues under its heading ("Poziomo"), by printed number.
struct TClueSection {
    TDirection Direction = TDirection::Across;
    std::string Heading; // CP1250, without a colon
    std::vector<TNumberedWord> Words;
};

// The composers a kind can name. The composing layer maps each to its code;
// the documents know none of them.
enum class TComposerName : uint8_t {
    None,         // made by hand only
    TemplateFill, // words and clues filled into a template from the word database
};

class TCrosswordKind {
public:
    virtual ~TCrosswordKind() = default;

    // Cells: every cell of the grid (for a printout or an export, all at
    // once), or one cell (a view redrawing what changed).
    virtual TCellFaces Faces(const TCrossTXT& doc) const = 0;
    virtual TCellFace Face(const TCrossTXT& doc, TCellPos cell) const = 0;

    // Words: the explanation whose word covers the cell in that direction (0
    // for none), the cells of an explanation's word (first letter first), and
    // where typing goes on after a letter typed in the cell in that direction
    // (nullopt: the cursor stays).
    virtual int32_t WordAt(const TCrossTXT& doc, TCellPos cell, TDirection dir) const = 0;
    virtual std::vector<TCellPos> WordCells(const TCrossTXT& doc, const TExpl& expl) const = 0;
    virtual std::optional<TTypingPlace> PlaceAfter(const TCrossTXT& doc, TCellPos cell, TDirection dir) const = 0;
    // Moving by whole words along the cell's line: the first cell of the word
    // at the cell or, on a block, of the nearest word before it (the line's
    // first cell when there is none); the first cell of the next word (the
    // line's last cell when there is none).
    virtual TCellPos WordStartBefore(const TCrossTXT& doc, TCellPos cell, TDirection dir) const = 0;
    virtual TCellPos NextWordStart(const TCrossTXT& doc, TCellPos cell, TDirection dir) const = 0;

    // Clues: the lists a solver reads, in order, each with its heading; the
    // heading of one direction's list (CP1250, without a colon).
    virtual std::vector<TClueSection> Clues(const TCrossTXT& doc) const = 0;
    virtual std::string Heading(TDirection dir) const = 0;

    // Composing: the composer that makes crosswords of this kind.
    virtual TComposerName Composer() const = 0;

    // Exports: the kind's name in an ipuz file.
    virtual std::string IpuzKind() const = 0;
};

// The kind of a document. Every crossword (and template) is classic today.
const TCrosswordKind& KindOf(const TCrossTXT& doc);

} // namespace mz
