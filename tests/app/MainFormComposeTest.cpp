// Composing from the real window: new crosswords and series, the preview, the
// stop button, the completion questions and closing while a run goes on.

#include "WindowBench.h"

#include "core/Cp1250.h"
#include "creator/CrossCreator.h"

#include <QGuiApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QToolButton>

using namespace mz;
using namespace mz::test;

namespace {

const QString ReadyAsk = QStringLiteral("Krzyżówka %1 jest gotowa.\r\nCzy chcesz ją rozwiązywać teraz?");

QString Title(const QString& name)
{
    return name + QStringLiteral(" - Mirakolnik Zodevidar");
}

// Runs `action` once, at the first preview update of the run, while the composer waits.
void AtFirstPreview(TMainForm& form, std::function<void()> action)
{
    auto done = std::make_shared<bool>(false);
    QObject::connect(Composer(form), &TComposeController::PreviewUpdated, &form, [done, action](bool) {
        if (!*done) {
            *done = true;
            action();
        }
    });
}

bool BusyCursor()
{
    return QGuiApplication::overrideCursor() && QGuiApplication::overrideCursor()->shape() == Qt::BusyCursor;
}

} // namespace

class MainFormComposeTest : public QObject {
    Q_OBJECT

private slots:
    void newCrosswordsAreSavedUnderTheNextNumberedNames_data()
    {
        QTest::addColumn<bool>("preview");
        QTest::newRow("preview on") << true;
        QTest::newRow("preview off") << false;
    }

    void newCrosswordsAreSavedUnderTheNextNumberedNames()
    {
        QFETCH(bool, preview);
        TWindowBench bench;
        bench.PutSetting(QStringLiteral("PreViewChecked"), preview ? QStringLiteral("1") : QStringLiteral("0"));
        auto form = bench.Start();
        QCOMPARE(Action(*form, "PreView")->isChecked(), preview);
        // Without the preview the first result is left for later, the second taken at once.
        QStringList answers{QStringLiteral("No"), QStringLiteral("Yes")};
        TMessageLog boxes([&](const QString&) { return answers.takeFirst(); });

        for (const QString& name : {QStringLiteral("K_0000.krz"), QStringLiteral("K_0001.krz")}) {
            bool sawRun = false;
            AtFirstPreview(*form, [&] {
                sawRun = true;
                QVERIFY(!Button(*form, "SBttn_Stop")->isHidden() && Button(*form, "SBttn_Stop")->isEnabled());
                QVERIFY(!Button(*form, "SBttn_New")->isEnabled() && !Action(*form, "CrossWord_New")->isEnabled()
                        && !Action(*form, "CrossWord_Series")->isEnabled());
                QCOMPARE(Grid(*form, "KwelinVC")->isVisible(), preview);
                QCOMPARE(Grid(*form, "CrossVC")->isVisible(), !preview);
                QCOMPARE(Label(*form, "Expl_Label")->isVisible(), !preview);
                QCOMPARE(BusyCursor(), preview);
                QCOMPARE(form->windowTitle(), Title(preview ? name : QStringLiteral("K_0231.krz")));
                if (preview)
                    QCOMPARE(Client(*form)->width(), Grid(*form, "KwelinVC")->ImageWidth());
            });
            Action(*form, "CrossWord_New")->trigger();
            QVERIFY(form->Creating());
            QVERIFY(TWindowBench::WaitIdle(*form));
            QVERIFY(sawRun);
            QVERIFY(QFile::exists(bench.NewCrossDir() + name));
            QVERIFY(Button(*form, "SBttn_Stop")->isHidden());
            QVERIFY(Button(*form, "SBttn_New")->isEnabled() && Action(*form, "CrossWord_New")->isEnabled());
            QVERIFY(Grid(*form, "CrossVC")->isVisible() && !Grid(*form, "KwelinVC")->isVisible());
            QVERIFY(!BusyCursor());
        }
        QCOMPARE(bench.NewFiles(), QStringList({QStringLiteral("K_0000.krz"), QStringLiteral("K_0001.krz")}));
        if (preview)
            QVERIFY(boxes.Texts.isEmpty());
        else
            QCOMPARE(boxes.Texts,
                     QStringList(
                         {ReadyAsk.arg(QStringLiteral("K_0000.krz")), ReadyAsk.arg(QStringLiteral("K_0001.krz"))}));

        // The last crossword is on the solving grid, with its clues, ready to solve.
        QCOMPARE(form->windowTitle(), Title(QStringLiteral("K_0001.krz")));
        TCrossTXT saved;
        saved.LoadFromFile((bench.NewCrossDir() + QStringLiteral("K_0001.krz")).toStdString());
        QCOMPARE(Grid(*form, "CrossVC")->ColCount(), 8);
        QCOMPARE(CrossWord(*form).ExplCount(), saved.ExplCount());
        QVERIFY(saved.ExplCount() > 0);
        for (int c = 1; c <= 8; ++c)
            for (int r = 1; r <= 6; ++r)
                QCOMPARE(static_cast<unsigned char>(In(Grid(*form, "CrossVC")).GetCell(c, r)), saved.GetCell(c, r));
        QCOMPARE(Client(*form)->height(), Grid(*form, "CrossVC")->ImageHeight() + 48);
    }

