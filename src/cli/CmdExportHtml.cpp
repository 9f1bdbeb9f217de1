#include "CliDocuments.h"
#include "Command.h"

#include "core/SoundNames.h"
#include "documents/HtmlExport.h"

#include <iostream>

namespace {

int Run(const mz::cli::Args& args)
{
    std::vector<std::string> files;
    std::string audioDir;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--audio-dir") {
            if (i + 1 >= args.size())
                throw mz::cli::EUsage{"Brak wartości opcji --audio-dir"};
            audioDir = args[++i];
        } else if (args[i].rfind("--", 0) == 0) {
            throw mz::cli::EUsage{"Nieznana opcja: " + args[i]};
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 2)
        throw mz::cli::EUsage{"Podaj plik krzyżówki i plik wynikowy strony WWW"};
    mz::cli::RefuseSameFiles({files[0]}, {files[1]});
    const mz::TCrossTXT doc = mz::cli::LoadDocument(files[0]);
    mz::THtmlOptions options;
    if (!audioDir.empty())
        options.SoundFile = [&](std::string_view name) {
            const mz::TSoundFile sound = mz::ResolveSoundFile(audioDir, name);
            return sound.Status == mz::TSoundStatus::Playable ? sound.Path : std::filesystem::path();
        };
    mz::ExportAsHtml(doc, files[1], options);
    if (options.SoundFile) {
        const mz::THtmlSounds sounds = mz::HtmlSounds(doc, options.SoundFile);
        std::cout << "Dołączone pliki dźwiękowe: " << sounds.Files << " (" << (sounds.PageBytes + 1023) / 1024
                  << " kB)\n";
    }
    return 0;
}

mz::cli::TCommandRegistration reg{
    {"export-html", "export-html PLIK WYNIK.html [--audio-dir KATALOG]",
     "zapisuje krzyżówkę jako jedną stronę WWW do rozwiązywania w przeglądarce; z --audio-dir dołącza dźwięki haseł",
     &Run}};

} // namespace
