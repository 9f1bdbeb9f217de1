#pragma once

#include <string>
#include <vector>

namespace mz {

// The clues of one crossword chosen so that no two share a term (the parts of
// a clue between ", ", "rodzaj: " left out, letter case ignored).
//
// `clues[i]` holds the clues of the i-th answer, the one it should get first.
// Each answer gets one of its clues, a term repeated within a clue said once;
// where no choice of whole clues keeps the terms apart, a clue loses some of
// its terms (a clue keeps at least one term and three characters). When
// answers share a clue with a single term and have no other, the clash stays:
// such an answer keeps its first clue. An answer without clues gets "".
std::vector<std::string> ChooseDistinctClues(const std::vector<std::vector<std::string>>& clues);

} // namespace mz
