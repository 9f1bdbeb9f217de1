#include "composer/Composer.h"

#include "documents/CrossTXT.h"

#include <algorithm>

namespace mz {

TDBSource FileDBSource(std::string fileName, const TDBLoadFilter& filter, TDBQueryMode mode)
{
    return [fileName = std::move(fileName), filter, mode] {
        auto db = std::make_unique<TDB>(mode);
        db->LoadShared(fileName, filter);
        return db;
    };
}

TTable TableFromDocument(const TCrossTXT& pattern)
{
    TTable table(pattern.ColCount(), pattern.RowCount());
    for (int32_t c = 1; c <= pattern.ColCount(); ++c)
        for (int32_t r = 1; r <= pattern.RowCount(); ++r)
            table.SetCell(c, r, static_cast<char>(pattern.GetCell(c, r)));
    return table;
}

uint8_t FillPercentage(const TTable& grid)
{
    const int64_t all = static_cast<int64_t>(grid.ColCount()) * grid.RowCount();
    if (all == 0)
        return 0;
    const int64_t scaled = static_cast<int64_t>(grid.FilledCount()) * 100;
    int64_t percent = scaled / all;
    const int64_t twiceRest = 2 * (scaled % all);
    if (twiceRest > all || (twiceRest == all && percent % 2 == 1))
        ++percent;
    return static_cast<uint8_t>(percent);
}

TComposeRun::TComposeRun(TTable pattern, TDBSource dbSource, const TComposerSettings& settings)
    : Pattern(std::move(pattern)), DBSource(std::move(dbSource)), Settings(settings)
{
}

void TComposeRun::Preview(const TTable& grid, bool final)
{
    if (OnPreview)
        OnPreview(grid, final);
}

std::unique_ptr<TCrossKwelin> TComposeRun::NewAttempt(TDB& db, uint32_t seed)
{
    auto kwelin = std::make_unique<TCrossKwelin>(Pattern, db, Settings, seed);
    if (OnPreview)
        kwelin->OnPreview = [this](const TTable& grid) { Preview(grid, false); };
    return kwelin;
}

TComposeResult TComposeRun::Execute(TCrossTXT& newCrossWord, const std::atomic<bool>& stopCreating,
                                     std::atomic<uint8_t>& createProgress, std::optional<uint32_t> seed)
{
    TComposeResult result;
    try {
        std::unique_ptr<TDB> db = DBSource();
        result.Seed = seed ? *seed : TRandom::ClockSeed();
        result.AttemptSeed = result.Seed;
        std::unique_ptr<TCrossKwelin> kwelin = NewAttempt(*db, result.Seed);

        TPWordCoordinate slot = kwelin->ChooseSlot();
        while (slot.Found() && !stopCreating) {
            if (Settings.MaxSteps != 0 && result.Steps >= Settings.MaxSteps) {
                // Abandon the attempt; the next seed comes from this run's own
                // generator, so the whole run still follows from its first seed.
                const uint32_t next = kwelin->Random().Draw(0xFFFFFFFFu);
                kwelin.reset();
                db->Restore();
                kwelin = NewAttempt(*db, next);
                result.AttemptSeed = next;
                result.Steps = 0;
                ++result.Restarts;
                Preview(kwelin->Table(), false);
                slot = kwelin->ChooseSlot();
                continue;
            }
            ++result.Steps;
            ++result.TotalSteps;
            if (!kwelin->Step(slot))
                break;
            createProgress = std::max(createProgress.load(), FillPercentage(kwelin->Table()));
            slot = kwelin->ChooseSlot();
        }

        result.PlacedWords = kwelin->PlacedWords();
        kwelin->FillBlanks();
        Preview(kwelin->Table(), true);
        result.Grid = kwelin->Table();
        if (!stopCreating) {
            kwelin->TransferTo(newCrossWord);
            createProgress = 100;
            result.HandedOver = true;
        } else {
            result.Stopped = true;
        }
    } catch (const std::exception& e) {
        result.Error = e.what();
    }
    return result;
}

} // namespace mz
