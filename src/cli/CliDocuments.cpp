#include "CliDocuments.h"

#include "core/Cp1250.h"

namespace mz::cli {

TCrossTXT LoadDocument(const std::string& fileName)
{
    TCrossTXT doc;
    doc.LoadFromFile(fileName);
    return doc;
}

std::string DescribeDocument(const TCrossTXT& doc, bool answers)
{
    std::string text = "Rozmiar: " + std::to_string(doc.ColCount()) + " × " + std::to_string(doc.RowCount()) + "\n";
    for (int32_t r = 1; r <= doc.RowCount(); ++r) {
        std::string row;
        for (int32_t c = 1; c <= doc.ColCount(); ++c) {
            const unsigned char cell = doc.GetCell(c, r);
            row.push_back(cell == ' ' ? '.' : static_cast<char>(cell));
        }
        text += Cp1250ToUtf8(row) + "\n";
    }
    for (const auto& item : doc.ExplsInNumberOrder()) {
        const TExpl& e = item.Expl;
        text += std::to_string(item.Number) + ". " + (e.Horizontal ? "H " : "V ") + std::to_string(e.Col) + "," +
                std::to_string(e.Row) + ": " + Cp1250ToUtf8(e.Explanation);
        if (!e.Audio.empty())
            text += " [" + Cp1250ToUtf8(e.Audio) + "]";
        if (answers)
            text += " = " + (e.Answer.empty() ? std::string("?") : Cp1250ToUtf8(e.Answer));
        text += "\n";
    }
    const TPhrase& phrase = doc.Phrase();
    if (!phrase.Empty()) {
        text += "Pola rozwiązania:";
        for (size_t i = 0; i < phrase.Cells.size(); ++i)
            text += (i == 0 ? " " : "; ") + std::to_string(i + 1) + ": " + std::to_string(phrase.Cells[i].Col) + "," +
                    std::to_string(phrase.Cells[i].Row);
        text += "\n";
        if (answers)
            text += "Rozwiązanie: " + Cp1250ToUtf8(phrase.Text) + "\n";
    }
    return text;
}

} // namespace mz::cli
