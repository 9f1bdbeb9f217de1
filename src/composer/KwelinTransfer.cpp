#include "composer/Kwelin.h"
#include "core/Cp1250.h"
#include "documents/CrossTXT.h"

namespace mz {

void TCrossKwelin::TransferTo(TCrossTXT& document)
{
    const std::string fileName = document.FileName;
    document.Clear();
    document.FileName = fileName;
    document.SetColCount(FTable.ColCount());
    document.SetRowCount(FTable.RowCount());
    document.Kind = 0;
    document.CurrentExpl = 0;
    // The document gets the shape only; the letters live in the words' answers.
    for (int32_t c = 1; c <= FTable.ColCount(); ++c)
        for (int32_t r = 1; r <= FTable.RowCount(); ++r)
            document.SetCell(c, r, FTable.GetCell(c, r) == TTable::Block ? TTable::Block : TTable::Free);

    // Document texts are CP1250.
    static const std::string missingClue = Utf8ToCp1250("brak objaśnienia!\r\n");
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
