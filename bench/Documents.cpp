// Files from anyone cost time and memory in proportion to what they hold:
// BM_ShowManyExplanations loads a crossword of N explanations and lists them in
// number order (what `show` does), BM_RefuseHugeGrid reads a 30 MB crossword
// whose rows claim 2039 cells until it is refused, and BM_MergeClues builds a
// database from a word list of N clues for one word. Each should grow linearly
// with N.

#include "database/DBBuilder.h"
#include "documents/CrossTXT.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>

namespace {

// A record file made by the program's own writer, read back into memory.
std::string RecordBytes(const std::function<void(mz::TDataAccess&)>& records)
{
    std::random_device device;
    const auto path = std::filesystem::temp_directory_path() / ("mz-bench-" + std::to_string(device()) + ".krz");
    mz::WriteRecordFile(path.string(), mz::MakeRecordHeader(mz::CrossWordHeader), records);
    std::ifstream in(path, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::filesystem::remove(path);
    return bytes;
}

void BM_ShowManyExplanations(benchmark::State& state)
{
    const auto count = state.range(0);
    const std::string bytes = RecordBytes([&](mz::TDataAccess& out) {
        for (int r = 0; r < 11; ++r)
            out.WriteRecord(mz::rtRow, std::string(15, ' '));
        for (int64_t i = 0; i < count; ++i) {
            out.WriteRecord(mz::rtPlace, "H,1,1");
            out.WriteRecord(mz::rtExpl, "objasnienie " + std::to_string(i));
        }
    });
    for (auto _ : state) {
        mz::TCrossTXT doc;
        doc.LoadFromData(bytes, "wiele.krz");
        benchmark::DoNotOptimize(doc.ExplsInNumberOrder());
    }
    state.SetComplexityN(count);
}
BENCHMARK(BM_ShowManyExplanations)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_RefuseHugeGrid(benchmark::State& state)
{
    const std::string bytes = RecordBytes([](mz::TDataAccess& out) {
        for (int r = 0; r < 14'700; ++r)
            out.WriteRecord(mz::rtRow, std::string(2039, ' '));
    });
    for (auto _ : state) {
        mz::TCrossTXT doc;
        try {
            doc.LoadFromData(bytes, "ogromna.krz");
        } catch (const mz::EIOOperation&) {
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_RefuseHugeGrid)->Unit(benchmark::kMillisecond);

void BM_MergeClues(benchmark::State& state)
{
    const auto count = state.range(0);
    std::string text;
    for (int64_t i = 0; i < count; ++i)
        text += "kot\topis " + std::to_string(i) + "\topis " + std::to_string(i / 2) + "\n";
    for (auto _ : state) {
        std::istringstream in(text);
        mz::TDBBuilder builder;
        std::vector<std::string> warnings;
        builder.AddTsv(in, "kot.tsv", warnings);
        benchmark::DoNotOptimize(builder.Result());
    }
    state.SetComplexityN(count);
}
BENCHMARK(BM_MergeClues)->Arg(20'000)->Arg(200'000)->Unit(benchmark::kMillisecond)->Complexity();

} // namespace

BENCHMARK_MAIN();
