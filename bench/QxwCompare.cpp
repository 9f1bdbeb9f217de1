// Our composer against Qxw (Debian package qxw, an unrelated crossword filler)
// on the same block patterns and the same words; run by bench/qxw-compare.sh.
//
//   QxwCompare [--patterns N] [--rounds R] [--qxw PROGRAM] [--dir DIR]
//
// The patterns are the blocks of N crosswords composed from Normal.sz with
// seeds 1..N and the default settings. Our time for a pattern is the time it
// takes to compose that crossword (in one process, as a series does: the
// database is parsed before the first). Qxw gets the pattern as a deck (every
// run of at least MinLenPWord cells is a light) and the shipped database's
// words within the length limits as its dictionary, and fills it in batch
// mode. Both run one after the other for every pattern, R rounds; the times
// are CPU times (ours in this process, Qxw's from its process). Qxw's time is
// given whole and less the time it takes to load the dictionary alone.
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
               const std::filesystem::path& output)
{
    const std::string command = "'" + qxw + "' -b -a PL -d '" + dictionary.string() + "' '" + deck.string() + "' > '"
        + output.string() + "' 2>&1";
    const double before = ChildCpuSeconds();
    const int status = std::system(command.c_str());
    TQxwRun run;
    run.Cpu = ChildCpuSeconds() - before;
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace

int main(int argc, char** argv)
{
    uint32_t patterns = 20;
    uint32_t rounds = 3;
    std::string qxw = "/usr/games/qxw";
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "mz-qxw-compare";
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--patterns") == 0)
            patterns = static_cast<uint32_t>(std::stoul(argv[i + 1]));
        else if (std::strcmp(argv[i], "--rounds") == 0)
            rounds = static_cast<uint32_t>(std::stoul(argv[i + 1]));
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
    mz::TComposeRun run(mz::TableFromDocument(normal), mz::FileDBSource(database, filter), settings);
    for (uint32_t seed = 1; seed <= patterns; ++seed) {
        mz::TTable grid = *Compose(run, seed).Grid;
        WriteFile(dir / ("wzor" + std::to_string(seed) + ".qxd"), Deck(grid, settings.MinLenPWord));
    }
    // The dictionary alone: a deck of one light.
    WriteFile(dir / "pusty.qxd", "0 1 2\n");
    double loadOnly = 1e9;
    for (int i = 0; i < 3; ++i)
        loadOnly = std::min(loadOnly, RunQxw(qxw, dictionary, dir / "pusty.qxd", dir / "pusty.out").Cpu);

    std::vector<double> ours(patterns, 0);
    std::vector<double> theirs(patterns, 0);
    std::vector<int> unfilled(patterns, 0);
    for (uint32_t round = 0; round < rounds; ++round) {
        for (uint32_t i = 0; i < patterns; ++i) {
            const double start = CpuSeconds();
            Compose(run, i + 1);
            ours[i] += CpuSeconds() - start;
            const std::filesystem::path deck = dir / ("wzor" + std::to_string(i + 1) + ".qxd");
            const TQxwRun q = RunQxw(qxw, dictionary, deck, dir / ("wzor" + std::to_string(i + 1) + ".out"));
            theirs[i] += q.Cpu;
            unfilled[i] += q.Status == 0 ? 0 : 1;
        }
    }
    double oursTotal = 0;
    double theirsTotal = 0;
    int slower = 0;
    std::printf("pattern  ours ms  Qxw ms  Qxw less dictionary ms  Qxw without a fill\n");
    for (uint32_t i = 0; i < patterns; ++i) {
        const double o = ours[i] / rounds;
        const double t = theirs[i] / rounds;
        oursTotal += o;
        theirsTotal += t;
        slower += o > t - loadOnly ? 1 : 0;
        std::printf("%7u  %7.1f  %6.1f  %22.1f  %d of %u\n", i + 1, o * 1000, t * 1000, (t - loadOnly) * 1000,
                    unfilled[i], rounds);
    }
    const double theirsFill = theirsTotal - patterns * loadOnly;
    std::printf("dictionary load alone: %.1f ms per Qxw run (%zu words)\n", loadOnly * 1000,
                static_cast<size_t>(std::count(words.begin(), words.end(), '\n')));
    std::printf("total over %u patterns (mean of %u rounds): ours %.3f s, Qxw %.3f s (%.3f s less the dictionary)\n",
                patterns, rounds, oursTotal, theirsTotal, theirsFill);
    std::printf("ratio ours / Qxw: %.3f (%.3f against Qxw less the dictionary); patterns where ours is slower: %d\n",
                oursTotal / theirsTotal, oursTotal / theirsFill, slower);
    return 0;
}
