#pragma once

#include "creator/ComposeController.h"

#include <QDeadlineTimer>
#include <QTest>

#include <memory>

namespace mz {

// What tests may see of the controller's private state.
struct TComposeControllerTestAccess {
    // Every later run is seeded from `first` on, one more for each run.
    static void SeedRunsFrom(TComposeController& controller, uint32_t first)
    {
        auto next = std::make_shared<uint32_t>(first);
        controller.FSeedHook = [next] { return std::optional<uint32_t>((*next)++); };
    }
    // Every later run's composer waits after its first preview until the
    // window has shown it, so that a test can act in the middle of the run.
    static void HoldAtFirstPreview(TComposeController& controller) { controller.FHoldAtFirstPreview = true; }
    static bool ThreadRunning(const TComposeController& controller) { return controller.FCreator != nullptr; }
    static bool SeriesFlag(const TComposeController& controller) { return controller.FSeriesFlag; }
    static int SeriesCounter(const TComposeController& controller) { return controller.FSeriesCounter; }
    // The crossword of the last run that was finished.
    static const TCrossTXT& NewCrossWord(const TComposeController& controller) { return controller.FNewCrossWord; }
    // Waits for the controller to go idle; the limit only keeps a hang from lasting for ever.
    static bool WaitIdle(const TComposeController& controller, int timeoutMs = 60000)
    {
        QDeadlineTimer deadline(timeoutMs);
        while ((controller.Creating() || ThreadRunning(controller)) && !deadline.hasExpired())
            QTest::qWait(5);
        return !controller.Creating() && !ThreadRunning(controller);
    }
};

} // namespace mz
