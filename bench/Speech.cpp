// Words read by the speech engine into WAV files, as "Wygeneruj nagranie" of
// the word database editor makes them: 100 words of the shipped database
// spread over the alphabet, each written through the file replacement, with
// the progress callback the editor's dialog hangs on. The engine is started
// before the timing (its start is a one-off of some tens of milliseconds).
//
// BM_HundredRecordings  100 words into 100 files, progress after each
// BM_OneWord            one word into memory (what a press of the loudspeaker adds)

#include "database/WordBase.h"
#include "speech/ESpeakEngine.h"
#include "speech/SpokenWord.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<std::string> SampleWords(size_t count)
{
    mz::TWordBase base;
    base.Load(MZ_APP_DIR "/baza.hk", (fs::temp_directory_path() / "mz-speech-bench-none.hk").string());
    std::vector<std::string> all;
    for (const auto& word : base.Entries())
        all.push_back(word.PWord);
    std::vector<std::string> words;
    for (size_t i = 0; i < count && !all.empty(); ++i)
        words.push_back(all[i * all.size() / count]);
    return words;
}

void BM_HundredRecordings(benchmark::State& state)
{
    const fs::path dir = fs::temp_directory_path() / "mz-speech-bench";
    fs::create_directories(dir);
    std::vector<mz::TSpokenJob> jobs;
    for (const std::string& word : SampleWords(100))
        jobs.push_back({word, (dir / (std::to_string(jobs.size()) + ".wav")).string()});
    mz::TESpeakEngine engine;
    engine.Speak("start");
    size_t reported = 0;
    for (auto _ : state) {
        const mz::TSpokenRun run = mz::WriteSpokenWords(engine, jobs, [&](size_t done, size_t) {
            reported = done;
            return true;
        });
        if (run.Written != jobs.size() || reported != jobs.size())
            state.SkipWithError(run.Error.empty() ? "not every word was written" : run.Error.c_str());
    }
    state.counters["words"] = double(jobs.size());
    fs::remove_all(dir);
}
BENCHMARK(BM_HundredRecordings)->Unit(benchmark::kMillisecond);

void BM_OneWord(benchmark::State& state)
{
    mz::TESpeakEngine engine;
    engine.Speak("start");
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.Speak("przeciwdziałanie"));
}
BENCHMARK(BM_OneWord)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
