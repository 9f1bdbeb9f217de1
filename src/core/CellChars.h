#pragma once

#include <cstdint>

namespace mz {

// The characters of a grid cell besides the letters and digits, as documents,
// files and the grid hold them.
inline constexpr unsigned char BlankCell = ' ';
inline constexpr unsigned char BlockedCell = '*';
// A cell of the composing preview that holds a letter not shown yet.
inline constexpr unsigned char HiddenLetterCell = '?';

// The direction of a word and of writing: across ("poziomo") or down
// ("pionowo"). Files keep it as TExpl::Horizontal.
enum class TDirection : std::uint8_t { Across, Down };

inline constexpr TDirection DirectionOf(bool horizontal)
{
    return horizontal ? TDirection::Across : TDirection::Down;
}

} // namespace mz
