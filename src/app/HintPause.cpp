#include "app/HintPause.h"

#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

namespace mz {

namespace {
int hintHidePause = 2500;
}

int HintHidePause()
{
    return hintHidePause;
}

void SetHintHidePause(int ms)
{
    hintHidePause = ms;
}

bool THintFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->toolTip().isEmpty())
        return false;
    auto* help = static_cast<QHelpEvent*>(event);
    QToolTip::showText(help->globalPos(), widget->toolTip(), widget, QRect(), hintHidePause);
    return true;
}

void InstallHintFilter()
{
    static THintFilter* filter = nullptr;
    if (!filter && qApp) {
        filter = new THintFilter(qApp);
        qApp->installEventFilter(filter);
    }
}

} // namespace mz
