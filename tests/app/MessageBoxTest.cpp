#include "app/MessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMainWindow>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace mz;

namespace {

// Runs `act` on the message box as soon as it is shown modally.
void WhenBoxShows(std::function<void(QMessageBox*)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(box);
        }
    });
    timer->start();
}

} // namespace

class MessageBoxTest : public QObject {
    Q_OBJECT
private slots:
    // The program's title, Polish buttons by their object names, the icon asked for.
    void theBoxIsTitledWithTheProgramAndSpeaksPolish()
    {
        QStringList captions;
        QString title;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        WhenBoxShows([&](QMessageBox* box) {
            title = box->windowTitle();
            icon = box->icon();
            for (const char* name : {"Yes", "No", "Cancel"})
                captions << box->findChild<QAbstractButton*>(QString::fromLatin1(name))->text();
            box->findChild<QAbstractButton*>(QStringLiteral("No"))->click();
        });
        QCOMPARE(ShowMessage(QStringLiteral("Pytanie"), QMessageBox::Question,
                             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel),
                 QMessageBox::No);
        QCOMPARE(title, QStringLiteral("Messageboxtest"));
        QCOMPARE(icon, QMessageBox::Question);
        QCOMPARE(captions, QStringList({"&Tak", "&Nie", "Anuluj"}));
        SetApplicationTitle(QStringLiteral("Mirakolnik Zodevidar"));
        WhenBoxShows([&](QMessageBox* box) {
            title = box->windowTitle();
            captions = QStringList{box->findChild<QAbstractButton*>(QStringLiteral("OK"))->text()};
            box->accept();
        });
        ShowMessage(QStringLiteral("Błąd"), QMessageBox::Critical);
        QCOMPARE(title, QStringLiteral("Mirakolnik Zodevidar"));
        QCOMPARE(captions, QStringList{"OK"});
        SetApplicationTitle(QString());
    }

    void enterEscapeAndTheCloseBoxGiveTheSameAnswersAsBefore_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("enter");
        QTest::addColumn<int>("escape");
        QTest::newRow("OK") << int(QMessageBox::Ok) << int(QMessageBox::Ok) << int(QMessageBox::Ok);
        QTest::newRow("Yes and No: Enter Yes, Esc No")
            << int(QMessageBox::Yes | QMessageBox::No) << int(QMessageBox::Yes) << int(QMessageBox::No);
        QTest::newRow("Yes, No and Cancel: Enter Yes, Esc Cancel")
            << int(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) << int(QMessageBox::Yes)
            << int(QMessageBox::Cancel);
    }
    void enterEscapeAndTheCloseBoxGiveTheSameAnswersAsBefore()
    {
        QFETCH(int, buttons);
        QFETCH(int, enter);
        QFETCH(int, escape);
        const auto shown = [&] {
            return int(ShowMessage(QStringLiteral("Tekst"), QMessageBox::Information,
                                   QMessageBox::StandardButtons(buttons)));
        };
        WhenBoxShows([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
        QCOMPARE(shown(), enter);
        WhenBoxShows([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
        QCOMPARE(shown(), escape);
        WhenBoxShows([](QMessageBox* box) { box->close(); });
        QCOMPARE(shown(), escape);
    }

    // Over the window while it is shown; a minimized window leaves the box on the screen's own.
    void theBoxBelongsToTheWindowUnlessItIsMinimized()
    {
        QMainWindow window;
        window.resize(400, 300);
        window.show();
        QWidget* parent = nullptr;
        WhenBoxShows([&](QMessageBox* box) {
            parent = box->parentWidget();
            box->accept();
        });
        ShowMessage(QStringLiteral("x"), QMessageBox::Information, QMessageBox::Ok, &window);
        QCOMPARE(parent, &window);
        window.showMinimized();
        WhenBoxShows([&](QMessageBox* box) {
            parent = box->parentWidget();
            box->accept();
        });
        ShowMessage(QStringLiteral("x"), QMessageBox::Information, QMessageBox::Ok, &window);
        QCOMPARE(parent, nullptr);
    }
};

QTEST_MAIN(MessageBoxTest)
#include "MessageBoxTest.moc"
