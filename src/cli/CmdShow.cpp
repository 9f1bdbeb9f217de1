#include "CliDocuments.h"
#include "Command.h"

#include <iostream>

namespace {

int Run(const mz::cli::Args& args)
{
    std::vector<std::string> files;
    bool answers = false;
    for (const std::string& arg : args) {
        if (arg == "--answers")
            answers = true;
        else if (arg.starts_with("--"))
            throw mz::cli::EUsage{"Nieznana opcja: " + arg};
        else
            files.push_back(arg);
    }
    if (files.size() != 1)
        throw mz::cli::EUsage{"Podaj jeden plik krzyżówki (krz, sz, xwd lub ipuz)"};
    // Described in full before printing, so a failure prints only its message.
    std::cout << mz::cli::DescribeDocument(mz::cli::LoadDocument(files[0]), answers);
    return 0;
}

mz::cli::TCommandRegistration reg{
    {"show", "show PLIK [--answers]",
     "pokazuje krzyżówkę lub szablon (krz, sz, xwd, ipuz): rozmiar, siatkę (* zaczernienie, . puste pole) i "
     "objaśnienia; --answers dodaje odpowiedzi (= SŁOWO, = ? gdy nieznana) i hasło rozwiązania",
     &Run}};

} // namespace
