// Composing on large open templates (every cell open, as `mirakolnik-cli
// new-template --cols C --rows R` makes them) with the shipped word database.
//
//   LargeTemplates                 Google Benchmark: seeds 1..20 per size, one
//                                  crossword per repetition (CPU time); 50 x 40
//                                  and 60 x 50 seeds 1..10, every seed's CPU time
//                                  reported (--benchmark_filter=60x50 for one size)
//   LargeTemplates --table N [S]   seeds 1..N on 25 x 20, 30 x 25 and 40 x 30 (or
//                                  only the size S, any C x R, e.g. 80x60): CPU
//                                  time per crossword (median, slowest), steps,
//                                  restarts, letter share, and whether every run
//                                  of letters is an answer of the database, used once
//   ... --plain                    only the plain search, restarted for ever, as
//                                  before the backjumping search existed; a run
//                                  is cut off after --cut SECONDS (default 60)
//   ... --first K                  seeds K..K+N-1 instead of 1..N
//   ... --school                   only the school-safe words, as `compose` and the
//                                  window take by default (else every word but the
//                                  pejoratives, as with `compose --all-registers`)
//   LargeTemplates --template T.sz N   the same table for a template file
#include "composer/Composer.h"
#include "documents/CrossTXT.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string DatabaseFile = std::string(MZ_APP_DIR) + "/baza.hk";
bool SchoolSafe = false;

mz::TDBLoadFilter Words(const mz::TComposerSettings& settings)
{
    mz::TDBLoadFilter filter{settings.MinLenPWord, settings.MaxLenPWord};
    filter.SchoolSafe = SchoolSafe;
    return filter;
}

struct TSize {
    int32_t Cols;
    int32_t Rows;
};
const TSize Sizes[] = {{25, 20}, {30, 25}, {40, 30}};
// Sizes whose every seed is reported on its own.
const TSize LargeSizes[] = {{50, 40}, {60, 50}};
constexpr int LargeSeeds = 10;

struct TOutcome {
    mz::TComposeResult Result;
    double Cpu = 0;
    int LetterShare = 0;
    bool Sound = false;
};

// Every run of two or more letters is a word of the database and no word is repeated.
bool Sound(const mz::TTable& grid, mz::TDB& db, int32_t minLen)
{
    std::set<std::string> seen;
    auto line = [&](const std::string& cells) {
        std::string run;
        for (size_t i = 0; i <= cells.size(); ++i) {
            if (i < cells.size() && mz::TTable::IsLetter(cells[i])) {
                run += cells[i];
                continue;
            }
            if (run.size() >= 2
                && (static_cast<int32_t>(run.size()) < minLen || !db.FindRecord(run) || !seen.insert(run).second))
                return false;
            run.clear();
        }
        return true;
    };
    for (int32_t r = 1; r <= grid.RowCount(); ++r)
        if (!line(grid.RowLine(r)))
            return false;
    for (int32_t c = 1; c <= grid.ColCount(); ++c)
        if (!line(grid.ColLine(c)))
            return false;
    return true;
}

TOutcome Compose(const mz::TTable& pattern, uint32_t seed, bool plainOnly, uint32_t cutSeconds)
{
    mz::TComposerSettings settings;
    if (plainOnly) {
        settings.PlainAttempts = UINT32_MAX;
        settings.MaxIdleSteps = 0;
        settings.TimeLimitMs = cutSeconds * 1000;
    }
    mz::TComposeRun run(pattern, mz::FileDBSource(DatabaseFile, Words(settings)), settings);
    const std::atomic<bool> stop{false};
    std::atomic<uint8_t> progress{0};
    mz::TCrossTXT doc;
    TOutcome outcome;
    const std::clock_t start = std::clock();
    outcome.Result = run.Execute(doc, stop, progress, seed);
    outcome.Cpu = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    if (outcome.Result.Grid) {
        const mz::TTable& grid = *outcome.Result.Grid;
        int32_t letters = 0;
        for (int32_t r = 1; r <= grid.RowCount(); ++r)
            for (char c : grid.RowLine(r))
                letters += mz::TTable::IsLetter(c) ? 1 : 0;
        outcome.LetterShare = static_cast<int>(letters * 100 / (grid.ColCount() * grid.RowCount()));
        mz::TDB db;
        db.Load(DatabaseFile, Words(settings));
        outcome.Sound = Sound(grid, db, settings.MinLenPWord);
    }
    return outcome;
}

