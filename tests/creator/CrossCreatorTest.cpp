// The composing thread on its own: the previews it hands to the main thread,
// its result, the stop, and ending it mid-run.

#include "ComposeTestSupport.h"

#include <QGuiApplication>
#include <QSignalSpy>

using namespace mz;
using namespace mz::test;

namespace {

struct TCreatorBench {
    std::atomic<bool> StopCreating{false};
    std::unique_ptr<TCrossCreator> Creator;
    // Every grid handed on, in order, and whether it was the final one.
    QList<TTable> Previews;
    QList<bool> Finals;
    QList<TComposition> Compositions;

    explicit TCreatorBench(const QString& dataBase = DataBasePath, int cols = 8, int rows = 6, uint32_t seed = 5)
    {
        Creator = std::make_unique<TCrossCreator>(OpenPattern(cols, rows), FileDBSource(dataBase.toStdString(), {}),
                                                  TComposerSettings{}, StopCreating, seed);
        // Received on the main thread, as the window receives them.
        QObject::connect(Creator.get(), &TCrossCreator::PreviewReady, Creator.get(),
                         [this](const TTable& grid, bool final) {
                             Previews << grid;
                             Finals << final;
                         });
        QObject::connect(Creator.get(), &TCrossCreator::Composed, Creator.get(),
                         [this](const TComposition& composition) { Compositions << composition; });
    }

    // Waits for the thread without serving the main thread's events, then serves them.
    bool WaitFinished()
    {
        const bool ended = Creator->wait(QDeadlineTimer(60000));
        QTest::qWait(10);
        return ended && Compositions.size() == 1;
    }
};

std::vector<std::string> Answers(const TCrossTXT& doc)
{
    std::vector<std::string> answers;
    for (int i = 1; i <= doc.ExplCount(); ++i)
        answers.push_back(doc.GetExpl(i).Explanation + "@" + std::to_string(doc.GetExpl(i).Col) + ","
                          + std::to_string(doc.GetExpl(i).Row));
    return answers;
}

} // namespace

class CrossCreatorTest : public QObject {
    Q_OBJECT

private slots:
    void thePreviewShowsBlocksSpacesAndQuestionMarksForLetters()
    {
        TTable grid(4, 3);
        grid.SetCell(1, 1, '*');
        grid.SetCell(2, 1, 'A');
        grid.SetCell(3, 1, static_cast<char>(0xA5)); // Ą
        grid.SetCell(4, 3, 'Z');
        const TTable preview = PreviewOf(grid);
        QCOMPARE(preview.GetCell(1, 1), '*');
        QCOMPARE(preview.GetCell(2, 1), '?');
        QCOMPARE(preview.GetCell(3, 1), '?');
        QCOMPARE(preview.GetCell(4, 3), '?');
        QCOMPARE(preview.GetCell(2, 2), ' ');
    }

    void theComposerNeverWaitsForTheWindowAndOnlyTheNewestGridIsHandedOn()
    {
        TCreatorBench bench;
        bench.Creator->start();
        // No event is served until the thread has ended: it must end all the same.
        QVERIFY(bench.Creator->wait(QDeadlineTimer(60000)));
        QVERIFY(bench.Previews.isEmpty());
        QTest::qWait(10);
        // Of all the grids published meanwhile only the newest, the closed one, arrives.
        QCOMPARE(bench.Finals, QList<bool>{true});
        QCOMPARE(bench.Compositions.size(), 1);
        const TComposition& made = bench.Compositions.first();
        QVERIFY(made.CrossWord && made.Outcome.HandedOver);
        QVERIFY(!made.CrossWord->Modified);
        QVERIFY(made.CrossWord->ExplCount() > 0);
        for (int c = 1; c <= 8; ++c)
            for (int r = 1; r <= 6; ++r)
                QCOMPARE(bench.Previews.last().GetCell(c, r) == TTable::Block, made.CrossWord->GetCell(c, r) == '*');
    }

