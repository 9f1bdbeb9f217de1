// Composing from the window: start, naming, completion, series, stop, preview
// switch and close, with a real composer thread and the shipped word database.

#include "ComposeTestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSignalSpy>

#include <filesystem>

using namespace mz;
using namespace mz::test;

namespace {

const QString ReadyAsk = QStringLiteral("ask Krzyżówka %1 jest gotowa.\r\nCzy chcesz ją rozwiązywać teraz?");

// Stops the run at its first preview update; the composer is then held there.
void StopAtFirstPreview(TComposeBench& bench)
{
    auto stopped = std::make_shared<bool>(false);
    QObject::connect(bench.Controller.get(), &TComposeController::PreviewUpdated, bench.Controller.get(),
                     [&bench, stopped](bool) {
                         if (!*stopped) {
                             *stopped = true;
                             bench.Controller->SBttn_StopClick();
                         }
                     });
}

TCrossTXT Loaded(const QString& fileName)
{
    TCrossTXT doc;
    doc.LoadFromFile(fileName.toStdString());
    return doc;
}

} // namespace

class ComposeControllerTest : public QObject {
    Q_OBJECT

private slots:
    void finishedRunsAreSavedUnderTheNextNumberedNamesInACreatedDirectory_data()
    {
        QTest::addColumn<bool>("preview");
        QTest::newRow("preview on") << true;
        QTest::newRow("preview off") << false;
    }

    void finishedRunsAreSavedUnderTheNextNumberedNamesInACreatedDirectory()
    {
        QFETCH(bool, preview);
        TComposeBench bench;
        bench.Window.PreView = preview;
        bench.Window.AnswerYes = false;
        QVERIFY(!QDir(bench.NewCrossDir()).exists());

        for (const QString& name : {QStringLiteral("K_0000.krz"), QStringLiteral("K_0001.krz")}) {
            bench.Window.Log.clear();
            QSignalSpy completed(bench.Controller.get(), &TComposeController::RunCompleted);
            bench.Controller->CrossWord_NewClick();
            QVERIFY(bench.Controller->Creating());
            QCOMPARE(bench.Controller->NewFileName(), bench.NewFile(name).toStdString());
            QVERIFY(bench.WaitIdle());
            QCOMPARE(bench.NewCrossWord().FileName, bench.NewFile(name).toStdString());

            QCOMPARE(completed.size(), 1);
            QCOMPARE(completed[0][0].toBool(), true);
            QVERIFY(QFile::exists(bench.NewFile(name)));
            const TCrossTXT saved = Loaded(bench.NewFile(name));
            QCOMPARE(saved.ColCount(), 8);
            QVERIFY(saved.ExplCount() > 0);
            QCOMPARE(saved.ExplCount(), bench.NewCrossWord().ExplCount());
            QCOMPARE(bench.Window.Log.first(), QStringLiteral("buttons composing"));
            QVERIFY(bench.Window.Log.contains(QStringLiteral("buttons idle")));
            if (preview) {
                // Shown for solving at once, no question.
                QCOMPARE(bench.Window.Log.mid(1, 2),
                         QStringList({QStringLiteral("preview grid"), QStringLiteral("caption ") + name}));
                QVERIFY(bench.Window.Matching(QStringLiteral("ask")).isEmpty());
                QVERIFY(bench.Window.Log.contains(QStringLiteral("take")));
                QCOMPARE(bench.Window.Log.last(), QStringLiteral("caption ") + name);
            } else {
                QVERIFY(!bench.Window.Log.contains(QStringLiteral("preview grid")));
                QCOMPARE(bench.Window.Matching(QStringLiteral("ask")), QStringList{ReadyAsk.arg(name)});
                QVERIFY(!bench.Window.Log.contains(QStringLiteral("take")));
            }
        }
        QCOMPARE(bench.SavedFiles(), QStringList({QStringLiteral("K_0000.krz"), QStringLiteral("K_0001.krz")}));
    }

