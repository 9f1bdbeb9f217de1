#include "creator/CrossCreator.h"

#include "grid/CrossSurface.h"

namespace mz {

void ShowOnPreview(const TTable& grid, TCrossSurface& preview)
{
    for (int32_t c = 1; c <= grid.ColCount(); ++c)
        for (int32_t r = 1; r <= grid.RowCount(); ++r) {
            const char cell = grid.GetCell(c, r);
            preview.SetCell(c, r, cell == TTable::Block ? '*' : cell == TTable::Free ? ' ' : '?');
        }
}

TCrossCreator::TCrossCreator(TTable pattern, TDBSource dbSource, const TComposerSettings& settings,
                             std::string fileName, std::atomic<bool>& stopCreating,
                             std::atomic<uint8_t>& createProgress, TCrossSurface* preview,
                             std::optional<uint32_t> seed, QObject* parent)
    : QThread(parent), FPattern(std::move(pattern)), FDBSource(std::move(dbSource)), FSettings(settings),
      FSeed(seed), FStopCreating(stopCreating), FCreateProgress(createProgress), FPreview(preview)
{
    FResult.FileName = std::move(fileName);
}

TCrossCreator::~TCrossCreator()
{
    StopAndWait();
}

void TCrossCreator::StopAndWait()
{
    if (isRunning())
        FStopCreating = true;
    {
        std::lock_guard lock(FGateMutex);
        FAbandoned = true;
    }
    FGate.notify_all();
    wait();
}

bool TCrossCreator::SynchronizePending() const
{
    std::lock_guard lock(FGateMutex);
    return FPosted > FServed && !FAbandoned;
}

void TCrossCreator::run()
{
    TComposeRun composeRun(FPattern, FDBSource, FSettings);
    composeRun.OnPreview = [this](const TTable& grid, bool final) {
        // The copy travels with the call, so the main thread never reads the
        // working grid itself, even when the wait has been abandoned.
        Synchronize([this, grid, final] { UpdatePreview(grid, final); });
    };
    FOutcome = composeRun.Execute(FResult, FStopCreating, FCreateProgress, FSeed);
}

void TCrossCreator::Synchronize(std::function<void()> procedure)
{
    uint64_t ticket = 0;
    {
        std::lock_guard lock(FGateMutex);
        if (FAbandoned)
            return;
        ticket = ++FPosted;
    }
    // Queued to this object, which lives on the main thread: destroying it
    // drops a call that has not run yet.
    QMetaObject::invokeMethod(
        this,
        [this, ticket, procedure = std::move(procedure)] {
            {
                std::lock_guard lock(FGateMutex);
                if (FAbandoned)
                    return;
            }
            // A slot of PreviewUpdated may destroy this object (its destructor
            // releases the composer itself); nothing of it is touched afterwards.
            const QPointer<TCrossCreator> self(this);
            try {
                procedure();
            } catch (...) {
                // A preview that cannot be drawn must not stop the run or the window.
            }
            if (!self)
                return;
            {
                std::lock_guard lock(FGateMutex);
                FServed = ticket;
            }
            FGate.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(FGateMutex);
    FGate.wait(lock, [&] { return FServed >= ticket || FAbandoned; });
}

void TCrossCreator::UpdatePreview(const TTable& grid, bool final)
{
    if (FPreview) {
        if (FPreview->Visible()) {
            ShowOnPreview(grid, *FPreview);
            FPreview->Paint();
        } else if (final) {
            ShowOnPreview(grid, *FPreview);
        }
    }
    emit PreviewUpdated(final);
}

} // namespace mz
