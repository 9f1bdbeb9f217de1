// Word suggestions for a slot of the shipped Normal.sz, as construct mode asks
// for them under the cursor: the fitting words sorted by commonness, the
// grid's own words left out, and the fit counts of the across and down runs.
//
// BM_SuggestOpenNormal: every run of the open template (15 and 11 free cells).
// BM_SuggestComposed: every run of Normal.sz cut by the blocks of a composed
// crossword (seed 231, the sample), every second letter of the run kept.
// BM_FitsAtEveryCell: the two counts at every cell of that half-filled grid.

#include "ShippedData.h"
#include "composer/WordSuggestions.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <memory>

namespace {

std::unique_ptr<mz::TDB> LoadDB()
{
    auto db = std::make_unique<mz::TDB>();
    db->Load(mz::bench::DatabaseFile);
    return db;
}

mz::TTable NormalTemplate()
{
    return mz::bench::LoadTemplate(std::filesystem::u8path(mz::bench::AppDir + "/Szablony/Normal.sz"));
}

// The sample's grid with every second letter of each row taken out.
mz::TTable HalfFilledGrid(mz::TDB& db)
{
    mz::TComposeRun run(
        NormalTemplate(),
        [&db] {
            auto copy = std::make_unique<mz::TDB>();
            copy->ShareWords(db);
            return copy;
        },
        mz::TComposerSettings{});
    mz::TCrossTXT doc;
    const std::atomic<bool> stop{false};
    std::atomic<uint8_t> progress{0};
    mz::TTable grid = *run.Execute(doc, stop, progress, 231).Grid;
    for (int32_t r = 1; r <= grid.RowCount(); ++r)
        for (int32_t c = 1 + r % 2; c <= grid.ColCount(); c += 2)
            if (mz::TTable::IsLetter(grid.GetCell(c, r)))
                grid.SetCell(c, r, mz::TTable::Free);
    return grid;
}

void SuggestEverySlot(benchmark::State& state, const mz::TTable& grid, const mz::TDB& db)
{
    const std::vector<mz::TGridSlot> slots = mz::GridSlots(grid, 2);
    size_t found = 0;
    for (auto _ : state)
        for (const mz::TGridSlot& slot : slots) {
            const auto used = mz::WordsInGrid(grid, 2);
            found += mz::SuggestWords(db, slot.Pattern, used, 200).size();
            benchmark::DoNotOptimize(found);
        }
    state.counters["slots"] = static_cast<double>(slots.size());
    state.counters["per_slot"] =
        benchmark::Counter(static_cast<double>(slots.size()),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_SuggestOpenNormal(benchmark::State& state)
{
    const auto db = LoadDB();
    SuggestEverySlot(state, NormalTemplate(), *db);
}
BENCHMARK(BM_SuggestOpenNormal)->Unit(benchmark::kMillisecond);

void BM_SuggestComposed(benchmark::State& state)
{
    const auto db = LoadDB();
    SuggestEverySlot(state, HalfFilledGrid(*db), *db);
}
BENCHMARK(BM_SuggestComposed)->Unit(benchmark::kMillisecond);

void BM_FitsAtEveryCell(benchmark::State& state)
{
    const auto db = LoadDB();
    const mz::TTable grid = HalfFilledGrid(*db);
    int64_t sum = 0;
    for (auto _ : state) {
        const auto used = mz::WordsInGrid(grid, 2);
        for (int32_t r = 1; r <= grid.RowCount(); ++r)
            for (int32_t c = 1; c <= grid.ColCount(); ++c) {
                const mz::TSlotFits fits = mz::FitsAt(grid, *db, c, r, 2, used);
                sum += fits.Across + fits.Down;
            }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["cells"] = grid.ColCount() * grid.RowCount();
}
BENCHMARK(BM_FitsAtEveryCell)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
