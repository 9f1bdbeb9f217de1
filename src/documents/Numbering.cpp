#include "documents/Numbering.h"

#include "core/CellChars.h"
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

std::optional<TCellPos> FirstEmptyCell(const TCrossTXT& doc, const TExpl& expl)
{
    for (const TCellPos& cell : WordCells(doc, expl)) {
        const unsigned char ch = doc.GetCell(cell.Col, cell.Row);
        if (ch == BlankCell || ch == HiddenLetterCell)
            return cell;
    }
    return std::nullopt;
}

std::optional<TTypingPlace> NextEmptyPlace(const TCrossTXT& doc, const TNumbering& numbering, int32_t expl)
{
    const std::vector<TNumberedWord>* lists[2] = {&numbering.Across(), &numbering.Down()};
    for (int list = 0; list < 2; ++list) {
        const std::vector<TNumberedWord>& own = *lists[list];
        const auto at =
            std::find_if(own.begin(), own.end(), [expl](const TNumberedWord& word) { return word.Expl == expl; });
        if (at == own.end())
            continue;
        const std::vector<TNumberedWord>& other = *lists[1 - list];
        // The word itself, the rest of its list, the other list, the start of its list.
        std::vector<const TNumberedWord*> order;
        for (auto it = at; it != own.end(); ++it)
            order.push_back(&*it);
        for (const TNumberedWord& word : other)
            order.push_back(&word);
        for (auto it = own.begin(); it != at; ++it)
            order.push_back(&*it);
        for (const TNumberedWord* word : order)
            if (const auto cell = FirstEmptyCell(doc, word->Word))
                return TTypingPlace{*cell, word->Word.Horizontal};
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace mz
