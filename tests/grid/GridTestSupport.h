#pragma once

#include "CrossSurfaceTestAccess.h"

#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <string>
#include <vector>

namespace mz::test {

// Writes a 24-bit BMP of the given size into the directory and returns its path.
inline QString WriteBitmap(const QTemporaryDir& dir, const QString& name, const QImage& image)
{
    const QString path = dir.filePath(name);
    if (!image.convertToFormat(QImage::Format_RGB888).save(path, "BMP"))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// A strip in which every pixel has its own colour: red and green encode the
// position, so a pixel of the grid image tells exactly where it was copied from.
inline QImage PositionCodedStrip(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x & 0xFF, (x >> 8) | (y << 2), 100));
    return image;
}

inline QPoint SourceOf(QRgb pixel)
{
    return {qRed(pixel) | ((qGreen(pixel) & 3) << 8), qGreen(pixel) >> 2};
}

// Every cursor move, Return, double click and visibility report of a control, in order.
struct TEventLog {
    std::vector<std::string> Events;

    void Attach(TCrossSurface& grid)
    {
        QObject::connect(&grid, &TCrossSurface::CursorMoved, [this](int col, int row) {
            Events.push_back("refresh " + std::to_string(col) + "," + std::to_string(row));
        });
        QObject::connect(&grid, &TCrossSurface::EnterPressed, [this] { Events.push_back("enter"); });
        QObject::connect(&grid, &TCrossSurface::DoubleClicked, [this] { Events.push_back("dblclick"); });
        QObject::connect(&grid, &TCrossSurface::VisibilityChanged, [this](bool) { Events.push_back("visibility"); });
    }
};

// Fills the grid from rows of text (CP1250 bytes), row 1 first.
inline void FillRows(TCrossSurface& grid, const std::vector<std::string>& rows)
{
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            In(grid).SetCell(static_cast<int>(c) + 1, static_cast<int>(r) + 1, rows[r][c]);
}

inline std::string RowText(TCrossSurface& grid, int row)
{
    std::string text;
    for (int c = 1; c <= grid.ColCount(); ++c)
        text += In(grid).GetCell(c, row);
    return text;
}

} // namespace mz::test
