#pragma once

#include "composer/FreeLayout.h"
#include "composer/WordList.h"
#include "core/Random.h"
#include "database/Commonness.h"
#include "documents/CrossTXT.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mz {

class TDB;

// "Krzyżówka z hasłem": each row holds one answer, shifted so that one
// column spells the keyword from top to bottom. That column is the crossword's
// "rozwiązanie" (TCrossTXT::Phrase), so the window numbers its cells, shows the
// strip under the grid and prints it with the answer key as for any phrase.

// A crossword document has at least three rows.
inline constexpr int32_t MinKeywordLetters = 3;
inline constexpr int32_t MaxKeywordLetters = 30;

// The keyword as it is laid (CP1250 upper case, letters only). Raises
// EInvalidCrossKwelinOperation with a Polish message for a space, a hyphen or
// another character than a letter, and for too short or too long a keyword.
std::string NormalizeKeyword(std::string_view cp1250);

struct TKeywordResult {
    // Complete only when every letter has a word: cells of the rows open,
    // the others blocks, one explanation across per row (numbered from the top)
    // and the keyword's column as the phrase; at least MinLayoutCols wide.
    // Otherwise (some letter uncovered) left as constructed.
    TCrossTXT Document;
    // Positions (from 0) of the keyword letters no word could be given.
    std::vector<int32_t> Uncovered;
    // The row words from the top (CP1250).
    std::vector<std::string> Rows;
};

// Gives each letter of the keyword its own word of the list containing that
// letter, as many letters as possible (a word equal to the keyword is never
// used). The seed decides among the words that would do. RequireTwoWords
// applies to the list.
TKeywordResult ComposeKeyword(std::string_view keyword, const std::vector<TWordEntry>& words, TRandom& random);

// The same with words of the database's active words (the load's filter
// applies: the level's least score and the school setting, TDBLoadFilter) of
// MinKeywordRowLetters..MaxKeywordRowLetters letters, each clue one of the
// word's explanations as the level chooses it (drawn, the first or the last).
// A letter no word has stays uncovered.
inline constexpr int32_t MinKeywordRowLetters = 4;
inline constexpr int32_t MaxKeywordRowLetters = 10;
TKeywordResult ComposeKeywordFromDB(std::string_view keyword, const TDB& db, TRandom& random,
                                    TClueChoice clueChoice = ccDrawn);

// "Żadne słowo nie ma litery hasła: Ż (3.), Q (5.)" for the uncovered
// letters (UTF-8); empty when every letter is covered.
std::string UncoveredMessage(std::string_view keyword, const std::vector<int32_t>& uncovered);

} // namespace mz
