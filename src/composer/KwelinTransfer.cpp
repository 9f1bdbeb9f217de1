#include "composer/Kwelin.h"
#include "core/Cp1250.h"
#include "database/Commonness.h"
#include "documents/CrossTXT.h"

#include <algorithm>
#include <set>
#include <vector>

namespace mz {

namespace {

// The lines of a record's text, without their CR LF.
std::vector<std::string> ClueLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", from)) {
        lines.push_back(text.substr(from, at - from));
        from = at + 2;
    }
    return lines;
}

// A clue's terms, upper-cased: the parts between ", ", "rodzaj: " left out.
std::vector<std::string> ClueTerms(const std::string& clue)
{
    std::string_view text = clue;
    if (text.starts_with("rodzaj: "))
        text.remove_prefix(8);
    std::vector<std::string> terms;
    while (!text.empty()) {
        const size_t comma = text.find(", ");
        std::string term(text.substr(0, comma));
        for (char& c : term)
            c = static_cast<char>(Cp1250ToUpper(static_cast<unsigned char>(c)));
        terms.push_back(std::move(term));
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 2);
    }
    return terms;
}

} // namespace

void TCrossKwelin::TransferTo(TCrossTXT& document)
{
    const std::string fileName = document.FileName;
    document.Clear();
    document.FileName = fileName;
    document.SetColCount(FTable.ColCount());
    document.SetRowCount(FTable.RowCount());
    document.Kind = 0;
    // The document gets the shape only; the letters live in the words' answers.
    for (int32_t c = 1; c <= FTable.ColCount(); ++c)
        for (int32_t r = 1; r <= FTable.RowCount(); ++r)
            document.SetCell(c, r, FTable.GetCell(c, r) == TTable::Block ? TTable::Block : TTable::Free);

    // Document texts are CP1250.
    static const std::string missingClue = Utf8ToCp1250("brak objaśnienia!\r\n");
    // The clue the level asks for, among those that share no term with a clue
    // chosen before (else the level's own); the draw is made either way.
    std::set<std::string> usedTerms;
    auto ChooseClue = [&](const std::string& clues) {
        const std::string drawn = PickLine(clues);
        const std::vector<std::string> lines = ClueLines(clues);
        if (lines.empty())
            return drawn;
        const size_t count = lines.size();
        size_t first = static_cast<size_t>(std::find(lines.begin(), lines.end(), drawn) - lines.begin()) % count;
        if (FSettings.ClueChoice == ccCommonest)
            first = 0;
        else if (FSettings.ClueChoice == ccRarest)
            first = count - 1;
        const size_t step = FSettings.ClueChoice == ccRarest ? count - 1 : 1;
        const auto shared = [&](const std::string& term) {
            const auto terms = ClueTerms(term);
            return !terms.empty() && usedTerms.count(terms.front()) != 0;
        };
        size_t chosen = first;
        bool free = false;
        for (size_t i = 0, at = first; i < count && !free; ++i, at = (at + step) % count) {
            const auto terms = ClueTerms(lines[at]);
            free = std::none_of(terms.begin(), terms.end(), [&](const std::string& t) { return usedTerms.count(t); });
            chosen = free ? at : chosen;
        }
        std::string clue = lines[chosen];
        // Every clue shares a term: the level's one loses its shared terms
        // while others stay ("setka, stówa" after "sto, stówa" gives "setka").
        if (!free && !clue.starts_with("rodzaj: ")) {
            std::string kept;
            size_t from = 0;
            while (from <= clue.size()) {
                const size_t comma = std::min(clue.find(", ", from), clue.size());
                const std::string term = clue.substr(from, comma - from);
                if (!shared(term))
                    kept += (kept.empty() ? "" : ", ") + term;
                from = comma + 2;
            }
            if (kept.size() >= 3)
                clue = kept;
        }
        for (auto& term : ClueTerms(clue))
            usedTerms.insert(std::move(term));
        return clue;
    };
    auto addExpl = [&](const std::string& word, int32_t col, int32_t row, bool horizontal) {
        const int64_t record = DB->FindWord(word);
        const auto index = static_cast<uint32_t>(record);
        const std::string clues = record >= 0 ? std::string(DB->ExplLines(index)) : missingClue;
        const std::string sounds = record >= 0 ? std::string(DB->AudioLines(index)) : std::string();
        TExpl expl;
        expl.Col = col;
        expl.Row = row;
        expl.Horizontal = horizontal;
        expl.Explanation = ChooseClue(clues);
        expl.Audio = PickLine(sounds);
        expl.Answer = word;
        document.AddExpl(expl);
    };
    // Walks one line with a block assumed before it and after it; a run of
    // MinLenPWord letters or more becomes a word.
    auto walk = [&](int32_t count, auto cellAt, auto addAt) {
        std::string run;
        int32_t start = 0;
        for (int32_t i = 1; i <= count + 1; ++i) {
            const char cell = i <= count ? cellAt(i) : TTable::Block;
            if (cell != TTable::Block) {
                if (run.empty())
                    start = i;
                run += cell;
                continue;
            }
            if (static_cast<int32_t>(run.size()) >= FSettings.MinLenPWord)
                addAt(run, start);
            run.clear();
        }
    };
    for (int32_t r = 1; r <= FTable.RowCount(); ++r)
        walk(
            FTable.ColCount(), [&](int32_t c) { return FTable.GetCell(c, r); },
            [&](const std::string& word, int32_t c) { addExpl(word, c, r, true); });
    for (int32_t c = 1; c <= FTable.ColCount(); ++c)
        walk(
            FTable.RowCount(), [&](int32_t r) { return FTable.GetCell(c, r); },
            [&](const std::string& word, int32_t r) { addExpl(word, c, r, false); });
    document.Modified = false;
}

} // namespace mz
