// The text export: a title, the grid row by row, then the across and the down
// clues in chain order, each led by the position of its first letter.
#include "documents/CrossTXT.h"

#include "core/Cp1250.h"
#include "core/FileNames.h"
#include "documents/CrosswordKind.h"
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
    for (const TDirection dir : {TDirection::Across, TDirection::Down}) {
        text += KindOf(*this).Heading(dir) + ":" + crlf;
        for (auto it = Expls.rbegin(); it != Expls.rend(); ++it)
            if (DirectionOf(it->Expl.Horizontal) == dir)
                text += std::to_string(it->Expl.Col) + "," + std::to_string(it->Expl.Row) + ")\t" + it->Expl.Explanation
                    + crlf;
    }
    return text;
}

void TCrossTXT::ExportAsText(const std::string& name) const
{
    WriteExportFile(name, [&] { return TextExport(name); });
}

} // namespace mz