    void aSeriesShowsItsProgressAsksOnceAndAStopKeepsTheLastSavedCrossword()
    {
        TWindowBench bench;
        bench.PutSetting(QStringLiteral("PreViewChecked"), QStringLiteral("0"));
        bench.PutSetting(QStringLiteral("SeriesCount"), QStringLiteral("2"));
        auto form = bench.Start();
        // The summary of a stopped series has only OK.
        TMessageLog boxes([](const QString& text) { return QString(text.startsWith(u"Zapisano") ? "OK" : "No"); });
        QSignalSpy completed(Composer(*form), &TComposeController::RunCompleted);
        QStringList titles;
        connect(Composer(*form), &TComposeController::PreviewUpdated, form.get(), [&](bool final) {
            if (!final && !titles.contains(form->windowTitle()))
                titles << form->windowTitle();
            if (completed.size() == 3)
                Button(*form, "SBttn_Stop")->click();
        });
        Action(*form, "CrossWord_Series")->trigger();
        QVERIFY(TWindowBench::WaitIdle(*form));
        QCOMPARE(completed.size(), 2);
        QCOMPARE(bench.NewFiles(), QStringList({QStringLiteral("K_0000.krz"), QStringLiteral("K_0001.krz")}));
        QCOMPARE(boxes.Texts, QStringList({ReadyAsk.arg(QStringLiteral("K_0001.krz"))}));
        QCOMPARE(form->windowTitle(), Title(QStringLiteral("K_0231.krz")));

        // With the preview no file is named before it is saved; a stop in the
        // second run reports what was saved and keeps the first crossword.
        Action(*form, "PreView")->trigger();
        Action(*form, "CrossWord_Series")->trigger();
        QVERIFY(TWindowBench::WaitIdle(*form));
        QCOMPARE(titles,
                 QStringList({Title(QStringLiteral("K_0231.krz - Seria krzyżówek: 1 z 2")),
                              Title(QStringLiteral("K_0231.krz - Seria krzyżówek: 2 z 2")),
                              Title(QStringLiteral("Seria krzyżówek: 1 z 2")),
                              Title(QStringLiteral("Seria krzyżówek: 2 z 2"))}));
        QCOMPARE(bench.NewFiles().size(), 3);
        QCOMPARE(boxes.Texts.mid(1),
                 QStringList(
                     {QStringLiteral("Zapisano 1 z 2 krzyżówek w katalogu ") + QDir::cleanPath(bench.NewCrossDir())}));
        QCOMPARE(form->windowTitle(), Title(QStringLiteral("K_0002.krz")));
        QVERIFY(Grid(*form, "CrossVC")->isVisible() && !Grid(*form, "KwelinVC")->isVisible());
    }

