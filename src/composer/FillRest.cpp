#include "composer/FillRest.h"

#include "composer/WordSuggestions.h"

#include <algorithm>

namespace mz {

namespace {

// The answer of the explanation that starts the word, when it has the word's length.
std::string AnswerOf(const TCrossTXT& document, const TLockedWord& word)
{
    for (const TExplList& item : document.ExplsInNumberOrder()) {
        const TExpl& e = item.Expl;
        if (e.Col == word.Col && e.Row == word.Row && e.Horizontal == word.Horizontal
            && static_cast<int32_t>(e.Answer.size()) == word.Length)
            return e.Answer;
    }
    return {};
}

std::string Where(const TLockedWord& word)
{
    return std::string(word.Horizontal ? "poziomo" : "pionowo") + ", kolumna " + std::to_string(word.Col) + ", wiersz "
        + std::to_string(word.Row);
}

[[noreturn]] void Refuse(const TLockedWord& word, const char* why)
{
    throw EInvalidCrossKwelinOperation("Zablokowanego hasła (" + Where(word) + ") nie da się zachować: " + why);
}

TFillArea AreaOf(const TGridSlot& slot)
{
    const int32_t last = slot.Length() - 1;
    return slot.Horizontal ? TFillArea{slot.Col, slot.Row, slot.Col + last, slot.Row}
                           : TFillArea{slot.Col, slot.Row, slot.Col, slot.Row + last};
}

} // namespace

std::string TFillArea::Text() const
{
    auto span = [](int32_t a, int32_t b) {
        return a == b ? std::to_string(a) : std::to_string(a) + "–" + std::to_string(b);
    };
    if (Row1 == Row2)
        return "wiersz " + std::to_string(Row1) + ", kolumny " + span(Col1, Col2);
    if (Col1 == Col2)
        return "kolumna " + std::to_string(Col1) + ", wiersze " + span(Row1, Row2);
    return "kolumny " + span(Col1, Col2) + ", wiersze " + span(Row1, Row2);
}

TTable KeptTemplate(const TCrossTXT& document)
{
    TTable grid = TableFromDocument(document);
    for (const TLockedWord& word : document.LockedWords()) {
        const int32_t dc = word.Horizontal ? 1 : 0;
        const int32_t dr = word.Horizontal ? 0 : 1;
        const std::string answer = AnswerOf(document, word);
        if (word.Length < 1 || !grid.Contains(word.Col, word.Row)
            || !grid.Contains(word.Col + (word.Length - 1) * dc, word.Row + (word.Length - 1) * dr))
            Refuse(word, "wychodzi poza siatkę");
        for (int32_t i = 0; i < word.Length; ++i) {
            const int32_t c = word.Col + i * dc;
            const int32_t r = word.Row + i * dr;
            const char cell = grid.GetCell(c, r);
            const char known = answer.empty() ? TTable::Free : answer[static_cast<size_t>(i)];
            if (cell == TTable::Block)
                Refuse(word, "przechodzi przez czarne pole");
            if (TTable::IsLetter(cell) && known != TTable::Free && known != cell)
                Refuse(word, "jego litera różni się od litery w siatce");
            if (cell == TTable::Free && known == TTable::Free)
                Refuse(word, "ma pole bez litery");
            if (cell == TTable::Free)
                grid.SetCell(c, r, known);
        }
        for (const int32_t i : {-1, word.Length}) {
            const int32_t c = word.Col + i * dc;
            const int32_t r = word.Row + i * dr;
            if (!grid.Contains(c, r))
                continue;
            if (TTable::IsLetter(grid.GetCell(c, r)))
                Refuse(word, "styka się z literą, która nie należy do niego");
            grid.SetCell(c, r, TTable::Block);
        }
    }
    return grid;
}

void RestoreOwnParts(const TCrossTXT& from, TCrossTXT& result)
{
    const bool modified = result.Modified;
    const std::vector<TExplList> own = from.ExplsInNumberOrder();
    for (const TExplList& item : result.ExplsInNumberOrder()) {
        const TExpl& e = item.Expl;
        const auto same = std::find_if(own.begin(), own.end(), [&](const TExplList& o) {
            return o.Expl.Col == e.Col && o.Expl.Row == e.Row && o.Expl.Horizontal == e.Horizontal
                && o.Expl.Answer == e.Answer;
        });
        if (same == own.end() || e.Answer.empty())
            continue;
        TExpl kept = e;
        kept.Explanation = same->Expl.Explanation;
        kept.Audio = same->Expl.Audio;
        result.SetExpl(item.Number, kept);
    }
    for (const TLockedWord& word : from.LockedWords())
        result.SetLocked(word, true);
    result.Modified = modified;
}

std::vector<TLockedWord> LostLockedWords(const TCrossTXT& from, const TTable& kept, const TCrossTXT& result)
{
    std::vector<TLockedWord> lost;
    const std::vector<TExplList> words = result.ExplsInNumberOrder();
    for (const TLockedWord& word : from.LockedWords()) {
        const TGridSlot slot = SlotAt(kept, word.Col, word.Row, word.Horizontal, 1);
        const bool standing = std::any_of(words.begin(), words.end(), [&](const TExplList& item) {
            const TExpl& e = item.Expl;
            return e.Col == word.Col && e.Row == word.Row && e.Horizontal == word.Horizontal
                && e.Answer == slot.Pattern;
        });
        if (!standing)
            lost.push_back(word);
    }
    return lost;
}

TFillArea StuckArea(const TTable& kept, const TDB& db, const TComposerSettings& settings)
{
    const int32_t minLen = std::max(settings.MinLenPWord, 1);
    if (settings.FillExact) {
        const std::unordered_set<std::string> standing = WordsInGrid(kept, minLen);
        for (const TGridSlot& slot : GridSlots(kept, minLen))
            if (!slot.Complete() && CountFitting(db, slot.Pattern, standing) == 0)
                return AreaOf(slot);
        return {};
    }
    // A group of two or more letters with a free cell beside it must become
    // part of a word of its stretch.
    for (const TGridSlot& slot : GridSlots(kept, 1)) {
        if (slot.Complete())
            continue;
        const std::string& p = slot.Pattern;
        for (size_t at = 0; at < p.size();) {
            if (!TTable::IsLetter(p[at])) {
                ++at;
                continue;
            }
            size_t end = at;
            while (end < p.size() && TTable::IsLetter(p[end]))
                ++end;
            if (end - at >= 2 && !db.AnyWordFits(p, p.substr(at, end - at)))
                return AreaOf(slot);
            at = end;
        }
    }
    return {};
}

std::string FillFailureMessage(const std::string& message, const TFillArea& area)
{
    return area.Empty() ? message : message + " (obszar: " + area.Text() + ")";
}

} // namespace mz
