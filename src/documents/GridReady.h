#pragma once

#include "documents/CrossTXT.h"

#include <optional>
#include <string>

namespace mz {

// Whether a grid can show the document: at least 4 x 3 cells, rows of equal
// length, and in every cell a character a cell may hold.
bool FitsGrid(const TCrossTXT& doc);

// The document of the file when a grid can show it; none when the file
// cannot be read or the grid cannot show it.
std::optional<TCrossTXT> ReadForGrid(const std::string& fileName);

} // namespace mz
