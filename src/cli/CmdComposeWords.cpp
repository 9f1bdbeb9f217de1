#include "CliDocuments.h"
#include "Command.h"

#include "composer/FreeLayout.h"
#include "composer/KeywordLayout.h"
#include "composer/WordList.h"
#include "core/Cp1250.h"
#include "core/FileNames.h"
#include "database/Commonness.h"
#include "database/DB.h"

#include <iostream>
#include <optional>

namespace {

using mz::cli::EUsage;

// A word list is text: a file longer than this is no list of words.
constexpr size_t MaxListFileSize = size_t{4} << 20;

struct TOptions {
    std::string Words;
    std::string Database;
    std::string Keyword;
    std::string Out;
    int32_t MaxCols = 0;
    int32_t MaxRows = 0;
    std::optional<uint32_t> Seed;
    mz::TDifficulty Difficulty = mz::dfAll;
    bool SchoolSafe = true;
};

TOptions Parse(const mz::cli::Args& args)
{
    TOptions o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        static const std::vector<std::string> withValue = {"--words",    "--db",   "--keyword",   "--out",
                                                           "--max-size", "--seed", "--difficulty"};
        if (!a.starts_with("--"))
            throw EUsage{"Nieoczekiwany argument: " + a};
        if (a == "--all-registers") {
            o.SchoolSafe = false;
            continue;
        }
        if (std::find(withValue.begin(), withValue.end(), a) == withValue.end())
            throw EUsage{"Nieznana opcja: " + a};
        if (i + 1 >= args.size())
            throw EUsage{"Brak wartości dla " + a};
        const std::string& value = args[++i];
        if (a == "--words")
            o.Words = value;
        else if (a == "--db")
            o.Database = value;
        else if (a == "--keyword")
            o.Keyword = value;
        else if (a == "--out")
            o.Out = value;
        else if (a == "--seed")
            o.Seed = static_cast<uint32_t>(mz::cli::ParseInteger(value, a));
        else if (a == "--max-size" && !mz::ParseGridSize(value, o.MaxCols, o.MaxRows))
            throw EUsage{"Rozmiar podaje się jako KOLUMNYxWIERSZE, np. 15x11: " + value};
        else if (a == "--difficulty" && !mz::ParseDifficulty(value, o.Difficulty))
            throw EUsage{"Nieznany poziom trudności: " + value + " (łatwy, średni, trudny, wszystkie)"};
    }
    if (o.Out.empty())
        throw EUsage{"Podaj --out WYNIK.krz"};
    if (mz::ExtensionOf(o.Out) != "krz")
        throw EUsage{"Plik wynikowy musi mieć rozszerzenie krz: " + o.Out};
    if (o.Keyword.empty()) {
        if (o.Words.empty() || !o.Database.empty())
            throw EUsage{"Podaj --words LISTA.tsv (albo --keyword HASŁO ze słowami z listy lub z bazy)"};
    } else {
        if (o.Words.empty() == o.Database.empty())
            throw EUsage{"Do hasła podaj albo --words LISTA.tsv, albo --db baza.hk"};
        if (o.MaxCols > 0)
            throw EUsage{"--max-size dotyczy tylko krzyżówki bez hasła"};
    }
    return o;
}

// The list, or an error naming every refused line: nothing is composed from
// a list the user has still to mend.
std::vector<mz::TWordEntry> ReadList(const std::string& fileName)
{
    const mz::TWordList list = mz::ParseWordList(mz::WordListFileText(mz::ReadFileStart(fileName, MaxListFileSize)));
    if (!list.Problems.empty()) {
        std::string message = fileName + ": lista ma błędy, nic nie zapisano:";
        for (const std::string& problem : list.Problems)
            message += "\n  " + problem;
        throw std::runtime_error(message);
    }
    if (list.Merged > 0)
        std::cout << "Powtórzone słowa połączono: " << list.Merged << "\n";
    return list.Words;
}

int Run(const mz::cli::Args& args)
{
    const TOptions o = Parse(args);
    mz::cli::RefuseSameFiles({o.Words, o.Database}, {o.Out});
    const uint32_t seed = o.Seed ? *o.Seed : mz::TRandom::ClockSeed();
    mz::TCrossTXT doc;
    if (o.Keyword.empty()) {
        const std::vector<mz::TWordEntry> words = ReadList(o.Words);
        mz::TFreeLayoutOptions options;
        options.MaxCols = o.MaxCols;
        options.MaxRows = o.MaxRows;
        options.Seed = seed;
        mz::TFreeLayoutResult result = mz::ComposeFreeLayout(words, options);
        if (result.Placed == 0)
            throw std::runtime_error("Nawet dwa słowa nie krzyżują się w podanym rozmiarze; nic nie zapisano.");
        doc = std::move(result.Document);
        std::cout << "Ułożono " << result.Placed << " z " << words.size() << " słów, skrzyżowań: " << result.Crossings
                  << ", rozmiar " << doc.ColCount() << "x" << doc.RowCount() << ", ziarno " << seed << "\n";
        if (!result.Unplaced.empty()) {
            std::cout << "Nie zmieściły się:";
            for (const std::string& word : result.Unplaced)
                std::cout << " " << mz::Cp1250ToUtf8(word);
            std::cout << "\n";
        }
    } else {
        bool converted = true;
        const std::string keyword = mz::Utf8ToCp1250(o.Keyword, '?', &converted);
        if (!converted)
            throw std::runtime_error("Hasło może mieć tylko litery polskiego alfabetu.");
        mz::TRandom random(seed);
        mz::TKeywordResult result;
        if (!o.Words.empty()) {
            result = mz::ComposeKeyword(keyword, ReadList(o.Words), random);
        } else {
            mz::TDB db;
            mz::TDBLoadFilter filter;
            filter.MinScore = mz::DifficultyMinScore(o.Difficulty);
            filter.SchoolSafe = o.SchoolSafe;
            db.Load(o.Database, filter);
            result = mz::ComposeKeywordFromDB(keyword, db, random, mz::DifficultyClueChoice(o.Difficulty));
        }
        if (!result.Uncovered.empty())
            throw std::runtime_error(mz::UncoveredMessage(mz::NormalizeKeyword(keyword), result.Uncovered)
                                     + " Nic nie zapisano.");
        doc = std::move(result.Document);
        std::cout << "Hasło " << mz::Cp1250ToUtf8(doc.Phrase().Text) << ": " << doc.RowCount() << " wierszy, rozmiar "
                  << doc.ColCount() << "x" << doc.RowCount() << ", ziarno " << seed << "\n";
    }
    doc.SaveToFile(o.Out);
    return 0;
}

mz::cli::TCommandRegistration reg{
    {"compose-words",
     "compose-words (--words LISTA.tsv [--max-size KxW] | --keyword HASŁO (--words LISTA.tsv | --db baza.hk "
     "[--difficulty łatwy|średni|trudny|wszystkie] [--all-registers])) [--seed N] --out WYNIK.krz",
     "układa krzyżówkę z własnych słów (wiersz: SŁOWO<TAB>objaśnienie), krzyżujących się w zwartej siatce; "
     "słowa, które się nie zmieściły, wypisuje; z --keyword układa krzyżówkę z hasłem: w każdym wierszu jedno "
     "słowo, a jedna kolumna daje hasło (jego pola to rozwiązanie krzyżówki); słowa z bazy są tylko odpowiednie "
     "dla szkoły, chyba że podano --all-registers (jak w compose); ten sam --seed daje tę samą krzyżówkę",
     &Run}};

} // namespace
