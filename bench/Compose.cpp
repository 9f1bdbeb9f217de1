// Composing speed on the shipped templates with the shipped word database.
//
//   Compose                       Google Benchmark: one crossword per repetition,
//                                 seeds 1..50, default step budget; median reported
//   Compose --distribution N [C] [T]  steps per finished run for seeds 1..N on
//                                 every shipped template (or only T), without a
//                                 budget (an attempt still open after C steps,
//                                 default 20000, is counted as unfinished)
//   Compose --compare N           seeds 1..N on Normal.sz with plain and indexed
//                                 queries: identical crosswords and the speed-up
//   Compose --repeats N [--allow-repeats]
//                                 seeds 1..N on every shipped template: crosswords
//                                 in which a word stands twice, and such words
#include "ShippedData.h"
#include "composer/Composer.h"
#include "documents/CrossTXT.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using mz::bench::AppDir;
using mz::bench::DatabaseFile;
using mz::bench::LoadTemplate;
using mz::bench::ShippedTemplates;

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

struct TOutcome {
    mz::TComposeResult Result;
    mz::TCrossTXT Document;
    double Time = 0;
};

TOutcome Compose(const mz::TTable& pattern, mz::TDBQueryMode mode, uint32_t seed,
                 const mz::TComposerSettings& settings = {})
{
    mz::TComposeRun run(pattern, mz::FileDBSource(DatabaseFile, {settings.MinLenPWord, settings.MaxLenPWord}, mode),
                        settings);
    const std::atomic<bool> stop{false};
    std::atomic<uint8_t> progress{0};
    TOutcome outcome;
    const auto start = std::chrono::steady_clock::now();
    outcome.Result = run.Execute(outcome.Document, stop, progress, seed);
    outcome.Time = Seconds(start);
    if (!outcome.Result.Error.empty())
        throw std::runtime_error(outcome.Result.Error);
    return outcome;
}

void BM_LoadDatabase(benchmark::State& state)
{
    for (auto _ : state) {
        mz::TDB db;
        db.Load(DatabaseFile);
        benchmark::DoNotOptimize(db.WordCount());
    }
}
BENCHMARK(BM_LoadDatabase)->Unit(benchmark::kMillisecond);

// One crossword per repetition, each with the next seed, so that the
// repetitions' median is the median over seeds 1..50.
void BM_Compose(benchmark::State& state, std::filesystem::path file, mz::TDBQueryMode mode)
{
    static std::map<std::string, uint32_t> nextSeed;
    const mz::TTable pattern = LoadTemplate(file);
    uint32_t& seed = nextSeed[file.string() + (mode == mz::qmPlain ? "/plain" : "/indexed")];
    for (auto _ : state) {
        const TOutcome outcome = Compose(pattern, mode, ++seed);
        state.counters["steps"] = static_cast<double>(outcome.Result.TotalSteps);
        state.counters["restarts"] = outcome.Result.Restarts;
    }
}

// Steps of one unbounded attempt from `seed`, or nothing when it is still open after `cap` steps.
std::optional<uint32_t> AttemptSteps(const mz::TTable& pattern, uint32_t seed, uint32_t cap)
{
    mz::TDB db;
    db.Load(DatabaseFile);
    mz::TCrossKwelin kwelin(pattern, db, mz::TKwelinSettings{}, seed);
    uint32_t steps = 0;
    for (mz::TPWordCoordinate slot = kwelin.ChooseSlot(); slot.Found(); slot = kwelin.ChooseSlot()) {
        if (steps == cap)
            return std::nullopt;
        ++steps;
        if (!kwelin.Step(slot))
            break;
    }
    return steps;
}

int Distribution(uint32_t seeds, uint32_t cap, const std::string& only)
{
    for (const auto& file : ShippedTemplates()) {
        if (!only.empty() && file.filename().string() != only)
            continue;
        const mz::TTable pattern = LoadTemplate(file);
        std::vector<uint32_t> steps;
        std::vector<double> times;
        uint32_t unfinished = 0;
        for (uint32_t seed = 1; seed <= seeds; ++seed) {
            const auto start = std::chrono::steady_clock::now();
            const std::optional<uint32_t> taken = AttemptSteps(pattern, seed, cap);
            const double time = Seconds(start);
            std::fprintf(stderr, "%s seed %u: %s %u steps, %.0f ms\n", file.filename().string().c_str(), seed,
                         taken ? "finished in" : "unfinished after", taken ? *taken : cap, time * 1000);
            if (!taken) {
                ++unfinished;
                continue;
            }
            steps.push_back(*taken);
            times.push_back(time);
        }
        std::sort(steps.begin(), steps.end());
        std::sort(times.begin(), times.end());
        auto at = [&](double q) {
            return steps.empty() ? 0u : steps[static_cast<size_t>(q * static_cast<double>(steps.size() - 1))];
        };
        auto over = [&](uint32_t n) {
            return std::count_if(steps.begin(), steps.end(), [&](uint32_t s) { return s > n; });
        };
        std::printf("%s: %u seeds, %zu finished, %u unfinished after %u steps\n", file.filename().string().c_str(),
                    seeds, steps.size(), unfinished, cap);
        if (steps.empty())
            continue;
        std::printf("  steps: min %u, median %u, p75 %u, p90 %u, p95 %u, max %u\n", steps.front(), at(0.5), at(0.75),
                    at(0.9), at(0.95), steps.back());
        std::printf("  finished runs over 500 / 1000 / 2000 / 5000 / 10000 steps: %ld / %ld / %ld / %ld / %ld\n",
                    over(500), over(1000), over(2000), over(5000), over(10000));
        std::printf("  time of a finished attempt: median %.0f ms, max %.0f ms\n", times[times.size() / 2] * 1000,
                    times.back() * 1000);
        std::fflush(stdout);
    }
    return 0;
}

