#include "composer/OwnWordsReport.h"

#include "core/Cp1250.h"

namespace mz {

namespace {

std::string MergedNote(int32_t merged)
{
    return merged > 0 ? " Powtórzone słowa połączono (" + std::to_string(merged) + ")." : std::string();
}

std::string Size(const TCrossTXT& doc)
{
    return "rozmiar " + std::to_string(doc.ColCount()) + " × " + std::to_string(doc.RowCount()) + ".";
}

} // namespace

std::string ListProblemsText(const TWordList& list, size_t shown)
{
    std::string text = "Popraw listę słów:";
    for (size_t i = 0; i < list.Problems.size() && i < shown; ++i)
        text += "\n" + list.Problems[i];
    if (list.Problems.size() > shown)
        text += "\ni jeszcze " + std::to_string(list.Problems.size() - shown);
    return text;
}

std::string FreeLayoutReport(const TFreeLayoutResult& result, const TWordList& list)
{
    std::string report = "Ułożono " + std::to_string(result.Placed) + " z " + std::to_string(list.Words.size())
        + " słów, skrzyżowań: " + std::to_string(result.Crossings) + ", " + Size(result.Document)
        + MergedNote(list.Merged);
    for (size_t i = 0; i < result.Unplaced.size(); ++i)
        report += (i == 0 ? "\nNie zmieściły się: " : ", ") + Cp1250ToUtf8(result.Unplaced[i]);
    return result.Unplaced.empty() ? report : report + ".";
}

std::string KeywordReport(std::string_view keyword, const TCrossTXT& doc, int32_t merged)
{
    return "Hasło " + Cp1250ToUtf8(keyword) + ": " + std::to_string(doc.RowCount()) + " wierszy, " + Size(doc)
        + MergedNote(merged);
}

} // namespace mz
