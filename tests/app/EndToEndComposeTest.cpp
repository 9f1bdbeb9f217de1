// End to end on a real X display (Xvfb): the window composes a crossword from
// the shipped template and word database while the preview grows, the user
// solves part of it and saves, then opens the template editor. With
// MZ_PICTURES_DIR set, pictures of the preview and of the editor are left there.

#include "../dialogs/DialogTestUtil.h"
#include "WindowBench.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>

using namespace mz;
using namespace mz::test;

namespace {

int QuestionMarks(TCrossSurface& grid)
{
    int count = 0;
    for (int c = 1; c <= grid.ColCount(); ++c)
        for (int r = 1; r <= grid.RowCount(); ++r)
            count += In(grid).GetCell(c, r) == '?';
    return count;
}

void KeepPicture(QWidget& window, const QString& name)
{
    const QString dir = qEnvironmentVariable("MZ_PICTURES_DIR");
    if (!dir.isEmpty())
        QVERIFY(window.grab().save(dir + QLatin1Char('/') + name, "PNG"));
}

} // namespace

class EndToEndComposeTest : public QObject {
    Q_OBJECT

private slots:
    void composeWithThePreviewThenSolveAndSave()
    {
        TWindowBench bench;
        // The shipped templates and sample crossword instead of the bench's own.
        for (const QString& name : QDir(BuiltProgramDir + QStringLiteral("Szablony")).entryList(QDir::Files)) {
            QFile::remove(bench.Dir + QStringLiteral("Szablony/") + name);
            QVERIFY(QFile::copy(BuiltProgramDir + QStringLiteral("Szablony/") + name,
                                bench.Dir + QStringLiteral("Szablony/") + name));
        }
        QFile::remove(bench.CrossPath());
        QVERIFY(QFile::copy(BuiltProgramDir + QStringLiteral("Krzyżówki/K_0231.krz"), bench.CrossPath()));

        auto form = bench.Start();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QVERIFY(Action(*form, "PreView")->isChecked());

        // The preview is pictured at its first update of the run, where the run waits for it.
        bool pictured = false;
        int previewUpdates = 0;
        connect(Composer(*form), &TComposeController::PreviewUpdated, form.get(), [&](bool final) {
            ++previewUpdates;
            if (!pictured && !final && QuestionMarks(*Grid(*form, "KwelinVC")) > 0) {
                pictured = true;
                QVERIFY(Grid(*form, "KwelinVC")->isVisible() && !Grid(*form, "CrossVC")->isVisible());
                QCOMPARE(form->windowTitle(), QStringLiteral("K_0000.krz - Mirakolnik Zodevidar"));
                KeepPicture(*form, QStringLiteral("composing-preview.png"));
            }
        });
        QTest::mouseClick(Button(*form, "SBttn_New"), Qt::LeftButton);
        QVERIFY(form->Creating());
        QVERIFY(TWindowBench::WaitIdle(*form));
        QVERIFY(pictured);
        QVERIFY(previewUpdates >= 2);

        // Taken for solving at once.
        QCOMPARE(form->windowTitle(), QStringLiteral("K_0000.krz - Mirakolnik Zodevidar"));
        QVERIFY(Grid(*form, "CrossVC")->isVisible() && !Grid(*form, "KwelinVC")->isVisible());
        const QString newFile = bench.NewCrossDir() + QStringLiteral("K_0000.krz");
        QVERIFY(QFile::exists(newFile));

        // Solve the first word across: type over it from its start.
        const TExpl first = CrossWord(*form).GetExpl(1);
        Grid(*form, "CrossVC")->setFocus();
        QTest::keyClick(Grid(*form, "CrossVC"), Qt::Key_Home, Qt::ControlModifier);
        for (int c = 1; c < first.Col; ++c)
            QTest::keyClick(Grid(*form, "CrossVC"), Qt::Key_Right);
        for (int r = 1; r < first.Row; ++r)
            QTest::keyClick(Grid(*form, "CrossVC"), Qt::Key_Down);
        if (!first.Horizontal)
            Action(*form, "WriteVert")->trigger();
        QTest::keyClicks(Grid(*form, "CrossVC"), QStringLiteral("zx"));
        QVERIFY(!Label(*form, "Expl_Label")->text().isEmpty());
        QTest::mouseClick(Button(*form, "SBttn_Save"), Qt::LeftButton);
        TCrossTXT saved;
        saved.LoadFromFile(newFile.toStdString());
        const int dc = first.Horizontal ? 1 : 0;
        QCOMPARE(saved.GetCell(first.Col, first.Row), 'Z');
        QCOMPARE(saved.GetCell(first.Col + dc, first.Row + 1 - dc), 'X');
        QCOMPARE(saved.ExplCount(), CrossWord(*form).ExplCount());

        // Zoomed in twice: the cells are drawn at 36 pixels and the window follows.
        Action(*form, "ZoomIn")->trigger();
        Action(*form, "ZoomIn")->trigger();
        QCOMPARE(Grid(*form, "CrossVC")->width(), CrossWord(*form).ColCount() * 36);
        QTest::qWait(50);
        KeepPicture(*form, QStringLiteral("zoomed-window.png"));
        Action(*form, "ZoomDefault")->trigger();

        // Checked, with one letter revealed, then a "rozwiązanie" of the program's choice.
        Action(*form, "Solution_RevealLetter")->trigger();
        Action(*form, "Solution_CheckAll")->trigger();
        QTest::qWait(50);
        KeepPicture(*form, QStringLiteral("window-checked.png"));
        WhenModalOpens([](QWidget* modal) {
            Child<QPushButton>(*modal, "PickPhraseWord")->click();
            Child<QPushButton>(*modal, "PhraseOk")->click();
        });
        Action(*form, "Solution_CreatePhrase")->trigger();
        QVERIFY(Label(*form, "PhraseStrip")->isVisible());
        QTest::qWait(50);
        KeepPicture(*form, QStringLiteral("window-rozwiazanie.png"));
        QTest::mouseClick(Button(*form, "SBttn_Save"), Qt::LeftButton);
        QVERIFY(!CrossWord(*form).Modified);

        Action(*form, "Editor")->trigger();
        const QString blocks = bench.Dir + QStringLiteral("Szablony/Z blokami.sz");
        form->SetFileDialogHook([&](TFileDialogRequest&) { return blocks; });
        QTest::mouseClick(Button(*form, "SBttn_Open"), Qt::LeftButton);
        QCOMPARE(form->windowTitle(), QStringLiteral("Z blokami.sz - Mirakolnik Zodevidar"));
        QCOMPARE(Label(*form, "Lab_X")->text(), QString::number(Grid(*form, "PatternVC")->ColCount()));
        QTest::qWait(50);
        KeepPicture(*form, QStringLiteral("template-editor.png"));
        Action(*form, "Pattern_Close")->trigger();

        QVERIFY(form->close());
        form.reset();
        QCOMPARE(bench.StoredSetting(QStringLiteral("CurrCrossWordFileName")), newFile);
    }
};

QTEST_MAIN(EndToEndComposeTest)
#include "EndToEndComposeTest.moc"
