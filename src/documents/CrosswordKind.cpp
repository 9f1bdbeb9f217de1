#include "documents/CrosswordKind.h"

#include "documents/ClassicKind.h"

#include <algorithm>

namespace mz {

TCellFaces::TCellFaces(int32_t colCount, int32_t rowCount)
    : FColCount(std::max(colCount, 0)), FRowCount(std::max(rowCount, 0)), FFaces(size_t(FColCount) * size_t(FRowCount))
{
}

const TCellFace& TCellFaces::At(int32_t col, int32_t row) const
{
    static const TCellFace missing;
    if (col < 1 || row < 1 || col > FColCount || row > FRowCount)
        return missing;
    return FFaces[size_t(col - 1) * size_t(FRowCount) + size_t(row - 1)];
}

TCellFace& TCellFaces::operator[](TCellPos cell)
{
    return FFaces[size_t(cell.Col - 1) * size_t(FRowCount) + size_t(cell.Row - 1)];
}

const TCrosswordKind& KindOf(const TCrossTXT&)
{
    static const TClassicKind classic;
    return classic;
}

} // namespace mz