    void theStopButtonEndsARunOrASeriesAndTheNextRunCountsOnItsOwn_data()
    {
        QTest::addColumn<bool>("series");
        QTest::newRow("single run") << false;
        QTest::newRow("series") << true;
    }

    void theStopButtonEndsARunOrASeriesAndTheNextRunCountsOnItsOwn()
    {
        QFETCH(bool, series);
        TWindowBench bench;
        auto form = bench.Start();
        TMessageLog boxes([](const QString& text) { return QString(text.startsWith(u"Zapisano") ? "OK" : "No"); });
        AtFirstPreview(*form, [&] {
            Button(*form, "SBttn_Stop")->click();
            QVERIFY(!Button(*form, "SBttn_Stop")->isEnabled());
        });
        (series ? Action(*form, "CrossWord_Series") : Action(*form, "CrossWord_New"))->trigger();
        QVERIFY(TWindowBench::WaitIdle(*form));
        QVERIFY(bench.NewFiles().isEmpty());
        QCOMPARE(boxes.Texts.join(QString()).left(17), series ? QStringLiteral("Zapisano 0 z 10 k") : QString());
        QVERIFY(Grid(*form, "CrossVC")->isVisible() && !Grid(*form, "KwelinVC")->isVisible());
        QVERIFY(Label(*form, "Expl_Label")->isVisible() && Button(*form, "SBttn_Play")->isVisible());
        QCOMPARE(form->windowTitle(), Title(QStringLiteral("K_0231.krz")));
        QVERIFY(Button(*form, "SBttn_Stop")->isHidden() && Button(*form, "SBttn_New")->isEnabled());
        QVERIFY(!BusyCursor());

        Action(*form, "CrossWord_New")->trigger();
        QVERIFY(TWindowBench::WaitIdle(*form));
        QCOMPARE(bench.NewFiles(), QStringList({QStringLiteral("K_0000.krz")}));
        QCOMPARE(form->windowTitle(), Title(QStringLiteral("K_0000.krz")));
    }

    void switchingThePreviewDuringARunSwapsTheGridsOnly()
    {
        TWindowBench bench;
        auto form = bench.Start();
        QStringList seen;
        AtFirstPreview(*form, [&] {
            Action(*form, "PreView")->trigger();
            seen << form->windowTitle();
            QVERIFY(Grid(*form, "CrossVC")->isVisible() && !Grid(*form, "KwelinVC")->isVisible());
            QVERIFY(Label(*form, "Expl_Label")->isVisible());
            QVERIFY(!BusyCursor());
            Action(*form, "PreView")->trigger();
            seen << form->windowTitle();
            QVERIFY(!Grid(*form, "CrossVC")->isVisible() && Grid(*form, "KwelinVC")->isVisible());
            QVERIFY(BusyCursor());
        });
        QSignalSpy completed(Composer(*form), &TComposeController::RunCompleted);
        Action(*form, "CrossWord_New")->trigger();
        QVERIFY(TWindowBench::WaitIdle(*form));
        QCOMPARE(seen, QStringList({Title(QStringLiteral("K_0231.krz")), Title(QStringLiteral("K_0000.krz"))}));
        QCOMPARE(completed.size(), 1);
        QVERIFY(completed[0][0].toBool());
        QCOMPARE(bench.NewFiles(), QStringList({QStringLiteral("K_0000.krz")}));
        QVERIFY(Action(*form, "PreView")->isChecked());
    }

