// Our exact fill against Qxw (Debian package qxw, an unrelated crossword
// filler) on the same block patterns and the same words; run by
// bench/qxw-compare.sh.
//
//   QxwCompare [--patterns N] [--rounds R] [--time-limit S] [--qxw PROGRAM] [--dir DIR]
//
// The patterns are the blocks of N crosswords composed from Normal.sz with
// seeds 1..N and the default settings. Both sides get the pattern as it is
// and must fill it exactly: every open cell a letter, every run of at least
// MinLenPWord cells a word of the shipped database within the length limits,
// no word twice (Qxw's batch mode refuses repeats too). Ours is TComposeRun
// with FillExact, in this process (the database parsed before the first, as a
// series does); Qxw gets the pattern as a deck (every such run a light) and
// the words as its dictionary, and runs under `timeout`. Both have the same
// time limit per pattern; the times are CPU times (ours in this process,
// Qxw's from its process, given whole and less the time it takes to load the
// dictionary alone). The ratio is taken per pattern where both filled, and
// its median reported.
//
// Apart from that, and labelled as a different job, the old figure: the time
// our composer takes to compose each crossword freely from Normal.sz (placing
// blocks where it likes), which is what the patterns came from.
#include "composer/Composer.h"
#include "core/Cp1250.h"
#include "documents/CrossTXT.h"

#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

const std::string AppDir = MZ_APP_DIR;

