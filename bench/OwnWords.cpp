// "Krzyżówka z własnych haseł": the free layout of school word lists (15, 25
// and 40 words) side by side with the npm package crossword-layout-generator
// run by node on the same lists, and a "krzyżówka z hasłem" for every keyword
// of 5-12 letters of the shipped database.
//
//   OwnWords [--benchmark_filter=...]

#include "ShippedData.h"

#include "composer/FreeLayout.h"
#include "composer/KeywordLayout.h"
#include "composer/WordList.h"
#include "core/Cp1250.h"
#include "database/DB.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

std::string ListFile(int64_t words)
{
    return std::string(MZ_BENCH_SOURCE_DIR) + "/data/szkolne-" + std::to_string(words) + ".tsv";
}

std::vector<mz::TWordEntry> ReadList(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return mz::ParseWordList(mz::WordListFileText(text)).Words;
}

void FreeLayout(benchmark::State& state)
{
    const std::vector<mz::TWordEntry> words = ReadList(ListFile(state.range(0)));
    if (words.size() != size_t(state.range(0)))
        return state.SkipWithError("the word list cannot be read");
    mz::TFreeLayoutResult result;
    for (auto _ : state) {
        mz::TFreeLayoutOptions options;
        options.Seed = 1;
        result = mz::ComposeFreeLayout(words, options);
        benchmark::DoNotOptimize(result.Placed);
    }
    state.counters["placed_share"] = double(result.Placed) / double(words.size());
    state.counters["crossings_per_word"] = double(result.Crossings) / double(words.size());
    state.counters["cols"] = result.Document.ColCount();
    state.counters["rows"] = result.Document.RowCount();
    state.counters["attempts"] = result.AttemptsMade;
}
BENCHMARK(FreeLayout)->Arg(15)->Arg(25)->Arg(40)->Unit(benchmark::kMillisecond)->Iterations(3);

// The npm package, installed into the build tree, run by node on the same
// list; its own time (without node's start) is the counter own_ms.
void NpmLayoutGenerator(benchmark::State& state)
{
    const std::string work = std::string(MZ_BENCH_BINARY_DIR) + "/npm-layout";
    const std::string install = "bash '" + std::string(MZ_BENCH_SOURCE_DIR) + "/npm-layout/install.sh' '"
        + std::string(MZ_BENCH_SOURCE_DIR) + "/npm-layout' '" + work + "'";
    if (std::system(install.c_str()) != 0)
        return state.SkipWithError("crossword-layout-generator could not be installed (node, npm)");
    const std::string command = "node '" + work + "/layout.cjs' '" + ListFile(state.range(0)) + "'";
    double words = 0, placed = 0, crossings = 0, cols = 0, rows = 0, ms = 0;
    for (auto _ : state) {
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe)
            return state.SkipWithError("node cannot be started");
        char line[256] = {};
        const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
        if (pclose(pipe) != 0 || !read)
            return state.SkipWithError("node failed");
        std::istringstream(line) >> words >> placed >> crossings >> cols >> rows >> ms;
    }
    state.counters["placed_share"] = placed / words;
    state.counters["crossings_per_word"] = crossings / words;
    state.counters["cols"] = cols;
    state.counters["rows"] = rows;
    state.counters["own_ms"] = ms;
}
BENCHMARK(NpmLayoutGenerator)->Arg(15)->Arg(25)->Arg(40)->Unit(benchmark::kMillisecond)->Iterations(1);

// Every word of 5-12 letters of the shipped database as a keyword, its rows
// drawn from the database: how many get a crossword, and the slowest one.
void KeywordFromDatabase(benchmark::State& state)
{
    mz::TDB db;
    db.Load(mz::bench::DatabaseFile);
    std::vector<std::string> keywords;
    for (int32_t id = 0; id < db.RecordCount(); ++id) {
        const std::string_view word = db.Word(uint32_t(id));
        if (db.ListOf(uint32_t(id)) == mz::dlWords && word.size() >= 5 && word.size() <= 12
            && std::all_of(word.begin(), word.end(),
                           [](char c) { return mz::IsWordLetter(static_cast<unsigned char>(c)); }))
            keywords.emplace_back(word);
    }
    double slowest = 0;
    double total = 0;
    int64_t failed = 0;
    for (auto _ : state) {
        mz::TRandom random(1);
        for (const std::string& keyword : keywords) {
            const auto start = std::chrono::steady_clock::now();
            const mz::TKeywordResult result = mz::ComposeKeywordFromDB(keyword, db, random);
            const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            slowest = std::max(slowest, seconds);
            total += seconds;
            failed += result.Uncovered.empty() ? 0 : 1;
        }
    }
    state.counters["keywords"] = double(keywords.size());
    state.counters["failed"] = double(failed);
    state.counters["slowest_ms"] = slowest * 1000;
    state.counters["mean_us"] = total * 1e6 / double(keywords.size()) / double(state.iterations());
}
BENCHMARK(KeywordFromDatabase)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