    void thePreviewEndsWithTheClosedGridShownAsBlocksAndQuestionMarks_data()
    {
        QTest::addColumn<bool>("preview");
        QTest::newRow("visible during the run") << true;
        QTest::newRow("hidden during the run") << false;
    }

    void thePreviewEndsWithTheClosedGridShownAsBlocksAndQuestionMarks()
    {
        QFETCH(bool, preview);
        TComposeBench bench;
        bench.Window.PreView = preview;
        bench.Window.AnswerYes = false;
        bench.Window.SaveAnswer = false;
        QList<TTable> seen;
        connect(bench.Controller.get(), &TComposeController::PreviewUpdated, this,
                [&](bool) { seen << bench.Window.Preview; });
        bench.Controller->CrossWord_NewClick();
        QVERIFY(bench.WaitIdle());

        QVERIFY(seen.size() >= 2);
        const TTable pattern = bench.Window.Pattern;
        for (int i = 0; i + 1 < seen.size(); ++i)
            // A hidden preview is left alone until the end.
            QCOMPARE(seen[i] == pattern, !preview);
        const TTable final = bench.Window.Preview;
        int questionMarks = 0;
        for (int c = 1; c <= 8; ++c)
            for (int r = 1; r <= 6; ++r) {
                const char cell = final.GetCell(c, r);
                QVERIFY(cell == '*' || cell == '?');
                questionMarks += cell == '?';
                // The saved crossword has its blocks where the preview has them.
                QCOMPARE(bench.NewCrossWord().GetCell(c, r) == '*', cell == '*');
            }
        QVERIFY(questionMarks > 0);
    }

    void aSeriesOfTwoSavesTwoCrosswordsAndAsksOnlyOnce()
    {
        TComposeBench bench;
        bench.Window.PreView = false;
        bench.Window.AnswerYes = true;
        QSignalSpy completed(bench.Controller.get(), &TComposeController::RunCompleted);
        bench.Controller->CrossWord_SeriesClick();
        QVERIFY(bench.SeriesFlag());
        QVERIFY(bench.WaitIdle());

        QCOMPARE(completed.size(), 2);
        QCOMPARE(bench.SavedFiles(), QStringList({QStringLiteral("K_0000.krz"), QStringLiteral("K_0001.krz")}));
        QCOMPARE(bench.Window.Matching(QStringLiteral("ask")), QStringList{ReadyAsk.arg(QStringLiteral("K_0001.krz"))});
        // The buttons stay busy from the first start to the end of the last run.
        QCOMPARE(bench.Window.Matching(QStringLiteral("buttons idle")).size(), 1);
        QVERIFY(bench.Window.Log.indexOf(QStringLiteral("buttons idle"))
                > bench.Window.Log.lastIndexOf(QStringLiteral("buttons composing")));
        QCOMPARE(bench.Window.CurrFileName, bench.NewFile(QStringLiteral("K_0001.krz")).toStdString());
        QVERIFY(!bench.SeriesFlag());
        QCOMPARE(TComposeControllerTestAccess::SeriesCounter(*bench.Controller), 1);
    }

    void inTheTemplateEditorTheLastCrosswordIsReportedNotOffered()
    {
        TComposeBench bench;
        bench.Window.Editor = true;
        bench.Window.Minimized = true;
        bench.Controller->CrossWord_SeriesClick();
        QVERIFY(bench.WaitIdle());

        QCOMPARE(bench.Window.Matching(QStringLiteral("tell")),
                 QStringList{QStringLiteral("tell Krzyżówka K_0001.krz jest gotowa.")});
        QVERIFY(bench.Window.Matching(QStringLiteral("ask")).isEmpty());
        QVERIFY(!bench.Window.Log.contains(QStringLiteral("take")));
        // The window comes back from the taskbar before it says anything.
        QCOMPARE(bench.Window.Log.indexOf(QStringLiteral("restore")) + 1,
                 bench.Window.Log.indexOf(QStringLiteral("tell Krzyżówka K_0001.krz jest gotowa.")));
        QCOMPARE(bench.SavedFiles().size(), 2);
    }