double CpuSeconds()
{
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

double ChildCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

mz::TComposeResult Compose(mz::TComposeRun& run, uint32_t seed)
{
    mz::TCrossTXT doc;
    const std::atomic<bool> stop{false};
    std::atomic<uint8_t> progress{0};
    return run.Execute(doc, stop, progress, seed);
}

// Every run of at least `minLen` cells that are not blocks, across then down,
// as cell numbers (row * columns + column, from 0).
std::string Deck(const mz::TTable& pattern, int32_t minLen)
{
    std::string deck;
    auto walk = [&](int32_t lines, int32_t length, bool across) {
        for (int32_t line = 1; line <= lines; ++line) {
            std::vector<int32_t> run;
            for (int32_t i = 1; i <= length + 1; ++i) {
                const int32_t c = across ? i : line;
                const int32_t r = across ? line : i;
                if (i <= length && pattern.GetCell(c, r) != mz::TTable::Block) {
                    run.push_back((r - 1) * pattern.ColCount() + (c - 1));
                    continue;
                }
                if (static_cast<int32_t>(run.size()) >= minLen) {
                    for (size_t j = 0; j < run.size(); ++j)
                        deck += (j ? " " : "") + std::to_string(run[j]);
                    deck += "\n";
                }
                run.clear();
            }
        }
    };
    walk(pattern.RowCount(), pattern.ColCount(), true);
    walk(pattern.ColCount(), pattern.RowCount(), false);
    return deck;
}

void WriteFile(const std::filesystem::path& file, const std::string& text)
{
    std::ofstream out(file, std::ios::binary);
    out << text;
    if (!out.flush())
        throw std::runtime_error("cannot write " + file.string());
}

struct TQxwRun {
    double Cpu = 0;
    int Status = -1;
};

TQxwRun RunQxw(const std::string& qxw, const std::filesystem::path& dictionary, const std::filesystem::path& deck,
               const std::filesystem::path& output, uint32_t timeLimit)
{
    const std::string command = "timeout " + std::to_string(timeLimit) + " '" + qxw + "' -b -a PL -d '"
        + dictionary.string() + "' '" + deck.string() + "' > '" + output.string() + "' 2>&1";
    const double before = ChildCpuSeconds();
    const int status = std::system(command.c_str());
    TQxwRun run;
    run.Cpu = ChildCpuSeconds() - before;
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    uint32_t patterns = 20;
    uint32_t rounds = 3;
    uint32_t timeLimit = 30;
    std::string qxw = "/usr/games/qxw";
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "mz-qxw-compare";
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--patterns") == 0)
            patterns = static_cast<uint32_t>(std::stoul(argv[i + 1]));
        else if (std::strcmp(argv[i], "--rounds") == 0)
            rounds = static_cast<uint32_t>(std::stoul(argv[i + 1]));
        else if (std::strcmp(argv[i], "--time-limit") == 0)
            timeLimit = static_cast<uint32_t>(std::stoul(argv[i + 1]));
        else if (std::strcmp(argv[i], "--qxw") == 0)
            qxw = argv[i + 1];
        else if (std::strcmp(argv[i], "--dir") == 0)
            dir = argv[i + 1];
    }
    std::filesystem::create_directories(dir);
    const std::string database = AppDir + "/baza.hk";
    const mz::TComposerSettings settings;
    const mz::TDBLoadFilter filter{settings.MinLenPWord, settings.MaxLenPWord};

    // The words both sides use.
    mz::TDB db;
    db.LoadShared(database, filter);
    std::string words;
    for (uint32_t id = 0; id < static_cast<uint32_t>(db.RecordCount()); ++id)
        if (db.ListOf(id) == mz::dlWords)
            words += mz::Cp1250ToUtf8(std::string(db.Word(id))) + "\n";
    const std::filesystem::path dictionary = dir / "slowa.txt";
    WriteFile(dictionary, words);

    mz::TCrossTXT normal;
    normal.LoadFromFile(std::filesystem::u8path(AppDir + "/Szablony/Normal.sz").string());
    mz::TComposeRun free(mz::TableFromDocument(normal), mz::FileDBSource(database, filter), settings);
    std::vector<double> composed(patterns, 0);
    std::vector<mz::TTable> blocks;
    for (uint32_t seed = 1; seed <= patterns; ++seed) {
        const double start = CpuSeconds();
        mz::TTable grid = *Compose(free, seed).Grid;
        composed[seed - 1] = CpuSeconds() - start;
        for (int32_t c = 1; c <= grid.ColCount(); ++c)
            for (int32_t r = 1; r <= grid.RowCount(); ++r)
                if (grid.GetCell(c, r) != mz::TTable::Block)
                    grid.SetCell(c, r, mz::TTable::Free);
        blocks.push_back(grid);
        WriteFile(dir / ("wzor" + std::to_string(seed) + ".qxd"), Deck(grid, settings.MinLenPWord));
    }
    // The dictionary alone: a deck of one light.
    WriteFile(dir / "pusty.qxd", "0 1 2\n");
    double loadOnly = 1e9;
    for (int i = 0; i < 3; ++i)
        loadOnly = std::min(loadOnly, RunQxw(qxw, dictionary, dir / "pusty.qxd", dir / "pusty.out", timeLimit).Cpu);

    mz::TComposerSettings exact = settings;
    exact.FillExact = true;
    exact.TimeLimitMs = timeLimit * 1000;
    std::vector<double> ours(patterns, 0);
    std::vector<double> theirs(patterns, 0);
    std::vector<int> oursFilled(patterns, 0);
    std::vector<int> theirsFilled(patterns, 0);
    for (uint32_t round = 0; round < rounds; ++round) {
        for (uint32_t i = 0; i < patterns; ++i) {
            mz::TComposeRun run(blocks[i], mz::FileDBSource(database, filter), exact);
            const double start = CpuSeconds();
            oursFilled[i] += Compose(run, round + 1).HandedOver ? 1 : 0;
            ours[i] += CpuSeconds() - start;
            const std::filesystem::path deck = dir / ("wzor" + std::to_string(i + 1) + ".qxd");
            const TQxwRun q = RunQxw(qxw, dictionary, deck, dir / ("wzor" + std::to_string(i + 1) + ".out"), timeLimit);
            theirs[i] += q.Cpu;
            theirsFilled[i] += q.Status == 0 ? 1 : 0;
        }
    }
    std::printf("Exact fill of the same %u patterns, same words, %u s limit, CPU ms (mean of %u rounds)\n", patterns,
                timeLimit, rounds);
    std::printf("pattern  ours ms  filled  Qxw ms  Qxw less dictionary ms  filled  ours/Qxw\n");
    std::vector<double> ratios;
    std::vector<double> ratiosLessDictionary;
    int oursAll = 0;
    int theirsAll = 0;
    for (uint32_t i = 0; i < patterns; ++i) {
        const double o = ours[i] / rounds;
        const double t = theirs[i] / rounds;
        oursAll += oursFilled[i] == static_cast<int>(rounds) ? 1 : 0;
        theirsAll += theirsFilled[i] == static_cast<int>(rounds) ? 1 : 0;
        const bool both = oursFilled[i] == static_cast<int>(rounds) && theirsFilled[i] == static_cast<int>(rounds);
        if (both) {
            ratios.push_back(o / t);
            ratiosLessDictionary.push_back(o / std::max(t - loadOnly, 1e-4));
        }
        std::printf("%7u  %7.1f  %3d/%u  %6.1f  %22.1f  %3d/%u  %s\n", i + 1, o * 1000, oursFilled[i], rounds, t * 1000,
                    (t - loadOnly) * 1000, theirsFilled[i], rounds,
                    both ? std::to_string(o / t).substr(0, 5).c_str() : "-");
    }
    std::printf("dictionary load alone: %.1f ms per Qxw run (%zu words)\n", loadOnly * 1000,
                static_cast<size_t>(std::count(words.begin(), words.end(), '\n')));
    std::printf("filled in every round: ours %d of %u, Qxw %d of %u\n", oursAll, patterns, theirsAll, patterns);
    std::printf("median of per-pattern ratios ours / Qxw over the %zu patterns both filled: %.3f "
                "(%.3f against Qxw less the dictionary)\n",
                ratios.size(), Median(ratios), Median(ratiosLessDictionary));

    double composedTotal = 0;
    for (const double c : composed)
        composedTotal += c;
    std::printf("\nA different job, for the record: composing the %u crosswords freely from Normal.sz (blocks placed "
                "by the composer): %.1f ms CPU in all, median %.1f ms\n",
                patterns, composedTotal * 1000, Median(composed) * 1000);
    return 0;
}
