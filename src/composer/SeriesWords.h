#pragma once

#include "core/Table.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mz {

// The answers of a finished grid, as the hand-over gives them explanations:
// every run of at least `minLen` letters, across row by row, then down column
// by column. A series that must not repeat an answer sets these aside for the
// crosswords that follow (TDBLoadFilter::SetAside).
std::vector<std::string> GridAnswers(const TTable& grid, int32_t minLen);

} // namespace mz
