// The window as a new user meets it: zoom, Tab, the resize grip's bounds, the
// sound without a device, the options dialog's template and default button,
// and a finished crossword kept before the question about it.

#include "../dialogs/DialogTestUtil.h"
#include "WindowBench.h"

#include "dialogs/OptionsForm.h"
#include "dialogs/SpinEdit.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>

using namespace mz;
using namespace mz::test;

namespace {

// A move of the grip with the left button held, the pointer at a point of the client area.
void DragGripTo(TMainForm& form, QPoint clientPoint)
{
    QLabel* grip = Label(form, "ResizeImage");
    const QPoint local = grip->mapFrom(Client(form), clientPoint);
    QMouseEvent move(QEvent::MouseMove, local, grip->mapToGlobal(local), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grip, &move);
}

void RunOptions(TMainForm& form, std::function<void(TOptionsForm&)> edit, const char* button)
{
    WhenModalOpens([edit, button](QWidget* modal) {
        auto* dialog = qobject_cast<TOptionsForm*>(modal);
        if (!dialog)
            qFatal("the options dialog did not open");
        edit(*dialog);
        if (button)
            Child<QPushButton>(*dialog, button)->click();
    });
    Action(form, "Konfiguracja1")->trigger();
}

bool NoDevice()
{
    return false;
}

} // namespace

