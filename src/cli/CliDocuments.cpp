#include "CliDocuments.h"

#include "core/Cp1250.h"
#include "core/FileIdentity.h"
#include "core/PrintableText.h"
#include "core/SoundNames.h"
#include "documents/Ipuz.h"

#include <iostream>

namespace mz::cli {

TCrossTXT LoadDocument(const std::string& fileName)
{
    TCrossTXT doc;
    doc.LoadFromFile(fileName);
    if (!doc.IsComplete())
        throw EIOOperation(FormatMessage("Plik %s jest uszkodzony", fileName));
    if (doc.RefusedSounds > 0)
        std::cerr << PrintableUtf8(FormatMessage(MsgSoundsRefused, fileName)) << "\n";
    if (const std::string note = IpuzImportNoteOfFile(fileName); !note.empty())
        std::cerr << PrintableUtf8(note);
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
        text += Cp1250ToPrintableUtf8(row) + "\n";
    }
    for (const auto& item : doc.ExplsInNumberOrder()) {
        const TExpl& e = item.Expl;
        text += std::to_string(item.Number) + ". " + (e.Horizontal ? "H " : "V ") + std::to_string(e.Col) + ","
            + std::to_string(e.Row) + ": " + Cp1250ToPrintableUtf8(e.Explanation);
        if (!e.Audio.empty())
            text += " [" + Cp1250ToPrintableUtf8(e.Audio) + "]";
        if (answers)
            text += " = " + (e.Answer.empty() ? std::string("?") : Cp1250ToPrintableUtf8(e.Answer));
        text += "\n";
    }
    const TPhrase& phrase = doc.Phrase();
    if (!phrase.Empty()) {
        text += "Pola rozwiązania:";
        for (size_t i = 0; i < phrase.Cells.size(); ++i)
            text += (i == 0 ? " " : "; ") + std::to_string(i + 1) + ": " + std::to_string(phrase.Cells[i].Col) + ","
                + std::to_string(phrase.Cells[i].Row);
        text += "\n";
        if (answers)
            text += "Rozwiązanie: " + Cp1250ToPrintableUtf8(phrase.Text) + "\n";
    }
    return text;
}

void RefuseSameFiles(const std::vector<std::string>& inputs, const std::vector<std::string>& outputs)
{
    for (size_t i = 0; i < outputs.size(); ++i) {
        if (outputs[i].empty())
            continue;
        for (const auto& input : inputs)
            if (!input.empty() && IsSameFile(outputs[i], input))
                throw EMirakolnikError("Plik wynikowy " + outputs[i] + " jest tym samym plikiem co " + input
                                       + "; niczego nie zapisano");
        for (size_t j = i + 1; j < outputs.size(); ++j)
            if (!outputs[j].empty() && IsSameFile(outputs[i], outputs[j]))
                throw EMirakolnikError("Pliki wynikowe " + outputs[i] + " i " + outputs[j]
                                       + " są tym samym plikiem; niczego nie zapisano");
    }
}

} // namespace mz::cli
