#include "CliDocuments.h"
#include "Command.h"

#include "composer/Composer.h"
#include "composer/FillRest.h"
#include "composer/NumberedName.h"
#include "composer/SeriesWords.h"
#include "core/Cp1250.h"
#include "core/FileNames.h"
#include "database/Commonness.h"
#include "documents/FileReplacement.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <set>
#include <unordered_set>

namespace {

using mz::cli::EUsage;

struct TOptions {
    std::string Template;
    std::string Database;
    std::string Out;
    std::string OutDir;
    std::string Prefix = "K_????";
    long long Count = 1;
    std::optional<uint32_t> Seed;
    mz::TComposerSettings Settings;
    bool PlainQueries = false;
    std::string Solution;
    mz::TDifficulty Difficulty = mz::dfAll;
    bool UniqueSeries = false;
    bool SchoolSafe = true;
};

TOptions ParseOptions(const mz::cli::Args& args)
{
    TOptions o;
    bool prefixGiven = false;
    bool countGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--any-location") {
            o.Settings.AnyWordLocation = true;
            continue;
        }
        if (a == "--plain-queries") {
            o.PlainQueries = true;
            continue;
        }
        if (a == "--allow-repeats") {
            o.Settings.AllowRepeats = true;
            continue;
        }
        if (a == "--fill-exact") {
            o.Settings.FillExact = true;
            continue;
        }
        if (a == "--unique-series") {
            o.UniqueSeries = true;
            continue;
        }
        if (a == "--all-registers") {
            o.SchoolSafe = false;
            continue;
        }
        static const std::set<std::string> withValue = {"--template",  "--db",        "--out",      "--out-dir",
                                                        "--prefix",    "--count",     "--seed",     "--min-len",
                                                        "--max-len",   "--max-steps", "--solution", "--time-limit",
                                                        "--difficulty"};
        if (!a.starts_with("--"))
            throw EUsage{"Nieoczekiwany argument: " + a};
        if (!withValue.count(a))
            throw EUsage{"Nieznana opcja: " + a};
        if (i + 1 >= args.size())
            throw EUsage{"Brak wartości dla " + a};
        const std::string& value = args[++i];
        auto number = [&](long long low, long long high) {
            const long long n = mz::cli::ParseInteger(value, a);
            if (n < low || n > high)
                throw EUsage{"Wartość " + a + " spoza zakresu " + std::to_string(low) + ".." + std::to_string(high)
                             + ": " + value};
            return n;
        };
        if (a == "--template") {
            o.Template = value;
        } else if (a == "--db") {
            o.Database = value;
        } else if (a == "--out") {
            o.Out = value;
        } else if (a == "--out-dir") {
            o.OutDir = value;
        } else if (a == "--prefix") {
            o.Prefix = value;
            prefixGiven = true;
        } else if (a == "--count") {
            o.Count = number(1, 1000);
            countGiven = true;
        } else if (a == "--seed") {
            o.Seed = static_cast<uint32_t>(number(0, UINT32_MAX));
        } else if (a == "--min-len") {
            o.Settings.MinLenPWord = static_cast<int32_t>(number(2, 100));
        } else if (a == "--max-len") {
            o.Settings.MaxLenPWord = static_cast<int32_t>(number(2, 100));
        } else if (a == "--max-steps") {
            o.Settings.MaxSteps = static_cast<uint32_t>(number(0, UINT32_MAX));
        } else if (a == "--time-limit") {
            o.Settings.TimeLimitMs = static_cast<uint32_t>(number(0, 86400) * 1000);
        } else if (a == "--difficulty") {
            if (!mz::ParseDifficulty(value, o.Difficulty))
                throw EUsage{"Nieznany poziom trudności: " + value + " (łatwy, średni, wszystkie, trudny)"};
        } else {
            o.Solution = value;
        }
    }
    if (o.Template.empty() || o.Database.empty())
        throw EUsage{"Podaj --template i --db"};
    if (o.Out.empty() == o.OutDir.empty())
        throw EUsage{"Podaj albo --out, albo --out-dir"};
    if (!o.Out.empty() && (prefixGiven || countGiven))
        throw EUsage{"--prefix i --count działają tylko z --out-dir"};
    if (!o.Out.empty() && o.UniqueSeries)
        throw EUsage{"--unique-series działa tylko z --out-dir"};
    if (!o.Out.empty() && mz::ExtensionOf(o.Out) != "krz")
        throw EUsage{"Plik krzyżówki musi mieć rozszerzenie krz: " + o.Out};
    if (!o.Solution.empty() && o.Count > 1)
        throw EUsage{"--solution działa tylko dla jednej krzyżówki"};
    if (o.Settings.MaxLenPWord < o.Settings.MinLenPWord)
        throw EUsage{"--max-len jest mniejsze niż --min-len"};
    // The prefix is part of a file name inside --out-dir, never a way out of it.
    if (o.Prefix.find_first_of("/\\") != std::string::npos
        || std::any_of(o.Prefix.begin(), o.Prefix.end(), [](char c) { return static_cast<unsigned char>(c) < 32; }))
        throw EUsage{"Przedrostek nazwy pliku nie może zawierać ukośnika ani znaku sterującego: " + o.Prefix};
    // A prefix without '?' names one file only; a series numbers it.
    o.Prefix = mz::CountedPrefix(o.Prefix, o.Count);
    return o;
}

