#include "Command.h"

#include "core/Cp1250.h"
#include "database/DB.h"
#include "database/Register.h"

#include <algorithm>
#include <iomanip>
#include <iostream>

namespace {

int Run(const mz::cli::Args& args)
{
    mz::TRegister listed = mz::rgOrdinary;
    const bool list = args.size() == 3 && args[1] == "--register";
    if (args.size() != 1 && !list)
        throw mz::cli::EUsage{"Podaj jeden plik bazy haseł (i ewentualnie --register RODZAJ)"};
    if (list && (!mz::ParseRegister(args[2], listed) || listed == mz::rgOrdinary))
        throw mz::cli::EUsage{"Nieznany rejestr: " + args[2]
                              + " (wulgarne, seksualne, pejoratywne, obraźliwe lub narkotyki)"};
    // Every word of every chain: pejoratives are set aside at loading.
    mz::TDB db;
    db.Load(args[0], mz::TDBLoadFilter{2, 255});
    int counts[std::size(mz::Registers)] = {};
    for (const mz::TDBList chain : {mz::dlWords, mz::dlExcludedWords})
        for (const mz::TDBRec* rec = db.Head(chain); rec; rec = rec->Next) {
            ++counts[rec->Register];
            if (list && rec->Register == listed)
                std::cout << mz::Cp1250ToUtf8(rec->PWord) << "\t"
                          << mz::Cp1250ToUtf8(rec->ExplLines.substr(0, rec->ExplLines.find('\r'))) << "\n";
        }
    if (list)
        return 0;
    const mz::TDBStatistics stats = mz::DBStatisticsOf(db);
    std::cout << "Plik: " << args[0] << "\n"
              << "Wydanie: " << stats.Edition << " (" << mz::EditionName(stats.Edition) << ")\n"
              << "Hasła: " << stats.WordCount << "\n"
              << "Objaśnienia: " << stats.ExplCount << "\n";
    if (stats.SkippedWords > 0)
        std::cout << "Pominięte hasła (znaki spoza siatki): " << stats.SkippedWords << "\n";
    if (stats.RefusedSounds > 0)
        std::cout << "Pominięte dźwięki (niedozwolone nazwy plików): " << stats.RefusedSounds << "\n";
    if (stats.WordCount > 0)
        std::cout << "Najkrótsze hasło: " << stats.MinLen << "\n"
                  << "Najdłuższe hasło: " << stats.MaxLen << "\n"
                  << "Hasła według długości:\n";
    for (size_t len = 0; len < stats.WordsPerLength.size(); ++len)
        if (stats.WordsPerLength[len] > 0)
            std::cout << std::setw(5) << len << ": " << stats.WordsPerLength[len] << "\n";
    if (std::count(std::begin(counts) + 1, std::end(counts), 0) != static_cast<long>(std::size(counts)) - 1)
        std::cout << "Hasła według rejestru (poza zwykłymi nie trafiają do krzyżówek dla szkoły):\n";
    for (const mz::TRegister reg : mz::Registers)
        if (reg != mz::rgOrdinary && counts[reg] > 0)
            std::cout << "  " << mz::RegisterKey(reg) << ": " << counts[reg] << "\n";
    return 0;
}

mz::cli::TCommandRegistration reg{
    {"db-stats", "db-stats PLIK [--register RODZAJ]",
     "pokazuje statystykę bazy haseł: wydanie, liczby haseł i objaśnień, długości, hasła nacechowane według "
     "rejestru; --register wypisuje hasła danego rejestru z pierwszym objaśnieniem",
     &Run}};

} // namespace
