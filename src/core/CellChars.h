#pragma once

namespace mz {

// The characters of a grid cell besides the letters and digits, as documents,
// files and the grid hold them.
inline constexpr unsigned char BlankCell = ' ';
inline constexpr unsigned char BlockedCell = '*';
// A cell of the composing preview that holds a letter not shown yet.
inline constexpr unsigned char HiddenLetterCell = '?';

} // namespace mz