    void cancelAtTheSaveQuestionKeepsTheCrosswordBeingSolved()
    {
        TWindowBench bench;
        auto form = bench.Start();
        QTest::keyClick(Grid(*form, "CrossVC"), Qt::Key_K);
        const char typed = In(Grid(*form, "CrossVC")).GetCell(2, 2);
        QCOMPARE(typed, 'K');
        TMessageLog boxes([](const QString&) { return QStringLiteral("Cancel"); });
        Action(*form, "CrossWord_New")->trigger();
        QVERIFY(TWindowBench::WaitIdle(*form));
        QCOMPARE(boxes.Texts.size(), 1);
        QVERIFY(boxes.Texts[0].startsWith(QStringLiteral("Zawartość krzyżówki K_0231.krz zmieniła się.")));
        // The typed letter is still unsaved.
        QCOMPARE(form->windowTitle(), Title(QStringLiteral("K_0231.krz*")));
        QCOMPARE(In(Grid(*form, "CrossVC")).GetCell(2, 2), 'K');
        QCOMPARE(Grid(*form, "CrossVC")->ColCount(), 6);
        QVERIFY(Grid(*form, "CrossVC")->isVisible());
        // The new crossword is kept under its own name all the same.
        QCOMPARE(bench.NewFiles(), QStringList({QStringLiteral("K_0000.krz")}));
    }

