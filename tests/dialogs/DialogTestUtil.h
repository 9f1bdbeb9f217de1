#pragma once

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace mz::test {

// A control of a dialog by its object name; a missing one ends the test run.
template <typename T> T* Child(QWidget& form, const char* name)
{
    T* child = form.findChild<T*>(QString::fromLatin1(name));
    if (!child)
        qFatal("no control %s", name);
    return child;
}

// Runs `handle` on the next modal dialog once it is open.
inline void WhenModalOpens(std::function<void(QWidget*)> handle)
{
    QTimer::singleShot(0, [handle] {
        QWidget* modal = nullptr;
        for (int i = 0; i < 200 && !modal; ++i) {
            modal = QApplication::activeModalWidget();
            if (!modal)
                QTest::qWait(10);
        }
        if (!modal)
            qFatal("no modal dialog opened");
        handle(modal);
    });
}

} // namespace mz::test
