// The composing thread on its own: the preview it draws through the main
// thread, its result, the stop, and ending it while it waits for the window.

#include "ComposeTestSupport.h"

#include <QApplication>
#include <QSignalSpy>

using namespace mz;
using namespace mz::test;

namespace {

struct TCreatorBench {
    TCrossSurface Preview;
    std::atomic<bool> StopCreating{false};
    std::atomic<uint8_t> CreateProgress{0};
    std::unique_ptr<TCrossCreator> Creator;

    explicit TCreatorBench(const QString& dataBase = DataBasePath, int cols = 8, int rows = 6)
    {
        TCrossSurface pattern;
        MakeOpenPattern(pattern, cols, rows);
        MakeOpenPattern(Preview, cols, rows);
        Preview.SetVisible(false);
        Creator = std::make_unique<TCrossCreator>(TableOf(pattern), FileDBSource(dataBase.toStdString(), {}),
                                                  TComposerSettings{}, "/x/K_0007.krz", StopCreating,
                                                  CreateProgress, &Preview, 5u);
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
    void showOnPreviewWritesBlocksSpacesAndQuestionMarksForLetters()
    {
        TTable grid(4, 3);
        grid.SetCell(1, 1, '*');
        grid.SetCell(2, 1, 'A');
        grid.SetCell(3, 1, static_cast<char>(0xA5)); // Ą
        grid.SetCell(4, 3, 'Z');
        TCrossSurface preview;
        ShowOnPreview(grid, preview);
        QCOMPARE(preview.GetCell(1, 1), '*');
        QCOMPARE(preview.GetCell(2, 1), '?');
        QCOMPARE(preview.GetCell(3, 1), '?');
        QCOMPARE(preview.GetCell(4, 3), '?');
        QCOMPARE(preview.GetCell(2, 2), ' ');
    }

    void aFinishedRunHandsOverUnderTheGivenNameWithProgressHundred()
    {
        TCreatorBench bench;
        QSignalSpy updates(bench.Creator.get(), &TCrossCreator::PreviewUpdated);
        bench.Creator->start();
        QVERIFY(bench.WaitFinished());
        QCOMPARE(bench.CreateProgress.load(), 100);
        QVERIFY(bench.Creator->Outcome().HandedOver);
        QCOMPARE(bench.Creator->Result().FileName, std::string("/x/K_0007.krz"));
        QVERIFY(!bench.Creator->Result().Modified);
        QVERIFY(bench.Creator->Result().ExplCount() > 0);
        // Updates for the placed and undone words, then the final one, once, last.
        QVERIFY(updates.size() > 2);
        for (qsizetype i = 0; i < updates.size(); ++i)
            QCOMPARE(updates[i][0].toBool(), i == updates.size() - 1);
    }

    void aStoppedRunIsStillClosedAndShownButHandsNothingOver()
    {
        TCreatorBench bench;
        bench.Preview.SetVisible(true);
        connect(bench.Creator.get(), &TCrossCreator::PreviewUpdated, this, [&](bool) { bench.StopCreating = true; });
        bench.Creator->start();
        QVERIFY(bench.WaitFinished());
        QVERIFY(bench.Creator->Outcome().Stopped);
        QVERIFY(bench.CreateProgress.load() < 100);
        QCOMPARE(bench.Creator->Result().ExplCount(), 0);
        for (int c = 1; c <= 8; ++c)
            for (int r = 1; r <= 6; ++r)
                QVERIFY(bench.Preview.GetCell(c, r) != ' ');
    }

    void aDatabaseThatCannotBeLoadedEndsTheRunQuietlyWithoutAnyPreview()
    {
        QTemporaryDir dir;
        TCreatorBench bench(dir.filePath(QStringLiteral("brak.hk")));
        bench.Preview.SetVisible(true);
        QSignalSpy updates(bench.Creator.get(), &TCrossCreator::PreviewUpdated);
        bench.Creator->start();
        QVERIFY(bench.WaitFinished());
        QCOMPARE(updates.size(), 0);
        QCOMPARE(bench.CreateProgress.load(), 0);
        QVERIFY(!bench.Creator->Outcome().Error.empty());
        QCOMPARE(bench.Preview.GetCell(1, 1), ' ');
    }

    void stopAndWaitReturnsWhileTheComposerWaitsForTheMainThread()
    {
        TCreatorBench bench;
        bench.Preview.SetVisible(true);
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
        // The abandoned updates never reach the grid, not even later.
        QTest::qWait(20);
        QCOMPARE(bench.Preview.GetCell(1, 1), ' ');
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
