#include "composer/ConstructGrid.h"

#include "composer/WordSuggestions.h"
#include "core/CellChars.h"

#include <algorithm>

namespace mz {

namespace {

int32_t ColStep(bool horizontal)
{
    return horizontal ? 1 : 0;
}

int32_t RowStep(bool horizontal)
{
    return horizontal ? 0 : 1;
}

} // namespace

TLockedWord WordThrough(const TTable& grid, int32_t col, int32_t row, bool horizontal)
{
    const int32_t dc = ColStep(horizontal);
    const int32_t dr = RowStep(horizontal);
    auto letter = [&](int32_t c, int32_t r) { return grid.Contains(c, r) && TTable::IsLetter(grid.GetCell(c, r)); };
    if (!letter(col, row))
        return {};
    while (letter(col - dc, row - dr)) {
        col -= dc;
        row -= dr;
    }
    TLockedWord word{col, row, horizontal, 0};
    while (letter(col + word.Length * dc, row + word.Length * dr))
        ++word.Length;
    return word.Length >= 2 ? word : TLockedWord{};
}

std::string LettersOf(const TTable& grid, const TLockedWord& word)
{
    std::string letters;
    for (int32_t i = 0; i < word.Length; ++i)
        letters += grid.GetCell(word.Col + i * ColStep(word.Horizontal), word.Row + i * RowStep(word.Horizontal));
    return letters;
}

std::vector<std::string> UnknownWords(const TTable& grid, const TDB& db, int32_t minLen)
{
    std::vector<std::string> unknown;
    for (const TGridSlot& slot : GridSlots(grid, 1)) {
        std::string run;
        for (const char ch : slot.Pattern + ' ') {
            if (TTable::IsLetter(ch)) {
                run += ch;
                continue;
            }
            if (static_cast<int32_t>(run.size()) >= minLen && db.FindWord(run) < 0
                && std::find(unknown.begin(), unknown.end(), run) == unknown.end())
                unknown.push_back(run);
            run.clear();
        }
    }
    return unknown;
}

void SetWordLocked(TCrossTXT& doc, const TLockedWord& word, bool lock)
{
    doc.SetLocked(word, lock);
    if (!lock)
        return;
    for (const int32_t i : {-1, word.Length}) {
        const int32_t c = word.Col + i * ColStep(word.Horizontal);
        const int32_t r = word.Row + i * RowStep(word.Horizontal);
        if (c >= 1 && r >= 1 && c <= doc.ColCount() && r <= doc.RowCount() && doc.GetCell(c, r) == BlankCell)
            doc.SetCell(c, r, BlockedCell);
    }
}

void SetOwnClue(TCrossTXT& doc, const TLockedWord& word, const std::string& clue, const std::string& answer)
{
    for (int32_t n = 1; n <= doc.ExplCount(); ++n) {
        TExpl e = doc.GetExpl(n);
        if (e.Col == word.Col && e.Row == word.Row && e.Horizontal == word.Horizontal) {
            e.Explanation = clue;
            e.Answer = answer;
            doc.SetExpl(n, e);
            return;
        }
    }
    doc.AddExpl(TExpl(word.Col, word.Row, clue, "", word.Horizontal, answer));
    doc.Modified = true;
}

std::vector<TOwnWord> OwnWordsOutside(const TCrossTXT& doc, const TDB& db)
{
    std::vector<TOwnWord> own;
    for (int32_t n = 1; n <= doc.ExplCount(); ++n) {
        const TExpl e = doc.GetExpl(n);
        if (!e.Answer.empty() && !e.Explanation.empty() && db.FindWord(e.Answer) < 0)
            own.push_back({e.Answer, e.Explanation});
    }
    return own;
}

} // namespace mz