    void theWindowsCrosswordIsTheToolsForTheSameSeedWhateverThePreviewCosts_data()
    {
        QTest::addColumn<uint32_t>("seed");
        QTest::addColumn<int>("cols");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("drawMs"); // how long the window takes over each preview
        QTest::newRow("8x6 seed 1, fast window") << 1u << 8 << 6 << 0;
        QTest::newRow("8x6 seed 2, slow window") << 2u << 8 << 6 << 40;
        QTest::newRow("12x9 seed 3, slow window") << 3u << 12 << 9 << 40;
        QTest::newRow("12x9 seed 4, held first preview") << 4u << 12 << 9 << -1;
    }

    void theWindowsCrosswordIsTheToolsForTheSameSeedWhateverThePreviewCosts()
    {
        QFETCH(uint32_t, seed);
        QFETCH(int, cols);
        QFETCH(int, rows);
        QFETCH(int, drawMs);
        // The command line's way: no preview at all.
        TComposeRun run(OpenPattern(cols, rows), FileDBSource(DataBasePath.toStdString(), {}), TComposerSettings{});
        TCrossTXT tool;
        std::atomic<bool> stop{false};
        std::atomic<uint8_t> progress{0};
        QVERIFY(run.Execute(tool, stop, progress, seed).HandedOver);

        TCreatorBench bench(DataBasePath, cols, rows, seed);
        if (drawMs < 0)
            bench.Creator->HoldAtFirstPreview();
        connect(bench.Creator.get(), &TCrossCreator::PreviewReady, this,
                [drawMs](const TTable&, bool) { QThread::msleep(std::max(drawMs, 0)); });
        bench.Creator->start();
        QTRY_COMPARE_WITH_TIMEOUT(bench.Compositions.size(), 1, 60000);
        const TComposition& made = bench.Compositions.first();
        QVERIFY(made.CrossWord);
        QCOMPARE(Answers(*made.CrossWord), Answers(tool));
        QVERIFY(bench.Finals.last());
    }

    void aRunStoppedBeforeItsFirstStepIsClosedAndShownButGivesNoCrossword()
    {
        TCreatorBench bench;
        bench.StopCreating = true;
        bench.Creator->start();
        QVERIFY(bench.WaitFinished());
        const TComposition& made = bench.Compositions.first();
        QVERIFY(made.Outcome.Stopped);
        QVERIFY(!made.CrossWord);
        QCOMPARE(bench.Finals, QList<bool>{true});
        for (int c = 1; c <= 8; ++c)
            for (int r = 1; r <= 6; ++r)
                QVERIFY(bench.Previews.last().GetCell(c, r) != TTable::Free);
    }

    void aDatabaseThatCannotBeLoadedEndsTheRunWithItsErrorAndWithoutAnyPreview()
    {
        QTemporaryDir dir;
        TCreatorBench bench(dir.filePath(QStringLiteral("brak.hk")));
        bench.Creator->start();
        QVERIFY(bench.WaitFinished());
        QCOMPARE(bench.Previews.size(), 0);
        const TComposition& made = bench.Compositions.first();
        QVERIFY(!made.CrossWord);
        QVERIFY(made.Outcome.Failed);
        QVERIFY(!made.Outcome.Error.empty());
    }

    void destroyingACreatorHeldAtItsFirstPreviewStopsItAndWaits()
    {
        TCreatorBench bench(DataBasePath, 15, 11);
        bench.Creator->HoldAtFirstPreview();
        bench.Creator->start();
        // No events are served, so the composer stays at its first preview until the stop.
        QThread::msleep(50);
        QVERIFY(bench.Creator->isRunning());
        bench.Creator.reset();
        QVERIFY(bench.StopCreating.load());
        QTest::qWait(10);
        QVERIFY(bench.Compositions.isEmpty());
    }
};

QTEST_MAIN(CrossCreatorTest)
#include "CrossCreatorTest.moc"
