#include "documents/GridReady.h"

#include "core/Cp1250.h"

#include <exception>

namespace mz {

bool FitsGrid(const TCrossTXT& doc)
{
    // Rows of unequal length leave gaps in the grid.
    if (doc.ColCount() < 4 || doc.RowCount() < 3 || !doc.IsComplete())
        return false;
    for (int32_t c = 1; c <= doc.ColCount(); ++c)
        for (int32_t r = 1; r <= doc.RowCount(); ++r)
            if (!IsCellChar(doc.GetCell(c, r)))
                return false;
    return true;
}

std::optional<TCrossTXT> ReadForGrid(const std::string& fileName)
{
    TCrossTXT doc;
    try {
        doc.LoadFromFile(fileName);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (!FitsGrid(doc))
        return std::nullopt;
    return doc;
}

} // namespace mz
