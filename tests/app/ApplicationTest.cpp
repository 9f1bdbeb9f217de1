#include "app/Application.h"
#include "app/MessageBox.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <stdexcept>

using namespace mz;

namespace {

// A widget whose key handler fails the way a command handler can.
class TFailingWidget : public QWidget {
protected:
    void keyPressEvent(QKeyEvent*) override { throw std::runtime_error("Błąd polecenia"); }
};

} // namespace

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TFailingWidget widget;
    QString shown;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->findChild<QAbstractButton*>(QStringLiteral("OK"))->click();
        }
    });
    timer.start();
    // The error escapes the handler, is shown in the error box, and the program goes on.
    QTest::keyClick(&widget, Qt::Key_A);
    if (shown != QStringLiteral("Błąd polecenia")) {
        qCritical("the error box showed \"%s\"", qPrintable(shown));
        return 1;
    }
    return 0;
}
