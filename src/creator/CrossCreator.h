#pragma once

#include "composer/Composer.h"
#include "core/Table.h"
#include "creator/Rendezvous.h"
#include "documents/CrossTXT.h"

#include <QThread>

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

namespace mz {

// The preview of a working grid: a block as "*", a free cell as a space and
// every letter as "?", so the preview shows where words lie, never the words.
TTable PreviewOf(const TTable& grid);

// The thread that composes one crossword for the window. Everything it reads
// is copied in when it is created (template, database source, settings, file
// name); it shares only the stop request and the progress with its owner and
// writes its result into a document of its own, which the owner takes over on
// the main thread after `finished`. It knows no widget.
//
// Each preview of the working grid is handed to the main thread by value
// (PreviewReady, emitted there), and the composer waits until the receivers
// have run. The wait can be abandoned: destroying the object (or StopAndWait)
// requests the stop, releases a waiting composer and then waits for the
// thread, so the main thread can never block on the thread while the thread
// blocks on the main thread. Never call QThread::wait() on a running creator
// from the main thread; use StopAndWait().
class TCrossCreator : public QThread {
    Q_OBJECT

public:
    TCrossCreator(TTable pattern, TDBSource dbSource, const TComposerSettings& settings, std::string fileName,
                  std::atomic<bool>& stopCreating, std::atomic<uint8_t>& createProgress,
                  std::optional<uint32_t> seed = std::nullopt, QObject* parent = nullptr);
    ~TCrossCreator() override;

    // The crossword handed over by a run that was not stopped (its FileName is
    // the one given at creation). Read it only after the thread has finished.
    const TCrossTXT& Result() const { return FResult; }
    const TComposeResult& Outcome() const { return FOutcome; }

    // Main thread: stop the run, release a composer waiting for the main thread
    // (its remaining previews are dropped) and wait for the thread to end.
    void StopAndWait();

    // Whether the composer is waiting for a preview the main thread has not taken yet.
    bool SynchronizePending() const { return FRendezvous.Pending(); }

signals:
    // Main thread: the working grid as it stands; `final` for the last one of a run.
    void PreviewReady(const mz::TTable& grid, bool final);

protected:
    void run() override;

private:
    // Composing thread: hands the grid to the main thread and waits until it
    // was taken or the wait was abandoned.
    void HandOverPreview(const TTable& grid, bool final);

    TTable FPattern;
    TDBSource FDBSource;
    TComposerSettings FSettings;
    std::optional<uint32_t> FSeed;
    std::atomic<bool>& FStopCreating;
    std::atomic<uint8_t>& FCreateProgress;
    TCrossTXT FResult;
    TComposeResult FOutcome;
    TRendezvous FRendezvous;
};

} // namespace mz
