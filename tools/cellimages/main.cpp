// Draws the cell pictures of the grid, "tekst.bmp", at their default size
// (see grid/CellPictures.h; the window draws them at other sizes when zoomed).

#include "grid/CellPictures.h"

#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <set>

namespace {

// A cell picture counts as drawn when it has dark pixels inside the frame.
int InkPixels(const QImage& image, const QRect& cell)
{
    int count = 0;
    for (int y = cell.top() + 1; y < cell.bottom(); ++y)
        for (int x = cell.left() + 1; x < cell.right(); ++x)
            if (qGray(image.pixel(x, y)) < 100)
                ++count;
    return count;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output.bmp>\n", argv[0]);
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    constexpr int size = mz::DefaultCellSize;
    const QImage image = mz::DrawCellPictures(size);

    // Refuse to install a picture without real glyphs: a missing font would
    // leave empty squares or identical replacement boxes.
    std::set<QByteArray> seen;
    for (int i = 0; i < mz::CellPictureColumns * mz::CellPictureRows; ++i) {
        if (!mz::CellPictureHasGlyph(i))
            continue;
        const QRect cell((i % mz::CellPictureColumns) * size, (i / mz::CellPictureColumns) * size, size, size);
        const QImage picture = image.copy(cell);
        if (InkPixels(image, cell) < 20
            || !seen.insert(QByteArray(reinterpret_cast<const char*>(picture.constBits()), picture.sizeInBytes()))
                    .second) {
            std::fprintf(stderr, "cellimages: glyph %d was not drawn\n", i);
            return 1;
        }
    }

    if (!image.save(output, "BMP")) {
        std::fprintf(stderr, "cellimages: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