// The letters of the finished grid: one row a line, '*' for blocks.
std::string SolutionText(const mz::TTable& grid)
{
    std::string text;
    for (int32_t r = 1; r <= grid.RowCount(); ++r)
        text += mz::Cp1250ToUtf8(grid.RowLine(r)) + '\n';
    return text;
}

int LetterShare(const mz::TTable& grid)
{
    int32_t letters = 0;
    for (int32_t r = 1; r <= grid.RowCount(); ++r)
        for (char c : grid.RowLine(r))
            letters += mz::TTable::IsLetter(c) ? 1 : 0;
    return static_cast<int>(letters * 100 / (grid.ColCount() * grid.RowCount()));
}

int Run(const mz::cli::Args& args)
{
    TOptions o = ParseOptions(args);
    const mz::TCrossTXT pattern = mz::cli::LoadDocument(o.Template);
    // Without a time limit the run still ends: after a number of steps that
    // grows with the template.
    if (o.Settings.TimeLimitMs == 0)
        o.Settings.MaxTotalSteps = mz::RunStepsFor(int64_t{pattern.ColCount()} * pattern.RowCount());
    mz::TDBLoadFilter filter{o.Settings.MinLenPWord, o.Settings.MaxLenPWord, mz::DifficultyMinScore(o.Difficulty)};
    // The exact fill does not weigh candidates, so it takes no reserve.
    filter.RareAsReserve = !o.Settings.FillExact;
    filter.SchoolSafe = o.SchoolSafe;
    o.Settings.ClueChoice = mz::DifficultyClueChoice(o.Difficulty);
    // The answers of the series so far, set aside for the crosswords after them.
    std::shared_ptr<std::unordered_set<std::string>> seriesAnswers;
    if (o.UniqueSeries) {
        seriesAnswers = std::make_shared<std::unordered_set<std::string>>();
        filter.SetAside = seriesAnswers;
    }
    // Locked words, blocks and typed letters of the template stay.
    const mz::TTable kept = mz::KeptTemplate(pattern);
    const mz::TDBSource dbSource = mz::FileDBSource(o.Database, filter, o.PlainQueries ? mz::qmPlain : mz::qmIndexed);
    mz::TComposeRun run(kept, dbSource, o.Settings);
    if (!o.OutDir.empty())
        std::filesystem::create_directories(o.OutDir);
    // A run that takes longer than a second shows on stderr that it is still working.
    uint64_t shownAt = 0;
    run.OnProgress = [&](const mz::TComposeProgress& p) {
        if (p.ElapsedMs < 1000 || p.ElapsedMs < shownAt + 1000)
            return;
        shownAt = p.ElapsedMs;
        std::cerr << "układanie trwa: " << p.ElapsedMs / 1000 << " s, kroki " << p.TotalSteps << ", restarty "
                  << p.Restarts << ", wypełnienie do " << static_cast<int>(p.BestFill) << "%" << std::endl;
    };

    for (long long k = 0; k < o.Count; ++k) {
        const std::string fileName = o.Out.empty() ? mz::NumberedFileName(o.OutDir, "krz", o.Prefix).string() : o.Out;
        mz::cli::RefuseSameFiles({o.Template, o.Database}, {fileName, o.Solution});
        mz::TCrossTXT crossWord;
        crossWord.FileName = fileName;
        const std::atomic<bool> stop{false};
        std::atomic<uint8_t> progress{0};
        std::optional<uint32_t> seed;
        if (o.Seed)
            seed = static_cast<uint32_t>(*o.Seed + k);

        const auto start = std::chrono::steady_clock::now();
        const mz::TComposeResult result = run.Execute(crossWord, stop, progress, seed);
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
        // Nothing is saved for a run without a crossword; a series ends there.
        if (result.Failed || !result.HandedOver)
            throw mz::EMirakolnikError(
                mz::FillFailureMessage(result.Message.empty() ? mz::MsgComposeFailed : result.Message,
                                       mz::StuckArea(kept, *dbSource(), o.Settings)));
        if (!mz::LostLockedWords(pattern, kept, crossWord).empty())
            throw mz::EMirakolnikError(mz::MsgLockedWordLost);
        mz::RestoreOwnParts(pattern, crossWord);
        shownAt = 0;
        // The solution is written to its temporary file before the crossword is
        // saved and put in place after it, so a failure of either leaves no
        // crossword without its solution and no half-written file.
        std::optional<mz::TFileReplacement> solution;
        if (!o.Solution.empty()) {
            solution.emplace(o.Solution);
            solution->Create();
            solution->Write(SolutionText(*result.Grid));
        }
        crossWord.SaveToFile(fileName);
        if (solution)
            solution->Commit();
        if (seriesAnswers)
            for (const std::string& answer : mz::GridAnswers(*result.Grid, o.Settings.MinLenPWord))
                seriesAnswers->insert(answer);

        std::cout << mz::FileNamePart(fileName) << ": " << crossWord.ColCount() << " × " << crossWord.RowCount()
                  << ", słów " << crossWord.ExplCount() << ", litery " << LetterShare(*result.Grid) << "%, kroki "
                  << result.TotalSteps << ", restarty " << result.Restarts << ", ziarno " << result.Seed << ", " << ms
                  << " ms\n";
    }
    return 0;
}

