#pragma once

#include "core/CellChars.h"
#include "core/Error.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mz {

// The composer's error: a bad grid index, a block in a run to check, or a
// choice from an empty candidate list.
class EInvalidCrossKwelinOperation : public EMirakolnikError {
public:
    using EMirakolnikError::EMirakolnikError;
};

// A grid of cells, one byte each (the cell characters of CellChars.h: ' '
// free, '*' block, any other byte a letter), as the composer fills it and the
// window's preview shows it. Columns and rows count from 1.
class TTable {
public:
    static constexpr char Free = static_cast<char>(BlankCell);
    static constexpr char Block = static_cast<char>(BlockedCell);

    // The cells start as free cells; the composer overwrites all of them at once.
    TTable(int32_t colCount, int32_t rowCount);

    int32_t ColCount() const { return FColCount; }
    int32_t RowCount() const { return FRowCount; }

    char GetCell(int32_t col, int32_t row) const { return FCells[Index(col, row)]; }
    void SetCell(int32_t col, int32_t row, char value)
    {
        char& cell = FCells[Index(col, row)];
        FFilled += (value != Free ? 1 : 0) - (cell != Free ? 1 : 0);
        cell = value;
    }

    bool Contains(int32_t col, int32_t row) const
    {
        return col >= 1 && col <= FColCount && row >= 1 && row <= FRowCount;
    }

    // Every cell, row after row.
    std::string_view Cells() const { return std::string_view(FCells.data(), FCells.size()); }
    // Cells of row `row`, columns 1..ColCount; of column `col`, rows 1..RowCount.
    std::string RowLine(int32_t row) const;
    std::string ColLine(int32_t col) const;

    // Cells that are not free (letters and blocks).
    int32_t FilledCount() const { return FFilled; }
    // The words standing in the grid: every run of at least `minLen` letters
    // shut in by blocks or edges at both ends, across row by row, then down
    // column by column. A run with a free cell beside it is not a word yet.
    std::vector<std::string> Words(int32_t minLen) const;

    bool operator==(const TTable&) const = default;

    static bool IsLetter(char c) { return c != Free && c != Block; }

private:
    size_t Index(int32_t col, int32_t row) const
    {
        if (!Contains(col, row))
            BadIndex();
        return static_cast<size_t>(col - 1) + static_cast<size_t>(row - 1) * static_cast<size_t>(FColCount);
    }
    [[noreturn]] static void BadIndex();

    std::vector<char> FCells;
    int32_t FColCount;
    int32_t FRowCount;
    int32_t FFilled = 0;
};

} // namespace mz
