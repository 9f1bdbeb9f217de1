// Loading the shipped word database ready for the first indexed query: parsed
// from baza.hk (read, unscrambled, checked, parsed and indexed) against mapped
// from the word cache file an earlier parse wrote.
#include "ShippedData.h"

#include "database/DB.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>

namespace {

const std::string CacheFile =
    (std::filesystem::temp_directory_path() / ("mz-bench-words-" + std::to_string(::getpid()) + ".cache")).string();

// Any query makes the index; both loads answer it.
void FirstQuery(mz::TDB& db)
{
    benchmark::DoNotOptimize(db.AnyWordFits("  O  ", "O"));
}

void BM_ParseAndIndex(benchmark::State& state)
{
    for (auto _ : state) {
        mz::TDB db;
        db.Load(mz::bench::DatabaseFile);
        FirstQuery(db);
    }
}
BENCHMARK(BM_ParseAndIndex)->Unit(benchmark::kMillisecond);

void BM_MapCacheFile(benchmark::State& state)
{
    mz::TDB writer;
    writer.LoadCached(mz::bench::DatabaseFile, CacheFile);
    for (auto _ : state) {
        mz::TDB db;
        if (!db.LoadCached(mz::bench::DatabaseFile, CacheFile))
            state.SkipWithError("the cache file was not used");
        FirstQuery(db);
    }
    std::filesystem::remove(CacheFile);
}
BENCHMARK(BM_MapCacheFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
