#pragma once

#include "core/Table.h"
#include "database/DB.h"
#include "database/WordBase.h"
#include "documents/CrossTXT.h"

#include <string>
#include <vector>

namespace mz {

// What building a crossword by hand reads from the grid and does to it.

// The word a cell stands in: the letters side by side with it in one
// direction, at least two; Length 0 when there is none.
TLockedWord WordThrough(const TTable& grid, int32_t col, int32_t row, bool horizontal);
// The letters of the word's cells.
std::string LettersOf(const TTable& grid, const TLockedWord& word);
// Every run of at least minLen letters that the database does not know, in
// the order GridSlots finds them, each once.
std::vector<std::string> UnknownWords(const TTable& grid, const TDB& db, int32_t minLen);
// Locks or unlocks the word; a locked word gets blocks on the free cells at
// its two ends, which show where it stops.
void SetWordLocked(TCrossTXT& doc, const TLockedWord& word, bool lock);
// Gives the word its own clue: the explanation starting where it starts (in
// its direction) is changed, else one is added; the answer is the word's letters.
void SetOwnClue(TCrossTXT& doc, const TLockedWord& word, const std::string& clue, const std::string& answer);
// The crossword's answers the database does not know that have a clue.
std::vector<TOwnWord> OwnWordsOutside(const TCrossTXT& doc, const TDB& db);

} // namespace mz
