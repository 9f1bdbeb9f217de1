#pragma once

#include "composer/Composer.h"
#include "documents/CrossTXT.h"

#include <QPointer>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

namespace mz {

class TCrossSurface;

// Writes the working grid into the preview grid: a block as "*", a free cell
// as a space and every letter as "?", so the preview shows where words lie,
// never the words.
void ShowOnPreview(const TTable& grid, TCrossSurface& preview);

// The thread that composes one crossword for the window. Everything it reads
// is copied in when it is created (template, database source, settings, file
// name); it shares only the stop request and the progress with its owner and
// writes its result into a document of its own, which the owner takes over on
// the main thread after `finished`.
//
// The preview grid is written only on the main thread, through a synchronised
// call during which the composer waits. The wait can be abandoned: destroying
// the object (or StopAndWait) requests the stop, releases a waiting composer
// and then waits for the thread, so the main thread can never block on the
// thread while the thread blocks on the main thread. Never call QThread::wait()
// on a running creator from the main thread; use StopAndWait().
class TCrossCreator : public QThread {
    Q_OBJECT

public:
    TCrossCreator(TTable pattern, TDBSource dbSource, const TComposerSettings& settings, std::string fileName,
                  std::atomic<bool>& stopCreating, std::atomic<uint8_t>& createProgress, TCrossSurface* preview,
                  std::optional<uint32_t> seed = std::nullopt, QObject* parent = nullptr);
    ~TCrossCreator() override;

    // The crossword handed over by a run that was not stopped (its FileName is
    // the one given at creation). Read it only after the thread has finished.
    const TCrossTXT& Result() const { return FResult; }
    const TComposeResult& Outcome() const { return FOutcome; }

    // Main thread: if the preview grid is visible, copy the working grid into it
    // and repaint it; if hidden, nothing, except that the final grid is still
    // written (without a repaint) so the grid holds it when it is shown later.
    void UpdatePreview(const TTable& grid, bool final);

    // Main thread: stop the run, release a composer waiting for the main thread
    // (its remaining preview updates are dropped) and wait for the thread to end.
    void StopAndWait();

    // Whether the composer is waiting for a preview update the main thread has not run yet.
    bool SynchronizePending() const;

signals:
    // Main thread, after every preview update the composer asked for.
    void PreviewUpdated(bool final);

protected:
    void run() override;

private:
    // Composing thread: runs the procedure on the main thread and waits until
    // it has run or the wait was abandoned.
    void Synchronize(std::function<void()> procedure);

    TTable FPattern;
    TDBSource FDBSource;
    TComposerSettings FSettings;
    std::optional<uint32_t> FSeed;
    std::atomic<bool>& FStopCreating;
    std::atomic<uint8_t>& FCreateProgress;
    QPointer<TCrossSurface> FPreview;
    TCrossTXT FResult;
    TComposeResult FOutcome;

    mutable std::mutex FGateMutex;
    std::condition_variable FGate;
    uint64_t FPosted = 0;
    uint64_t FServed = 0;
    bool FAbandoned = false;
};

} // namespace mz
