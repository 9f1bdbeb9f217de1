#include "Command.h"

#include "core/Cp1250.h"
#include "database/DB.h"

#include <iomanip>
#include <iostream>

namespace {

int Run(const mz::cli::Args& args)
{
    if (args.size() != 1)
        throw mz::cli::EUsage{"Podaj jeden plik bazy haseł"};
    const mz::TDBStatistics stats = mz::ReadDBStatistics(args[0]);
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
    return 0;
}

mz::cli::TCommandRegistration reg{
    {"db-stats", "db-stats PLIK", "pokazuje statystykę bazy haseł: wydanie, liczby haseł i objaśnień, długości", &Run}};

} // namespace
