#pragma once

#include <QApplication>

namespace mz {

// The application object. An error that escapes a command handler is shown in
// the standard error box and the program goes on, instead of tearing the
// program down from inside the event loop.
class TApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace mz
