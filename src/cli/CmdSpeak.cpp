#include "Command.h"

#include "core/FileNames.h"
#include "speech/SpokenWord.h"

namespace {

using mz::cli::EUsage;

int Run(const mz::cli::Args& args)
{
    std::string word;
    std::string out;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--out") {
            if (i + 1 >= args.size())
                throw EUsage{"Brak wartości dla " + a};
            out = args[++i];
        } else if (a.starts_with("--")) {
            throw EUsage{"Nieznana opcja: " + a};
        } else if (word.empty()) {
            word = a;
        } else {
            throw EUsage{"Podaj jedno słowo"};
        }
    }
    if (word.empty() || out.empty())
        throw EUsage{"Podaj słowo i plik wynikowy --out"};
    if (mz::ExtensionOf(out) != "wav")
        throw EUsage{"Plik dźwięku musi mieć rozszerzenie wav: " + out};
    const std::string spoken = mz::SpeakableWord(word);
    mz::WriteSpokenWord(*mz::MakeSpeechEngine(), spoken, out);
    return 0;
}

mz::cli::TCommandRegistration reg{{"speak", "speak SŁOWO --out WYNIK.wav",
                                   "czyta słowo syntezatorem mowy (espeak-ng, głos polski) do pliku WAV", &Run}};

} // namespace