    void aMinimizedWindowIsRestoredBeforeTheQuestion()
    {
        TComposeBench bench;
        bench.Window.PreView = false;
        bench.Window.AnswerYes = false;
        bench.Window.Minimized = true;
        bench.Controller->CrossWord_NewClick();
        QVERIFY(bench.WaitIdle());
        const qsizetype restore = bench.Window.Log.indexOf(QStringLiteral("restore"));
        QVERIFY(restore >= 0);
        QCOMPARE(bench.Window.Log.value(restore + 1), ReadyAsk.arg(QStringLiteral("K_0000.krz")));
    }

    void cancelAtTheSaveQuestionKeepsTheCurrentCrosswordAndStillSavesTheNewOne()
    {
        TComposeBench bench;
        bench.Window.SaveAnswer = false;
        bench.Controller->CrossWord_NewClick();
        QVERIFY(bench.WaitIdle());

        QVERIFY(bench.Window.Log.contains(QStringLiteral("save question")));
        QVERIFY(!bench.Window.Log.contains(QStringLiteral("take")));
        QCOMPARE(bench.Window.CurrFileName, std::string("/somewhere/Moja.krz"));
        QVERIFY(bench.Window.CrossVCVisible);
        QVERIFY(!bench.Window.PreviewVisible());
        QCOMPARE(bench.Window.Log.last(), QStringLiteral("caption Moja.krz"));
        QCOMPARE(bench.SavedFiles(), QStringList{QStringLiteral("K_0000.krz")});
    }

    void aStoppedRunSavesNothingAndBringsBackTheCrosswordGrid()
    {
        TComposeBench bench;
        StopAtFirstPreview(bench);
        QSignalSpy completed(bench.Controller.get(), &TComposeController::RunCompleted);
        bench.Controller->CrossWord_NewClick();
        QVERIFY(bench.WaitIdle());

        QCOMPARE(completed.size(), 1);
        QCOMPARE(completed[0][0].toBool(), false);
        QVERIFY(bench.SavedFiles().isEmpty());
        QVERIFY(bench.Window.Log.contains(QStringLiteral("buttons stopping")));
        QCOMPARE(bench.Window.Log.mid(bench.Window.Log.size() - 3),
                 QStringList({QStringLiteral("buttons idle"), QStringLiteral("crossword grid"),
                              QStringLiteral("caption Moja.krz")}));
        QVERIFY(bench.Window.Matching(QStringLiteral("ask")).isEmpty());
        QVERIFY(!bench.Window.Log.contains(QStringLiteral("save question")));
        QCOMPARE(bench.NewCrossWord().ExplCount(), 0);
    }

    void aStopDuringASeriesEndsItAndTheNextSeriesIsComplete()
    {
        TComposeBench bench;
        bench.Window.PreView = false;
        bench.Window.AnswerYes = false;
        bench.Window.Options.SeriesCount = 3;
        // Stop at the first preview update of the second run.
        int completedRuns = 0;
        bool stopped = false;
        connect(bench.Controller.get(), &TComposeController::RunCompleted, this, [&] { ++completedRuns; });
        auto stopper = connect(bench.Controller.get(), &TComposeController::PreviewUpdated, this, [&](bool) {
            if (completedRuns == 1 && !stopped) {
                stopped = true;
                bench.Controller->SBttn_StopClick();
            }
        });
        bench.Controller->CrossWord_SeriesClick();
        QVERIFY(bench.WaitIdle());
        QCOMPARE(completedRuns, 2);
        QCOMPARE(bench.SavedFiles(), QStringList{QStringLiteral("K_0000.krz")});
        QVERIFY(bench.Window.Matching(QStringLiteral("ask")).isEmpty());
        QVERIFY(!bench.SeriesFlag());

        disconnect(stopper);
        bench.Window.Options.SeriesCount = 2;
        bench.Controller->CrossWord_SeriesClick();
        QVERIFY(bench.WaitIdle());
        QCOMPARE(completedRuns, 4);
        QCOMPARE(bench.SavedFiles(),
                 QStringList(
                     {QStringLiteral("K_0000.krz"), QStringLiteral("K_0001.krz"), QStringLiteral("K_0002.krz")}));
        QCOMPARE(bench.Window.Matching(QStringLiteral("ask")), QStringList{ReadyAsk.arg(QStringLiteral("K_0002.krz"))});
    }