class DesktopWindowTest : public QObject {
    Q_OBJECT

private slots:
    void zoomKeysRedrawTheCellsFitTheWindowAndAreRemembered()
    {
        TWindowBench bench;
        // At twice the density the screen is 400 pixels wide: the clue list is left out.
        bench.PutSetting(QStringLiteral("ClueListShown"), QStringLiteral("0"));
        auto form = bench.Start();
        TCrossSurface* grid = Grid(*form, "CrossVC");
        QCOMPARE(grid->CellImageWidth(), 28);
        QTest::keyClick(grid, Qt::Key_Equal, Qt::ControlModifier);
        QCOMPARE(grid->CellImageWidth(), 32);
        // Run also at twice the screen density (QT_SCALE_FACTOR=2): the
        // pictures then have the screen's own pixels.
        const int density = qRound(grid->devicePixelRatioF());
        QCOMPARE(In(grid).GridImage().size(), QSize(6 * 32, 5 * 32) * density);
        QCOMPARE(Client(*form)->size(), QSize(6 * 32, 5 * 32 + 48));
        QTest::keyClick(grid, Qt::Key_Minus, Qt::ControlModifier);
        QTest::keyClick(grid, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(grid->CellImageWidth(), 24);
        QCOMPARE(Client(*form)->width(), 6 * 24);
        // The blocked cell (3,3) is drawn dark at the new size, an open one light.
        QCOMPARE(qGray(In(grid).GridImage().pixel((2 * 24 + 12) * density, (2 * 24 + 12) * density)) < 80, true);
        QCOMPARE(qGray(In(grid).GridImage().pixel(12 * density, 12 * density)) > 200, true);
        // Ctrl with a letter still types the Polish letter.
        QTest::keyPress(grid, Qt::Key_Control);
        QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
        QTest::keyRelease(grid, Qt::Key_Control);
        QCOMPARE(static_cast<unsigned char>(In(grid).GetCell(2, 2)), 0xA5);
        QCOMPARE(grid->CellImageWidth(), 24);
        // The menu offers the same commands.
        QCOMPARE(Action(*form, "ZoomIn")->text(), QStringLiteral("&Powiększ"));
        QCOMPARE(Action(*form, "ZoomOut")->text(), QStringLiteral("Pomniej&sz"));
        QVERIFY(Menu(*form, "View")->actions().contains(Action(*form, "ZoomDefault")));
        CrossWordDoc(*form).SetModified(false);
        form.reset();
        QCOMPARE(bench.StoredSetting(QStringLiteral("CellSize")), QStringLiteral("24"));

        form = bench.Start();
        grid = Grid(*form, "CrossVC");
        QCOMPARE(grid->CellImageWidth(), 24);
        QCOMPARE(Client(*form)->width(), 6 * 24);
        QTest::keyClick(grid, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(grid->CellImageWidth(), 28);
        QCOMPARE(Client(*form)->width(), 6 * 28);
        // The template editor follows the zoom too.
        Action(*form, "Editor")->trigger();
        QTest::keyClick(Grid(*form, "PatternVC"), Qt::Key_Equal, Qt::ControlModifier);
        QCOMPARE(Client(*form)->size(), QSize(8 * 32, 6 * 32 + 26));
    }

    void tabTakesTheFocusOutOfTheGrid()
    {
        TWindowBench bench;
        auto form = bench.Start();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        TCrossSurface* grid = Grid(*form, "CrossVC");
        grid->setFocus();
        QVERIFY(grid->hasFocus());
        QTest::keyClick(grid, Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        QVERIFY(focused && focused != grid);
        QTest::keyClick(focused, Qt::Key_K);
        QTest::keyClick(focused, Qt::Key_O);
        QCOMPARE(In(grid).GetCell(1, 1), ' ');
        QCOMPARE(In(grid).GetCell(2, 1), ' ');
    }

    void theGripKeepsTheWindowOnTheScreenAndTheBackgroundsSpanIt()
    {
        TWindowBench bench;
        auto form = bench.Start();
        Action(*form, "Editor")->trigger();
        form->move(100, 50);
        const QRect free = form->screen()->availableGeometry();
        DragGripTo(*form, QPoint(20000, 20000));
        const int cols = Grid(*form, "PatternVC")->ColCount();
        const int rows = Grid(*form, "PatternVC")->RowCount();
        QVERIFY(cols > 8 && rows > 6);
        QVERIFY2(form->frameGeometry().right() <= free.right(), qPrintable(QString::number(cols)));
        QVERIFY(form->frameGeometry().bottom() <= free.bottom());
        // One more column would not have fitted.
        QVERIFY(form->frameGeometry().right() + 28 > free.right());
        QVERIFY(form->findChild<QWidget*>(QStringLiteral("Toolbar"))->width() >= Client(*form)->width());
        QVERIFY(Label(*form, "Image2")->width() >= Client(*form)->width());
        QVERIFY(OnClient(*form, Label(*form, "ResizeImage")).bottomRight()
                == QPoint(Client(*form)->width() - 1, Client(*form)->height() - 1));
    }

    void aFinishedCrosswordIsOnDiskBeforeTheQuestion()
    {
        TWindowBench bench;
        bench.PutSetting(QStringLiteral("PreViewChecked"), QStringLiteral("0"));
        auto form = bench.Start();
        QStringList onDisk;
        TMessageLog boxes([&](const QString&) {
            onDisk << QStringLiteral("%1").arg(QFile::exists(bench.NewCrossDir() + QStringLiteral("K_0000.krz")));
            return QStringLiteral("No");
        });
        Action(*form, "CrossWord_New")->trigger();
        QVERIFY(TWindowBench::WaitIdle(*form));
        QTRY_COMPARE(boxes.Texts.size(), 1);
        QVERIFY(boxes.Texts.first().contains(QStringLiteral("jest gotowa")));
        QCOMPARE(onDisk, QStringList({QStringLiteral("1")}));
    }

    // After the editor opened another template, the options dialog shows it,
    // and OK after a change elsewhere keeps composing with it.
    void theOptionsDialogShowsTheTemplateTheEditorOpened()
    {
        TWindowBench bench;
        const QString other = bench.Dir + QStringLiteral("Szablony/Mały.sz");
        TCrossTXT small = TWindowBench::Blank(5, 4);
        small.Kind = 1;
        small.SaveToFile(other.toStdString());
        auto form = bench.Start();
        Action(*form, "Editor")->trigger();
        form->SetFileDialogHook([&](TFileDialogRequest&) { return other; });
        Action(*form, "Pattern_Open")->trigger();
        QCOMPARE(Template(*form).ColCount(), 5);
        bool otherChosen = false;
        QString shown;
        RunOptions(
            *form,
            [&](TOptionsForm& dialog) {
                otherChosen = Child<QRadioButton>(dialog, "RadioButton2")->isChecked();
                shown = Child<QLineEdit>(dialog, "Edit1")->text();
                Child<QRadioButton>(dialog, "RadioButton4")->click();
                Child<QLineEdit>(dialog, "Edit2")->setText(bench.Dir + QStringLiteral("moje/"));
            },
            "Button1");
        QVERIFY(otherChosen);
        QCOMPARE(shown, other);
        QCOMPARE(bench.Settings.PatternFileName, other);
        QCOMPARE(bench.Settings.NewCrossDir, bench.Dir + QStringLiteral("moje/"));
        QCOMPARE(Template(*form).ColCount(), 5);
        QCOMPARE(QString::fromStdString(Template(*form).FileName), other);

        // A copy saved under a new name is not what composing uses; OK takes the template in use up again.
        const QString renamed = bench.Dir + QStringLiteral("Szablony/Duży.sz");
        form->SetFileDialogHook([&](TFileDialogRequest&) { return renamed; });
        Action(*form, "Pattern_SaveAs")->trigger();
        RunOptions(
            *form, [](TOptionsForm&) {}, "Button1");
        QCOMPARE(bench.Settings.PatternFileName, other);
        QCOMPARE(QString::fromStdString(Template(*form).FileName), other);
    }

    // Enter in a spin edit commits what was typed; a second Enter presses OK.
    void enterCommitsASpinEditBeforeItPressesOk()
    {
        TWindowBench bench;
        auto form = bench.Start();
        int afterFirstEnter = 0;
        bool stillOpen = false;
        QString hint;
        RunOptions(
            *form,
            [&](TOptionsForm& dialog) {
                TSpinEdit* shortest = Child<TSpinEdit>(dialog, "SpinEdit1");
                TSpinEdit* longest = Child<TSpinEdit>(dialog, "SpinEdit2");
                hint = Child<QPushButton>(dialog, "Button6")->toolTip();
                longest->SetValue(5);
                shortest->Edit()->setFocus();
                shortest->Edit()->selectAll();
                QTest::keyClicks(shortest->Edit(), QStringLiteral("7"));
                QTest::keyClick(shortest->Edit(), Qt::Key_Return);
                afterFirstEnter = longest->Value();
                stillOpen = dialog.isVisible();
                QTest::keyClick(shortest->Edit(), Qt::Key_Return);
            },
            nullptr);
        QVERIFY(stillOpen);
        // The longest length followed the shortest as leaving the edit would have made it.
        QCOMPARE(afterFirstEnter, 7);
        QCOMPARE(bench.Settings.MinLenPWord, 7);
        QCOMPARE(bench.Settings.MaxLenPWord, 7);
        QCOMPARE(hint, QStringLiteral("Przywraca wartości domyślne tylko na widocznej karcie"));
    }

    // Without a sound device every press says so once; a missing file says nothing.
    void aSoundThatCannotPlaySaysWhyAtEveryPress()
    {
        TWindowBench bench;
        TCrossTXT crossWord = TWindowBench::Blank(6, 5);
        crossWord.SetCell(3, 3, '*');
        TExpl cat;
        // The words through the cell (2,2), where the cursor starts.
        cat.Col = 1;
        cat.Row = 2;
        cat.Horizontal = true;
        cat.Explanation = "kot";
        cat.Audio = "KOT.wav";
        crossWord.AddExpl(cat);
        TExpl dog = cat;
        dog.Col = 2;
        dog.Row = 1;
        dog.Horizontal = false;
        dog.Explanation = "pies";
        dog.Audio = "PIES.wav";
        crossWord.AddExpl(dog);
        crossWord.SaveToFile(bench.CrossPath().toStdString());
        QFile sound(bench.Dir + QStringLiteral("Audio/KOT.wav"));
        QVERIFY(sound.open(QIODevice::WriteOnly));
        sound.write("RIFF");
        sound.close();

        TSoundPlayer::SetDeviceCheck(&NoDevice);
        auto form = bench.Start();
        TMessageLog boxes([](const QString&) { return QStringLiteral("OK"); });
        TCrossSurface* grid = Grid(*form, "CrossVC");
        QVERIFY(Action(*form, "Clue_Play")->isEnabled());
        QTest::keyClick(grid, Qt::Key_Return);
        QTRY_COMPARE(boxes.Texts.size(), 1);
        Button(*form, "SBttn_Play")->click();
        QTRY_COMPARE(boxes.Texts.size(), 2);
        QTest::mouseDClick(grid, Qt::LeftButton, {}, QPoint(5, 5));
        QTRY_COMPARE(boxes.Texts.size(), 3);
        Action(*form, "Clue_Play")->trigger();
        QTRY_COMPARE(boxes.Texts.size(), 4);
        const QString noDevice = QStringLiteral("Nie można odtworzyć dźwięku: brak urządzenia audio");
        QCOMPARE(boxes.Texts, QStringList({noDevice, noDevice, noDevice, noDevice}));
        QTest::qWait(100);
        QCOMPARE(boxes.Texts.size(), 4);
        TSoundPlayer::SetDeviceCheck(nullptr);

        // A sound file that is missing is passed over in silence.
        Action(*form, "WriteVert")->trigger();
        QVERIFY(Action(*form, "Clue_Play")->isEnabled());
        QTest::keyClick(grid, Qt::Key_Return);
        QTest::qWait(100);
        QCOMPARE(boxes.Texts.size(), 4);
    }
};

QTEST_MAIN(DesktopWindowTest)
#include "DesktopWindowTest.moc"
