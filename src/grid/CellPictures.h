#pragma once

#include <QImage>

namespace mz {

// The cell pictures of the grid drawn at a given size: 26 x 2 square cells in
// the order the grid cuts them out (A-Z; 0-9, Ą Ć Ę Ł Ń Ó Ś Ź Ż, four unused
// places, "?", the open cell, the blocked cell), 24 bits per pixel.
//
// The pictures imitate a printed crossword: dark bold capitals on a light
// square with a thin grey frame, and solid dark blocked cells. The letter
// squares are a very light grey rather than pure white, because the grid
// marks the word under the cursor by adding 30 to every colour byte; on pure
// white that marking would not show.
inline constexpr int CellPictureColumns = 26;
inline constexpr int CellPictureRows = 2;
// The size of the shipped pictures, tekst.bmp.
inline constexpr int DefaultCellSize = 28;

QImage DrawCellPictures(int cellSize);

// The place of a glyph in the pictures without a character of its own.
bool CellPictureHasGlyph(int index);

} // namespace mz
