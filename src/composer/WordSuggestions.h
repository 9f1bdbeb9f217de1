#pragma once

#include "core/Table.h"
#include "database/DB.h"

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

namespace mz {

// A run of a row or column that holds one word: the cells between blocks or
// edges through a cell, with its letters and ' ' for its free cells.
struct TGridSlot {
    int32_t Col = 0; // first cell, from 1
    int32_t Row = 0;
    bool Horizontal = true;
    std::string Pattern;

    bool Found() const { return Col != 0; }
    int32_t Length() const { return static_cast<int32_t>(Pattern.size()); }
    bool Complete() const { return !Pattern.empty() && Pattern.find(TTable::Free) == std::string::npos; }
    bool operator==(const TGridSlot&) const = default;
};

// The run through (col, row) in one direction; not found on a block or when
// the run is shorter than minLen.
TGridSlot SlotAt(const TTable& grid, int32_t col, int32_t row, bool horizontal, int32_t minLen);
// Every run of at least minLen cells, across row by row, then down column by column.
std::vector<TGridSlot> GridSlots(const TTable& grid, int32_t minLen);
// The words the grid already holds: its complete runs of at least minLen letters.
std::unordered_set<std::string> WordsInGrid(const TTable& grid, int32_t minLen);

struct TWordSuggestion {
    std::string Word; // CP1250, as stored
    int32_t Score = -1;
    bool operator==(const TWordSuggestion&) const = default;
};

// The words of the database's Words that fit the pattern exactly (its length,
// its letters), leaving out those in `used`, each once: the most common first,
// equal commonness in alphabetical byte order. At most `limit` (0: all).
std::vector<TWordSuggestion> SuggestWords(const TDB& db, std::string_view pattern,
                                          const std::unordered_set<std::string>& used, size_t limit = 0);
// How many different words SuggestWords would give without a limit.
int32_t CountFitting(const TDB& db, std::string_view pattern, const std::unordered_set<std::string>& used);

// Fitting words of the across and down run through a cell; -1 where there is
// no run. A complete run counts its own word (1 when the database knows it, else 0).
struct TSlotFits {
    int32_t Across = -1;
    int32_t Down = -1;
    bool operator==(const TSlotFits&) const = default;
};
TSlotFits FitsAt(const TTable& grid, const TDB& db, int32_t col, int32_t row, int32_t minLen,
                 const std::unordered_set<std::string>& used);

} // namespace mz