    void aNewRunIsJudgedByItsOwnCompletion()
    {
        TComposeBench bench;
        bench.Window.PreView = false;
        bench.Window.AnswerYes = false;
        QSignalSpy completed(bench.Controller.get(), &TComposeController::RunCompleted);

        // A finished run, then a stopped one: the stopped one is not taken for finished.
        bench.Controller->CrossWord_NewClick();
        QVERIFY(bench.WaitIdle());
        StopAtFirstPreview(bench);
        bench.Controller->CrossWord_NewClick();
        QVERIFY(bench.WaitIdle());
        QCOMPARE(completed.size(), 2);
        QCOMPARE(completed[1][0].toBool(), false);
        QCOMPARE(bench.SavedFiles(), QStringList{QStringLiteral("K_0000.krz")});
        QCOMPARE(bench.Window.Matching(QStringLiteral("ask")).size(), 1);

        // A stopped run, then a finished one: the finished one is offered and saved.
        // (The stopper above only acts once.)
        bench.Controller->CrossWord_NewClick();
        QVERIFY(bench.WaitIdle());
        QCOMPARE(completed.size(), 3);
        QCOMPARE(completed[2][0].toBool(), true);
        QCOMPARE(bench.SavedFiles(), QStringList({QStringLiteral("K_0000.krz"), QStringLiteral("K_0001.krz")}));
        QCOMPARE(bench.Window.Matching(QStringLiteral("ask")).last(), ReadyAsk.arg(QStringLiteral("K_0001.krz")));
    }

    void togglingThePreviewMidRunSwitchesGridsAndLeavesTheRunAsItWas()
    {
        // The same seed without any switching gives the reference crossword.
        TComposeBench reference;
        reference.Window.SaveAnswer = false;
        reference.Controller->CrossWord_NewClick();
        QVERIFY(reference.WaitIdle());

        TComposeBench bench;
        bench.Window.SaveAnswer = false;
        int updates = 0;
        connect(bench.Controller.get(), &TComposeController::PreviewUpdated, this, [&](bool final) {
            ++updates;
            if (final || updates > 1)
                return;
            for (int i = 0; i < 2; ++i) {
                bench.Window.PreView = !bench.Window.PreView;
                bench.Controller->PreViewClick();
            }
        });
        bench.Controller->CrossWord_NewClick();
        QVERIFY(bench.WaitIdle());

        const QStringList& log = bench.Window.Log;
        const qsizetype off = log.indexOf(QStringLiteral("crossword grid"));
        QVERIFY(off > 0);
        QCOMPARE(log.value(off + 1), QStringLiteral("caption Moja.krz"));
        QCOMPARE(log.value(off + 2), QStringLiteral("preview grid"));
        QCOMPARE(log.value(off + 3), QStringLiteral("caption K_0000.krz"));
        QVERIFY(updates >= 2);

        const TCrossTXT expected = Loaded(reference.NewFile(QStringLiteral("K_0000.krz")));
        const TCrossTXT got = Loaded(bench.NewFile(QStringLiteral("K_0000.krz")));
        QCOMPARE(got.ExplCount(), expected.ExplCount());
        for (int i = 1; i <= got.ExplCount(); ++i) {
            QCOMPARE(got.GetExpl(i).Explanation, expected.GetExpl(i).Explanation);
            QCOMPARE(got.GetExpl(i).Col, expected.GetExpl(i).Col);
            QCOMPARE(got.GetExpl(i).Row, expected.GetExpl(i).Row);
        }
    }

