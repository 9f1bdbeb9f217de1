#include "ComposerTestUtil.h"

#include "database/DBBuilder.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <tuple>

using namespace mz;
using namespace mz::test;

namespace {

TPWordCoordinate Slot(uint8_t dir, int32_t col, int32_t row, const std::string& anchor, const std::string& pattern)
{
    TPWordCoordinate s;
    s.Dir = dir;
    s.Col = col;
    s.Row = row;
    s.Anchor = anchor;
    s.Pattern = pattern;
    s.AnchorPos = anchor.empty() ? 0 : static_cast<int32_t>(pattern.find(anchor)) + 1;
    return s;
}

bool Contains(const TDBRec* list, const std::string& word)
{
    for (; list; list = list->Next)
        if (list->PWord == word)
            return true;
    return false;
}

struct TFeasibleCase {
    const char* Run; // nearest cell first, '.' free
    bool Reversed;
    bool Feasible;
};

class RunFeasibleTest : public ::testing::TestWithParam<TFeasibleCase> { };

// A run shorter than MinLenPWord may hold single letters only; a run that
// starts with MinLenPWord free cells can always take a word; otherwise some
// active word must fit around the letters nearest to the closing block.
TEST_P(RunFeasibleTest, DecidesWhetherARunCanStillBeCompleted)
{
    const TFeasibleCase& c = GetParam();
    auto db = MakeDB(std::vector<std::string>{"ABC", "XYZW"});
    TCrossKwelin kwelin(TTable(4, 3), *db, Settings(3), 1);
    std::string run = c.Run;
    std::replace(run.begin(), run.end(), '.', ' ');
    EXPECT_EQ(Steps(kwelin).RunFeasible(run, static_cast<int32_t>(run.size()), c.Reversed), c.Feasible) << c.Run;
}

INSTANTIATE_TEST_SUITE_P(Runs, RunFeasibleTest,
                         ::testing::Values(TFeasibleCase{"..", false, true}, TFeasibleCase{"A.", false, true},
                                           TFeasibleCase{"AB", false, false}, TFeasibleCase{"...", false, true},
                                           TFeasibleCase{"....Q", false, true}, // four free cells first
                                           TFeasibleCase{"...Q", false, false}, // Q ends no word
                                           TFeasibleCase{"ABC", false, true}, TFeasibleCase{"CBA", false, false},
                                           TFeasibleCase{"CBA", true, true}, // read backwards it is ABC
                                           TFeasibleCase{"AB.", false, true}, TFeasibleCase{"XY..", false, true},
                                           TFeasibleCase{"YX..", false, false},
                                           TFeasibleCase{"YX..", true, true})); // ..XY: XYZW may run past

TEST(RunFeasible, ARunWithABlockIsRefused)
{
    auto db = MakeDB(std::vector<std::string>{"ABC"});
    TCrossKwelin kwelin(TTable(4, 3), *db, Settings(3), 1);
    try {
        Steps(kwelin).RunFeasible("A*B", 3, false);
        FAIL();
    } catch (const EInvalidCrossKwelinOperation& e) {
        EXPECT_STREQ(e.what(), "Błędny parametr kryteriów wyszukiwania łańcucha");
    }
}

TEST(CrossPattern, PutsTheLetterBetweenTheRunsAndAnchorsOnItsGroupOfLetters)
{
    auto db = MakeDB(std::vector<std::string>{"QBC"});
    TCrossKwelin kwelin(Grid({"*******", "A..BC.*", "......*"}), *db, Settings(3, true), 1);
    const TPWordCoordinate down = Slot(0, 3, 2, "", "  ");
    const TFilterData data = Steps(kwelin).CrossPattern(down, 1, TPWordList{"QR", 0, 0});
    EXPECT_EQ(data.Pattern, "A QBC ");
    EXPECT_EQ(data.Len, 6);
    EXPECT_EQ(data.Anchor, "QBC");
    EXPECT_TRUE(Steps(kwelin).CrossOK(data));

    // Nothing beside the cell: nothing to check.
    TCrossKwelin lone(Grid({"*.*", "*.*", "*.*"}), *db, Settings(3, true), 1);
    EXPECT_TRUE(Steps(lone).CrossPattern(Slot(0, 2, 1, "", "   "), 2, TPWordList{"ABC", 0, 0}).Pattern.empty());

    // A complete crossing that the word agrees with is not checked again.
    TCrossKwelin full(Grid({"*****", "*ABC*", "*****"}), *db, Settings(3, true), 1);
    EXPECT_TRUE(Steps(full).CrossPattern(Slot(0, 3, 1, "", "   "), 2, TPWordList{"XBX", 0, 0}).Pattern.empty());
    EXPECT_EQ(Steps(full).CrossPattern(Slot(0, 3, 1, "", "   "), 2, TPWordList{"XQX", 0, 0}).Pattern, "AQC");

    // A letter of a word that overhangs the grid has no crossing in it.
    TCrossKwelin open(Grid({".....", ".....", "....."}), *db, Settings(3, true), 1);
    EXPECT_TRUE(Steps(open).CrossPattern(Slot(1, 1, 2, "", "     "), 1, TPWordList{"XAB", 1, 0}).Pattern.empty());
    EXPECT_TRUE(Steps(open).CrossPattern(Slot(1, 5, 2, "", "     "), 2, TPWordList{"AX", 0, 0}).Pattern.empty());
    EXPECT_EQ(Steps(open).CrossPattern(Slot(1, 5, 2, "", "     "), 1, TPWordList{"AX", 0, 0}).Pattern, " A ");

    // With the option off, row 1 carries no across word, so it is not checked.
    TCrossKwelin rowOne(Grid({"A....", ".....", "....."}), *db, Settings(3, false), 1);
    EXPECT_TRUE(Steps(rowOne).CrossPattern(Slot(0, 2, 1, "", "   "), 1, TPWordList{"QBC", 0, 0}).Pattern.empty());
}

TEST(CrossOK, AStretchTooShortForAWordMayNotHoldTwoAdjacentLetters)
{
    auto db = MakeDB(std::vector<std::string>{"ABC"});
    TCrossKwelin kwelin(TTable(4, 3), *db, Settings(3), 1);
    EXPECT_TRUE(Steps(kwelin).CrossOK({"A ", "A", 2}));
    EXPECT_FALSE(Steps(kwelin).CrossOK({"AB", "AB", 2}));
    EXPECT_TRUE(Steps(kwelin).CrossOK({"AB ", "AB", 3}));
    EXPECT_FALSE(Steps(kwelin).CrossOK({"BA ", "BA", 3}));
    EXPECT_TRUE(Steps(kwelin).CrossOK({}));
}

struct TScoreCase {
    const char* Pattern;
    const char* Anchor;
    uint8_t Offset;
    int32_t Length;
    int32_t Score;
};

class ScoreTest : public ::testing::TestWithParam<TScoreCase> { };

// A gap of 1..MinLenPWord cells left before or after a word is waste.
TEST_P(ScoreTest, PenalisesEachGapTooShortForAnotherWord)
{
    const TScoreCase& c = GetParam();
    auto db = MakeDB(std::vector<std::string>{"ABC"});
    TCrossKwelin kwelin(TTable(12, 3), *db, Settings(3), 1);
    TPWordLists list{{std::string(c.Length, 'W'), c.Offset, 0}};
    Steps(kwelin).ScoreCandidates(list, Slot(1, 6, 2, c.Anchor, c.Pattern));
    EXPECT_EQ(list[0].Score, c.Score);
}

INSTANTIATE_TEST_SUITE_P(Gaps, ScoreTest,
                         ::testing::Values(TScoreCase{"     K      ", "K", 4, 11,
                                                      2},                            // one free cell before, none after
                                           TScoreCase{"     K      ", "K", 1, 8, 0}, // m + 1 before, none after
                                           TScoreCase{"     K      ", "K", 1, 4, 0}, // m + 1 on both sides
                                           TScoreCase{"     K      ", "K", 5, 11, 2}, // none before, one after
                                           TScoreCase{"     K      ", "K", 3, 7, 4},  // two before, three after
                                           TScoreCase{"     K      ", "K", 2, 9, 2},  // exactly m before, none after
                                           TScoreCase{"     K      ", "K", 5, 9, 2},  // none before, exactly m after
                                           TScoreCase{"          ", "", 0, 3, 0}, // no anchor: 3..7 letters leave room
                                           TScoreCase{"          ", "", 0, 7, 0}, TScoreCase{"          ", "", 0, 8, 2},
                                           TScoreCase{"          ", "", 0, 10, 2}));

// A word scored below the least score is kept as a reserve when the load asks
// for it (also when the load reuses a shared file's state) and weighs one
// less than a wasted gap: in ten free cells the rare ABCDEFG goes before the
// common ABCDEFGH, which leaves too short a gap, and after every word that
// leaves none.
TEST(Reserve, ARareWordGoesFirstOnlyWhereItWastesLess)
{
    const std::string file = (std::filesystem::temp_directory_path() / "mz-reserve-test.hk").string();
    WriteDBFile(file, 101, {{"ABCDEFGH", {}, {}, 50}, {"ABCDEFG", {}, {}, 5}, {"XYZWVUT", {}, {}, 60}});
    const std::vector<std::tuple<bool, int, std::map<std::string, int32_t>>> cases = {
        // reserve, load, scores of the candidates in ten free cells
        {false, 0, {{"ABCDEFGH", 2}, {"XYZWVUT", 0}}},
        {true, 0, {{"ABCDEFGH", 2}, {"ABCDEFG", 1}, {"XYZWVUT", 0}}},
        {true, 1, {{"ABCDEFGH", 2}, {"ABCDEFG", 1}, {"XYZWVUT", 0}}},
    };
    for (const auto& [reserve, load, expected] : cases) {
        TDBLoadFilter filter{3, 16, 20};
        filter.RareAsReserve = reserve;
        TDB db;
        db.LoadShared(file, filter);
        TCrossKwelin kwelin(TTable(12, 3), db, Settings(3), 1);
        TPWordLists list;
        db.FindCandidates("          ", "", list);
        Steps(kwelin).ScoreCandidates(list, Slot(1, 1, 2, "", "          "));
        std::map<std::string, int32_t> scores;
        for (const TPWordList& c : list)
            scores[c.PWord] = c.Score;
        EXPECT_EQ(scores, expected) << reserve << " " << load;
    }
    std::filesystem::remove(file);
}

TEST(PlaceBlocks, AWordStartingInRowOneIsFencedInRowOneWithTheOptionOff)
{
    auto db = MakeDB(std::vector<std::string>{"ABC"});
    for (int32_t col : {5, 6}) {
        TCrossKwelin kwelin(TTable(6, 5), *db, Settings(3, false), 1);
        Steps(kwelin).Push({{"ABC", 0, 0}}, Slot(0, col, 1, "", "     "));
        Steps(kwelin).ChooseWord();
        Steps(kwelin).PlaceBlocks();
        const auto rows = Rows(kwelin.Table());
        if (col == 5) {
            EXPECT_EQ(rows[0], "...*A*");
        } else {
            EXPECT_EQ(rows[0], "....*A");
        }
        EXPECT_EQ(rows[3].substr(col - 1, 1), "*"); // closing block below the word
        EXPECT_EQ(rows[4], "......");
    }
    // With the option on nothing is placed before it.
    TCrossKwelin on(TTable(6, 5), *db, Settings(3, true), 1);
    Steps(on).Push({{"ABC", 0, 0}}, Slot(0, 5, 1, "", "     "));
    Steps(on).ChooseWord();
    Steps(on).PlaceBlocks();
    EXPECT_EQ(Rows(on.Table())[0], "....A.");
}

TEST(Step, TheFirstWordLiesAtTheStartOfTheFirstFreeStretchWithABlockBehindIt)
{
    auto db = MakeDB(std::vector<std::string>{"ABCD", "XBY", "XCY", "XDY", "QAZ"});
    TCrossKwelin kwelin(Grid({"........", "**......", "........", "........"}), *db, Settings(3, false), 11);
    const TPWordCoordinate slot = kwelin.ChooseSlot();
    ASSERT_TRUE(kwelin.Step(slot));
    ASSERT_EQ(kwelin.Depth(), 1);
    const std::string word = Steps(kwelin).Top()->PWord;
    const std::string row = Rows(kwelin.Table())[1];
    EXPECT_EQ(row.substr(2, word.size()), word);
    EXPECT_EQ(row[2 + word.size()], '*');
    EXPECT_TRUE(Contains(db->UsedWords(), word));
    EXPECT_FALSE(Contains(db->Words(), word));
    EXPECT_EQ(db->UsedCount(), 1);
}

TEST(ChooseWord, DrawsAmongTheLowestScoresInListOrder)
{
    auto db = MakeDB(std::vector<std::string>{"AAA", "BBB", "CCC", "DDD", "EEE"});
    for (uint32_t seed : {1u, 2u, 3u, 99u, 12345u}) {
        TCrossKwelin kwelin(TTable(8, 4), *db, Settings(3, true), seed);
        Steps(kwelin).Push({{"AAA", 0, 1}, {"BBB", 0, 0}, {"CCC", 0, 2}, {"DDD", 0, 0}, {"EEE", 0, 0}},
                           Slot(1, 1, 2, "", "        "));
        Steps(kwelin).ChooseWord();
        TRandom expected(seed);
        const char* lowest[] = {"BBB", "DDD", "EEE"};
        EXPECT_EQ(Steps(kwelin).Top()->PWord, lowest[expected.Draw(3)]);
        EXPECT_EQ(Steps(kwelin).Top()->CandCount, 4);
        EXPECT_EQ(Steps(kwelin).Alternatives().size(), 4u);
        EXPECT_EQ(kwelin.Random().GetState(), expected.GetState());
    }
}

TEST(ChooseWord, WithNoAlternativeLeftKeepsItsWordButStillDraws)
{
    auto db = MakeDB(std::vector<std::string>{"ABC"});
    for (uint32_t seed : {1u, 7u, 4000000000u}) {
        TCrossKwelin kwelin(TTable(6, 3), *db, Settings(3, true), seed);
        Steps(kwelin).Push({{"ABC", 1, 0}}, Slot(1, 3, 2, "B", "  B   "));
        Steps(kwelin).ChooseWord();
        Steps(kwelin).MutableTable() = Steps(kwelin).Top()->Snapshot;

        Steps(kwelin).ChooseWord();
        EXPECT_EQ(Steps(kwelin).Top()->PWord, "ABC");
        EXPECT_EQ(Steps(kwelin).Top()->Offset, 1);
        EXPECT_EQ(Steps(kwelin).Top()->CandCount, 0);
        EXPECT_EQ(Rows(kwelin.Table())[1], ".ABC..");
        // One draw below 1 for the choice, one below 0 for the empty list.
        TRandom expected(seed);
        expected.Draw(1);
        expected.Draw(0);
        EXPECT_EQ(kwelin.Random().GetState(), expected.GetState());
    }
}

TEST(ChooseWord, AnEmptyStackIsRefused)
{
    auto db = MakeDB(std::vector<std::string>{"ABC"});
    TCrossKwelin kwelin(TTable(4, 3), *db, Settings(3), 1);
    try {
        Steps(kwelin).ChooseWord();
        FAIL();
    } catch (const EInvalidCrossKwelinOperation& e) {
        EXPECT_STREQ(e.what(), "Błąd dostępu: pusta lista");
    }
}

TEST(Step, TheSameWordAtTwoOffsetsGivesTwoAlternatives)
{
    for (uint32_t seed : {1u, 2u, 5u, 8u}) {
        auto fresh = MakeDB(std::vector<std::string>{"KOK"});
        TCrossKwelin kwelin(Grid({"..K.."}), *fresh, Settings(3, true), seed);
        const TPWordCoordinate slot = kwelin.ChooseSlot();
        ASSERT_EQ(slot.Anchor, "K");
        ASSERT_TRUE(kwelin.Step(slot));
        // The list runs offset 2 before offset 0 and both score 1.
        TRandom expected(seed);
        const uint8_t chosen = expected.Draw(2) == 0 ? 2 : 0;
        EXPECT_EQ(Steps(kwelin).Top()->Offset, chosen);
        const TPWordLists alternatives = Steps(kwelin).Alternatives();
        ASSERT_EQ(alternatives.size(), 1u);
        EXPECT_EQ(alternatives[0].PWord, "KOK");
        EXPECT_EQ(alternatives[0].Offset, 2 - chosen);
        EXPECT_EQ(Rows(kwelin.Table())[0], chosen == 2 ? "KOK*." : ".*KOK");
    }
}

TEST(CloseSingleLetter, ALoneLetterWithoutAWordIsClosedOnBothSides)
{
    auto db = MakeDB(std::vector<std::string>{"ABC"});
    TCrossKwelin across(Grid({".....", ".....", "..Q..", ".....", "....."}), *db, Settings(3, false), 1);
    EXPECT_TRUE(Steps(across).CloseSingleLetter(Slot(1, 3, 3, "Q", "  Q  ")));
    EXPECT_EQ(Rows(across.Table())[2], ".*Q*.");

    TCrossKwelin down(Grid({".....", ".....", "..Q..", ".....", "....."}), *db, Settings(3, false), 1);
    EXPECT_TRUE(Steps(down).CloseSingleLetter(Slot(0, 3, 3, "Q", "  Q  ")));
    EXPECT_EQ(Rows(down.Table())[1], "..*..");
    EXPECT_EQ(Rows(down.Table())[3], "..*..");

    // Only a one-letter anchor is closed.
    TCrossKwelin two(Grid({".....", ".....", "..QR.", ".....", "....."}), *db, Settings(3, false), 1);
    EXPECT_FALSE(Steps(two).CloseSingleLetter(Slot(1, 3, 3, "QR", "  QR ")));
    EXPECT_EQ(Rows(two.Table())[2], "..QR.");
}

TEST(CloseSingleLetter, ABlockThatWouldLeaveAnImpossibleRunIsNotPlaced)
{
    auto db = MakeDB(std::vector<std::string>{"ABC"});
    // A block left of Q would end the run "ZZ" below it, which is too short for a word.
    TCrossKwelin kwelin(Grid({".....", ".....", "..Q..", ".Z...", ".Z..."}), *db, Settings(3, false), 1);
    EXPECT_FALSE(Steps(kwelin).CloseSingleLetter(Slot(1, 3, 3, "Q", "  Q  ")));
    EXPECT_EQ(Rows(kwelin.Table())[2], "..Q..");
}

// The blocks beside a lone letter may shut in a run; one that stands in the
// grid already would stand twice, so the letter stays open (unless repeats
// are allowed).
TEST(CloseSingleLetter, BlocksThatWouldShutInARepeatAreNotPlaced)
{
    auto db = MakeDB(std::vector<std::string>{"ABC", "KOT"});
    // The block right of Q would end KOT down column 4, and KOT stands across row 7.
    const std::vector<std::string> rows = {".......", ".......", "..Q....", "...K...", "...O...", "...T...", "****KOT"};
    TCrossKwelin kwelin(Grid(rows), *db, Settings(3, false), 1);
    EXPECT_FALSE(Steps(kwelin).CloseSingleLetter(Slot(1, 3, 3, "Q", "  Q    ")));
    EXPECT_EQ(Rows(kwelin.Table()), rows);

    TKwelinSettings repeats = Settings(3, false);
    repeats.AllowRepeats = true;
    TCrossKwelin allowed(Grid(rows), *db, repeats, 1);
    EXPECT_TRUE(Steps(allowed).CloseSingleLetter(Slot(1, 3, 3, "Q", "  Q    ")));
    EXPECT_EQ(Rows(allowed.Table())[2], ".*Q*...");
}

TEST(Crosses, ComparesTheStretchesOfSlotsInDifferentDirections)
{
    const TPWordCoordinate across = Slot(1, 5, 3, "AB", "  AB  ");                    // columns 3..8 of row 3
    EXPECT_TRUE(TCrossKwelinTestAccess::Crosses(across, Slot(0, 4, 1, "X", "X  ")));  // column 4, rows 1..3
    EXPECT_FALSE(TCrossKwelinTestAccess::Crosses(across, Slot(0, 9, 1, "X", "X  "))); // column 9
    EXPECT_FALSE(TCrossKwelinTestAccess::Crosses(across, Slot(0, 4, 4, "X", "X  "))); // rows 4..6
    EXPECT_FALSE(TCrossKwelinTestAccess::Crosses(across, Slot(1, 4, 3, "X", "X  "))); // same direction
    // Without an anchor the stretch is taken to begin one cell after Col.
    const TPWordCoordinate free = Slot(1, 1, 2, "", "    ");
    EXPECT_FALSE(TCrossKwelinTestAccess::Crosses(free, Slot(0, 1, 2, "Q", "Q  ")));
    EXPECT_TRUE(TCrossKwelinTestAccess::Crosses(free, Slot(0, 5, 2, "Q", "Q  ")));
}

TEST(Backtracking, PruneTopDropsAlternativesWithTheSameCrossingLetter)
{
    auto db = MakeDB(std::vector<std::string>{"ABC", "XBY", "DEF"});
    TCrossKwelin kwelin(TTable(5, 5), *db, Settings(3, true), 1);
    // ABC scores best, so it is laid whatever the draw.
    Steps(kwelin).Push({{"XBY", 0, 1}, {"ABC", 0, 0}, {"DEF", 0, 1}}, Slot(0, 2, 1, "", "     "));
    Steps(kwelin).ChooseWord();
    db->MarkUsed("ABC");
    ASSERT_EQ(Steps(kwelin).Top()->PWord, "ABC");
    // Across row 2 through the B: XBY would put B there again.
    Steps(kwelin).PruneTop(Slot(1, 2, 2, "B", " B   "));
    const TPWordLists alternatives = Steps(kwelin).Alternatives();
    ASSERT_EQ(alternatives.size(), 1u);
    EXPECT_EQ(alternatives[0].PWord, "DEF");
    EXPECT_EQ(Steps(kwelin).Top()->CandCount, 1);
    // A slot that does not cross the top's leaves the alternatives alone.
    Steps(kwelin).PruneTop(Slot(0, 4, 1, "", "     "));
    EXPECT_EQ(Steps(kwelin).Top()->CandCount, 1);
}

TEST(Backtracking, UnwindUndoesWordsUntilTheDeadEndsLettersChange)
{
    auto db = MakeDB(std::vector<std::string>{"ABC", "DEF", "GHI"});
    TCrossKwelin kwelin(TTable(5, 5), *db, Settings(3, true), 1);
    Steps(kwelin).Push({{"ABC", 0, 0}}, Slot(0, 2, 1, "", "     "));
    Steps(kwelin).ChooseWord();
    db->MarkUsed("ABC");
    Steps(kwelin).Push({{"DEF", 0, 0}}, Slot(0, 4, 1, "", "     "));
    Steps(kwelin).ChooseWord();
    db->MarkUsed("DEF");
    ASSERT_EQ(Rows(kwelin.Table())[0], ".A.D.");

    // A down slot on the letters of ABC does not cross the top (also down).
    EXPECT_TRUE(Steps(kwelin).UnwindToAnchor(Slot(0, 2, 1, "ABC", "ABC  ")));
    EXPECT_EQ(kwelin.Depth(), 1);
    EXPECT_EQ(Rows(kwelin.Table())[0], "....."); // the snapshot before ABC
    EXPECT_TRUE(Contains(db->Words(), "DEF"));
    EXPECT_TRUE(Contains(db->UsedWords(), "ABC"));

    // Unwinding the last entry empties the stack: the search ends, the grid stays.
    Steps(kwelin).MutableTable().SetCell(2, 1, 'A');
    EXPECT_FALSE(Steps(kwelin).UnwindToAnchor(Slot(0, 2, 1, "A", "A    ")));
    EXPECT_EQ(kwelin.Depth(), 0);
    EXPECT_EQ(Rows(kwelin.Table())[0], ".A...");
    EXPECT_EQ(db->UsedCount(), 0);
}

TEST(Backtracking, AWordIsNeverLaidTwiceAndAnEmptiedStackLeavesTheGridAsItIs)
{
    auto db = MakeDB(std::vector<std::string>{"ABC"});
    TCrossKwelin kwelin(Grid({"...", "***", "..."}), *db, Settings(3, true), 4);
    TPWordCoordinate slot = kwelin.ChooseSlot();
    ASSERT_TRUE(kwelin.Step(slot));
    EXPECT_EQ(Rows(kwelin.Table())[0], "ABC");
    slot = kwelin.ChooseSlot();
    ASSERT_TRUE(slot.Found());
    EXPECT_EQ(slot.Row, 3);
    EXPECT_FALSE(kwelin.Step(slot)); // ABC is taken; backtracking empties the stack
    EXPECT_EQ(kwelin.Depth(), 0);
    EXPECT_EQ(Rows(kwelin.Table()), (std::vector<std::string>{"ABC", "***", "..."}));
}

struct TRepeatCase {
    const char* Name;
    std::vector<std::string> Rows; // '.' free
    TPWordCoordinate Slot;
    const char* Word;
    uint8_t Offset;
    bool Repeats;
};

class FormsRepeatTest : public ::testing::TestWithParam<TRepeatCase> { };

// A word may not make a word of at least MinLenPWord letters that stands in the
// grid already: not as itself, not across one of its letters, not as a run its
// closing block shuts in, and not twice at once.
TEST_P(FormsRepeatTest, FindsEveryWordTheLayingCompletes)
{
    const TRepeatCase& c = GetParam();
    auto db = MakeDB(std::vector<std::string>{"ABC"});
    TCrossKwelin kwelin(Grid(c.Rows), *db, Settings(3, true), 1);
    EXPECT_EQ(Steps(kwelin).FormsRepeat(c.Slot, c.Word, c.Offset), c.Repeats) << c.Name;
}

INSTANTIATE_TEST_SUITE_P(
    Grids, FormsRepeatTest,
    ::testing::Values(
        TRepeatCase{"itself", {"KOT*.....", "*********"}, Slot(1, 5, 1, "", "     "), "KOT", 0, true},
        TRepeatCase{"another word", {"KOT*.....", "*********"}, Slot(1, 5, 1, "", "     "), "KOS", 0, false},
        // KOT already stands across; laying AT under K.. completes KOT down column 1.
        // KOT already stands across; TA under K and O completes KOT down column 1.
        TRepeatCase{"across a letter", {"K*KOT", "O*...", "..*.."}, Slot(1, 1, 3, "", "  "), "TA", 0, true},
        TRepeatCase{"a crossing left open",
                    {"K*KOT", "O*...", "..*..", "....."},
                    Slot(1, 1, 3, "", "  "),
                    "TA",
                    0,
                    false},
        // The block after AB shuts in the KOT at the end of the row.
        TRepeatCase{"shut in by the closing block",
                    {"KOT*...KOT", "**********"},
                    Slot(1, 5, 1, "", "   "),
                    "AB",
                    0,
                    true},
        TRepeatCase{"a run left open", {"KOT*....KOT", "***********"}, Slot(1, 5, 1, "", "    "), "AB", 0, false},
        TRepeatCase{"itself across", {"O...", "K...", "....", "****"}, Slot(1, 1, 3, "", "    "), "OKO", 0, true},
        TRepeatCase{"two equal crossings", {"K.K.", "O.O.", "...*", "****"}, Slot(1, 1, 3, "", "   "), "TXT", 0, true}),
    [](const auto& testCase) {
        std::string name = testCase.param.Name;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

// Drawn first or second, KOT is dropped because it stands in the row already;
// with the old behaviour asked for, the first draw is laid.
TEST(ChooseWord, AWordThatWouldStandTwiceIsDroppedAndTheDrawMadeAgain)
{
    auto db = MakeDB(std::vector<std::string>{"KOT", "KOS", "LAS"});
    int dropped = 0;
    for (uint32_t seed : {1u, 2u, 3u, 4u, 99u, 12345u}) {
        for (bool allowRepeats : {false, true}) {
            TKwelinSettings settings = Settings(3, true);
            settings.AllowRepeats = allowRepeats;
            TCrossKwelin kwelin(Grid({"KOT*.....", "*********"}), *db, settings, seed);
            Steps(kwelin).Push({{"KOS", 0, 1}, {"KOT", 0, 0}, {"LAS", 0, 0}}, Slot(1, 5, 1, "", "     "));
            Steps(kwelin).ChooseWord();
            TRandom expected(seed);
            const uint32_t first = expected.Draw(2);
            std::string word = first == 0 ? "KOT" : "LAS";
            if (word == "KOT" && !allowRepeats) {
                ++dropped;
                word = "LAS";
                expected.Draw(1);
                EXPECT_EQ(Steps(kwelin).Top()->CandCount, 1);
            }
            EXPECT_EQ(Steps(kwelin).Top()->PWord, word) << seed;
            EXPECT_EQ(kwelin.Random().GetState(), expected.GetState()) << seed;
            EXPECT_EQ(kwelin.RepeatCount(), first == 0 ? 1u : 0u) << seed;
            EXPECT_EQ(Rows(kwelin.Table())[0], "KOT*" + word + "..");
        }
    }
    EXPECT_GT(dropped, 0);
}

// The search without a step budget, and what it leaves: the grid, the steps
// and the generator's state.
std::tuple<std::vector<std::string>, int, uint32_t> Search(TDB& db, uint32_t seed)
{
    TCrossKwelin kwelin(TTable(7, 6), db, Settings(3, false), seed);
    int steps = 0;
    for (TPWordCoordinate slot = kwelin.ChooseSlot(); slot.Found() && steps < 5000; slot = kwelin.ChooseSlot()) {
        ++steps;
        if (!kwelin.Step(slot))
            break;
    }
    return {Rows(kwelin.Table()), steps, kwelin.Random().GetState()};
}

// Alternatives are checked when needed only where that cannot change a draw;
// with two records of one word they are all checked at once, and the index
// still searches exactly as the plain walk does.
TEST(Step, WithTwoRecordsOfAWordBothQueryModesSearchAlike)
{
    const std::string letters = "AEIOKLMNPRST";
    TRandom random(8);
    std::vector<std::string> words;
    while (words.size() < 2500) {
        std::string w(3 + random.Draw(4), ' ');
        for (char& c : w)
            c = letters[random.Draw(static_cast<uint32_t>(letters.size()))];
        words.push_back(w);
        if (random.Draw(5) == 0)
            words.push_back(w);
    }
    int backtracked = 0;
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        auto plain = MakeDB(words, qmPlain);
        auto indexed = MakeDB(words, qmIndexed);
        ASSERT_TRUE(indexed->HasDuplicates());
        const auto a = Search(*plain, seed);
        EXPECT_EQ(a, Search(*indexed, seed)) << seed;
        backtracked += std::get<1>(a) > 30 ? 1 : 0;
    }
    EXPECT_GT(backtracked, 0);
}

TEST(PickLine, DrawsOneTerminatedLine)
{
    auto db = MakeDB(std::vector<std::string>{"ABC"});
    TCrossKwelin kwelin(TTable(4, 3), *db, Settings(3), 77);
    const uint32_t before = kwelin.Random().GetState();
    EXPECT_EQ(Steps(kwelin).PickLine(""), "");
    EXPECT_EQ(kwelin.Random().GetState(), before); // an empty text draws nothing

    for (uint32_t seed = 1; seed < 40; ++seed) {
        kwelin.Random().Seed(seed);
        TRandom expected(seed);
        const char* lines[] = {"jeden", "dwa", "trzy"};
        EXPECT_EQ(Steps(kwelin).PickLine("jeden\r\ndwa\r\ntrzy\r\n"), lines[expected.Draw(3)]);
    }
    // An unterminated text offers nothing but still draws.
    kwelin.Random().Seed(5);
    EXPECT_EQ(Steps(kwelin).PickLine("bez końca"), "");
    EXPECT_NE(kwelin.Random().GetState(), 5u);
    kwelin.Random().Seed(5);
    EXPECT_EQ(Steps(kwelin).PickLine("raz\r\nreszta"), "raz");
}

} // namespace
