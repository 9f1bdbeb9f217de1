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

    // Open start cells inside the grid, in reading order; one number each. A
    // word whose first cell is a block or off the grid has no number.
    std::vector<int32_t> lengths;
    std::vector<TCellPos> starts;
    for (const TExplList& item : expls) {
        lengths.push_back(int32_t(WordCells(doc, item.Expl).size()));
        if (lengths.back() > 0)
            starts.push_back({item.Expl.Col, item.Expl.Row});
    }
    std::sort(starts.begin(), starts.end(), [](const TCellPos& a, const TCellPos& b) {
        return a.Row != b.Row ? a.Row < b.Row : a.Col < b.Col;
    });
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    for (const TCellPos& start : starts)
        FCellNumbers[size_t(start.Col - 1) * size_t(FRowCount) + size_t(start.Row - 1)] = ++FCount;

    for (size_t i = 0; i < expls.size(); ++i) {
        const TExplList& item = expls[i];
        const int32_t number = lengths[i] > 0 ? NumberAt(item.Expl.Col, item.Expl.Row) : 0;
        if (number == 0)
            continue;
        if (item.Number >= 1 && size_t(item.Number) < FExplNumbers.size())
            FExplNumbers[size_t(item.Number)] = number;
        TNumberedWord word{number, item.Number, item.Expl, lengths[i]};
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
