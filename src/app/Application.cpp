#include "app/Application.h"

#include "app/WindowText.h"

namespace mz {

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowErrorBox(QString::fromUtf8(e.what()));
    } catch (...) {
        ShowErrorBox(QStringLiteral("Wystąpił nieoczekiwany błąd."));
    }
    return false;
}

} // namespace mz
