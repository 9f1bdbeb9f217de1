#pragma once

#include "grid/CrossDocument.h"
#include "grid/CrossSurface.h"

#include <QImage>

namespace mz {

// What tests may see and do of a grid's private state: its cells as the view
// checks them, the drawn image and the marks on it, the blinking.
struct TCrossSurfaceTestAccess {
    TCrossSurface& Grid;

    char GetCell(int col, int row) const { return Grid.GetCell(col, row); }
    void SetCell(int col, int row, char ch) const { Grid.SetCell(col, row, ch); }
    void SetColCount(int value) const { Grid.SetColCount(value); }
    void SetRowCount(int value) const { Grid.SetRowCount(value); }
    bool FocusVisible() const { return Grid.FFocusVisible; }
    int Border() const { return Grid.FBorder; }
    void SetBorder(int value) const { Grid.SetBorder(value); }
    TMode Mode() const { return Grid.FMode; }
    void ShowFocus(int col, int row) const { Grid.ShowFocus(col, row); }
    void HideFocus() const { Grid.HideFocus(); }
    void DrawCell(int col, int row, char ch) const
    {
        TCellFace face;
        face.Shape = TCellShape::Letter;
        face.Letter = static_cast<unsigned char>(ch);
        Grid.DrawCell(col, row, face);
    }
    void BlinkStep() const { Grid.BlinkStep(); }
    bool BlinkTimerActive() const { return Grid.FTimer.isActive(); }
    bool BlinkPhase() const { return Grid.FBlinkPhase; }
    // Whether the focus frame is drawn on the cell at the moment.
    bool FocusDrawn(int col, int row) const { return Is(col, row, &TCrossSurface::TCellView::FocusDrawn); }
    bool CellHighlighted(int col, int row) const { return Is(col, row, &TCrossSurface::TCellView::Highlight); }
    bool CellMarkedWrong(int col, int row) const { return Is(col, row, &TCrossSurface::TCellView::Wrong); }
    const QImage& GridImage() const { return Grid.FGridImage; }
    const QImage& CellImages() const { return Grid.FCellImages; }
    const QImage& HighlightImages() const { return Grid.FHighlightImages; }
    static int GlyphIndex(char ch) { return TCrossSurface::GlyphIndex(ch); }

private:
    bool Is(int col, int row, bool TCrossSurface::TCellView::*mark) const
    {
        const TCrossSurface::TCellView* cell = Grid.FindCell(col, row);
        return cell && cell->*mark;
    }
};

} // namespace mz

namespace mz::test {

inline TCrossSurfaceTestAccess In(TCrossSurface& grid)
{
    return {grid};
}
inline TCrossSurfaceTestAccess In(TCrossSurface* grid)
{
    return {*grid};
}

// A grid with a document of its own, as the window gives each of its grids one.
class TTestGrid : public TCrossSurface {
public:
    explicit TTestGrid(QWidget* parent = nullptr) : TCrossSurface(parent) { SetDocument(&FOwn); }

private:
    TCrossDocument FOwn;
};

} // namespace mz::test
