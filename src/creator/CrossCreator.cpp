#include "creator/CrossCreator.h"

#include "core/CellChars.h"
#include "documents/CrosswordKind.h"

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

TCrossCreator::TCrossCreator(TTable templateGrid, TDBSource dbSource, const TComposerSettings& settings,
                             std::atomic<bool>& stopCreating, std::optional<uint32_t> seed, QObject* parent)
    : QThread(parent), FTemplate(std::move(templateGrid)), FDBSource(std::move(dbSource)), FSettings(settings), FSeed(seed),
      FStopCreating(stopCreating)
{
}

TCrossCreator::~TCrossCreator()
{
    StopAndWait();
}

void TCrossCreator::StopAndWait()
{
    if (isRunning())
        FStopCreating = true;
    wait();
}

void TCrossCreator::run()
{
    TComposition composition;
    composition.CrossWord.emplace();
    // The composer is the one the kind of the new crossword names.
    switch (KindOf(*composition.CrossWord).Composer()) {
    case TComposerName::TemplateFill: {
        TComposeRun composeRun(FTemplate, FDBSource, FSettings);
        composeRun.OnPreview = [this](const TTable& grid, bool final) { Publish(grid, final); };
        std::atomic<uint8_t> progress{0};
        composition.Outcome = composeRun.Execute(*composition.CrossWord, FStopCreating, progress, FSeed);
        break;
    }
    case TComposerName::None:
        composition.Outcome.Failed = true;
        composition.Outcome.Message = "Krzyżówek tego rodzaju program nie układa sam.";
        break;
    }
    if (!composition.Outcome.HandedOver)
        composition.CrossWord.reset();
    emit Composed(composition);
}

void TCrossCreator::Publish(const TTable& grid, bool final)
{
    const auto now = std::chrono::steady_clock::now();
    if (!final && now < FNextPreview)
        return;
    FNextPreview = now + std::chrono::microseconds(1000000 / PreviewsPerSecond);
    bool post = false;
    {
        std::lock_guard lock(FSlotMutex);
        FLatest = grid;
        FLatestFinal = final;
        post = !std::exchange(FTakePosted, true);
    }
    // Queued to this object, which lives on the main thread: destroying it
    // drops a call that has not run yet.
    if (post)
        QMetaObject::invokeMethod(this, &TCrossCreator::TakeLatest, Qt::QueuedConnection);
    if (std::exchange(FHoldFirst, false)) {
        std::unique_lock lock(FSlotMutex);
        while (!FFirstHandedOn && !FStopCreating)
            FHandedOn.wait_for(lock, std::chrono::milliseconds(5));
    }
}

void TCrossCreator::TakeLatest()
{
    std::optional<TTable> grid;
    bool final = false;
    {
        std::lock_guard lock(FSlotMutex);
        grid.swap(FLatest);
        final = FLatestFinal;
        FTakePosted = false;
    }
    if (!grid)
        return;
    // A receiver may destroy this object; nothing of it is touched afterwards.
    const QPointer<TCrossCreator> self(this);
    try {
        emit PreviewReady(*grid, final);
    } catch (...) {
        // A preview that cannot be drawn must not stop the run or the window.
    }
    if (!self)
        return;
    {
        std::lock_guard lock(FSlotMutex);
        FFirstHandedOn = true;
    }
    FHandedOn.notify_all();
}

} // namespace mz
