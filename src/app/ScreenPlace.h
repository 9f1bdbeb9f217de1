#pragma once

#include <QObject>
#include <QRect>

class QWidget;

namespace mz {

// The frame moved (never resized) so that it lies within `area`; a frame
// larger than the area keeps its top-left corner inside it.
QRect KeptInside(const QRect& frame, const QRect& area);

// The available area (without panels and docks) of the screen that holds the
// largest part of the frame; the primary screen's when none holds any of it.
QRect AvailableAreaFor(const QRect& frame);

// Moves a top-level window (the main window, a dialog) onto the available
// area of its screen.
void KeepOnScreen(QWidget& window);

// Keeps every dialog of the program on the screen as it is shown: installed
// once on the application.
class TScreenKeeper : public QObject {
    Q_OBJECT

public:
    explicit TScreenKeeper(QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace mz
