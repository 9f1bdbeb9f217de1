#include "CliDocuments.h"
#include "Command.h"

#include "documents/Ipuz.h"

namespace {

int Run(const mz::cli::Args& args)
{
    if (args.size() != 2)
        throw mz::cli::EUsage{"Podaj plik krzyżówki i plik wynikowy ipuz"};
    mz::cli::RefuseSameFiles({args[0]}, {args[1]});
    mz::ExportAsIpuz(mz::cli::LoadDocument(args[0]), args[1]);
    return 0;
}

mz::cli::TCommandRegistration reg{
    {"export-ipuz", "export-ipuz PLIK WYNIK.ipuz",
     "zapisuje krzyżówkę w otwartym formacie ipuz (siatka, numery, hasła, odpowiedzi, dźwięki)", &Run}};

} // namespace
