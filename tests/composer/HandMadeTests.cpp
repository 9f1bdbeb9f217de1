// Constructing by hand: suggestions for a run of the grid, the template a run
// that fills the rest composes from, and where such a run cannot get on.
#include "ComposerTestUtil.h"

#include "composer/FillRest.h"
#include "composer/WordSuggestions.h"
#include "documents/CrossTXT.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

using namespace mz;
using namespace mz::test;

namespace {

// Words with their commonness; KIT stands twice, the second time rarer.
std::unique_ptr<TDB> ScoredDB(TDBQueryMode mode)
{
    const std::vector<std::pair<std::string, int>> words = {{"KOT", 50},  {"KIT", 90}, {"KAT", 50}, {"KOC", 70},
                                                            {"KOTY", 99}, {"MOT", 95}, {"KIT", 10}, {"\xA3OT", 50},
                                                            {"OK", 80},   {"TO", 60}};
    std::vector<TDBFileRecord> records;
    for (const auto& [word, score] : words) {
        records.push_back({DBRecWord, word});
        records.push_back({DBRecExplanation, "o " + word + "\r\n"});
        records.push_back({DBRecScore, std::to_string(score)});
    }
    records.push_back({DBRecEnd, {}});
    auto db = std::make_unique<TDB>(mode);
    db->LoadRecords(101, records, "test.hk", {2, 16});
    return db;
}

std::vector<std::string> WordsOf(const std::vector<TWordSuggestion>& suggestions)
{
    std::vector<std::string> words;
    for (const auto& s : suggestions)
        words.push_back(s.Word);
    return words;
}

TEST(WordSuggestions, FitTheRunsLettersMostCommonFirstWithoutWordsAlreadyInTheGrid)
{
    struct TCase {
        std::string Pattern;
        std::unordered_set<std::string> Used;
        size_t Limit;
        std::vector<std::string> Expected;
    };
    // Equal commonness goes by byte order, so Ł (0xA3) comes after the Latin letters.
    const std::vector<TCase> cases = {
        {"K T", {}, 0, {"KIT", "KAT", "KOT"}},
        {"K T", {"KOT"}, 0, {"KIT", "KAT"}},
        {" OT", {}, 0, {"MOT", "KOT", "\xA3OT"}},
        {"   ", {}, 2, {"MOT", "KIT"}},
        {"   ", {"MOT", "KIT"}, 3, {"KOC", "KAT", "KOT"}},
        {"KOT ", {}, 0, {"KOTY"}},
        {"Q  ", {}, 0, {}},
        {"    T", {}, 0, {}},
    };
    for (const TDBQueryMode mode : {qmPlain, qmIndexed}) {
        const auto db = ScoredDB(mode);
        for (const TCase& c : cases) {
            SCOPED_TRACE("'" + c.Pattern + "' mode " + std::to_string(mode));
            EXPECT_EQ(WordsOf(SuggestWords(*db, c.Pattern, c.Used, c.Limit)), c.Expected);
        }
        EXPECT_EQ(SuggestWords(*db, "K T", {}).front(), (TWordSuggestion{"KIT", 90}))
            << "the higher score of a twice-stored word";
    }
}

TEST(WordSuggestions, RunsThroughACellAndTheirCountsLeaveOutTheGridsWords)
{
    const auto db = ScoredDB(qmIndexed);
    // KOT stands complete in row 1, so column 1's "K T" offers KIT and KAT only.
    const TTable grid = Grid({"KOT*.", "....*", "T*...", "....."});
    EXPECT_EQ(SlotAt(grid, 2, 1, true, 2), (TGridSlot{1, 1, true, "KOT"}));
    EXPECT_EQ(SlotAt(grid, 1, 2, false, 2), (TGridSlot{1, 1, false, "K T "}));
    EXPECT_FALSE(SlotAt(grid, 5, 1, true, 2).Found());
    EXPECT_FALSE(SlotAt(grid, 4, 1, true, 2).Found());
    EXPECT_EQ(WordsInGrid(grid, 2), (std::unordered_set<std::string>{"KOT"}));
    const auto used = WordsInGrid(grid, 2);
    EXPECT_EQ(GridSlots(grid, 2).size(), 9u);
    EXPECT_EQ(FitsAt(grid, *db, 1, 1, 2, used), (TSlotFits{1, 1})); // KOT itself; KOTY down
    EXPECT_EQ(FitsAt(grid, *db, 2, 2, 2, used), (TSlotFits{1, 1})); // KOTY; OK
    EXPECT_EQ(FitsAt(grid, *db, 3, 3, 2, used), (TSlotFits{5, 0})); // every 3-letter word but KOT; no "T   "
    EXPECT_EQ(FitsAt(grid, *db, 2, 3, 2, used), (TSlotFits{-1, -1}));
}

TEST(FillRest, LockedWordsBecomeFixedLettersShutInByBlocks)
{
    TCrossTXT doc;
    doc.SetColCount(6);
    doc.SetRowCount(4);
    doc.SetCell(6, 4, '*');
    doc.SetCell(2, 4, 'A'); // typed by hand, not locked: a fixed letter
    // Its letters only in the answer, as a composed crossword keeps them.
    doc.AddExpl(TExpl(2, 2, "my clue", "", true, "KOT"));
    doc.SetLocked({2, 2, true, 3}, true);
    doc.SetLocked({6, 1, false, 3}, true);
    doc.SetCell(6, 1, 'P');
    doc.SetCell(6, 2, 'E');
    doc.SetCell(6, 3, 'S');
    EXPECT_EQ(Rows(KeptTemplate(doc)), (std::vector<std::string>{".....P", "*KOT*E", ".....S", ".A...*"}));
}

TEST(FillRest, ALockedWordThatCannotStandIsRefusedNamingIt)
{
    struct TCase {
        TLockedWord Word;
        const char* Why;
    };
    const std::vector<TCase> cases = {
        {{3, 1, true, 3}, "(poziomo, kolumna 3, wiersz 1) nie da się zachować: wychodzi poza siatkę"},
        {{1, 2, true, 3}, "(poziomo, kolumna 1, wiersz 2) nie da się zachować: przechodzi przez czarne pole"},
        {{1, 3, true, 2}, "(poziomo, kolumna 1, wiersz 3) nie da się zachować: ma pole bez litery"},
        {{1, 1, false, 1}, "(pionowo, kolumna 1, wiersz 1) nie da się zachować: styka się z literą"},
    };
    for (const TCase& c : cases) {
        TCrossTXT doc;
        doc.SetColCount(4);
        doc.SetRowCount(4);
        doc.SetCell(1, 1, 'A');
        doc.SetCell(1, 2, 'B');
        doc.SetCell(2, 2, '*');
        doc.SetLocked(c.Word, true);
        try {
            KeptTemplate(doc);
            ADD_FAILURE() << c.Why;
        } catch (const EInvalidCrossKwelinOperation& e) {
            EXPECT_NE(std::string(e.what()).find(c.Why), std::string::npos) << e.what();
        }
    }
}

TEST(FillRest, TheRunNoWordFitsIsNamed)
{
    const auto db = ScoredDB(qmIndexed);
    TComposerSettings exact;
    exact.MinLenPWord = 2;
    exact.FillExact = true;
    EXPECT_EQ(StuckArea(Grid({"KOT", "Q**", ".**"}), *db, exact).Text(), "kolumna 1, wiersze 1–3");
    EXPECT_TRUE(StuckArea(Grid({"KOT", "O**", ".**"}), *db, exact).Empty());
    TComposerSettings free;
    free.MinLenPWord = 2;
    EXPECT_EQ(StuckArea(Grid({"....", ".XQ.", "...."}), *db, free).Text(), "wiersz 2, kolumny 1–4");
    EXPECT_EQ(FillFailureMessage("Nie da się", TFillArea{2, 1, 5, 3}), "Nie da się (obszar: kolumny 2–5, wiersze 1–3)");
}

TEST(FillRest, LockedWordsSurviveSavingAndReading)
{
    const auto dir = std::filesystem::temp_directory_path() / ("mz-locked-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
    TCrossTXT doc;
    doc.SetColCount(5);
    doc.SetRowCount(5);
    doc.SetLocked({1, 2, true, 5}, true);
    doc.SetLocked({3, 1, false, 4}, true);
    doc.SetLocked({3, 1, false, 4}, true);
    EXPECT_TRUE(doc.Modified);
    doc.SaveToFile((dir / "a.krz").string());
    TCrossTXT back;
    back.LoadFromFile((dir / "a.krz").string());
    EXPECT_EQ(back.LockedWords(), (std::vector<TLockedWord>{{1, 2, true, 5}, {3, 1, false, 4}}));
    back.SetLocked({1, 2, true, 5}, false);
    EXPECT_EQ(back.LockedWords(), (std::vector<TLockedWord>{{3, 1, false, 4}}));
    std::filesystem::remove_all(dir);
}

} // namespace
