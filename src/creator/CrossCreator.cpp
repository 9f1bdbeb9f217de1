#include "creator/CrossCreator.h"

#include "core/CellChars.h"

#include <QPointer>

namespace mz {

TTable PreviewOf(const TTable& grid)
{
    TTable preview(grid.ColCount(), grid.RowCount());
    for (int32_t c = 1; c <= grid.ColCount(); ++c)
        for (int32_t r = 1; r <= grid.RowCount(); ++r) {
            const char cell = grid.GetCell(c, r);
            preview.SetCell(c, r,
                            static_cast<char>(cell == TTable::Block      ? BlockedCell
                                                  : cell == TTable::Free ? BlankCell
                                                                         : HiddenLetterCell));
        }
    return preview;
}

TCrossCreator::TCrossCreator(TTable pattern, TDBSource dbSource, const TComposerSettings& settings,
                             std::string fileName, std::atomic<bool>& stopCreating,
                             std::atomic<uint8_t>& createProgress, std::optional<uint32_t> seed, QObject* parent)
    : QThread(parent), FPattern(std::move(pattern)), FDBSource(std::move(dbSource)), FSettings(settings), FSeed(seed),
      FStopCreating(stopCreating), FCreateProgress(createProgress)
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
    FRendezvous.Abandon();
    wait();
}

void TCrossCreator::run()
{
    TComposeRun composeRun(FPattern, FDBSource, FSettings);
    composeRun.OnPreview = [this](const TTable& grid, bool final) { HandOverPreview(grid, final); };
    FOutcome = composeRun.Execute(FResult, FStopCreating, FCreateProgress, FSeed);
}

void TCrossCreator::HandOverPreview(const TTable& grid, bool final)
{
    const uint64_t ticket = FRendezvous.Post();
    if (ticket == 0)
        return;
    // Queued to this object, which lives on the main thread: destroying it
    // drops a call that has not run yet. The copy travels with the call, so
    // the main thread never reads the working grid itself.
    QMetaObject::invokeMethod(
        this,
        [this, ticket, grid, final] {
            if (FRendezvous.Abandoned())
                return;
            // A receiver may destroy this object (its destructor releases the
            // composer itself); nothing of it is touched afterwards.
            const QPointer<TCrossCreator> self(this);
            try {
                emit PreviewReady(grid, final);
            } catch (...) {
                // A preview that cannot be drawn must not stop the run or the window.
            }
            if (self)
                FRendezvous.Serve(ticket);
        },
        Qt::QueuedConnection);
    FRendezvous.Wait(ticket);
}

} // namespace mz
