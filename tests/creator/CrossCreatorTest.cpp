// The composing thread on its own: the previews it hands to the main thread,
// its result, the stop, and ending it while it waits for the window.

#include "ComposeTestSupport.h"

#include <QGuiApplication>
#include <QSignalSpy>

using namespace mz;
using namespace mz::test;

namespace {

struct TCreatorBench {
    std::atomic<bool> StopCreating{false};
    std::atomic<uint8_t> CreateProgress{0};
    std::unique_ptr<TCrossCreator> Creator;
    // Every grid handed over, in order, and whether it was the final one.
    QList<TTable> Previews;
    QList<bool> Finals;

    explicit TCreatorBench(const QString& dataBase = DataBasePath, int cols = 8, int rows = 6)
    {
        Creator =
            std::make_unique<TCrossCreator>(OpenPattern(cols, rows), FileDBSource(dataBase.toStdString(), {}),
                                            TComposerSettings{}, "/x/K_0007.krz", StopCreating, CreateProgress, 5u);
        QObject::connect(Creator.get(), &TCrossCreator::PreviewReady, [this](const TTable& grid, bool final) {
            Previews << grid;
            Finals << final;
        });
    }

    bool WaitFinished()
    {
        QDeadlineTimer deadline(60000);
        while (!Creator->isFinished() && !deadline.hasExpired())
            QTest::qWait(5);
        return Creator->isFinished() && Creator->wait();
    }
};

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

    void aFinishedRunHandsOverUnderTheGivenNameWithProgressHundred()
    {
        TCreatorBench bench;
        bench.Creator->start();
        QVERIFY(bench.WaitFinished());
        QCOMPARE(bench.CreateProgress.load(), 100);
        QVERIFY(bench.Creator->Outcome().HandedOver);
        QCOMPARE(bench.Creator->Result().FileName, std::string("/x/K_0007.krz"));
        QVERIFY(!bench.Creator->Result().Modified);
        QVERIFY(bench.Creator->Result().ExplCount() > 0);
        // Updates for the placed and undone words, then the final one, once, last.
        QVERIFY(bench.Finals.size() > 2);
        for (qsizetype i = 0; i < bench.Finals.size(); ++i)
            QCOMPARE(bench.Finals[i], i == bench.Finals.size() - 1);
    }

    void aStoppedRunIsStillClosedAndShownButHandsNothingOver()
    {
        TCreatorBench bench;
        connect(bench.Creator.get(), &TCrossCreator::PreviewReady, this,
                [&](const TTable&, bool) { bench.StopCreating = true; });
        bench.Creator->start();
        QVERIFY(bench.WaitFinished());
        QVERIFY(bench.Creator->Outcome().Stopped);
        QVERIFY(bench.CreateProgress.load() < 100);
        QCOMPARE(bench.Creator->Result().ExplCount(), 0);
        QVERIFY(bench.Finals.last());
        for (int c = 1; c <= 8; ++c)
            for (int r = 1; r <= 6; ++r)
                QVERIFY(bench.Previews.last().GetCell(c, r) != ' ');
    }

    void aDatabaseThatCannotBeLoadedEndsTheRunQuietlyWithoutAnyPreview()
    {
        QTemporaryDir dir;
        TCreatorBench bench(dir.filePath(QStringLiteral("brak.hk")));
        bench.Creator->start();
        QVERIFY(bench.WaitFinished());
        QCOMPARE(bench.Previews.size(), 0);
        QCOMPARE(bench.CreateProgress.load(), 0);
        QVERIFY(!bench.Creator->Outcome().Error.empty());
    }

    void stopAndWaitReturnsWhileTheComposerWaitsForTheMainThread()
    {
        TCreatorBench bench;
        bench.Creator->start();
        // No events are served here, so the composer blocks on its first preview update.
        QDeadlineTimer deadline(60000);
        while (!bench.Creator->SynchronizePending() && !deadline.hasExpired())
            QThread::msleep(1);
        QVERIFY(bench.Creator->SynchronizePending());
        bench.Creator->StopAndWait();
        QVERIFY(bench.Creator->isFinished());
        QVERIFY(bench.StopCreating.load());
        QVERIFY(!bench.Creator->Outcome().HandedOver);
        // The abandoned updates never reach the main thread, not even later.
        QTest::qWait(20);
        QCOMPARE(bench.Previews.size(), 0);
    }

    void destroyingARunningCreatorStopsItAndWaits()
    {
        TCreatorBench bench(DataBasePath, 15, 11);
        bench.Creator->start();
        QDeadlineTimer deadline(60000);
        while (!bench.Creator->SynchronizePending() && !deadline.hasExpired())
            QThread::msleep(1);
        bench.Creator.reset();
        QVERIFY(bench.StopCreating.load());
    }
};

QTEST_MAIN(CrossCreatorTest)
#include "CrossCreatorTest.moc"