    void closingDuringARunStopsItAndThenClosesNormally()
    {
        TWindowBench bench;
        auto form = bench.Start();
        form->move(33, 44);
        QTest::keyClick(Grid(*form, "CrossVC"), Qt::Key_K);
        TMessageLog boxes([](const QString&) { return QStringLiteral("No"); });
        bool refused = false;
        AtFirstPreview(*form, [&] { refused = !form->close(); });
        Action(*form, "CrossWord_New")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!form->isVisible(), 60000);
        QVERIFY(refused);
        QVERIFY(!form->Creating() && !TComposeControllerTestAccess::ThreadRunning(*Composer(*form)));
        // The normal close asked about the changed crossword after the run had ended.
        QCOMPARE(boxes.Texts.size(), 1);
        QVERIFY(boxes.Texts[0].startsWith(QStringLiteral("Zawartość krzyżówki K_0231.krz")));
        QVERIFY(bench.NewFiles().isEmpty());
        form.reset();
        QCOMPARE(bench.StoredSetting(QStringLiteral("MainFormLeft")), QStringLiteral("33"));
        QCOMPARE(bench.StoredSetting(QStringLiteral("CurrCrossWordFileName")), bench.CrossPath());
    }

    void destroyingTheWindowDuringARunWaitsForTheThread()
    {
        TWindowBench bench;
        auto form = bench.Start();
        bool destroyed = false;
        AtFirstPreview(*form, [&] {
            QTimer::singleShot(0, [&] {
                form.reset();
                destroyed = true;
            });
        });
        Action(*form, "CrossWord_New")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(destroyed, 60000);
        QVERIFY(!BusyCursor());
        QCOMPARE(bench.StoredSetting(QStringLiteral("PreViewChecked")), QStringLiteral("1"));
    }

    void composingDoesNotStartWhenNoNameOrDirectoryCanBeHad_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<bool>("blockDirectory");
        QTest::addColumn<QString>("message");
        QTest::newRow("the one name of a prefix without '?' exists")
            << "AB" << false << "Wszystkie nazwy plików z przedrostkiem AB";
        QTest::newRow("a file stands where the directory should be")
            << "K_????" << true << "Nie można utworzyć katalogu";
    }

    void composingDoesNotStartWhenNoNameOrDirectoryCanBeHad()
    {
        QFETCH(QString, prefix);
        QFETCH(bool, blockDirectory);
        QFETCH(QString, message);
        TWindowBench bench;
        bench.PutSetting(QStringLiteral("CurrPrefix"), prefix);
        if (blockDirectory) {
            QFile block(bench.NewCrossDir().chopped(1));
            QVERIFY(block.open(QIODevice::WriteOnly));
        } else {
            QDir().mkpath(bench.NewCrossDir());
            QFile taken(bench.NewCrossDir() + QStringLiteral("AB.krz"));
            QVERIFY(taken.open(QIODevice::WriteOnly));
        }
        auto form = bench.Start();
        TMessageLog boxes([](const QString&) { return QStringLiteral("OK"); });
        Action(*form, "CrossWord_New")->trigger();
        QCOMPARE(boxes.Texts.size(), 1);
        QVERIFY2(boxes.Texts[0].startsWith(message), qPrintable(boxes.Texts[0]));
        QVERIFY(!form->Creating() && !TComposeControllerTestAccess::ThreadRunning(*Composer(*form)));
        QVERIFY(Button(*form, "SBttn_Stop")->isHidden());
        QVERIFY(Button(*form, "SBttn_New")->isEnabled() && Action(*form, "CrossWord_New")->isEnabled()
                && Action(*form, "CrossWord_Series")->isEnabled());
        QVERIFY(Grid(*form, "CrossVC")->isVisible() && !Grid(*form, "KwelinVC")->isVisible());
        QCOMPARE(form->windowTitle(), Title(QStringLiteral("K_0231.krz")));
        QVERIFY(!BusyCursor());
    }

    void aRunFinishingInTheTemplateEditorOnlyReportsAndKeepsTheEditor()
    {
        TWindowBench bench;
        auto form = bench.Start();
        TMessageLog boxes([](const QString&) { return QStringLiteral("OK"); });
        AtFirstPreview(*form, [&] { Action(*form, "Editor")->trigger(); });
        Action(*form, "CrossWord_New")->trigger();
        QVERIFY(TWindowBench::WaitIdle(*form));
        QCOMPARE(boxes.Texts, QStringList({QStringLiteral("Krzyżówka K_0000.krz jest gotowa.")}));
        QVERIFY(form->EditorMode());
        QVERIFY(Grid(*form, "PatternVC")->isVisible() && !Grid(*form, "KwelinVC")->isVisible());
        // The editor's toolbar has its close button where the stop button stands in crossword mode.
        QVERIFY(!form->findChild<QToolButton*>(QStringLiteral("SBttn_Stop")) && !Button(*form, "SBttn_Close")->isHidden());
        QCOMPARE(bench.NewFiles(), QStringList({QStringLiteral("K_0000.krz")}));
        Action(*form, "Pattern_Close")->trigger();
        QVERIFY(Grid(*form, "CrossVC")->isVisible());
        QCOMPARE(form->windowTitle(), Title(QStringLiteral("K_0231.krz")));
    }

    void aSeriesGoingOnBehindTheTemplateEditorLeavesTheEditorOnScreen()
    {
        TWindowBench bench;
        bench.PutSetting(QStringLiteral("SeriesCount"), QStringLiteral("3"));
        auto form = bench.Start();
        TMessageLog boxes([](const QString&) { return QStringLiteral("OK"); });
        QStringList seenInEditor;
        connect(Composer(*form), &TComposeController::RunCompleted, form.get(), [&](bool, const QString&) {
            if (form->EditorMode())
                seenInEditor << form->windowTitle();
            QVERIFY(!form->EditorMode()
                    || (Grid(*form, "PatternVC")->isVisible() && !Grid(*form, "KwelinVC")->isVisible()));
            const auto* stop = form->findChild<QToolButton*>(QStringLiteral("SBttn_Stop"));
            QVERIFY(!stop || stop->isHidden());
        });
        AtFirstPreview(*form, [&] { Action(*form, "Editor")->trigger(); });
        Action(*form, "CrossWord_Series")->trigger();
        QVERIFY(TWindowBench::WaitIdle(*form));
        QCOMPARE(bench.NewFiles().size(), 3);
        QCOMPARE(seenInEditor.first(), Title(QStringLiteral("Normal.sz - Seria krzyżówek: 1 z 3")));
        QCOMPARE(seenInEditor.last(), Title(QStringLiteral("Normal.sz")));
        QCOMPARE(boxes.Texts, QStringList({QStringLiteral("Krzyżówka K_0002.krz jest gotowa.")}));
        QVERIFY(Grid(*form, "PatternVC")->isVisible() && !Grid(*form, "KwelinVC")->isVisible());
    }

    void aWindowMinimizedDuringARunIsRestoredBeforeTheQuestion()
    {
        TWindowBench bench;
        bench.PutSetting(QStringLiteral("PreViewChecked"), QStringLiteral("0"));
        auto form = bench.Start();
        bool minimizedAtQuestion = true;
        TMessageLog boxes([&](const QString&) {
            minimizedAtQuestion = form->isMinimized();
            return QStringLiteral("No");
        });
        AtFirstPreview(*form, [&] { form->showMinimized(); });
        Action(*form, "CrossWord_New")->trigger();
        QVERIFY(TWindowBench::WaitIdle(*form));
        QCOMPARE(boxes.Texts.size(), 1);
        QVERIFY(!minimizedAtQuestion);
    }

    // The options dialog's placement setting travels with the run to the
    // composer: without it row 1 carries no across word and column 1 no down word.
    void wordsInTheFirstColumnOrRowFollowTheSetting_data()
    {
        QTest::addColumn<bool>("anywhere");
        QTest::newRow("first column and row kept free") << false;
        QTest::newRow("words anywhere") << true;
    }

    void wordsInTheFirstColumnOrRowFollowTheSetting()
    {
        QFETCH(bool, anywhere);
        TWindowBench bench;
        bench.PutSetting(QStringLiteral("AnyWordLocation"), anywhere ? QStringLiteral("1") : QStringLiteral("0"));
        bench.PutSetting(QStringLiteral("PreViewChecked"), QStringLiteral("1"));
        auto form = bench.Start();
        int atEdge = 0;
        for (int run = 0; run < 3; ++run) {
            Action(*form, "CrossWord_New")->trigger();
            QVERIFY(TWindowBench::WaitIdle(*form));
            const TCrossTXT& made = TComposeControllerTestAccess::NewCrossWord(*Composer(*form));
            QVERIFY(made.ExplCount() > 0);
            for (const auto& numbered : made.ExplsInNumberOrder())
                if ((numbered.Expl.Horizontal ? numbered.Expl.Row : numbered.Expl.Col) == 1)
                    ++atEdge;
        }
        QCOMPARE(atEdge > 0, anywhere);
    }

    // A template without a free cell cannot give a crossword: the window says
    // so, saves nothing and is idle again.
    void aRunThatCannotComposeShowsWhyAndGoesBackToIdle()
    {
        TWindowBench bench;
        TCrossTXT blocks = TWindowBench::Blank(8, 6);
        for (int c = 1; c <= 8; ++c)
            for (int r = 1; r <= 6; ++r)
                blocks.SetCell(c, r, '*');
        blocks.Kind = 1;
        blocks.SaveToFile(bench.PatternPath().toStdString());
        auto form = bench.Start();
        TMessageLog boxes([](const QString&) { return QStringLiteral("OK"); });
        Action(*form, "CrossWord_Series")->trigger();
        QVERIFY(TWindowBench::WaitIdle(*form));
        QCOMPARE(boxes.Texts, QStringList({QStringLiteral("Szablon nie ma wolnych pól")}));
        QVERIFY(bench.NewFiles().isEmpty());
        QVERIFY(Action(*form, "CrossWord_New")->isEnabled() && Button(*form, "SBttn_Stop")->isHidden());
        QVERIFY(Grid(*form, "CrossVC")->isVisible() && !Grid(*form, "KwelinVC")->isVisible());
        QCOMPARE(form->windowTitle(), Title(QStringLiteral("K_0231.krz")));
    }
};

QTEST_MAIN(MainFormComposeTest)
#include "MainFormComposeTest.moc"
