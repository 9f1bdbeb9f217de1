#include "app/Zoom.h"

#include "grid/CellPictures.h"
#include "grid/CrossSurface.h"

#include <algorithm>
#include <cstdlib>

namespace mz {

const std::vector<int>& TZoom::Sizes()
{
    static const std::vector<int> sizes{16, 20, 24, DefaultCellSize, 32, 36, 42, 48, 56, 64};
    return sizes;
}

int TZoom::Nearest(int cellSize)
{
    const std::vector<int>& sizes = Sizes();
    return *std::min_element(sizes.begin(), sizes.end(),
                             [cellSize](int a, int b) { return std::abs(a - cellSize) < std::abs(b - cellSize); });
}

TZoom::TZoom(std::vector<TCrossSurface*> views, QString letterFile, QObject* parent)
    : QObject(parent), FViews(std::move(views)), FLetterFile(std::move(letterFile)), FCellSize(DefaultCellSize)
{
    setObjectName(QStringLiteral("Zoom"));
}

void TZoom::SetCellSize(int cellSize)
{
    cellSize = Nearest(cellSize);
    // A high-density screen gets pictures drawn at its own pixels.
    const qreal ratio = FViews.empty() ? 1.0 : FViews.front()->devicePixelRatioF();
    if (cellSize == FCellSize && qFuzzyCompare(ratio, FPixelRatio))
        return;
    if (cellSize == DefaultCellSize && qFuzzyCompare(ratio, 1.0)) {
        for (TCrossSurface* view : FViews)
            view->SetFileName(FLetterFile);
    } else {
        const int pixels = qRound(cellSize * ratio);
        QImage pictures = DrawCellPictures(pixels);
        pictures.setDevicePixelRatio(static_cast<qreal>(pixels) / cellSize);
        for (TCrossSurface* view : FViews)
            view->SetCellPictures(pictures);
    }
    const bool resized = cellSize != FCellSize;
    FCellSize = cellSize;
    FPixelRatio = ratio;
    if (resized)
        emit Zoomed(cellSize);
}

void TZoom::ZoomIn()
{
    const std::vector<int>& sizes = Sizes();
    const auto next = std::upper_bound(sizes.begin(), sizes.end(), FCellSize);
    if (next != sizes.end())
        SetCellSize(*next);
}

void TZoom::ZoomOut()
{
    const std::vector<int>& sizes = Sizes();
    const auto here = std::lower_bound(sizes.begin(), sizes.end(), FCellSize);
    if (here != sizes.begin())
        SetCellSize(*(here - 1));
}

void TZoom::DefaultSize()
{
    SetCellSize(DefaultCellSize);
}

} // namespace mz
