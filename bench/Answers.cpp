// What answers the composed crosswords get, with the shipped templates and
// word database: how the difficulty levels and a series without repeats fare.
//
//   Answers --levels [N] [CAP]      every shipped template at every difficulty
//                                   level, seeds 1..N (default 50): the share of
//                                   runs that finish within CAP placed or undone
//                                   words (default 40000, twenty attempts of the
//                                   default step budget), the median time and
//                                   letter share of the finished ones, and ten
//                                   answers spread over all their answers
//   Answers --scores S,S,... [N] [CAP]   the same for least scores S instead of
//                                   the levels (to choose the levels' thresholds)
//   Answers --series K [RUNS] [LEVEL]   RUNS series (default 8) of K crosswords on
//                                   Normal.sz (series r: seeds r*K+1 ...), without
//                                   and with the answers of earlier crosswords set
//                                   aside: answers repeated within a series, and
//                                   the time of a series
#include "ShippedData.h"
#include "composer/Composer.h"
#include "composer/SeriesWords.h"
#include "core/Cp1250.h"
#include "database/Commonness.h"
#include "documents/CrossTXT.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

using mz::bench::AppDir;
using mz::bench::DatabaseFile;
using mz::bench::LoadTemplate;
using mz::bench::ShippedTemplates;

struct TRun {
    bool Finished = false;
    double Millis = 0;
    int LetterPercent = 0;
    std::vector<std::string> Answers;
};

// One crossword; stopped once the search has placed or undone `cap` words.
TRun Compose(const mz::TTable& pattern, const mz::TDBLoadFilter& filter, uint32_t seed, uint64_t cap)
{
    const mz::TComposerSettings settings;
    mz::TComposeRun run(pattern, mz::FileDBSource(DatabaseFile, filter), settings);
    std::atomic<bool> stop{false};
    uint64_t moves = 0;
    run.OnPreview = [&](const mz::TTable&, bool final) {
        if (!final && ++moves >= cap)
            stop = true;
    };
    std::atomic<uint8_t> progress{0};
    mz::TCrossTXT doc;
    const auto start = std::chrono::steady_clock::now();
    const mz::TComposeResult result = run.Execute(doc, stop, progress, seed);
    TRun outcome;
    outcome.Millis = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (!result.Error.empty())
        throw std::runtime_error(result.Error);
    outcome.Finished = result.HandedOver && !result.Stopped;
    if (outcome.Finished && result.Grid) {
        const mz::TTable& grid = *result.Grid;
        int letters = 0;
        for (int32_t r = 1; r <= grid.RowCount(); ++r)
            for (const char c : grid.RowLine(r))
                letters += mz::TTable::IsLetter(c) ? 1 : 0;
        outcome.LetterPercent = letters * 100 / (grid.ColCount() * grid.RowCount());
        outcome.Answers = mz::GridAnswers(grid, settings.MinLenPWord);
    }
    return outcome;
}

