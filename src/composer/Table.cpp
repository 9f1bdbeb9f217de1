#include "composer/Table.h"

#include <algorithm>

namespace mz {

namespace {
const char* const BadIndex = "Niewłaściwy indeks tabeli";
}

TTable::TTable(int32_t colCount, int32_t rowCount)
    : FColCount(colCount), FRowCount(rowCount)
{
    if (colCount < 0 || rowCount < 0)
        throw EInvalidCrossKwelinOperation(BadIndex);
    Cells.assign(static_cast<size_t>(colCount) * static_cast<size_t>(rowCount), Free);
}

size_t TTable::Index(int32_t col, int32_t row) const
{
    if (!Contains(col, row))
        throw EInvalidCrossKwelinOperation(BadIndex);
    return static_cast<size_t>(col - 1) + static_cast<size_t>(row - 1) * static_cast<size_t>(FColCount);
}

std::string TTable::RowLine(int32_t row) const
{
    std::string line;
    line.reserve(FColCount);
    for (int32_t c = 1; c <= FColCount; ++c)
        line += GetCell(c, row);
    return line;
}

std::string TTable::ColLine(int32_t col) const
{
    std::string line;
    line.reserve(FRowCount);
    for (int32_t r = 1; r <= FRowCount; ++r)
        line += GetCell(col, r);
    return line;
}

int32_t TTable::FilledCount() const
{
    return static_cast<int32_t>(std::count_if(Cells.begin(), Cells.end(), [](char c) { return c != Free; }));
}

} // namespace mz