void Table(const std::string& name, const mz::TTable& pattern, uint32_t seeds, uint32_t firstSeed, bool plainOnly,
           uint32_t cut)
{
    std::vector<double> cpu;
    std::vector<int> letters;
    uint32_t finished = 0;
    uint32_t sound = 0;
    uint64_t steps = 0;
    uint32_t restarts = 0;
    uint32_t repairs = 0;
    for (uint32_t seed = firstSeed; seed < firstSeed + seeds; ++seed) {
        const TOutcome o = Compose(pattern, seed, plainOnly, cut);
        std::fprintf(stderr,
                     "%s seed %u: %s, %.2f s CPU, steps %llu, restarts %u, repairs %u, polished %u, letters %d%%%s\n",
                     name.c_str(), seed, o.Result.HandedOver ? "finished" : o.Result.Message.c_str(), o.Cpu,
                     static_cast<unsigned long long>(o.Result.TotalSteps), o.Result.Restarts, o.Result.Repairs,
                     o.Result.Polished, o.LetterShare, o.Result.HandedOver && !o.Sound ? ", NOT SOUND" : "");
        cpu.push_back(o.Cpu);
        steps += o.Result.TotalSteps;
        restarts += o.Result.Restarts;
        repairs += o.Result.Repairs;
        if (o.Result.HandedOver) {
            ++finished;
            letters.push_back(o.LetterShare);
            sound += o.Sound ? 1 : 0;
        }
    }
    std::sort(cpu.begin(), cpu.end());
    std::sort(letters.begin(), letters.end());
    std::printf("| %s | %u/%u | %.2f | %.2f | %llu | %.1f | %.1f | %d %% | %u/%u |\n", name.c_str(), finished, seeds,
                cpu[cpu.size() / 2], cpu.back(), static_cast<unsigned long long>(steps / seeds),
                static_cast<double>(restarts) / seeds, static_cast<double>(repairs) / seeds,
                letters.empty() ? 0 : letters[letters.size() / 2], sound, finished);
    std::fflush(stdout);
}

void PrintHead()
{
    std::printf("| template | finished | median CPU s | slowest CPU s | mean steps | mean restarts | mean repairs | "
                "median letters | sound |\n"
                "|---|---|---|---|---|---|---|---|---|\n");
}

void BM_Large(benchmark::State& state, TSize size)
{
    // Each repetition calls anew: the seed counts on per size, 1 for the first.
    static std::map<std::pair<int32_t, int32_t>, uint32_t> seeds;
    uint32_t& seed = seeds[{size.Cols, size.Rows}];
    const mz::TTable pattern(size.Cols, size.Rows);
    for (auto _ : state) {
        const TOutcome o = Compose(pattern, ++seed, false, 0);
        state.counters["seed"] = seed;
        state.counters["steps"] = static_cast<double>(o.Result.TotalSteps);
        state.counters["letters"] = o.LetterShare;
        if (!o.Result.HandedOver)
            state.SkipWithError(o.Result.Message.c_str());
    }
}

} // namespace

int main(int argc, char** argv)
{
    bool plainOnly = false;
    uint32_t cut = 60;
    uint32_t firstSeed = 1;
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--school") == 0)
            SchoolSafe = true;
        else if (std::strcmp(argv[i], "--plain") == 0)
            plainOnly = true;
        else if (std::strcmp(argv[i], "--cut") == 0 && i + 1 < argc)
            cut = static_cast<uint32_t>(std::stoul(argv[++i]));
        else if (std::strcmp(argv[i], "--first") == 0 && i + 1 < argc)
            firstSeed = static_cast<uint32_t>(std::stoul(argv[++i]));
        else
            args.emplace_back(argv[i]);
    }
    if (args.size() >= 2 && args[0] == "--table") {
        PrintHead();
        TSize given{};
        if (args.size() >= 3 && std::sscanf(args[2].c_str(), "%dx%d", &given.Cols, &given.Rows) == 2
            && std::none_of(std::begin(Sizes), std::end(Sizes),
                            [&](const TSize& s) { return s.Cols == given.Cols && s.Rows == given.Rows; })) {
            Table("open " + args[2], mz::TTable(given.Cols, given.Rows), static_cast<uint32_t>(std::stoul(args[1])),
                  firstSeed, plainOnly, cut);
            return 0;
        }
        for (const TSize& size : Sizes) {
            const std::string name = std::to_string(size.Cols) + "x" + std::to_string(size.Rows);
            if (args.size() >= 3 && args[2] != name)
                continue;
            Table("open " + name, mz::TTable(size.Cols, size.Rows), static_cast<uint32_t>(std::stoul(args[1])),
                  firstSeed, plainOnly, cut);
        }
        return 0;
    }
    if (args.size() >= 3 && args[0] == "--template") {
        mz::TCrossTXT doc;
        doc.LoadFromFile(args[1]);
        PrintHead();
        Table(args[1], mz::TableFromDocument(doc), static_cast<uint32_t>(std::stoul(args[2])), firstSeed, plainOnly,
              cut);
        return 0;
    }
    for (const TSize& size : Sizes)
        benchmark::RegisterBenchmark(
            ("Large/open" + std::to_string(size.Cols) + "x" + std::to_string(size.Rows)).c_str(), BM_Large, size)
            ->Iterations(1)
            ->Repetitions(20)
            ->ReportAggregatesOnly(true)
            ->MeasureProcessCPUTime()
            ->Unit(benchmark::kSecond);
    for (const TSize& size : LargeSizes)
        benchmark::RegisterBenchmark(
            ("Large/open" + std::to_string(size.Cols) + "x" + std::to_string(size.Rows)).c_str(), BM_Large, size)
            ->Iterations(1)
            ->Repetitions(LargeSeeds)
            ->MeasureProcessCPUTime()
            ->Unit(benchmark::kSecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