static_assert(mz::RunStepsPerCell == 1000 && mz::MinRunSteps == 5000000, "the help below states the bound");

mz::cli::TCommandRegistration reg{
    {"compose",
     "compose --template T.sz --db baza.hk (--out PLIK.krz | --out-dir KATALOG [--prefix P] [--count N]) "
     "[--seed N] [--min-len N] [--max-len N] [--any-location] [--max-steps N] [--time-limit SEKUNDY] [--plain-queries] "
     "[--allow-repeats] [--solution PLIK] [--difficulty łatwy|średni|wszystkie|trudny] [--unique-series] "
     "[--all-registers] [--fill-exact]",
     "układa krzyżówkę (lub serię krzyżówek) z szablonu i bazy haseł; --max-steps 0 znosi limit kroków jednej próby, "
     "--time-limit ogranicza czas jednej krzyżówki (bez niego układanie kończy się po 1000 krokach na każde pole "
     "szablonu, co najmniej po 5000000); gdy się nie da, kończy się komunikatem i kodem 1; "
     "--allow-repeats układa jak dawniej, bez pilnowania, by żadne hasło nie stało w krzyżówce dwa razy; "
     "--difficulty: łatwy i średni biorą hasła rzadsze, niż pozwala poziom, tylko tam, gdzie częstsze zostawiłyby czarne pole, łatwy daje objaśnienia z najczęstszych "
     "słów, trudny z najrzadszych (domyślnie wszystkie słowa, objaśnienie losowe); bez --all-registers układa tylko "
     "z haseł odpowiednich dla szkoły, z nią także z wulgarnych, seksualnych, obraźliwych i narkotykowych "
     "(pejoratywnych nigdy); --unique-series nie powtarza w serii haseł "
     "wcześniejszych krzyżówek; --fill-exact wypełnia szablon dokładnie, bez dodawania czarnych pól: każde wolne "
     "pole dostaje literę, a każdy ciąg co najmniej --min-len wolnych pól jest hasłem z bazy; szablonem może być też "
     "krzyżówka: jej czarne pola, wpisane litery i zablokowane hasła (z objaśnieniami) zostają, a układanie "
     "uzupełnia resztę lub mówi, którego obszaru nie da się uzupełnić; znaki ? przedrostka zastępuje licznik "
     "(domyślnie K_\?\?\?\?), a przedrostek bez ? "
     "przy --count większym niż 1 dostaje licznik _\?\? (np. S_00.krz, S_01.krz)",
     &Run}};

} // namespace
