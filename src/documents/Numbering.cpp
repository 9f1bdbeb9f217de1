#include "documents/Numbering.h"

#include "documents/CrossSolution.h"

#include <algorithm>

namespace mz {

TNumbering::TNumbering(const TCrossTXT& doc)
    : FColCount(std::max(doc.ColCount(), 0)), FRowCount(std::max(doc.RowCount(), 0))
{
    FCellNumbers.assign(size_t(FColCount) * size_t(FRowCount), 0);
    const std::vector<TExplList> expls = doc.ExplsInNumberOrder();
    FExplNumbers.assign(size_t(doc.ExplCount()) + 1, 0);

    // Start cells inside the grid, in reading order; one number each.
    std::vector<TCellPos> starts;
    for (const TExplList& item : expls)
        if (item.Expl.Col >= 1 && item.Expl.Col <= FColCount && item.Expl.Row >= 1 && item.Expl.Row <= FRowCount)
            starts.push_back({item.Expl.Col, item.Expl.Row});
    std::sort(starts.begin(), starts.end(), [](const TCellPos& a, const TCellPos& b) {
        return a.Row != b.Row ? a.Row < b.Row : a.Col < b.Col;
    });
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    for (const TCellPos& start : starts)
        FCellNumbers[size_t(start.Col - 1) * size_t(FRowCount) + size_t(start.Row - 1)] = ++FCount;

    for (const TExplList& item : expls) {
        const int32_t number = NumberAt(item.Expl.Col, item.Expl.Row);
        if (number == 0)
            continue;
        if (item.Number >= 1 && size_t(item.Number) < FExplNumbers.size())
            FExplNumbers[size_t(item.Number)] = number;
        TNumberedWord word{number, item.Number, item.Expl, int32_t(WordCells(doc, item.Expl).size())};
        (item.Expl.Horizontal ? FAcross : FDown).push_back(std::move(word));
    }
    const auto byNumber = [](const TNumberedWord& a, const TNumberedWord& b) { return a.Number < b.Number; };
    std::stable_sort(FAcross.begin(), FAcross.end(), byNumber);
    std::stable_sort(FDown.begin(), FDown.end(), byNumber);
}

int32_t TNumbering::NumberAt(int32_t col, int32_t row) const
{
    if (col < 1 || col > FColCount || row < 1 || row > FRowCount)
        return 0;
    return FCellNumbers[size_t(col - 1) * size_t(FRowCount) + size_t(row - 1)];
}

int32_t TNumbering::NumberOfExpl(int32_t expl) const
{
    return expl >= 1 && size_t(expl) < FExplNumbers.size() ? FExplNumbers[size_t(expl)] : 0;
}

} // namespace mz
