#pragma once

#include "composer/Composer.h"
#include "core/Table.h"
#include "documents/CrossTXT.h"

#include <QThread>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>

namespace mz {

// The preview of a working grid: a block as "*", a free cell as a space and
// every letter as "?", so the preview shows where words lie, never the words.
TTable PreviewOf(const TTable& grid);

// What one composing run gives: the crossword when the run finished one,
// and how the run went (stopped, failed and why, its seed and steps).
struct TComposition {
    std::optional<TCrossTXT> CrossWord;
    TComposeResult Outcome;
};

// The thread that composes one crossword for the window. Everything it reads
// is copied in when it is created (template, database source, settings); it
// shares only the stop request with its owner and hands its result over once,
// as a value, through Composed. It knows no widget.
//
// The composer never waits for the main thread: it publishes its latest
// working grid at most PreviewsPerSecond times a second (and the closed grid
// at the end always) into one slot and goes on; the main thread takes the
// newest grid from the slot when it gets to it, and grids published meanwhile
// are dropped. So the search runs exactly as without a preview, and
// destroying the object (or StopAndWait) only has to request the stop and
// wait for the thread.
class TCrossCreator : public QThread {
    Q_OBJECT

public:
    static constexpr int PreviewsPerSecond = 30;

    TCrossCreator(TTable templateGrid, TDBSource dbSource, const TComposerSettings& settings,
                  std::atomic<bool>& stopCreating, std::optional<uint32_t> seed = std::nullopt,
                  QObject* parent = nullptr);
    ~TCrossCreator() override;

    // Main thread: stop the run and wait for the thread to end.
    void StopAndWait();

    // For tests that act in the middle of a run: before start(), makes the
    // composer wait after its first preview until the main thread has handed
    // it on (or the run is stopped), as a slow machine might.
    void HoldAtFirstPreview() { FHoldFirst = true; }

signals:
    // Main thread: the newest working grid; `final` for the closed grid of the run.
    void PreviewReady(const mz::TTable& grid, bool final);
    // Composing thread, once, as its last act: the run's result.
    void Composed(const mz::TComposition& composition);

protected:
    void run() override;

private:
    // Composing thread: puts the grid into the slot when it is due.
    void Publish(const TTable& grid, bool final);
    // Main thread: takes the newest grid from the slot and hands it on.
    void TakeLatest();

    TTable FTemplate;
    TDBSource FDBSource;
    TComposerSettings FSettings;
    std::optional<uint32_t> FSeed;
    std::atomic<bool>& FStopCreating;
    std::chrono::steady_clock::time_point FNextPreview{};

    std::mutex FSlotMutex;
    std::optional<TTable> FLatest;
    bool FLatestFinal = false;
    bool FTakePosted = false; // a TakeLatest call is on its way to the main thread
    bool FHoldFirst = false;
    bool FFirstHandedOn = false;
    std::condition_variable FHandedOn;
};

} // namespace mz