int Repeats(uint32_t seeds, bool allowRepeats)
{
    mz::TComposerSettings settings;
    settings.AllowRepeats = allowRepeats;
    for (const auto& file : ShippedTemplates()) {
        const mz::TTable pattern = LoadTemplate(file);
        int crosswords = 0;
        int repeated = 0;
        double time = 0;
        for (uint32_t seed = 1; seed <= seeds; ++seed) {
            const TOutcome outcome = Compose(pattern, mz::qmIndexed, seed, settings);
            time += outcome.Time;
            std::vector<std::string> words = outcome.Result.Grid->Words(settings.MinLenPWord);
            std::sort(words.begin(), words.end());
            const auto twice = std::adjacent_find(words.begin(), words.end());
            if (twice == words.end())
                continue;
            ++crosswords;
            for (auto at = twice; at != words.end(); at = std::adjacent_find(at + 1, words.end()))
                if (at == twice || *at != *(at - 1))
                    ++repeated;
            std::fprintf(stderr, "%s seed %u: %s twice\n", file.filename().string().c_str(), seed, twice->c_str());
        }
        std::printf("%s: %u seeds, %d crosswords with a word standing twice, %d such words; %.1f s\n",
                    file.filename().string().c_str(), seeds, crosswords, repeated, time);
        std::fflush(stdout);
    }
    return 0;
}

int Compare(uint32_t seeds)
{
    const mz::TTable pattern = LoadTemplate(std::filesystem::u8path(AppDir + "/Szablony/Normal.sz"));
    double plain = 0;
    double indexed = 0;
    int differing = 0;
    for (uint32_t seed = 1; seed <= seeds; ++seed) {
        const TOutcome a = Compose(pattern, mz::qmIndexed, seed);
        const TOutcome b = Compose(pattern, mz::qmPlain, seed);
        const auto x = a.Document.ExplsInNumberOrder();
        const auto y = b.Document.ExplsInNumberOrder();
        const bool same = *a.Result.Grid == *b.Result.Grid && x.size() == y.size()
            && std::equal(x.begin(), x.end(), y.begin(),
                          [](const auto& p, const auto& q) { return p.Expl == q.Expl && p.Number == q.Number; });
        differing += same ? 0 : 1;
        indexed += a.Time;
        plain += b.Time;
        std::printf("seed %u: %s, steps %llu, indexed %.0f ms, plain %.0f ms\n", seed, same ? "identical" : "DIFFERENT",
                    static_cast<unsigned long long>(a.Result.TotalSteps), a.Time * 1000, b.Time * 1000);
    }
    std::printf("%u seeds, %d different; indexed %.2f s, plain %.2f s, speed-up %.1fx\n", seeds, differing, indexed,
                plain, plain / indexed);
    return differing == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--distribution") == 0)
        return Distribution(static_cast<uint32_t>(std::stoul(argv[2])),
                            argc >= 4 ? static_cast<uint32_t>(std::stoul(argv[3])) : 20000u, argc >= 5 ? argv[4] : "");
    if (argc >= 3 && std::strcmp(argv[1], "--compare") == 0)
        return Compare(static_cast<uint32_t>(std::stoul(argv[2])));
    if (argc >= 3 && std::strcmp(argv[1], "--repeats") == 0)
        return Repeats(static_cast<uint32_t>(std::stoul(argv[2])),
                       argc >= 4 && std::strcmp(argv[3], "--allow-repeats") == 0);

    for (const auto& file : ShippedTemplates()) {
        const std::string name = file.filename().string();
        benchmark::RegisterBenchmark(("Compose/" + name + "/indexed").c_str(), BM_Compose, file, mz::qmIndexed)
            ->Iterations(1)
            ->Repetitions(50)
            ->ReportAggregatesOnly(true)
            ->Unit(benchmark::kMillisecond);
        if (name == "Normal.sz")
            benchmark::RegisterBenchmark(("Compose/" + name + "/plain").c_str(), BM_Compose, file, mz::qmPlain)
                ->Iterations(1)
                ->Repetitions(50)
                ->ReportAggregatesOnly(true)
                ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
