#include "app/ScreenPlace.h"

#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace mz {

QRect KeptInside(const QRect& frame, const QRect& area)
{
    QRect kept = frame;
    if (kept.right() > area.right())
        kept.moveRight(area.right());
    if (kept.bottom() > area.bottom())
        kept.moveBottom(area.bottom());
    if (kept.left() < area.left())
        kept.moveLeft(area.left());
    if (kept.top() < area.top())
        kept.moveTop(area.top());
    return kept;
}

QRect AvailableAreaFor(const QRect& frame)
{
    QScreen* best = nullptr;
    qint64 bestArea = 0;
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect common = screen->geometry().intersected(frame);
        const qint64 area = qint64(common.width()) * common.height();
        if (area > bestArea) {
            best = screen;
            bestArea = area;
        }
    }
    if (!best)
        best = QGuiApplication::primaryScreen();
    return best ? best->availableGeometry() : QRect(0, 0, 1024, 768);
}

void KeepOnScreen(QWidget& window)
{
    const QRect frame = window.frameGeometry();
    const QRect kept = KeptInside(frame, AvailableAreaFor(frame));
    if (kept.topLeft() != frame.topLeft())
        window.move(window.pos() + (kept.topLeft() - frame.topLeft()));
}

TScreenKeeper::TScreenKeeper(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("ScreenKeeper"));
}

bool TScreenKeeper::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show) {
        if (auto* dialog = qobject_cast<QDialog*>(watched); dialog && dialog->isWindow()) {
            // Once the dialog has its size and frame.
            QTimer::singleShot(0, dialog, [dialog] { KeepOnScreen(*dialog); });
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace mz
