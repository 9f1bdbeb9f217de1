#pragma once

#include <QObject>
#include <QString>

#include <vector>

namespace mz {

class TCrossSurface;

// The size of the grid's cells for every grid of the window. The default
// size shows the shipped pictures (tekst.bmp); every other size has its
// pictures drawn for it, so letters stay sharp at any size.
class TZoom : public QObject {
    Q_OBJECT
public:
    // The sizes the commands step through, in pixels; the default is one of them.
    static const std::vector<int>& Sizes();

    TZoom(std::vector<TCrossSurface*> views, QString letterFile, QObject* parent = nullptr);

    int CellSize() const { return FCellSize; }
    // Gives every grid pictures of the size, drawn at the screen's pixel
    // ratio; throws when the shipped pictures cannot be read. Emits Zoomed
    // when the size changed.
    void SetCellSize(int cellSize);
    void ZoomIn();
    void ZoomOut();
    void DefaultSize();

signals:
    void Zoomed(int cellSize);

private:
    // A size as stored: the nearest size of the steps.
    static int Nearest(int cellSize);

    std::vector<TCrossSurface*> FViews;
    QString FLetterFile;
    int FCellSize;
    qreal FPixelRatio = 1;
};

} // namespace mz
