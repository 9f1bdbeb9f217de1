#include "CliDocuments.h"
#include "Command.h"

#include "core/FileNames.h"

namespace {

int Run(const mz::cli::Args& args)
{
    if (args.size() != 2)
        throw mz::cli::EUsage{"Podaj plik źródłowy i plik wynikowy"};
    // Saving compares the extension exactly, as the program's save commands do.
    const std::string ext = mz::ExtensionOf(args[1]);
    if (ext != "krz" && ext != "sz")
        throw mz::cli::EUsage{"Plik wynikowy musi mieć rozszerzenie krz (krzyżówka) lub sz (szablon): " + args[1]};
    mz::cli::RefuseSameFiles({args[0]}, {args[1]});
    mz::TCrossTXT doc = mz::cli::LoadDocument(args[0]);
    doc.Kind = ext == "sz" ? 1 : 0;
    doc.SaveToFile(args[1]);
    return 0;
}

mz::cli::TCommandRegistration reg{
    {"convert", "convert PLIK WYNIK.krz|WYNIK.sz",
     "zapisuje krzyżówkę, szablon, plik XWD lub ipuz jako krzyżówkę (krz) albo szablon (sz)", &Run}};

} // namespace
