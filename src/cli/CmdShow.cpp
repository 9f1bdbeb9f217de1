#include "CliDocuments.h"
#include "Command.h"

#include <iostream>

namespace {

int Run(const mz::cli::Args& args)
{
    if (args.size() != 1)
        throw mz::cli::EUsage{"Podaj jeden plik krzyżówki (krz, sz lub xwd)"};
    // Described in full before printing, so a failure prints only its message.
    std::cout << mz::cli::DescribeDocument(mz::cli::LoadDocument(args[0]));
    return 0;
}

mz::cli::TCommandRegistration reg{
    {"show", "show PLIK",
     "pokazuje krzyżówkę lub szablon (krz, sz, xwd): rozmiar, siatkę (* zaczernienie, . puste pole) i objaśnienia",
     &Run}};

} // namespace
