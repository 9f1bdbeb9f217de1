// Filling a fixed pattern exactly: every open cell a letter, every run of at
// least the shortest length a word of the database, no word twice.
#include "ComposerTestUtil.h"

#include "composer/Composer.h"
#include "composer/ExactFill.h"
#include "documents/CrossTXT.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace mz;
using namespace mz::test;

namespace {

// Every run of at least minLen non-block cells, across then down.
std::vector<std::string> Runs(const TTable& grid, int32_t minLen)
{
    std::vector<std::string> runs;
    auto walk = [&](const std::string& line) {
        std::string run;
        for (const char cell : line + std::string(1, TTable::Block)) {
            if (cell != TTable::Block) {
                run += cell;
                continue;
            }
            if (static_cast<int32_t>(run.size()) >= minLen)
                runs.push_back(run);
            run.clear();
        }
    };
    for (int32_t r = 1; r <= grid.RowCount(); ++r)
        walk(grid.RowLine(r));
    for (int32_t c = 1; c <= grid.ColCount(); ++c)
        walk(grid.ColLine(c));
    return runs;
}

// A 3 x 3 square has two fills (ABC DEF GHI across and their transposition);
// the last five fill the two-letter pattern below; the rest only get in the way.
const std::vector<std::string> Words = {"ABC", "DEF", "GHI", "ADG", "BEH",    "CFI", "ABD", "GEC", "HIA", "AB",
                                        "CD",  "BCD", "DCB", "XYZ", "ABCDEF", "CDE", "FG",  "AC",  "BDF", "EG"};

// The words above with their clues, two-letter ones kept.
std::unique_ptr<TDB> WordsDB()
{
    std::vector<TWordEntry> entries;
    for (const std::string& w : Words)
        entries.push_back({w, {"clue of " + w}, {}});
    return MakeDB(entries, qmIndexed, {2, 16});
}

struct TCase {
    const char* Name;
    std::vector<std::string> Pattern;
    int32_t MinLen;
    TExactFillEnd End;
    std::vector<std::string> Filled; // the fill for seed 1, when there is one
};

} // namespace

TEST(ExactFill, FillsOrSaysWhyNot)
{
    const std::vector<TCase> cases = {
        {"3x3 square", {"...", "...", "..."}, 3, feFilled, {"ADG", "BEH", "CFI"}},
        {"letters of the template kept", {"..C", "...", "..."}, 3, feFilled, {"ABC", "DEF", "GHI"}},
        {"two-letter runs are words when the shortest length is 2",
         {"..*", "...", "*.."},
         2,
         feFilled,
         {"AB*", "CDE", "*FG"}},
        {"two-letter runs are no words with the shortest length 3", {"..*", "...", "*.."}, 3, feUnfillable, {}},
        {"no word of the length", {"....", "....", "....", "...."}, 3, feNone, {}},
        {"a fixed letter no word has there", {"Z..", "...", "..."}, 3, feNone, {}},
        {"a fixed word twice", {"ABC", "***", "ABC"}, 3, feNone, {}},
        {"four runs, four different words",
         {"...*...", "*******", "...*..."},
         3,
         feFilled,
         {"DEF*GHI", "*******", "BCD*HIA"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto db = WordsDB();
        const TTable pattern = Grid(c.Pattern);
        TExactFill fill(pattern, *db, c.MinLen, 1);
        const std::atomic<bool> stop{false};
        const TExactFillOutcome outcome = fill.Run(stop, 0);
        ASSERT_EQ(outcome.End, c.End) << outcome.Message;
        if (c.End != feFilled) {
            EXPECT_FALSE(outcome.Grid);
            EXPECT_FALSE(outcome.Message.empty());
            continue;
        }
        const TTable& grid = *outcome.Grid;
        if (!c.Filled.empty()) {
            EXPECT_EQ(Rows(grid), c.Filled);
        }
        std::set<std::string> seen;
        for (const std::string& run : Runs(grid, c.MinLen)) {
            EXPECT_NE(std::find(Words.begin(), Words.end(), run), Words.end()) << run;
            EXPECT_TRUE(seen.insert(run).second) << run << " twice";
        }
        for (int32_t col = 1; col <= grid.ColCount(); ++col)
            for (int32_t row = 1; row <= grid.RowCount(); ++row) {
                const char was = pattern.GetCell(col, row);
                EXPECT_EQ(grid.GetCell(col, row) == TTable::Block, was == TTable::Block);
                EXPECT_NE(grid.GetCell(col, row), TTable::Free);
                if (TTable::IsLetter(was)) {
                    EXPECT_EQ(grid.GetCell(col, row), was);
                }
            }
    }
}

TEST(ExactFill, AStopRequestEndsTheSearch)
{
    const auto db = WordsDB();
    TExactFill fill(Grid({"...", "...", "..."}), *db, 3, 1);
    const std::atomic<bool> stop{true};
    EXPECT_EQ(fill.Run(stop, 0).End, feStopped);
}

// Through the run, as the window and the command line use it: the crossword
// holds a clue for every run and the same seed gives the same crossword.
TEST(ExactFill, TheRunHandsOverTheFilledCrossword)
{
    TComposerSettings settings;
    settings.MinLenPWord = 3;
    settings.FillExact = true;
    const TTable pattern = Grid({"...*", "...*", "...*", "****"});
    auto source = [] { return WordsDB(); };
    std::vector<std::string> first;
    for (int i = 0; i < 2; ++i) {
        TComposeRun run(pattern, source, settings);
        TCrossTXT doc;
        std::atomic<bool> stop{false};
        std::atomic<uint8_t> progress{0};
        const TComposeResult result = run.Execute(doc, stop, progress, 7);
        ASSERT_TRUE(result.HandedOver) << result.Message;
        EXPECT_EQ(progress.load(), 100);
        EXPECT_EQ(doc.ExplCount(), 6);
        std::vector<std::string> answers;
        for (int k = 1; k <= doc.ExplCount(); ++k) {
            EXPECT_EQ(doc.GetExpl(k).Explanation, "clue of " + doc.GetExpl(k).Answer);
            answers.push_back(doc.GetExpl(k).Answer);
        }
        if (i == 0)
            first = answers;
        else
            EXPECT_EQ(answers, first);
    }
    // A template without a fill: nothing is handed over, the message says why.
    TComposeRun none(Grid({"....", "....", "....", "...."}), source, settings);
    settings.MaxLenPWord = 3;
    TCrossTXT doc;
    std::atomic<bool> stop{false};
    std::atomic<uint8_t> progress{0};
    const TComposeResult result = none.Execute(doc, stop, progress, 7);
    EXPECT_TRUE(result.Failed);
    EXPECT_FALSE(result.HandedOver);
    EXPECT_EQ(result.Message, MsgNoExactFill);
}
