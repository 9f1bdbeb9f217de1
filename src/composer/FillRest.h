#pragma once

#include "composer/Composer.h"
#include "core/Table.h"
#include "database/DB.h"
#include "documents/CrossTXT.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mz {

inline constexpr const char* MsgLockedWordLost = "Ułożona krzyżówka nie zachowała zablokowanego hasła";

// A rectangle of cells, both corners included; empty when Col1 is 0.
struct TFillArea {
    int32_t Col1 = 0;
    int32_t Row1 = 0;
    int32_t Col2 = 0;
    int32_t Row2 = 0;

    bool Empty() const { return Col1 == 0; }
    bool Contains(int32_t col, int32_t row) const
    {
        return !Empty() && col >= Col1 && col <= Col2 && row >= Row1 && row <= Row2;
    }
    // "wiersz 3, kolumny 2–7", "kolumna 4, wiersze 1–5" or "kolumny 2–7, wiersze 1–5" (UTF-8).
    std::string Text() const;
    bool operator==(const TFillArea&) const = default;
};

// The grid a run that fills the rest composes from: the document's blocks and
// letters (hand-typed letters stay as fixed letters), the letters of every
// locked word (from the grid, else from its answer) and a block closing each
// end of a locked word that meets a free cell, so that the word stays as it is.
// Raises EInvalidCrossKwelinOperation with a Polish message naming the word
// when a locked word leaves the grid, crosses a block or another letter, has
// a cell whose letter nobody knows, or ends at a letter.
TTable KeptTemplate(const TCrossTXT& document);

// Gives a crossword composed from KeptTemplate(from) back what the user made:
// every word that stands where it stood in `from` with the same answer keeps
// its clue and sound, and the locked words stay locked.
void RestoreOwnParts(const TCrossTXT& from, TCrossTXT& result);

// Where a run from `kept` cannot get on: the first run of the grid that no
// word of the database fits (for an exact fill a run of at least MinLenPWord
// cells with another word than those standing complete; otherwise a stretch
// between blocks whose group of letters no word can take in). Empty when no
// single run shows it.
TFillArea StuckArea(const TTable& kept, const TDB& db, const TComposerSettings& settings);

// The locked words of `from` that `result` does not hold as words with the
// same letters at the same place; empty when every one is kept.
std::vector<TLockedWord> LostLockedWords(const TCrossTXT& from, const TTable& kept, const TCrossTXT& result);

// "Nie udało się uzupełnić krzyżówki (obszar: …)": the run's message with the area.
std::string FillFailureMessage(const std::string& message, const TFillArea& area);

} // namespace mz
