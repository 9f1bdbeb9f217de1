#include "composer/WordSuggestions.h"

#include <algorithm>

namespace mz {

TGridSlot SlotAt(const TTable& grid, int32_t col, int32_t row, bool horizontal, int32_t minLen)
{
    if (!grid.Contains(col, row) || grid.GetCell(col, row) == TTable::Block)
        return {};
    const int32_t dc = horizontal ? 1 : 0;
    const int32_t dr = horizontal ? 0 : 1;
    auto open = [&](int32_t c, int32_t r) { return grid.Contains(c, r) && grid.GetCell(c, r) != TTable::Block; };
    int32_t c = col;
    int32_t r = row;
    while (open(c - dc, r - dr)) {
        c -= dc;
        r -= dr;
    }
    TGridSlot slot{c, r, horizontal, {}};
    for (; open(c, r); c += dc, r += dr)
        slot.Pattern += grid.GetCell(c, r);
    if (slot.Length() < std::max(minLen, 1))
        return {};
    return slot;
}

std::vector<TGridSlot> GridSlots(const TTable& grid, int32_t minLen)
{
    std::vector<TGridSlot> slots;
    for (const bool horizontal : {true, false})
        for (int32_t r = 1; r <= grid.RowCount(); ++r)
            for (int32_t c = 1; c <= grid.ColCount(); ++c) {
                const bool first = horizontal ? c == 1 || grid.GetCell(c - 1, r) == TTable::Block
                                              : r == 1 || grid.GetCell(c, r - 1) == TTable::Block;
                if (!first)
                    continue;
                TGridSlot slot = SlotAt(grid, c, r, horizontal, minLen);
                if (slot.Found())
                    slots.push_back(std::move(slot));
            }
    return slots;
}

std::unordered_set<std::string> WordsInGrid(const TTable& grid, int32_t minLen)
{
    std::unordered_set<std::string> words;
    for (const TGridSlot& slot : GridSlots(grid, minLen))
        if (slot.Complete())
            words.insert(slot.Pattern);
    return words;
}

namespace {

// The fitting records' distinct words, each with the highest score it has.
std::vector<TWordSuggestion> Fitting(const TDB& db, std::string_view pattern,
                                     const std::unordered_set<std::string>& used)
{
    std::vector<uint32_t> ids;
    db.FindFitting(pattern, ids);
    std::vector<TWordSuggestion> words;
    words.reserve(ids.size());
    for (const uint32_t id : ids) {
        std::string word(db.Word(id));
        if (!used.contains(word))
            words.push_back(TWordSuggestion{std::move(word), db.Score(id)});
    }
    std::sort(words.begin(), words.end(), [](const TWordSuggestion& a, const TWordSuggestion& b) {
        return a.Word != b.Word ? a.Word < b.Word : a.Score > b.Score;
    });
    words.erase(std::unique(words.begin(), words.end(),
                            [](const TWordSuggestion& a, const TWordSuggestion& b) { return a.Word == b.Word; }),
                words.end());
    return words;
}

} // namespace

std::vector<TWordSuggestion> SuggestWords(const TDB& db, std::string_view pattern,
                                          const std::unordered_set<std::string>& used, size_t limit)
{
    std::vector<TWordSuggestion> words = Fitting(db, pattern, used);
    // Bytes compare unsigned, so the Polish capitals (CP1250 above 127) come after Z.
    auto better = [](const TWordSuggestion& a, const TWordSuggestion& b) {
        if (a.Score != b.Score)
            return a.Score > b.Score;
        return std::lexicographical_compare(a.Word.begin(), a.Word.end(), b.Word.begin(), b.Word.end(),
                                            [](char x, char y) {
                                                return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
                                            });
    };
    if (limit > 0 && limit < words.size()) {
        std::partial_sort(words.begin(), words.begin() + static_cast<std::ptrdiff_t>(limit), words.end(), better);
        words.resize(limit);
    } else {
        std::sort(words.begin(), words.end(), better);
    }
    return words;
}

int32_t CountFitting(const TDB& db, std::string_view pattern, const std::unordered_set<std::string>& used)
{
    return static_cast<int32_t>(Fitting(db, pattern, used).size());
}

TSlotFits FitsAt(const TTable& grid, const TDB& db, int32_t col, int32_t row, int32_t minLen,
                 const std::unordered_set<std::string>& used)
{
    TSlotFits fits;
    const TGridSlot across = SlotAt(grid, col, row, true, minLen);
    const TGridSlot down = SlotAt(grid, col, row, false, minLen);
    // A complete run counts its own word: 1 when the database knows it.
    auto count = [&](const TGridSlot& slot) {
        return CountFitting(db, slot.Pattern, slot.Complete() ? std::unordered_set<std::string>{} : used);
    };
    if (across.Found())
        fits.Across = count(across);
    if (down.Found())
        fits.Down = count(down);
    return fits;
}

} // namespace mz
