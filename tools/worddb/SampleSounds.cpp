// Speaks a sample of the database's words with espeak-ng (Polish voice) into
// DIR/<WORD>.wav, the word upper-case in UTF-8, so that db-build --audio-dir
// can give those words their sound.
//
// Usage: mz_worddb_samples DATABASE DIR COUNT [ESPEAK]

#include "core/Cp1250.h"
#include "database/DB.h"
#include "database/DBBuilder.h"
#include "database/WordLengthLimits.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

std::string LowerCp1250(std::string word)
{
    for (char& c : word) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 'A' && b <= 'Z')
            c = static_cast<char>(b + 32);
        for (int i = 0; i < 9; ++i)
            if (b == mz::PolishCapitals[i])
                c = static_cast<char>(mz::PolishSmall[i]);
    }
    return word;
}

std::string ShellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::cerr << "Użycie: mz_worddb_samples BAZA KATALOG LICZBA [ESPEAK]\n";
        return 2;
    }
    const std::string espeak = argc > 4 ? argv[4] : "espeak-ng";
    try {
        mz::WordLengthLimits.MinLenPWord = 4;
        mz::WordLengthLimits.MaxLenPWord = 10;
        mz::TDB db(mz::qmPlain);
        db.Load(argv[1]);
        const size_t wanted = std::stoul(argv[3]);
        // Every k-th word in file order (Words runs backwards), so the sample
        // spreads over the whole alphabet and stays the same from build to build.
        std::vector<std::string> words;
        for (const mz::TDBRec* rec = db.Words(); rec; rec = rec->Next)
            words.insert(words.begin(), rec->PWord);
        const size_t step = std::max<size_t>(1, words.size() / std::max<size_t>(1, wanted));
        const std::filesystem::path dir = mz::Utf8Path(argv[2]);
        std::filesystem::create_directories(dir);
        size_t made = 0;
        for (size_t i = 0; i < words.size() && made < wanted; i += step, ++made) {
            const std::string name = mz::Cp1250ToUtf8(words[i]) + ".wav";
            const std::string command = ShellQuote(espeak) + " -v pl -w " + ShellQuote((dir / mz::Utf8Path(name)).string()) +
                                        " " + ShellQuote(mz::Cp1250ToUtf8(LowerCp1250(words[i])));
            if (std::system(command.c_str()) != 0) {
                std::cerr << "espeak-ng nie utworzył pliku " << name << "\n";
                return 1;
            }
        }
        std::cout << "Nagrano " << made << " próbek w " << argv[2] << "\n";
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
