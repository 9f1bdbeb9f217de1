// The editable word database over the shipped one: reading the shipped file
// with the user's change file, saving the change file, and what a composing run
// reads at its start. Heap bytes held by the loaded base are reported as a
// counter (mallinfo2 before and after).
//
// BM_LoadShipped          the shipped file alone (no change file)
// BM_LoadWithChanges      with a change file of 500 changed, 100 added, 100 removed words
// BM_SaveChanges          writing that change file
// BM_SaveEveryWord        every word in the change file (the largest it can get)
// BM_LoadEveryWordChanged reading that back
// BM_ComposeRead          TComposeWords::Read with the change file, once per run
// BM_ComposeNewDB         one attempt's database from that snapshot
// BM_TDBLoad              the composer's plain load of the shipped file, for comparison

#include "database/WordBase.h"
#include "database/ComposeWords.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

const std::string Shipped = MZ_APP_DIR "/baza.hk";

std::string TempFile(const std::string& name)
{
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / "mz-wordbase-bench";
        fs::create_directories(d);
        return d;
    }();
    return (dir / name).string();
}

size_t HeapInUse()
{
    return mallinfo2().uordblks;
}

// Changes every 40th word's clues, adds 100 words and removes 100.
void MakeTypicalChanges(mz::TWordBase& base)
{
    std::vector<std::string> words;
    for (const auto& word : base.Entries())
        words.push_back(word.PWord);
    for (size_t i = 0; i < 500; ++i) {
        mz::TWordChange change{*base.Find(words[i * 40]), {}, 0};
        change.After = change.Before;
        change.After->Explanations.push_back("objasnienie uzytkownika");
        change.After->UserEdited = true;
        base.Apply(change);
    }
    for (size_t i = 0; i < 100; ++i) {
        mz::TWordChange change{std::nullopt,
                               mz::TBaseWord{"SLOWOX" + std::string(1, char('A' + i % 26))
                                                 + std::string(1, char('A' + i / 26)),
                                             {"nowe"},
                                             {},
                                             false,
                                             true,
                                             {}},
                               0};
        base.Apply(change);
    }
    for (size_t i = 0; i < 100; ++i) {
        mz::TWordChange change{*base.Find(words[i * 40 + 7]), std::nullopt, 0};
        base.Apply(change);
    }
}

const std::string& TypicalChangeFile()
{
    static const std::string file = [] {
        const std::string name = TempFile("typical.hk");
        fs::remove(name);
        mz::TWordBase base;
        base.Load(Shipped, name);
        MakeTypicalChanges(base);
        base.Save();
        return name;
    }();
    return file;
}

void BM_LoadShipped(benchmark::State& state)
{
    size_t heap = 0;
    for (auto _ : state) {
        const size_t before = HeapInUse();
        mz::TWordBase base;
        base.Load(Shipped, TempFile("none.hk"));
        heap = HeapInUse() - before;
        benchmark::DoNotOptimize(base.Count());
    }
    state.counters["heap_MB"] = double(heap) / 1e6;
}
BENCHMARK(BM_LoadShipped)->Unit(benchmark::kMillisecond);

void BM_LoadWithChanges(benchmark::State& state)
{
    const std::string& file = TypicalChangeFile();
    size_t heap = 0;
    for (auto _ : state) {
        const size_t before = HeapInUse();
        mz::TWordBase base;
        base.Load(Shipped, file);
        heap = HeapInUse() - before;
        benchmark::DoNotOptimize(base.Count());
    }
    state.counters["heap_MB"] = double(heap) / 1e6;
}
BENCHMARK(BM_LoadWithChanges)->Unit(benchmark::kMillisecond);

void BM_SaveChanges(benchmark::State& state)
{
    fs::remove(TempFile("save-typical.hk"));
    mz::TWordBase base;
    base.Load(Shipped, TempFile("save-typical.hk"));
    MakeTypicalChanges(base);
    for (auto _ : state)
        base.Save();
    state.counters["file_KB"] = double(fs::file_size(TempFile("save-typical.hk"))) / 1e3;
}
BENCHMARK(BM_SaveChanges)->Unit(benchmark::kMillisecond);

void MarkEveryWord(mz::TWordBase& base)
{
    std::vector<std::string> words;
    for (const auto& word : base.Entries())
        words.push_back(word.PWord);
    for (const std::string& word : words) {
        mz::TWordChange change{*base.Find(word), {}, 0};
        change.After = change.Before;
        change.After->UserEdited = true;
        base.Apply(change);
    }
}

void BM_SaveEveryWord(benchmark::State& state)
{
    fs::remove(TempFile("every.hk"));
    mz::TWordBase base;
    base.Load(Shipped, TempFile("every.hk"));
    MarkEveryWord(base);
    for (auto _ : state)
        base.Save();
    state.counters["file_KB"] = double(fs::file_size(TempFile("every.hk"))) / 1e3;
}
BENCHMARK(BM_SaveEveryWord)->Unit(benchmark::kMillisecond);

void BM_LoadEveryWordChanged(benchmark::State& state)
{
    {
        fs::remove(TempFile("every-load.hk"));
        mz::TWordBase base;
        base.Load(Shipped, TempFile("every-load.hk"));
        MarkEveryWord(base);
        base.Save();
    }
    for (auto _ : state) {
        mz::TWordBase base;
        base.Load(Shipped, TempFile("every-load.hk"));
        benchmark::DoNotOptimize(base.Count());
    }
}
BENCHMARK(BM_LoadEveryWordChanged)->Unit(benchmark::kMillisecond);

void BM_ComposeRead(benchmark::State& state)
{
    const std::string& file = TypicalChangeFile();
    size_t heap = 0;
    for (auto _ : state) {
        const size_t before = HeapInUse();
        auto words = mz::TComposeWords::Read(Shipped, file);
        heap = HeapInUse() - before;
        benchmark::DoNotOptimize(words.get());
    }
    state.counters["heap_MB"] = double(heap) / 1e6;
}
BENCHMARK(BM_ComposeRead)->Unit(benchmark::kMillisecond);

void BM_ComposeNewDB(benchmark::State& state)
{
    const auto words = mz::TComposeWords::Read(Shipped, TypicalChangeFile());
    for (auto _ : state)
        benchmark::DoNotOptimize(words->NewDB({3, 16}).get());
}
BENCHMARK(BM_ComposeNewDB)->Unit(benchmark::kMillisecond);

void BM_TDBLoad(benchmark::State& state)
{
    for (auto _ : state) {
        mz::TDB db;
        db.Load(Shipped);
        benchmark::DoNotOptimize(db.WordCount());
    }
}
BENCHMARK(BM_TDBLoad)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
