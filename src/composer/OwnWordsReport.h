#pragma once

#include "composer/FreeLayout.h"
#include "composer/WordList.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace mz {

// What the own-word dialog tells about a list and its layout, in UTF-8.

// "Popraw listę słów:" with the first `shown` refused lines and how many more.
std::string ListProblemsText(const TWordList& list, size_t shown);
// The free layout: placed and listed words, crossings and size, the merged
// repeats, and on a line of its own the words that found no place.
std::string FreeLayoutReport(const TFreeLayoutResult& result, const TWordList& list);
// The keyword crossword: its keyword (CP1250), rows and size, and the merged
// repeats of the list it came from (0 for words from the database).
std::string KeywordReport(std::string_view keyword, const TCrossTXT& doc, int32_t merged);

} // namespace mz
