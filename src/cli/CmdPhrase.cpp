#include "CliDocuments.h"
#include "Command.h"

#include "composer/AnswerRecovery.h"
#include "core/Cp1250.h"
#include "core/FileNames.h"
#include "database/DB.h"
#include "documents/CrossSolution.h"

#include <iostream>
#include <optional>

namespace {

using mz::cli::EUsage;

int Run(const mz::cli::Args& args)
{
    std::string text;
    std::string database;
    std::string out;
    std::optional<uint32_t> seed;
    std::vector<std::string> files;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--text" || a == "--db" || a == "--out" || a == "--seed") {
            if (i + 1 >= args.size())
                throw EUsage{"Brak wartości dla " + a};
            const std::string& value = args[++i];
            if (a == "--text")
                text = value;
            else if (a == "--db")
                database = value;
            else if (a == "--out")
                out = value;
            else
                seed = static_cast<uint32_t>(mz::cli::ParseInteger(value, a));
        } else if (a.starts_with("--")) {
            throw EUsage{"Nieznana opcja: " + a};
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 1 || out.empty())
        throw EUsage{"Podaj plik krzyżówki i --out WYNIK.krz"};
    if (text.empty() == database.empty())
        throw EUsage{"Podaj albo --text FRAZA, albo --db baza.hk (słowo z bazy)"};
    if (mz::ExtensionOf(out) != "krz")
        throw EUsage{"Plik wynikowy musi mieć rozszerzenie krz: " + out};

    mz::TCrossTXT doc = mz::cli::LoadDocument(files[0]);
    mz::TRandom random(seed ? *seed : mz::TRandom::ClockSeed());
    std::string phrase = mz::Utf8ToCp1250(text);
    if (!database.empty()) {
        mz::TDB db;
        db.Load(database);
        phrase = mz::PickPhraseWord(doc, db, random);
    }
    doc.SetPhrase(mz::ChoosePhraseCells(doc, phrase, random));
    doc.Kind = 0;
    doc.SaveToFile(out);
    std::cout << "Rozwiązanie: " << mz::Cp1250ToUtf8(doc.Phrase().Text) << "\n";
    return 0;
}

mz::cli::TCommandRegistration reg{
    {"phrase", "phrase PLIK (--text FRAZA | --db baza.hk) [--seed N] --out WYNIK.krz",
     "tworzy rozwiązanie: numeruje pola, których litery czytane po kolei dają frazę (lub słowo 6-12 liter z bazy)",
     &Run}};

} // namespace