    void togglingThePreviewWhileIdleOrInTheEditorOnlyChangesTheCheckMark()
    {
        TComposeBench bench;
        bench.Window.PreView = false;
        bench.Controller->PreViewClick();
        QVERIFY(bench.Window.Log.isEmpty());
        bench.Window.Editor = true;
        bench.Window.SaveAnswer = false;
        bench.Controller->CrossWord_NewClick();
        bench.Window.PreView = true;
        bench.Controller->PreViewClick();
        QVERIFY(bench.WaitIdle());
        QVERIFY(!bench.Window.Log.contains(QStringLiteral("preview grid")));
        QVERIFY(!bench.Window.Log.contains(QStringLiteral("crossword grid")));
    }

    void closingMidRunStopsTheRunAndCallsBackOnceTheThreadHasEnded()
    {
        TComposeBench bench;
        int closeCalls = 0;
        bool refused = false;
        bool idleAtCallBack = false;
        connect(bench.Controller.get(), &TComposeController::PreviewUpdated, this, [&](bool) {
            if (refused)
                return;
            // The composer is held at this very update: the run is under way.
            refused = !bench.Controller->CloseQuery([&] {
                ++closeCalls;
                idleAtCallBack = !bench.ThreadRunning() && !bench.Controller->Creating();
            });
        });
        bench.Controller->CrossWord_NewClick();
        QTRY_COMPARE_WITH_TIMEOUT(closeCalls, 1, 60000);
        QVERIFY(refused);
        QVERIFY(idleAtCallBack);
        QCOMPARE(bench.Window.Log.mid(bench.Window.Log.size() - 3),
                 QStringList({QStringLiteral("buttons idle"), QStringLiteral("crossword grid"),
                              QStringLiteral("caption Moja.krz")}));
        QVERIFY(bench.SavedFiles().isEmpty());
        QVERIFY(bench.Window.Matching(QStringLiteral("ask")).isEmpty());
        QVERIFY(bench.Controller->CloseQuery([&] { ++closeCalls; }));
        QTest::qWait(20);
        QCOMPARE(closeCalls, 1);
    }

    void destroyingTheControllerMidRunStopsTheComposerAndSavesNothing()
    {
        TComposeBench bench;
        bench.Window.Pattern = OpenPattern(15, 11);
        bench.Controller->CrossWord_NewClick();
        QVERIFY(bench.ThreadRunning());
        bench.Controller.reset();
        QTest::qWait(20);
        QVERIFY(bench.SavedFiles().isEmpty());
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void noFreeNumberedNameMeansNoStartAndAClearMessage_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QStringList>("existing");
        QTest::newRow("prefix without '?'") << QStringLiteral("Moja") << QStringList{QStringLiteral("Moja.krz")};
        QStringList ten;
        for (int i = 0; i < 10; ++i)
            ten << QStringLiteral("A%1.krz").arg(i);
        QTest::newRow("all ten names of one '?'") << QStringLiteral("A?") << ten;
    }

