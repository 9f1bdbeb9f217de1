// Composing with a word database of a million words.
//
// The database is made here, for the benchmark only, from the Debian `wpolish`
// list (/usr/share/dict/polish; apt-get install wpolish): every
// entry that a database can hold (DatabaseWord: 2 to 20 letters a cell can
// show, upper-cased) once, in the list's order; of those, evenly spaced ones up
// to the number asked for, each with one placeholder clue "hasło N". The file
// is written once into the build tree (bench-data/) and reused.
//
//   LargeDB                       Google Benchmark: loading the file (with the
//                                 index the first query builds), and one
//                                 Normal.sz crossword per repetition, seeds 1..20,
//                                 in one process that parses the file once
//                                 (before the first repetition)
//   LargeDB --series N [WORDS]    seeds 1..N on Normal.sz: CPU time of the first
//                                 load (parse, then index) and of every
//                                 crossword, median, and the peak memory of the
//                                 process (VmHWM)
//   LargeDB --make WORDS          only writes the database file
#include "composer/Composer.h"
#include "database/DBBuilder.h"
#include "documents/CrossTXT.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

const std::string AppDir = MZ_APP_DIR;
const char* const WordList = "/usr/share/dict/polish";

std::string DatabaseFile(size_t words)
{
    return AppDir + "/../bench-data/wpolish-" + std::to_string(words) + ".hk";
}

// Writes the database of `count` words unless it is there already.
std::string MakeDatabase(size_t count)
{
    const std::string file = DatabaseFile(count);
    if (std::filesystem::exists(file))
        return file;
    std::ifstream in(WordList);
    if (!in)
        throw std::runtime_error(std::string("no word list ") + WordList + " (Debian package wpolish)");
    std::vector<std::string> all;
    std::unordered_set<std::string> seen;
    for (std::string line; std::getline(in, line);) {
        std::string word = mz::DatabaseWord(line);
        if (!word.empty() && seen.insert(word).second)
            all.push_back(std::move(word));
    }
    seen.clear();
    if (all.size() < count)
        throw std::runtime_error("the word list holds only " + std::to_string(all.size()) + " usable words");
    std::vector<mz::TDBWord> words;
    words.reserve(count);
    for (size_t i = 0; i < count; ++i)
        words.push_back({all[i * all.size() / count], {"hasło " + std::to_string(i + 1)}, {}});
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    mz::WriteDBFile(file + ".tmp", 101, words);
    std::filesystem::rename(file + ".tmp", file);
    std::fprintf(stderr, "%zu usable words in the list, %zu written to %s\n", all.size(), count, file.c_str());
    return file;
}

mz::TTable NormalTemplate()
{
    mz::TCrossTXT doc;
    doc.LoadFromFile(std::filesystem::u8path(AppDir + "/Szablony/Normal.sz").string());
    return mz::TableFromDocument(doc);
}

// The peak resident memory of the process so far, in MB.
double PeakMemoryMB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

mz::TComposeResult ComposeOne(mz::TComposeRun& run, uint32_t seed)
{
    mz::TCrossTXT doc;
    const std::atomic<bool> stop{false};
    std::atomic<uint8_t> progress{0};
    mz::TComposeResult result = run.Execute(doc, stop, progress, seed);
    if (!result.Error.empty())
        throw std::runtime_error(result.Error);
    return result;
}

double CpuSeconds()
{
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// Parses the file into the process's cache and builds what the queries need,
// as the first composing run of a process does.
std::unique_ptr<mz::TDB> PrepareDatabase(const std::string& file, const mz::TComposerSettings& settings)
{
    const double start = CpuSeconds();
    auto db = std::make_unique<mz::TDB>();
    db->LoadShared(file, {settings.MinLenPWord, settings.MaxLenPWord});
    const double parsed = CpuSeconds();
    db->AnyWordFits("  A  ", "A");
    db->FindWord("A");
    std::printf("load: parse %.3f s, index %.3f s (CPU); %d words within the limits\n", parsed - start,
                CpuSeconds() - parsed, db->WordCount());
    return db;
}

int Series(uint32_t seeds, size_t count)
{
    const std::string file = MakeDatabase(count);
    const mz::TComposerSettings settings;
    PrepareDatabase(file, settings);
    mz::TComposeRun run(NormalTemplate(), mz::FileDBSource(file, {settings.MinLenPWord, settings.MaxLenPWord}),
                        settings);
    std::vector<double> times;
    for (uint32_t seed = 1; seed <= seeds; ++seed) {
        const double start = CpuSeconds();
        const mz::TComposeResult result = ComposeOne(run, seed);
        times.push_back(CpuSeconds() - start);
        std::printf("seed %u: %.3f s CPU, %llu steps, %u restarts\n", seed, times.back(),
                    static_cast<unsigned long long>(result.TotalSteps), result.Restarts);
        std::fflush(stdout);
    }
    std::sort(times.begin(), times.end());
    std::printf("%u crosswords: median %.3f s, slowest %.3f s CPU; peak memory %.0f MB\n", seeds,
                times[times.size() / 2], times.back(), PeakMemoryMB());
    return 0;
}

constexpr size_t MillionWords = 1000000;

void BM_LoadLargeDB(benchmark::State& state)
{
    const std::string file = MakeDatabase(MillionWords);
    for (auto _ : state) {
        mz::TDB db;
        db.Load(file);
        // The index is built at the first query.
        benchmark::DoNotOptimize(db.AnyWordFits("  A  ", "A"));
    }
}
BENCHMARK(BM_LoadLargeDB)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

// One crossword per repetition, each with the next seed.
void BM_ComposeLargeDB(benchmark::State& state)
{
    static uint32_t seed = 0;
    const mz::TComposerSettings settings;
    static const auto prepared = PrepareDatabase(MakeDatabase(MillionWords), settings);
    static mz::TComposeRun run(NormalTemplate(),
                               mz::FileDBSource(MakeDatabase(MillionWords),
                                                {settings.MinLenPWord, settings.MaxLenPWord}),
                               settings);
    for (auto _ : state) {
        const mz::TComposeResult result = ComposeOne(run, ++seed);
        state.counters["steps"] = static_cast<double>(result.TotalSteps);
    }
    state.counters["peak_MB"] = PeakMemoryMB();
}
BENCHMARK(BM_ComposeLargeDB)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(20)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--series") == 0)
        return Series(static_cast<uint32_t>(std::stoul(argv[2])),
                      argc >= 4 ? static_cast<uint32_t>(std::stoul(argv[3])) : MillionWords);
    if (argc >= 3 && std::strcmp(argv[1], "--make") == 0) {
        std::puts(MakeDatabase(std::stoul(argv[2])).c_str());
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
