#include "composer/ClueChoice.h"
#include "composer/Kwelin.h"
#include "core/Cp1250.h"
#include "database/Commonness.h"
#include "documents/CrossTXT.h"

#include <algorithm>
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
    // Every answer's clues in the order the level prefers them (from the
    // drawn one onwards, the most common first or the rarest first); the draw
    // is made either way. The clues are chosen once all answers are known.
    std::vector<TExpl> expls;
    std::vector<std::vector<std::string>> preferred;
    auto ClueOrder = [&](const std::string& clues, const std::string& drawn) {
        std::vector<std::string> lines = ClueLines(clues);
        const size_t count = lines.size();
        if (count == 0)
            return lines;
        size_t first = static_cast<size_t>(std::find(lines.begin(), lines.end(), drawn) - lines.begin()) % count;
        if (FSettings.ClueChoice == ccCommonest)
            first = 0;
        else if (FSettings.ClueChoice == ccRarest)
            first = count - 1;
        const size_t step = FSettings.ClueChoice == ccRarest ? count - 1 : 1;
        std::vector<std::string> order;
        for (size_t i = 0, at = first; i < count; ++i, at = (at + step) % count)
            order.push_back(std::move(lines[at]));
        return order;
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
        expl.Explanation = PickLine(clues);
        expl.Audio = PickLine(sounds);
        expl.Answer = word;
        preferred.push_back(record >= 0 ? ClueOrder(clues, expl.Explanation) : std::vector<std::string>());
        expls.push_back(std::move(expl));
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
    const std::vector<std::string> chosen = ChooseDistinctClues(preferred);
    for (size_t i = 0; i < expls.size(); ++i) {
        if (!preferred[i].empty())
            expls[i].Explanation = chosen[i];
        document.AddExpl(expls[i]);
    }
    document.Modified = false;
}

} // namespace mz
