#include "CliDocuments.h"
#include "Command.h"

#include "core/FileNames.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace {

using mz::cli::EUsage;

std::pair<int32_t, int32_t> ParseCell(const std::string& text)
{
    const auto comma = text.find(',');
    if (comma == std::string::npos)
        throw EUsage{"Pole zaczernione podaje się jako KOLUMNA,WIERSZ: " + text};
    const long long col = mz::cli::ParseInteger(text.substr(0, comma), "--block");
    const long long row = mz::cli::ParseInteger(text.substr(comma + 1), "--block");
    if (col < INT32_MIN || col > INT32_MAX || row < INT32_MIN || row > INT32_MAX)
        throw EUsage{"Niepoprawne pole: " + text};
    return {static_cast<int32_t>(col), static_cast<int32_t>(row)};
}

int Run(const mz::cli::Args& args)
{
    std::optional<long long> cols, rows;
    std::vector<std::pair<int32_t, int32_t>> blocks;
    std::string out;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--cols" || a == "--rows" || a == "--block") {
            if (i + 1 >= args.size())
                throw EUsage{"Brak wartości dla " + a};
            const std::string& value = args[++i];
            if (a == "--cols")
                cols = mz::cli::ParseInteger(value, a);
            else if (a == "--rows")
                rows = mz::cli::ParseInteger(value, a);
            else
                blocks.push_back(ParseCell(value));
        } else if (a.starts_with("--")) {
            throw EUsage{"Nieznana opcja: " + a};
        } else if (out.empty()) {
            out = a;
        } else {
            throw EUsage{"Podano więcej niż jeden plik wynikowy"};
        }
    }
    if (!cols || !rows || out.empty())
        throw EUsage{"Podaj --cols, --rows i plik wynikowy"};
    if (mz::ExtensionOf(out) != "sz")
        throw EUsage{"Plik szablonu musi mieć rozszerzenie sz: " + out};
    // The sizes a template file may have, refused before the grid is made, with
    // the messages of the save.
    if (*cols > mz::MaxGridCols)
        throw mz::EIOOperation("Za długi wiersz (najwyżej " + std::to_string(mz::MaxGridCols) + " kolumn)");
    if (*rows > mz::MaxGridRows)
        throw mz::EIOOperation("Za dużo wierszy (najwyżej " + std::to_string(mz::MaxGridRows) + ")");

    mz::TCrossTXT doc;
    doc.Kind = 1;
    doc.SetColCount(static_cast<int32_t>(std::max(*cols, -1LL)));
    doc.SetRowCount(static_cast<int32_t>(std::max(*rows, -1LL)));
    for (const auto& [c, r] : blocks)
        doc.SetCell(c, r, '*');
    doc.SaveToFile(out);
    return 0;
}

mz::cli::TCommandRegistration reg{
    {"new-template", "new-template --cols K --rows W [--block K,W]... WYNIK.sz",
     "tworzy pusty szablon K kolumn na W wierszy, z zaczernionymi polami podanymi przez --block", &Run}};

} // namespace
