// The word queries on the shipped database, plain walk against index.
//
// BM_ComposeSteps runs the real composer for a fixed number of steps on an open
// 15 x 11 grid with a fixed seed: the query mix a composing run really makes
// (one candidate search per step, many existence tests per candidate). Both
// modes give the same answers, so both runs lay the same words.
// BM_AnyWordFits and BM_FindCandidates time the two queries alone on patterns
// cut from the database's own words, the way the composer's slots look.

#include "composer/Kwelin.h"
#include "core/Cp1250.h"
#include "database/DB.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

const char* const DBFile = MZ_APP_DIR "/baza.hk";

std::unique_ptr<mz::TDB> LoadDB(mz::TDBQueryMode mode)
{
    auto db = std::make_unique<mz::TDB>(mode);
    db->Load(DBFile);
    return db;
}

struct TQuery {
    std::string Pattern;
    std::string Anchor;
};

// A word laid partly outside a stretch of 3 to 15 cells, some of its letters
// hidden; the anchor is the group of letters around one of them.
std::vector<TQuery> MakeQueries(const mz::TDB& db, size_t count)
{
    std::vector<std::string> words;
    for (const mz::TDBRec* rec = db.Words(); rec; rec = rec->Next)
        words.push_back(rec->PWord);
    std::mt19937 rng(42);
    std::vector<TQuery> queries;
    while (queries.size() < count) {
        const size_t len = 3 + rng() % 13;
        std::string pattern(len, ' ');
        const std::string& w = words[rng() % words.size()];
        const long start = static_cast<long>(rng() % (len + 2)) - 2;
        for (size_t j = 0; j < w.size(); ++j) {
            const long at = start + static_cast<long>(j);
            if (at >= 0 && at < static_cast<long>(len) && rng() % 100 < 45)
                pattern[at] = w[j];
        }
        const size_t at = pattern.find_first_not_of(' ');
        if (at == std::string::npos)
            continue;
        size_t to = at;
        while (to < len && pattern[to] != ' ')
            ++to;
        queries.push_back({pattern, pattern.substr(at, to - at)});
    }
    return queries;
}

void BM_ComposeSteps(benchmark::State& state)
{
    const auto mode = static_cast<mz::TDBQueryMode>(state.range(0));
    const int steps = static_cast<int>(state.range(1));
    mz::TKwelinSettings settings;
    int64_t placed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto db = LoadDB(mode);
        mz::TCrossKwelin kwelin(mz::TTable(15, 11), *db, settings, 12345);
        state.ResumeTiming();
        mz::TPWordCoordinate slot = kwelin.ChooseSlot();
        for (int i = 0; i < steps && slot.Found() && kwelin.Step(slot); ++i)
            slot = kwelin.ChooseSlot();
        placed = kwelin.Depth();
        state.PauseTiming();
        db.reset();
        state.ResumeTiming();
    }
    state.counters["words_in_grid"] = static_cast<double>(placed);
}
BENCHMARK(BM_ComposeSteps)
    ->ArgNames({"indexed", "steps"})
    ->Args({mz::qmPlain, 60})
    ->Args({mz::qmIndexed, 60})
    ->Unit(benchmark::kMillisecond);

void BM_AnyWordFits(benchmark::State& state)
{
    auto db = LoadDB(static_cast<mz::TDBQueryMode>(state.range(0)));
    const auto queries = MakeQueries(*db, 2000);
    size_t i = 0;
    int64_t fits = 0;
    for (auto _ : state) {
        const TQuery& q = queries[i++ % queries.size()];
        fits += db->AnyWordFits(q.Pattern, q.Anchor) ? 1 : 0;
    }
    state.counters["fit_share"] = static_cast<double>(fits) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_AnyWordFits)->ArgName("indexed")->Arg(mz::qmPlain)->Arg(mz::qmIndexed)->Unit(benchmark::kMicrosecond);

void BM_FindCandidates(benchmark::State& state)
{
    auto db = LoadDB(static_cast<mz::TDBQueryMode>(state.range(0)));
    const auto queries = MakeQueries(*db, 2000);
    size_t i = 0;
    mz::TPWordLists list;
    int64_t found = 0;
    for (auto _ : state) {
        const TQuery& q = queries[i++ % queries.size()];
        db->FindCandidates(q.Pattern, q.Anchor, list);
        found += db->FoundCount();
    }
    state.counters["candidates"] = static_cast<double>(found) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_FindCandidates)->ArgName("indexed")->Arg(mz::qmPlain)->Arg(mz::qmIndexed)->Unit(benchmark::kMicrosecond);

// The composer's first step: a free stretch lists every short enough word.
void BM_FindCandidatesFreeStretch(benchmark::State& state)
{
    auto db = LoadDB(static_cast<mz::TDBQueryMode>(state.range(0)));
    mz::TPWordLists list;
    for (auto _ : state) {
        db->FindCandidates(std::string(15, ' '), "", list);
        benchmark::DoNotOptimize(list.data());
    }
}
BENCHMARK(BM_FindCandidatesFreeStretch)
    ->ArgName("indexed")
    ->Arg(mz::qmPlain)
    ->Arg(mz::qmIndexed)
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
