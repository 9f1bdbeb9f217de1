// The text export: a title, the grid row by row, then the across and the down
// clues in chain order, each led by the position of its first letter.
#include "documents/CrossTXT.h"

#include "core/Cp1250.h"
#include "core/FileNames.h"

#include "documents/FileReplacement.h"

namespace mz {

std::string TCrossTXT::TextExport(const std::string& name) const
{
    const std::string crlf = "\r\n";
    std::string text = "Mirakolnik Zodevidar - " + Utf8ToCp1250(FileNamePart(name)) + crlf;
    for (int32_t r = 1; r <= FRowCount; ++r) {
        for (int32_t c = 1; c <= FColCount; ++c)
            text.push_back(static_cast<char>(GetCell(c, r)));
        text += crlf;
    }
    const auto clues = [&](bool horizontal) {
        for (auto it = Expls.rbegin(); it != Expls.rend(); ++it)
            if (it->Expl.Horizontal == horizontal)
                text += std::to_string(it->Expl.Col) + "," + std::to_string(it->Expl.Row) + ")\t" + it->Expl.Explanation
                    + crlf;
    };
    text += "Poziomo:" + crlf;
    clues(true);
    text += "Pionowo:" + crlf;
    clues(false);
    return text;
}

void TCrossTXT::ExportAsText(const std::string& name) const
{
    const auto fail = [&] { return EIOOperation(FormatMessage(MsgWriteError, name)); };
    std::string text;
    try {
        text = TextExport(name);
    } catch (const EIOOperation&) {
        throw fail();
    }
    // Written beside the target first, so a failed export never leaves a
    // half-written file in place of an earlier one.
    try {
        ReplaceFileContents(name, text);
    } catch (const EIOOperation&) {
        throw fail();
    }
}

} // namespace mz
