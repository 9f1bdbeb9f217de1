#include "ComposerTestUtil.h"

using namespace mz;
using namespace mz::test;

namespace {

struct TLineCase {
    const char* Line; // '.' free
    int32_t Best;
    int32_t RunStart;
    const char* Run;
    const char* Segment; // '.' free
};

std::string Cells(const char* text)
{
    std::string s = text;
    for (char& c : s)
        if (c == '.')
            c = TTable::Free;
    return s;
}

#define SIXTY_FREE "............................................................"

class AnalyseLineTest : public ::testing::TestWithParam<TLineCase> { };

// The longest open run of a line wins (strictly longer, so the earliest of
// equals), a run shut in by blocks or edges on both sides is a finished word,
// and a line whose chosen run sits in a stretch shorter than MinLenPWord offers nothing.
TEST_P(AnalyseLineTest, ChoosesTheLongestOpenRunAndItsStretch)
{
    const TLineCase& c = GetParam();
    auto db = MakeDB(std::vector<std::string>{"ABC"});
    TCrossKwelin kwelin(TTable(4, 3), *db, Settings(3), 1);
    const TCoreData core = Steps(kwelin).AnalyseLine(Cells(c.Line), c.Best);
    EXPECT_EQ(core.RunStart, c.RunStart);
    EXPECT_EQ(core.Run, c.Run);
    EXPECT_EQ(core.RunLen, static_cast<int32_t>(std::string(c.Run).size()));
    EXPECT_EQ(core.Segment, Cells(c.Segment));
}

INSTANTIATE_TEST_SUITE_P(Lines, AnalyseLineTest,
                         ::testing::Values(TLineCase{"..A..", 0, 3, "A", "..A.."},
                                           TLineCase{"*A*..", 0, 0, "", ""},       // closed by blocks
                                           TLineCase{"A*...", 0, 0, "", ""},       // closed by the edge and a block
                                           TLineCase{"A....", 0, 1, "A", "A...."}, // the edge and a free cell: open
                                           TLineCase{"AB*CDE..", 0, 4, "CDE", "CDE.."},
                                           TLineCase{"..AB.CDE", 0, 6, "CDE", "..AB.CDE"},
                                           TLineCase{"A...B", 0, 1, "A", "A...B"}, // equal runs: the first
                                           TLineCase{".AB..", 2, 0, "", ""},       // not longer than the best so far
                                           TLineCase{".AB..", 1, 2, "AB", ".AB.."},
                                           TLineCase{".A*.....B", 0, 0, "", ""}, // chosen run's stretch too short
                                           TLineCase{"*.AB.*..", 0, 3, "AB", ".AB."},
                                           // Long lines: a run at the far edge.
                                           TLineCase{SIXTY_FREE "ABCD", 0, 61, "ABCD", SIXTY_FREE "ABCD"},
                                           TLineCase{SIXTY_FREE "....*AB..", 0, 66, "AB", "AB.."},
                                           TLineCase{SIXTY_FREE "....*AB*", 0, 0, "", ""}));

TEST(ChooseSlot, FirstSlotOnAnEmptyTemplateIsTheFirstFreeStretchOfTheFirstScannedRow)
{
    auto db = MakeDB(std::vector<std::string>{"ABC"});
    const TTable grid = Grid({".....", "**...", ".....", "....."});

    TCrossKwelin off(grid, *db, Settings(3, false), 1);
    const TPWordCoordinate slot = off.ChooseSlot();
    EXPECT_TRUE(slot.Found());
    EXPECT_EQ(slot.Dir, 1);
    EXPECT_EQ(slot.Col, 3);
    EXPECT_EQ(slot.Row, 2);
    EXPECT_EQ(slot.Anchor, "");
    EXPECT_EQ(slot.AnchorPos, 0);
    EXPECT_EQ(slot.Pattern, "   ");

    TCrossKwelin on(grid, *db, Settings(3, true), 1);
    const TPWordCoordinate first = on.ChooseSlot();
    EXPECT_EQ(first.Col, 1);
    EXPECT_EQ(first.Row, 1);
    EXPECT_EQ(first.Pattern, "     ");
}

TEST(ChooseSlot, TemplatesWithoutRoomOrOnlyRoomInTheFirstRowYieldNoSlot)
{
    auto db = MakeDB(std::vector<std::string>{"ABC"});
    // No stretch of three free cells anywhere.
    TCrossKwelin scattered(Grid({"..*.", "*..*", ".*.."}), *db, Settings(3, true), 1);
    EXPECT_FALSE(scattered.ChooseSlot().Found());

    // Room in row 1 only: with the option off nothing is laid there.
    const TTable rowOne = Grid({".....", "*****", "*****"});
    TCrossKwelin off(rowOne, *db, Settings(3, false), 1);
    EXPECT_FALSE(off.ChooseSlot().Found());
    TCrossKwelin on(rowOne, *db, Settings(3, true), 1);
    EXPECT_TRUE(on.ChooseSlot().Found());
}

TEST(ChooseSlot, EqualRunsGoToTheUpperRowAndRowsBeforeColumns)
{
    auto db = MakeDB(std::vector<std::string>{"ABC"});
    // Single letters with free cells around: runs of length 1 both across and down.
    TCrossKwelin kwelin(Grid({".....", ".....", "...B.", ".A...", "....."}), *db, Settings(3, false), 1);
    const TPWordCoordinate slot = kwelin.ChooseSlot();
    EXPECT_EQ(slot.Dir, 1);
    EXPECT_EQ(slot.Row, 3);
    EXPECT_EQ(slot.Col, 4);
    EXPECT_EQ(slot.Anchor, "B");
    EXPECT_EQ(slot.AnchorPos, 4);
    EXPECT_EQ(slot.Pattern, "   B ");
}

TEST(ChooseSlot, ALongerRunInAColumnBeatsShorterRowRuns)
{
    auto db = MakeDB(std::vector<std::string>{"ABC"});
    // Column 3 holds the open run "XY"; every row run is a single letter.
    TCrossKwelin kwelin(Grid({"*****", "..X..", "..Y..", ".....", "....."}), *db, Settings(3, false), 1);
    const TPWordCoordinate slot = kwelin.ChooseSlot();
    EXPECT_EQ(slot.Dir, 0);
    EXPECT_EQ(slot.Col, 3);
    EXPECT_EQ(slot.Row, 2);
    EXPECT_EQ(slot.Anchor, "XY");
    EXPECT_EQ(slot.Pattern, "XY  ");
    EXPECT_EQ(slot.AnchorPos, 1);
}

TEST(ChooseSlot, ALetterBetweenBlocksIsFinishedButALetterWithFreeNeighboursIsOpen)
{
    auto db = MakeDB(std::vector<std::string>{"ABC"});
    // Row 2: Q is closed by blocks across; in its column it has free cells.
    TCrossKwelin open(Grid({"*****", "**Q**", "*****", "*....", "*...."}), *db, Settings(3, true), 1);
    EXPECT_FALSE(open.ChooseSlot().Anchor == "Q");
    TCrossKwelin column(Grid({".....", "**Q**", ".....", ".....", "....."}), *db, Settings(3, true), 1);
    const TPWordCoordinate slot = column.ChooseSlot();
    EXPECT_EQ(slot.Dir, 0);
    EXPECT_EQ(slot.Anchor, "Q");
    EXPECT_EQ(slot.Col, 3);
    EXPECT_EQ(slot.Row, 2);
    EXPECT_EQ(slot.Pattern, " Q   ");
}

TEST(ChooseSlot, AFixedTemplateLetterBecomesTheAnchor)
{
    auto db = MakeDB(std::vector<std::string>{"ABC"});
    TCrossKwelin kwelin(Grid({"......", "......", "....Z.", "......"}), *db, Settings(3, false), 1);
    const TPWordCoordinate slot = kwelin.ChooseSlot();
    EXPECT_EQ(slot.Anchor, "Z");
    EXPECT_EQ(slot.Dir, 1);
    EXPECT_EQ(slot.Row, 3);
    EXPECT_EQ(slot.Col, 5);
}

TEST(ChooseSlot, AFreeStandingPatternHoldsTheStretchsRealCells)
{
    // One row: columns are a single cell each, so no letter forms an open run;
    // the only run across (A) sits in a stretch of two and silences the line.
    auto db = MakeDB(std::vector<std::string>{"ABC", "ABCDE", "XYZW"});
    TCrossKwelin kwelin(Grid({".A*.....B"}), *db, Settings(3, true), 7);
    const TPWordCoordinate slot = kwelin.ChooseSlot();
    ASSERT_TRUE(slot.Found());
    EXPECT_EQ(slot.Col, 4);
    EXPECT_EQ(slot.Anchor, "");
    EXPECT_EQ(slot.Pattern, "     B");
    // No word may be laid over the B it does not match: the search ends.
    EXPECT_FALSE(kwelin.Step(slot));
    EXPECT_EQ(Rows(kwelin.Table())[0], ".A*.....B");
}

TEST(TTable, IndexesOutsideTheGridAreRefused)
{
    TTable table(4, 3);
    EXPECT_EQ(table.GetCell(4, 3), TTable::Free);
    for (auto [c, r] : std::vector<std::pair<int, int>>{{0, 1}, {1, 0}, {5, 1}, {1, 4}, {-1, -1}}) {
        try {
            table.SetCell(c, r, 'A');
            ADD_FAILURE() << c << "," << r;
        } catch (const EInvalidCrossKwelinOperation& e) {
            EXPECT_STREQ(e.what(), "Niewłaściwy indeks tabeli");
        }
    }
}

} // namespace
