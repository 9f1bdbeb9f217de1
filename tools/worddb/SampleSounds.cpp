// Speaks words of the database with espeak-ng (Polish voice) into
// DIR/<WORD>.wav, the word upper-case in UTF-8, so that db-build --audio-dir
// can give those words their sound: a sample of COUNT words spread over the
// alphabet, and every word of the grids in the SOLUTION files (the letters of a
// composed grid, UTF-8, one row a line, '*' for blocks), so that a crossword
// composed with those grids has a sound for each of its words.
//
// Usage: mz_worddb_samples DATABASE DIR COUNT [ESPEAK [SOLUTION...]]

#include "core/Cp1250.h"
#include "database/DB.h"
#include "database/DBBuilder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// The sample keeps to words of a length a solver is used to.
constexpr size_t SampleMinLength = 4;
constexpr size_t SampleMaxLength = 10;

std::string ShellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The grid rows of a solution file in CP1250, padded with blocks to one width.
std::vector<std::string> ReadSolution(const std::string& fileName)
{
    std::ifstream in(mz::Utf8Path(fileName), std::ios::binary);
    if (!in)
        throw std::runtime_error("Nie można otworzyć pliku " + fileName);
    std::vector<std::string> rows;
    size_t width = 0;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        rows.push_back(mz::Utf8ToCp1250(line));
        width = std::max(width, rows.back().size());
    }
    for (auto& row : rows)
        row.resize(width, '*');
    return rows;
}

// Maximal runs of at least two letters, across and down.
std::vector<std::string> GridWords(const std::vector<std::string>& rows)
{
    std::vector<std::string> words;
    std::string run;
    auto cell = [&](char c) {
        if (mz::IsWordLetter(static_cast<unsigned char>(c))) {
            run += c;
            return;
        }
        if (run.size() >= 2)
            words.push_back(run);
        run.clear();
    };
    for (const auto& row : rows) {
        for (const char c : row)
            cell(c);
        cell('*');
    }
    const size_t width = rows.empty() ? 0 : rows.front().size();
    for (size_t col = 0; col < width; ++col) {
        for (const auto& row : rows)
            cell(row[col]);
        cell('*');
    }
    return words;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::cerr << "Użycie: mz_worddb_samples BAZA KATALOG LICZBA [ESPEAK [ROZWIĄZANIE...]]\n";
        return 2;
    }
    const std::string espeak = argc > 4 ? argv[4] : "espeak-ng";
    try {
        // Every word, so that a grid's short and long words are found too.
        mz::TDB db(mz::qmPlain);
        db.Load(argv[1], mz::TDBLoadFilter{1, 255});
        const size_t wanted = std::stoul(argv[3]);
        // Every k-th word in file order (Words runs backwards), so the sample
        // spreads over the whole alphabet and stays the same from build to build.
        std::vector<std::string> sample;
        std::set<std::string> known;
        for (const mz::TDBRec* rec = db.Words(); rec; rec = rec->Next) {
            known.insert(rec->PWord);
            if (rec->PWord.size() >= SampleMinLength && rec->PWord.size() <= SampleMaxLength)
                sample.insert(sample.begin(), rec->PWord);
        }
        const size_t step = std::max<size_t>(1, sample.size() / std::max<size_t>(1, wanted));
        std::set<std::string> words;
        for (size_t i = 0, taken = 0; i < sample.size() && taken < wanted; i += step, ++taken)
            words.insert(sample[i]);
        const size_t sampled = words.size();

        // A run that no database word fills would get a sound nobody names.
        for (int k = 5; k < argc; ++k)
            for (const auto& word : GridWords(ReadSolution(argv[k])))
                if (known.count(word))
                    words.insert(word);

        const std::filesystem::path dir = mz::Utf8Path(argv[2]);
        std::filesystem::create_directories(dir);
        for (const auto& word : words) {
            const std::string name = mz::Cp1250ToUtf8(word) + ".wav";
            const std::string command = ShellQuote(espeak) + " -v pl -w "
                + ShellQuote((dir / mz::Utf8Path(name)).string()) + " "
                + ShellQuote(mz::Cp1250ToUtf8(mz::Cp1250ToLower(word)));
            if (std::system(command.c_str()) != 0) {
                std::cerr << "espeak-ng nie utworzył pliku " << name << "\n";
                return 1;
            }
        }
        std::cout << "Nagrano " << words.size() << " próbek (" << sampled << " z próby, " << words.size() - sampled
                  << " z rozwiązań) w " << argv[2] << "\n";
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