    void noFreeNumberedNameMeansNoStartAndAClearMessage()
    {
        QFETCH(QString, prefix);
        QFETCH(QStringList, existing);
        TComposeBench bench;
        bench.Window.Options.CurrPrefix = prefix;
        QDir().mkpath(bench.NewCrossDir());
        for (const QString& name : existing) {
            QFile file(bench.NewFile(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        bench.Controller->CrossWord_NewClick();

        QVERIFY(!bench.Controller->Creating());
        QVERIFY(!bench.ThreadRunning());
        const std::string dir = bench.NewCrossDir().toStdString();
        QCOMPARE(bench.Window.Log,
                 QStringList(
                     {QStringLiteral("buttons composing"),
                      QStringLiteral("error Wszystkie nazwy plików z przedrostkiem %1 w katalogu %2 są już zajęte")
                          .arg(prefix, QString::fromStdString(dir)),
                      QStringLiteral("buttons idle")}));
        QCOMPARE(bench.SavedFiles().size(), existing.size());
    }

    void aSeriesThatRunsOutOfNamesStopsWithTheMessageAndBringsBackTheCrosswordGrid()
    {
        TComposeBench bench;
        bench.Window.Options.CurrPrefix = QStringLiteral("K_?");
        QDir().mkpath(bench.NewCrossDir());
        for (int i = 1; i <= 9; ++i) {
            QFile file(bench.NewFile(QStringLiteral("K_%1.krz").arg(i)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        bench.Controller->CrossWord_SeriesClick();
        QVERIFY(bench.WaitIdle());

        QVERIFY(QFileInfo(bench.NewFile(QStringLiteral("K_0.krz"))).size() > 0);
        QVERIFY(!bench.SeriesFlag());
        QCOMPARE(bench.Window.Matching(QStringLiteral("error")).size(), 1);
        QCOMPARE(bench.Window.Log.mid(bench.Window.Log.size() - 3),
                 QStringList({QStringLiteral("buttons idle"), QStringLiteral("crossword grid"),
                              QStringLiteral("caption Moja.krz")}));
        QVERIFY(!bench.Window.PreviewVisible());
    }

    void aDirectoryThatCannotBeCreatedIsReportedAndNothingStarts()
    {
        TComposeBench bench;
        QFile blocker(bench.Dir.filePath(QStringLiteral("plik")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        bench.Window.Options.NewCrossDir = bench.Dir.filePath(QStringLiteral("plik/Nowe/"));
        bench.Controller->CrossWord_SeriesClick();

        QVERIFY(!bench.Controller->Creating());
        QVERIFY(!bench.SeriesFlag());
        QVERIFY(!bench.ThreadRunning());
        QCOMPARE(bench.Window.Log,
                 QStringList({QStringLiteral("buttons composing"),
                              QStringLiteral("error Nie można utworzyć katalogu ") + bench.Window.Options.NewCrossDir,
                              QStringLiteral("buttons idle")}));
    }

    void aSeriesWhoseCrosswordCannotBeSavedEndsWithTheErrorAndGoesIdle()
    {
        TComposeBench bench;
        bench.Window.Options.SeriesCount = 3;
        // A directory where the first crossword's file should go makes its save fail.
        bool blocked = false;
        connect(bench.Controller.get(), &TComposeController::PreviewUpdated, this, [&](bool) {
            if (!blocked)
                blocked = QDir().mkpath(bench.NewFile(QStringLiteral("K_0000.krz")));
        });
        QSignalSpy completed(bench.Controller.get(), &TComposeController::RunCompleted);
        bench.Controller->CrossWord_SeriesClick();
        QVERIFY(bench.WaitIdle());

        QCOMPARE(completed.size(), 1);
        QCOMPARE(bench.Window.Matching(QStringLiteral("error")).size(), 1);
        QVERIFY(!bench.SeriesFlag());
        QCOMPARE(bench.Window.Log.mid(bench.Window.Log.size() - 4),
                 QStringList({bench.Window.Matching(QStringLiteral("error")).first(), QStringLiteral("buttons idle"),
                              QStringLiteral("crossword grid"), QStringLiteral("caption Moja.krz")}));
    }

    void theBusyCursorFollowsThePreviewGridsVisibility()
    {
        TComposeBench bench;
        QVERIFY(!QGuiApplication::overrideCursor());
        bench.Controller->PreviewVisibilityChanged(true);
        bench.Controller->PreviewVisibilityChanged(true);
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::BusyCursor);
        bench.Controller->PreviewVisibilityChanged(false);
        QVERIFY(!QGuiApplication::overrideCursor());
        bench.Controller->PreviewVisibilityChanged(true);
        bench.Controller.reset();
        QVERIFY(!QGuiApplication::overrideCursor());
    }
};

QTEST_MAIN(ComposeControllerTest)
#include "ComposeControllerTest.moc"
