#pragma once

#include <QImage>
#include <QPixmap>

namespace mz {

enum TToolbarPicture {
    tpNew,
    tpOpen,
    tpClose,
    tpStop,
    tpToDown,
    tpToRight,
    tpSave,
    tpPrint,
    tpHelp,
    tpPlay,
};

// The pictures of the flat toolbar buttons, painted once: 21 x 21.
QPixmap ToolbarPicture(TToolbarPicture kind);

// Background of the panel below the grid (Image2).
QImage PanelBackground(int width, int height);

// The 14 x 14 grip in the bottom-right corner of the template editor.
QPixmap ResizeGripPicture();

} // namespace mz
