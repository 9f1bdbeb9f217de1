#pragma once

#include <QImage>
#include <QSize>

namespace mz {

// The product picture: a corner of a crossword grid with the product name
// beside it. The splash file "logo.bmp" and the about box's image both come
// from it, at different sizes.
QImage PaintProductPicture(QSize size);

} // namespace mz
