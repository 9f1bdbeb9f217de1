#pragma once

#include <QImage>
#include <QObject>
#include <QPoint>

class QLabel;
class QWidget;

namespace mz {

class TCrossSurface;

// The template editor's own parts: the resize grip in the bottom-right corner
// and the size box (columns and rows) drawn into the bottom panel. A drag on
// the grip resizes the template cell by cell; the window fits itself to the
// new size when SizeChanged comes.
class TTemplateEditor : public QObject {
    Q_OBJECT

public:
    // `panel` is the bottom panel the size box is drawn into; its picture is
    // taken as the plain one to restore on leaving.
    TTemplateEditor(TCrossSurface& templateView, QWidget& client, QLabel& panel, QObject* parent = nullptr);

    void SetShown(bool shown);
    // The row of the size box and the grip (in the client's bottom right
    // corner), for the client's layout under the grid.
    QWidget* Row() const { return FRow; }
    // Writes the size into the box and draws its frame into the panel.
    void UpdateSizeBox();
    // The template's size for a drag of the grip to a screen position, the
    // window's frame and the client's margins around the grid given.
    // Widens the panel under the grid to a client area of `width`.
    void FitPanel(int width);
    QSize SizeForGrip(QPoint screenPos, const QRect& window, QSize frameExtra, QSize margins) const;

signals:
    // One mouse move of a drag on the grip, at a screen position.
    void GripDragged(QPoint screenPos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TCrossSurface& FTemplateView;
    QWidget& FClient;
    QLabel& FPanel;
    QImage FPlainPanel;
    QLabel* FGrip = nullptr;
    QLabel* FCols = nullptr;
    QLabel* FRows = nullptr;
    QWidget* FRow = nullptr;
};

} // namespace mz
