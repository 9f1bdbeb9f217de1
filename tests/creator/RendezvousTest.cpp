// The hand-over between the composing thread and the main thread: a wait ends
// when its call was served or when the rendezvous is abandoned, never earlier.

#include "creator/Rendezvous.h"

#include <QTest>

#include <atomic>
#include <chrono>
#include <thread>

using namespace mz;

namespace {

// Waits (briefly, polling) until the condition holds; false when it never did.
template <typename F> bool Eventually(F&& condition)
{
    for (int i = 0; i < 5000; ++i) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

} // namespace

class RendezvousTest : public QObject {
    Q_OBJECT

private slots:
    void aWaitingWorkerGoesOnOnlyOnceItsCallWasServed()
    {
        TRendezvous rendezvous;
        std::atomic<int> outcome{-1};
        std::thread worker([&] {
            const auto ticket = rendezvous.Post();
            outcome = rendezvous.Wait(ticket) ? 1 : 0;
        });
        QVERIFY(Eventually([&] { return rendezvous.Pending(); }));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        QCOMPARE(outcome.load(), -1);
        rendezvous.Serve(1);
        worker.join();
        QCOMPARE(outcome.load(), 1);
        QVERIFY(!rendezvous.Pending());
    }

    void abandoningReleasesAWaitingWorkerAndRefusesLaterCalls()
    {
        TRendezvous rendezvous;
        std::atomic<int> outcome{-1};
        std::thread worker([&] {
            const auto ticket = rendezvous.Post();
            outcome = rendezvous.Wait(ticket) ? 1 : 0;
        });
        QVERIFY(Eventually([&] { return rendezvous.Pending(); }));
        rendezvous.Abandon();
        worker.join();
        QCOMPARE(outcome.load(), 0);
        QVERIFY(rendezvous.Abandoned());
        QVERIFY(!rendezvous.Pending());
        QCOMPARE(rendezvous.Post(), std::uint64_t(0));
        // A wait after the abandonment returns at once.
        QVERIFY(!rendezvous.Wait(7));
    }

    void callsAreNumberedInOrderAndServingALaterOneServesTheEarlier()
    {
        TRendezvous rendezvous;
        QCOMPARE(rendezvous.Post(), std::uint64_t(1));
        QCOMPARE(rendezvous.Post(), std::uint64_t(2));
        QVERIFY(rendezvous.Pending());
        rendezvous.Serve(1);
        QVERIFY(rendezvous.Pending());
        rendezvous.Serve(2);
        QVERIFY(!rendezvous.Pending());
        QVERIFY(rendezvous.Wait(1));
        QVERIFY(rendezvous.Wait(2));
    }
};

QTEST_APPLESS_MAIN(RendezvousTest)
#include "RendezvousTest.moc"
