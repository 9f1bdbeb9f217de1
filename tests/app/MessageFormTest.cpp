#include "app/MessageForm.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace mz;

namespace {

// Runs `act` on the message box as soon as it is shown modally.
void WhenBoxShows(std::function<void(TMessageForm*)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* box = qobject_cast<TMessageForm*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(box);
        }
    });
    timer->start();
}

QStringList ButtonNames(const TMessageForm& box)
{
    QStringList names;
    for (QPushButton* b : box.Buttons())
        names << b->objectName();
    return names;
}

} // namespace

class MessageFormTest : public QObject {
    Q_OBJECT
private slots:
    void buttonsComeInTheirFixedOrderWithPolishCaptions()
    {
        TMessageForm box(QStringLiteral("Pytanie"), mtConfirmation, mbCancel | mbNo | mbYes | mbOK | mbHelp | mbRetry);
        QCOMPARE(ButtonNames(box), QStringList({"Yes", "No", "OK", "Cancel", "Retry", "Help"}));
        QCOMPARE(box.Button("Yes")->text(), QStringLiteral("&Tak"));
        QCOMPARE(box.Button("No")->text(), QStringLiteral("&Nie"));
        QCOMPARE(box.Button("Cancel")->text(), QStringLiteral("Anuluj"));
        QCOMPARE(box.Button("Retry")->text(), QStringLiteral("Powtórz"));
        QCOMPARE(box.Button("Help")->text(), QStringLiteral("Pomoc"));
        TMessageForm rest(QString(), mtCustom, mbAbort | mbIgnore | mbAll | mbNoToAll | mbYesToAll);
        QCOMPARE(ButtonNames(rest), QStringList({"Abort", "Ignore", "All", "NoToAll", "YesToAll"}));
        QCOMPARE(rest.Button("Abort")->text(), QStringLiteral("Zaniechaj"));
        QCOMPARE(rest.Button("All")->text(), QStringLiteral("Wszystko"));
        QCOMPARE(rest.Button("Ignore")->text(), QStringLiteral("Ignore"));
    }

    void defaultAndCancelButtons_data()
    {
        QTest::addColumn<unsigned>("buttons");
        QTest::addColumn<int>("enter");
        QTest::addColumn<int>("escape");
        QTest::newRow("Yes and No: Enter Yes, Esc No") << unsigned(mbYes | mbNo) << int(mrYes) << int(mrNo);
        QTest::newRow("Yes, No, Cancel: Esc Cancel")
            << unsigned(mbYes | mbNo | mbCancel) << int(mrYes) << int(mrCancel);
        QTest::newRow("OK alone") << unsigned(mbOK) << int(mrOk) << int(mrOk);
        QTest::newRow("OK and Cancel") << unsigned(mbOK | mbCancel) << int(mrOk) << int(mrCancel);
        QTest::newRow("Retry and Cancel: Enter Retry") << unsigned(mbRetry | mbCancel) << int(mrRetry) << int(mrCancel);
    }
    void defaultAndCancelButtons()
    {
        QFETCH(unsigned, buttons);
        QFETCH(int, enter);
        QFETCH(int, escape);
        WhenBoxShows([](TMessageForm* box) { QTest::keyClick(box, Qt::Key_Return); });
        QCOMPARE(MessageDlg(QStringLiteral("Tekst"), mtInformation, buttons), enter);
        WhenBoxShows([](TMessageForm* box) { QTest::keyClick(box, Qt::Key_Escape); });
        QCOMPARE(MessageDlg(QStringLiteral("Tekst"), mtInformation, buttons), escape);
        WhenBoxShows([](TMessageForm* box) { box->close(); });
        QCOMPARE(MessageDlg(QStringLiteral("Tekst"), mtInformation, buttons), escape);
    }

    void eachButtonReturnsItsCode()
    {
        const std::pair<TMsgDlgBtn, int> table[] = {{mbYes, 6},     {mbNo, 7},       {mbOK, 1},     {mbCancel, 2},
                                                    {mbAbort, 3},   {mbRetry, 4},    {mbIgnore, 5}, {mbAll, 8},
                                                    {mbNoToAll, 9}, {mbYesToAll, 10}};
        for (const auto& [flag, code] : table) {
            WhenBoxShows([](TMessageForm* box) { box->Buttons().front()->click(); });
            QCOMPARE(MessageDlg(QStringLiteral("x"), mtCustom, flag), code);
        }
    }

    void theHelpButtonDoesNotCloseTheBox()
    {
        WhenBoxShows([](TMessageForm* box) {
            box->Button("Help")->click();
            QVERIFY(box->isVisible());
            box->Button("OK")->click();
        });
        QCOMPARE(MessageDlg(QStringLiteral("x"), mtInformation, mbOK | mbHelp), int(mrOk));
    }

