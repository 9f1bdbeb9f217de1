#include "CliDocuments.h"
#include "Command.h"

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
    long long edition = 101;
    std::vector<std::pair<std::string, std::string>> sources; // option, file
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option != "--out" && option != "--edition" && option != "--thesaurus" && option != "--tsv" &&
            option != "--audio-dir")
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
        else
            sources.emplace_back(option, value);
    }
    if (out.empty())
        throw mz::cli::EUsage{"Brak opcji --out"};
    if (sources.empty())
        throw mz::cli::EUsage{"Podaj co najmniej jedno źródło: --thesaurus lub --tsv"};
    if (edition < INT32_MIN || edition > INT32_MAX)
        throw mz::cli::EUsage{"Numer wydania poza zakresem: " + std::to_string(edition)};

    std::vector<std::string> inputs;
    for (const auto& source : sources)
        inputs.push_back(source.second);
    mz::cli::RefuseSameFiles(inputs, {out});

    // Every check comes before the database is written, so a refused source
    // leaves --out as it was.
    mz::TDBBuilder builder;
    std::vector<std::string> warnings;
    for (const auto& [option, file] : sources) {
        std::error_code ec;
        if (std::filesystem::is_directory(mz::Utf8Path(file), ec))
            throw mz::EDBInvalidOperation(file + ": " + mz::SystemErrorText(EISDIR));
        std::ifstream in(mz::Utf8Path(file), std::ios::binary);
        if (!in && errno == ENOENT)
            throw mz::EDBInvalidOperation(mz::FormatMessage("Brak wymaganego pliku %s", file));
        if (!in)
            throw mz::EDBInvalidOperation(file + ": " + mz::SystemErrorText(errno));
        if (option == "--thesaurus")
            builder.AddThesaurus(in, file);
        else
            builder.AddTsv(in, file, warnings);
    }
    for (const auto& warning : warnings)
        std::cerr << warning << "\n";
    const int sounds = audioDir.empty() ? 0 : builder.AssignSounds(mz::Utf8Path(audioDir));
    const auto words = builder.Result();
    if (words.empty())
        throw mz::EDBInvalidOperation("Żadne hasło nie ma objaśnienia; nie zapisano " + out);
    mz::WriteDBFile(out, static_cast<int32_t>(edition), words);

    size_t explanations = 0;
    for (const auto& word : words)
        explanations += word.Explanations.size();
    std::cout << "Zapisano " << out << ": " << words.size() << " haseł, " << explanations << " objaśnień, "
              << sounds << " z dźwiękiem, wydanie " << edition << "\n";
    return 0;
}

mz::cli::TCommandRegistration reg{
    {"db-build",
     "db-build --out PLIK [--edition N] (--thesaurus PLIK | --tsv PLIK)... [--audio-dir KATALOG]",
     "buduje bazę haseł z tezaurusa (MyThes) i list słów (TSV, UTF-8)", &Run}};

} // namespace
