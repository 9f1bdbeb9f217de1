#include "core/Table.h"

#include <algorithm>

namespace mz {

namespace {
const char* const BadIndexMessage = "Niewłaściwy indeks tabeli";
}

TTable::TTable(int32_t colCount, int32_t rowCount) : FColCount(colCount), FRowCount(rowCount)
{
    if (colCount < 0 || rowCount < 0)
        throw EInvalidCrossKwelinOperation(BadIndexMessage);
    FCells.assign(static_cast<size_t>(colCount) * static_cast<size_t>(rowCount), Free);
}

void TTable::BadIndex()
{
    throw EInvalidCrossKwelinOperation(BadIndexMessage);
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

std::vector<std::string> TTable::Words(int32_t minLen) const
{
    std::vector<std::string> words;
    // Walks one line with an edge after it; `open` tells whether the run now
    // being read began next to a free cell.
    auto walk = [&](int32_t count, auto cellAt) {
        std::string run;
        bool open = false;
        for (int32_t i = 1; i <= count + 1; ++i) {
            const char cell = i <= count ? cellAt(i) : Block;
            if (IsLetter(cell)) {
                run += cell;
                continue;
            }
            if (!open && cell == Block && static_cast<int32_t>(run.size()) >= minLen)
                words.push_back(run);
            run.clear();
            open = cell == Free;
        }
    };
    for (int32_t r = 1; r <= FRowCount; ++r)
        walk(FColCount, [&](int32_t c) { return GetCell(c, r); });
    for (int32_t c = 1; c <= FColCount; ++c)
        walk(FRowCount, [&](int32_t r) { return GetCell(c, r); });
    return words;
}

} // namespace mz