    void captionIsTheApplicationTitleForEveryType()
    {
        for (TMsgDlgType type : {mtWarning, mtError, mtInformation, mtConfirmation, mtCustom}) {
            TMessageForm box(QStringLiteral("x"), type, mbOK);
            QCOMPARE(box.windowTitle(), QStringLiteral("Messageformtest"));
            QCOMPARE(box.IconImage()->isVisibleTo(&box), type != mtCustom);
        }
    }

    void layoutPutsTheIconTextAndCentredButtonGroupInPlace()
    {
        TMessageForm box(QStringLiteral("Zawartość krzyżówki K_0001.krz zmieniła się."), mtInformation,
                         mbYes | mbNo | mbCancel);
        const auto& buttons = box.Buttons();
        QCOMPARE(int(buttons.size()), 3);
        const int spacing = buttons[1]->x() - buttons[0]->geometry().right() - 1;
        QCOMPARE(buttons[2]->x() - buttons[1]->geometry().right() - 1, spacing);
        const int groupLeft = buttons.front()->x();
        const int groupRight = box.width() - 1 - buttons.back()->geometry().right();
        QVERIFY(std::abs(groupLeft - groupRight) <= 1);
        QVERIFY(buttons[0]->y() > box.MessageText()->geometry().bottom());
        QVERIFY(box.MessageText()->x() >= box.IconImage()->geometry().right());
        QCOMPARE(box.IconImage()->size(), QSize(32, 32));
        // The text label is as wide as the text and starts where the icon ends plus spacing.
        const QFontMetrics fm(box.font());
        QVERIFY(std::abs(box.MessageText()->width() - fm.horizontalAdvance(box.MessageText()->text())) <= 1);
    }

    void longTextWrapsWithinHalfTheScreen()
    {
        QString text;
        for (int i = 0; i < 60; ++i)
            text += QStringLiteral("słowo ");
        TMessageForm box(text.trimmed(), mtWarning, mbOK);
        const QFontMetrics fm(box.font());
        QVERIFY(box.MessageText()->width() <= ScreenSize().width() / 2);
        QVERIFY(box.MessageText()->height() >= 2 * fm.height());
    }

    void centredOnTheScreenWhenCreated()
    {
        TMessageForm box(QStringLiteral("x"), mtInformation, mbOK);
        const QSize screen = ScreenSize();
        QCOMPARE(box.pos(), QPoint(screen.width() / 2 - box.width() / 2, screen.height() / 2 - box.height() / 2));
    }

    void placementOverARectangleStaysOnTheScreen_data()
    {
        QTest::addColumn<QRect>("over");
        QTest::addColumn<QString>("rule");
        QTest::newRow("centred over a window inside the screen") << QRect(100, 100, 400, 300) << "centre";
        QTest::newRow("window beyond the right edge: ends at the edge") << QRect(900, 100, 400, 300) << "right";
        QTest::newRow("window above the top: starts at top 0") << QRect(100, -400, 400, 300) << "top";
        QTest::newRow("window beyond the bottom: ends at the bottom") << QRect(100, 700, 400, 300) << "bottom";
        QTest::newRow("window left of the screen: starts at left 0") << QRect(-600, 100, 400, 300) << "left";
    }
    void placementOverARectangleStaysOnTheScreen()
    {
        QFETCH(QRect, over);
        QFETCH(QString, rule);
        const QSize screen(1024, 768);
        TMessageForm box(QStringLiteral("Wystąpił błąd"), mtWarning, mbOK);
        box.CentreOver(over, screen);
        const int w = box.width();
        const int h = box.height();
        if (rule == "centre")
            QCOMPARE(box.pos(), QPoint(over.left() + over.width() / 2 - w / 2, over.top() + over.height() / 2 - h / 2));
        else if (rule == "right")
            QCOMPARE(box.x(), screen.width() - w);
        else if (rule == "top")
            QCOMPARE(box.y(), 0);
        else if (rule == "bottom")
            QCOMPARE(box.y(), screen.height() - h);
        else
            QCOMPARE(box.x(), 0);
    }

    void showAtUsesOnlyTheCoordinatesGiven()
    {
        QPoint shownAt;
        WhenBoxShows([&](TMessageForm* box) {
            shownAt = box->pos();
            box->Button("OK")->click();
        });
        MessageDlgPos(QStringLiteral("x"), mtInformation, mbOK, 0, 17, -1);
        QCOMPARE(shownAt.x(), 17);
        TMessageForm reference(QStringLiteral("x"), mtInformation, mbOK);
        QCOMPARE(shownAt.y(), reference.y());
    }
};

QTEST_MAIN(MessageFormTest)
#include "MessageFormTest.moc"