template <class T> T Median(std::vector<T> values)
{
    if (values.empty())
        return T{};
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int32_t ActiveWords(int32_t minScore)
{
    mz::TDB db(mz::qmPlain);
    db.Load(DatabaseFile, mz::TDBLoadFilter{3, 16, minScore});
    return db.WordCount();
}

void MeasureLevels(const std::vector<std::pair<std::string, int32_t>>& levels, uint32_t seeds, uint64_t cap)
{
    std::cout << "| Template | Level (least score) | words | finished | median time | median letters | sample "
                 "answers |\n|---|---|---|---|---|---|---|\n";
    for (const auto& file : ShippedTemplates()) {
        const mz::TTable pattern = LoadTemplate(file);
        for (const auto& [name, minScore] : levels) {
            std::vector<double> times;
            std::vector<int> letters;
            std::set<std::string> answers;
            int finished = 0;
            for (uint32_t seed = 1; seed <= seeds; ++seed) {
                const TRun run = Compose(pattern, mz::TDBLoadFilter{3, 16, minScore}, seed, cap);
                if (!run.Finished)
                    continue;
                ++finished;
                times.push_back(run.Millis);
                letters.push_back(run.LetterPercent);
                answers.insert(run.Answers.begin(), run.Answers.end());
            }
            // Ten answers spread evenly over the sorted answers of all finished runs.
            std::string sample;
            const std::vector<std::string> all(answers.begin(), answers.end());
            for (size_t i = 0; i < 10 && !all.empty(); ++i)
                sample += (i ? ", " : "") + mz::Cp1250ToUtf8(all[i * all.size() / 10]);
            char line[512];
            std::snprintf(line, sizeof line, "| %s | %s (%d) | %d | %d/%u | %.0f ms | %d%% | %s |\n",
                          file.stem().string().c_str(), name.c_str(), minScore, ActiveWords(minScore), finished, seeds,
                          Median(times), Median(letters), sample.c_str());
            std::cout << line << std::flush;
        }
    }
}

void MeasureSeries(uint32_t count, uint32_t runs, int32_t minScore)
{
    const mz::TTable pattern = LoadTemplate(std::filesystem::u8path(AppDir + "/Szablony/Normal.sz"));
    std::cout << "| Series (seeds) | repeated answers, plain | time | repeated answers, unique | time | set aside at "
                 "the last |\n|---|---|---|---|---|---|\n";
    for (uint32_t r = 0; r < runs; ++r) {
        std::string cells[2];
        size_t setAside = 0;
        for (const bool unique : {false, true}) {
            auto seen = std::make_shared<std::unordered_set<std::string>>();
            mz::TDBLoadFilter filter{3, 16, minScore};
            if (unique)
                filter.SetAside = seen;
            size_t answers = 0;
            std::set<std::string> distinct;
            double millis = 0;
            int unfinished = 0;
            for (uint32_t k = 0; k < count; ++k) {
                if (unique)
                    setAside = seen->size();
                const TRun run = Compose(pattern, filter, r * count + k + 1, 1000000);
                millis += run.Millis;
                unfinished += run.Finished ? 0 : 1;
                answers += run.Answers.size();
                distinct.insert(run.Answers.begin(), run.Answers.end());
                seen->insert(run.Answers.begin(), run.Answers.end());
            }
            std::ostringstream cell;
            cell << answers - distinct.size() << " of " << answers << (unfinished ? " (unfinished " : "")
                 << (unfinished ? std::to_string(unfinished) + ")" : "") << " | " << static_cast<int>(millis) << " ms";
            cells[unique] = cell.str();
        }
        std::cout << "| " << r * count + 1 << "–" << (r + 1) * count << " | " << cells[0] << " | " << cells[1] << " | "
                  << setAside << " |\n"
                  << std::flush;
    }
}

} // namespace

int main(int argc, char** argv)
{
    const auto arg = [&](int i, uint64_t fallback) { return argc > i ? std::stoull(argv[i]) : fallback; };
    if (argc >= 2 && std::strcmp(argv[1], "--levels") == 0) {
        std::vector<std::pair<std::string, int32_t>> levels;
        for (const mz::TDifficulty level : mz::DifficultyLevels)
            levels.emplace_back(mz::DifficultyName(level), mz::DifficultyMinScore(level));
        MeasureLevels(levels, static_cast<uint32_t>(arg(2, 50)), arg(3, 40000));
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "--scores") == 0) {
        std::vector<std::pair<std::string, int32_t>> levels;
        std::istringstream list(argv[2]);
        for (std::string score; std::getline(list, score, ',');)
            levels.emplace_back("score", std::stoi(score));
        MeasureLevels(levels, static_cast<uint32_t>(arg(3, 50)), arg(4, 40000));
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "--series") == 0) {
        mz::TDifficulty level = mz::dfAll;
        if (argc > 4 && !mz::ParseDifficulty(argv[4], level)) {
            std::cerr << "unknown level " << argv[4] << "\n";
            return 2;
        }
        MeasureSeries(static_cast<uint32_t>(arg(2, 12)), static_cast<uint32_t>(arg(3, 8)),
                      mz::DifficultyMinScore(level));
        return 0;
    }
    std::cerr << "Answers --levels [N] [CAP] | --scores S,S,... [N] [CAP] | --series K [RUNS] [LEVEL]\n";
    return 2;
}
