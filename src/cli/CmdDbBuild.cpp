#include "CliDocuments.h"
#include "Command.h"

#include "core/Cp1250.h"
#include "core/PrintableText.h"
#include "core/SystemError.h"
#include "database/DB.h"
#include "database/DBBuilder.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

int Run(const mz::cli::Args& args)
{
    std::string out;
    std::string audioDir;
    std::string commonness;
    std::vector<std::string> stopLists;
    std::vector<std::string> registerLists;
    std::vector<std::string> overrideLists;
    long long edition = 101;
    std::vector<std::pair<std::string, std::string>> sources; // option, file
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option != "--out" && option != "--edition" && option != "--thesaurus" && option != "--tsv"
            && option != "--audio-dir" && option != "--stoplist" && option != "--commonness" && option != "--register"
            && option != "--overrides" && option != "--basic")
            throw mz::cli::EUsage{"Nieznana opcja: " + option};
        if (i + 1 >= args.size())
            throw mz::cli::EUsage{"Brak wartości opcji " + option};
        const std::string& value = args[++i];
        if (option == "--out")
            out = value;
        else if (option == "--edition")
            edition = mz::cli::ParseInteger(value, option);
        else if (option == "--audio-dir")
            audioDir = value;
        else if (option == "--stoplist")
            stopLists.push_back(value);
        else if (option == "--commonness")
            commonness = value;
        else if (option == "--register")
            registerLists.push_back(value);
        else if (option == "--overrides")
            overrideLists.push_back(value);
        else
            sources.emplace_back(option, value);
    }
    if (out.empty())
        throw mz::cli::EUsage{"Brak opcji --out"};
    if (sources.empty())
        throw mz::cli::EUsage{"Podaj co najmniej jedno źródło: --thesaurus, --tsv lub --basic"};
    if (edition < 0 || edition > INT32_MAX)
        throw mz::cli::EUsage{"Numer wydania poza zakresem 0.." + std::to_string(INT32_MAX) + ": "
                              + std::to_string(edition)};
    if (!audioDir.empty()) {
        std::error_code ec;
        if (!std::filesystem::is_directory(mz::Utf8Path(audioDir), ec))
            throw mz::EDBInvalidOperation("Katalog dźwięków " + audioDir + ": "
                                          + (std::filesystem::exists(mz::Utf8Path(audioDir), ec)
                                                 ? mz::SystemErrorText(ENOTDIR)
                                                 : mz::SystemErrorText(ENOENT)));
    }

    std::vector<std::string> inputs;
    for (const auto& source : sources)
        inputs.push_back(source.second);
    inputs.insert(inputs.end(), stopLists.begin(), stopLists.end());
    inputs.insert(inputs.end(), registerLists.begin(), registerLists.end());
    inputs.insert(inputs.end(), overrideLists.begin(), overrideLists.end());
    if (!commonness.empty())
        inputs.push_back(commonness);
    mz::cli::RefuseSameFiles(inputs, {out});

    auto open = [](const std::string& file) {
        std::error_code ec;
        if (std::filesystem::is_directory(mz::Utf8Path(file), ec))
            throw mz::EDBInvalidOperation(file + ": " + mz::SystemErrorText(EISDIR));
        std::ifstream in(mz::Utf8Path(file), std::ios::binary);
        if (!in && errno == ENOENT)
            throw mz::EDBInvalidOperation(mz::FormatMessage("Brak wymaganego pliku %s", file));
        if (!in)
            throw mz::EDBInvalidOperation(file + ": " + mz::SystemErrorText(errno));
        return in;
    };
    // Every check comes before the database is written, so a refused source
    // leaves --out as it was.
    mz::TDBBuilder builder;
    for (const auto& file : stopLists) {
        std::ifstream in = open(file);
        builder.AddStopList(in, file);
    }
    for (const auto& file : registerLists) {
        std::ifstream in = open(file);
        builder.AddRegisterList(in, file);
    }
    for (const auto& file : overrideLists) {
        std::ifstream in = open(file);
        builder.AddOverrides(in, file);
    }
    if (!commonness.empty()) {
        std::ifstream in = open(commonness);
        mz::TCommonness scores;
        scores.Load(in, commonness);
        builder.SetCommonness(std::move(scores));
    }
    std::vector<std::string> warnings;
    for (const auto& [option, file] : sources) {
        std::ifstream in = open(file);
        if (option == "--thesaurus")
            builder.AddThesaurus(in, file);
        else if (option == "--basic")
            builder.AddBasic(in, file, warnings);
        else
            builder.AddTsv(in, file, warnings);
    }
    for (const auto& warning : warnings)
        std::cerr << mz::PrintableUtf8(warning) << "\n";
    if (!audioDir.empty())
        builder.AssignSounds(mz::Utf8Path(audioDir));
    const auto words = builder.Result();
    if (words.empty())
        throw mz::EDBInvalidOperation("Żadne hasło nie ma objaśnienia; nie zapisano " + out);
    mz::WriteDBFile(out, static_cast<int32_t>(edition), words);

    size_t explanations = 0;
    for (const auto& word : words)
        explanations += word.Explanations.size();
    const mz::TCleaningReport& cleaning = builder.Cleaning();
    std::cout << "Usunięto " << cleaning.MarkedWords + cleaning.StopListWords + cleaning.PejorativeWords
              << " haseł: " << cleaning.MarkedWords
              << " oznaczonych w tezaurusie jako wulgarne lub obraźliwe we wszystkich znaczeniach, "
              << cleaning.StopListWords << " z listy wykluczeń, " << cleaning.PejorativeWords
              << " pejoratywnych z listy rejestrów; " << cleaning.CluelessWords << " innych zostało bez objaśnienia\n"
              << "Usunięto " << cleaning.RemovedWordClues + cleaning.LostClues - cleaning.RewrittenClues
              << " objaśnień: " << cleaning.RemovedWordClues << " usuniętych haseł, "
              << cleaning.LostClues - cleaning.RewrittenClues
              << " ze znaczeń wulgarnych lub obraźliwych i z naprawy pozostałych haseł; " << cleaning.RewrittenClues
              << " objaśnień bez obraźliwego lub błędnego wyrazu zastąpiło dawne\n";
    const mz::TClueRepair& repair = builder.Repair();
    std::cout << "Naprawa objaśnień tezaurusa: " << repair.StemTerms << " wyrazów o wspólnym rdzeniu z hasłem, "
              << repair.RegisterTerms << " wyrazów nacechowanych, " << repair.OverrideTerms
              << " wyrazów z listy poprawek, " << repair.ShortClues << " objaśnień krótszych niż 3 litery, "
              << repair.Hypernyms << " objaśnień \"rodzaj:\" bez potwierdzonego kierunku\n";
    int marked = 0;
    for (const auto& word : words)
        marked += word.Register != mz::rgOrdinary;
    std::cout << "Hasła nacechowane (poza szkolnym układaniem): " << marked << "\n";
    int scored = 0;
    int sounds = 0; // named by a list or found in --audio-dir
    for (const auto& word : words) {
        scored += word.Score > 0;
        sounds += !word.Audio.empty();
    }
    std::cout << "Zapisano " << out << ": " << words.size() << " haseł, " << explanations << " objaśnień, " << sounds
              << " z dźwiękiem";
    if (!commonness.empty())
        std::cout << ", " << scored << " na liście częstości";
    std::cout << ", wydanie " << edition << "\n";
    return 0;
}

mz::cli::TCommandRegistration reg{
    {"db-build",
     "db-build --out PLIK [--edition N] [--stoplist PLIK]... [--register PLIK]... [--overrides PLIK]... "
     "[--commonness PLIK] (--thesaurus PLIK | --tsv PLIK | --basic PLIK)... [--audio-dir KATALOG]",
     "buduje bazę haseł z tezaurusa (MyThes) i list słów (TSV, UTF-8)", &Run}};

} // namespace
