#pragma once

#include <QIcon>
#include <QImage>

namespace mz {

// The program's icon: a corner of a crossword grid with the letters M and Z on
// the blue of the splash picture. Drawn at any size; below 32 pixels the
// letters are left out, since they could not be read.
QImage PaintProgramIcon(int size);

// The icon at the usual sizes, for the windows of the program.
QIcon ProgramIcon();

} // namespace mz
