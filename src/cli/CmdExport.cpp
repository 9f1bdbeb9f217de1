#include "CliDocuments.h"
#include "Command.h"

namespace {

int Run(const mz::cli::Args& args)
{
    if (args.size() != 2)
        throw mz::cli::EUsage{"Podaj plik krzyżówki i plik tekstowy"};
    mz::cli::RefuseSameFiles({args[0]}, {args[1]});
    mz::cli::LoadDocument(args[0]).ExportAsText(args[1]);
    return 0;
}

mz::cli::TCommandRegistration reg{
    {"export", "export PLIK WYNIK.txt", "eksportuje krzyżówkę jako tekst: siatka oraz hasła poziomo i pionowo", &Run}};

} // namespace
