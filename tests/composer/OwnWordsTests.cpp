#include "composer/FreeLayout.h"
#include "composer/KeywordLayout.h"
#include "composer/OwnWordsReport.h"
#include "composer/WordList.h"
#include "core/Cp1250.h"
#include "core/Random.h"
#include "core/Table.h"
#include "database/DB.h"
#include "database/Register.h"
#include "documents/CrossSolution.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <queue>
#include <set>
#include <tuple>

using namespace mz;

namespace {

// The crossword as a saved file opens.
TCrossTXT SavedAndOpened(const TCrossTXT& made)
{
    const std::string file =
        (std::filesystem::temp_directory_path() / ("mz-ownwords-" + std::to_string(::getpid()) + ".krz")).string();
    TCrossTXT copy = made;
    copy.SaveToFile(file);
    TCrossTXT opened;
    opened.LoadFromFile(file);
    std::filesystem::remove(file);
    return opened;
}

// A list of `count` different words of 3 to 11 letters built from syllables, as
// a seeded generator draws them: letters repeat as in real words, so they cross.
std::vector<TWordEntry> GeneratedList(uint32_t seed, int count)
{
    static const char* const syllables[] = {"KA", "RO", "MI", "TE", "LA", "NO", "SU", "PI", "DO", "WA",
                                            "BE", "ZY", "GO", "CH", "RZ", "AN", "EK", "OS", "UL", "IT"};
    TRandom random(seed);
    std::set<std::string> seen;
    std::vector<TWordEntry> words;
    while (int(words.size()) < count) {
        std::string word;
        const uint32_t parts = 2 + random.Draw(4);
        for (uint32_t p = 0; p < parts; ++p)
            word += syllables[random.Draw(20)];
        if (random.Draw(2) == 1)
            word.pop_back();
        if (seen.insert(word).second)
            words.push_back({word, "objaśnienie " + word});
    }
    return words;
}

// The crossword's letters as its answers lay them; fails the test where two
// answers disagree or an answer lies on a block or outside the grid.
std::map<TCellPos, char> LettersOf(const TCrossTXT& doc)
{
    std::map<TCellPos, char> letters;
    for (const TExplList& item : doc.ExplsInNumberOrder()) {
        const TExpl& e = item.Expl;
        for (size_t i = 0; i < e.Answer.size(); ++i) {
            const TCellPos at{e.Col + (e.Horizontal ? int32_t(i) : 0), e.Row + (e.Horizontal ? 0 : int32_t(i))};
            EXPECT_TRUE(at.Col >= 1 && at.Col <= doc.ColCount() && at.Row >= 1 && at.Row <= doc.RowCount());
            EXPECT_EQ(doc.GetCell(at.Col, at.Row), ' ') << e.Answer;
            const auto [it, fresh] = letters.emplace(at, e.Answer[i]);
            EXPECT_EQ(it->second, e.Answer[i]) << "answers disagree at " << at.Col << "," << at.Row;
        }
    }
    return letters;
}

// Checks the rules of a free layout on the document alone.
void ExpectLayoutRules(const TCrossTXT& doc)
{
    const std::map<TCellPos, char> letters = LettersOf(doc);
    // Every open cell holds a letter, every other cell is a block.
    for (int32_t c = 1; c <= doc.ColCount(); ++c)
        for (int32_t r = 1; r <= doc.RowCount(); ++r)
            EXPECT_EQ(doc.GetCell(c, r) == ' ', letters.count({c, r}) == 1) << c << "," << r;

    // Each run of two or more letters in a line is exactly one word: no word
    // touches another side by side or runs on into another's end.
    std::set<std::tuple<int32_t, int32_t, bool, size_t>> words;
    for (const TExplList& item : doc.ExplsInNumberOrder())
        words.insert({item.Expl.Col, item.Expl.Row, item.Expl.Horizontal, item.Expl.Answer.size()});
    std::set<std::tuple<int32_t, int32_t, bool, size_t>> runs;
    for (const bool across : {true, false}) {
        const int32_t lines = across ? doc.RowCount() : doc.ColCount();
        const int32_t length = across ? doc.ColCount() : doc.RowCount();
        for (int32_t l = 1; l <= lines; ++l) {
            int32_t start = 0;
            for (int32_t i = 1; i <= length + 1; ++i) {
                const TCellPos at = across ? TCellPos{i, l} : TCellPos{l, i};
                const bool open = i <= length && letters.count(at) == 1;
                if (open && start == 0)
                    start = i;
                if (!open && start != 0) {
                    if (i - start >= 2)
                        runs.insert({across ? start : l, across ? l : start, across, size_t(i - start)});
                    start = 0;
                }
            }
        }
    }
    EXPECT_EQ(runs, words);

    // Every word crosses another.
    std::map<TCellPos, int> cover;
    for (const TExplList& item : doc.ExplsInNumberOrder())
        for (const TCellPos& at : WordCells(doc, item.Expl))
            ++cover[at];
    for (const TExplList& item : doc.ExplsInNumberOrder()) {
        int crossings = 0;
        for (const TCellPos& at : WordCells(doc, item.Expl))
            crossings += cover[at] == 2 ? 1 : 0;
        EXPECT_GE(crossings, 1) << item.Expl.Answer;
    }

    // All letters hang together.
    std::set<TCellPos> reached{letters.begin()->first};
    std::queue<TCellPos> next;
    next.push(letters.begin()->first);
    while (!next.empty()) {
        const TCellPos at = next.front();
        next.pop();
        for (const TCellPos n : {TCellPos{at.Col + 1, at.Row}, TCellPos{at.Col - 1, at.Row},
                                 TCellPos{at.Col, at.Row + 1}, TCellPos{at.Col, at.Row - 1}})
            if (letters.count(n) == 1 && reached.insert(n).second)
                next.push(n);
    }
    EXPECT_EQ(reached.size(), letters.size());
}

std::vector<std::tuple<int32_t, int32_t, bool, std::string>> ExplanationsOf(const TCrossTXT& doc)
{
    std::vector<std::tuple<int32_t, int32_t, bool, std::string>> words;
    for (const TExplList& item : doc.ExplsInNumberOrder())
        words.push_back({item.Expl.Col, item.Expl.Row, item.Expl.Horizontal, item.Expl.Answer});
    return words;
}

struct TLayoutCase {
    uint32_t ListSeed;
    int Count;
    int32_t MaxCols, MaxRows;
};

class FreeLayoutRules : public ::testing::TestWithParam<TLayoutCase> { };

// Generated lists, with and without a size limit: whatever is placed obeys
// the rules, fits the limit, and every word is either placed or listed.
TEST_P(FreeLayoutRules, APlacedLayoutObeysTheRulesAndListsTheRest)
{
    const TLayoutCase& c = GetParam();
    const std::vector<TWordEntry> words = GeneratedList(c.ListSeed, c.Count);
    TFreeLayoutOptions options;
    options.MaxCols = c.MaxCols;
    options.MaxRows = c.MaxRows;
    options.Seed = c.ListSeed;
    options.Attempts = 30;
    const TFreeLayoutResult result = ComposeFreeLayout(words, options);
    ASSERT_GE(result.Placed, 2);
    const TCrossTXT opened = SavedAndOpened(result.Document);
    ExpectLayoutRules(opened);
    // The file numbers the words across from the top, then the words down from the left.
    std::vector<std::tuple<bool, int32_t, int32_t>> order;
    for (const TExplList& item : opened.ExplsInNumberOrder())
        order.push_back({!item.Expl.Horizontal, item.Expl.Horizontal ? item.Expl.Row : item.Expl.Col,
                         item.Expl.Horizontal ? item.Expl.Col : item.Expl.Row});
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
    EXPECT_EQ(result.Document.ExplCount(), result.Placed);
    EXPECT_EQ(result.Placed + int32_t(result.Unplaced.size()), c.Count);
    std::set<std::string> all;
    for (const TExplList& item : result.Document.ExplsInNumberOrder()) {
        all.insert(item.Expl.Answer);
        EXPECT_EQ(item.Expl.Explanation, "objaśnienie " + item.Expl.Answer);
    }
    all.insert(result.Unplaced.begin(), result.Unplaced.end());
    EXPECT_EQ(all.size(), size_t(c.Count));
    if (c.MaxCols > 0) {
        EXPECT_LE(result.Document.ColCount(), c.MaxCols);
        EXPECT_LE(result.Document.RowCount(), c.MaxRows);
    } else {
        EXPECT_GE(result.Placed, c.Count * 9 / 10);
    }
}

INSTANTIATE_TEST_SUITE_P(GeneratedLists, FreeLayoutRules,
                         ::testing::Values(TLayoutCase{1, 2, 0, 0}, TLayoutCase{2, 10, 0, 0}, TLayoutCase{3, 25, 0, 0},
                                           TLayoutCase{4, 40, 0, 0}, TLayoutCase{5, 20, 9, 9},
                                           TLayoutCase{6, 30, 12, 6}, TLayoutCase{7, 15, 5, 4}));

TEST(FreeLayout, TheSameSeedGivesTheSameCrosswordAndAnotherSeedAnother)
{
    const std::vector<TWordEntry> words = GeneratedList(11, 20);
    TFreeLayoutOptions options;
    options.Seed = 5;
    options.Attempts = 10;
    const TFreeLayoutResult a = ComposeFreeLayout(words, options);
    const TFreeLayoutResult b = ComposeFreeLayout(words, options);
    options.Seed = 6;
    const TFreeLayoutResult c = ComposeFreeLayout(words, options);
    EXPECT_EQ(ExplanationsOf(a.Document), ExplanationsOf(b.Document));
    EXPECT_NE(ExplanationsOf(a.Document), ExplanationsOf(c.Document));
}

// Two words without a common letter cannot cross: one is placed, the other
// listed, never dropped.
TEST(FreeLayout, AWordThatCrossesNothingIsListed)
{
    const TFreeLayoutResult result =
        ComposeFreeLayout({{"KOT", "kot"}, {Utf8ToCp1250("ŻUBR"), ""}, {"TOK", "bieg"}}, {});
    EXPECT_EQ(result.Placed, 2);
    EXPECT_EQ(result.Unplaced, std::vector<std::string>{Utf8ToCp1250("ŻUBR")});
    EXPECT_EQ(result.Crossings, 1);
}

TEST(FreeLayout, TooFewWordsOrAnImpossibleLimitAreRefused)
{
    EXPECT_THROW(ComposeFreeLayout({}, {}), EInvalidCrossKwelinOperation);
    EXPECT_THROW(ComposeFreeLayout({{"KOT", ""}}, {}), EInvalidCrossKwelinOperation);
    TFreeLayoutOptions options;
    options.MaxCols = 3;
    options.MaxRows = 5;
    EXPECT_THROW(ComposeFreeLayout({{"KOT", ""}, {"TOK", ""}}, options), EInvalidCrossKwelinOperation);
    // One word alone fits a 4 x 3 grid: no crossword, every word listed.
    options.MaxCols = 4;
    options.MaxRows = 3;
    const TFreeLayoutResult lone = ComposeFreeLayout({{"KOT", ""}, {"PIES", ""}, {"KROWA", ""}}, options);
    EXPECT_EQ(lone.Placed, 0);
    EXPECT_EQ(lone.Unplaced.size(), 3u);
}

struct TListCase {
    const char* Text;
    std::vector<std::pair<std::string, std::string>> Words; // UTF-8
    size_t Problems;
    int32_t Merged;
};

class WordListReading : public ::testing::TestWithParam<TListCase> { };

TEST_P(WordListReading, WordsAreUpperCasedBadLinesNamedAndRepeatsMerged)
{
    const TListCase& c = GetParam();
    const TWordList list = ParseWordList(c.Text);
    std::vector<std::pair<std::string, std::string>> words;
    for (const TWordEntry& e : list.Words)
        words.push_back({Cp1250ToUtf8(e.Word), Cp1250ToUtf8(e.Clue)});
    EXPECT_EQ(words, c.Words);
    EXPECT_EQ(list.Problems.size(), c.Problems);
    EXPECT_EQ(list.Merged, c.Merged);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, WordListReading,
    ::testing::Values(TListCase{"żółw\tgad z pancerzem\r\nŹrebię\tmłody koń\n",
                                {{"ŻÓŁW", "gad z pancerzem"}, {"ŹREBIĘ", "młody koń"}},
                                0,
                                0},
                      TListCase{"\n  \nkot\n\n", {{"KOT", ""}}, 0, 0},
                      TListCase{"koń morski\tryba\nbiało-czerwony\tflaga\nlas\tdrzewa", {{"LAS", "drzewa"}}, 2, 0},
                      TListCase{"a1b\tx\nx\tza krótkie\nα\tgrecka\n\tbez słowa", {}, 4, 0},
                      TListCase{"kot\t\nKOT\tzwierzę domowe\nkot\tinne", {{"KOT", "zwierzę domowe"}}, 0, 2},
                      TListCase{"dom\tjest\tdwa razy", {{"DOM", "jest dwa razy"}}, 0, 0}));

TEST(WordListReading, AProblemNamesItsLineAndTheWord)
{
    const TWordList list = ParseWordList("las\n\nkoń morski\tryba");
    ASSERT_EQ(list.Problems.size(), 1u);
    EXPECT_NE(list.Problems[0].find("Wiersz 3"), std::string::npos) << list.Problems[0];
    EXPECT_NE(list.Problems[0].find("„KOŃ MORSKI”"), std::string::npos) << list.Problems[0];
}

TEST(WordListReading, AFileInTheOldPolishCodePageIsReadAsWell)
{
    EXPECT_EQ(WordListFileText("\xEF\xBB\xBF"
                               "żaba"),
              "żaba");
    EXPECT_EQ(WordListFileText("\xBF"
                               "aba"),
              "żaba");
}

// The keyword's letters read down its column; every row is one explanation,
// numbered from the top in the file, whose answer holds the letter there.
void ExpectKeywordLayout(const TKeywordResult& result, const std::string& keyword)
{
    ASSERT_TRUE(result.Uncovered.empty());
    const TCrossTXT doc = SavedAndOpened(result.Document);
    ASSERT_EQ(doc.RowCount(), int32_t(keyword.size()));
    EXPECT_EQ(doc.Phrase().Text, keyword);
    ASSERT_EQ(doc.Phrase().Cells.size(), keyword.size());
    const TSolutionGrid solution(doc);
    EXPECT_TRUE(solution.Complete());
    for (size_t i = 0; i < keyword.size(); ++i) {
        const TCellPos at = doc.Phrase().Cells[i];
        EXPECT_EQ(at.Row, int32_t(i + 1));
        EXPECT_EQ(at.Col, doc.Phrase().Cells[0].Col);
        EXPECT_EQ(solution.Letter(at.Col, at.Row), static_cast<unsigned char>(keyword[i]));
        EXPECT_EQ(ExplNumberAt(doc, at.Col, at.Row, true), int32_t(i + 1));
    }
}

TEST(KeywordLayout, EachLetterGetsItsOwnWordEvenWhenWordsMustBeSwapped)
{
    // Only LAS has the S and only OKO the K: whatever order the seed draws,
    // the matching must move words until every letter has one.
    const std::vector<TWordEntry> words = {{"LAS", "las"}, {"OKO", "oko"}, {"ALE", "ale"}, {"KOS", "ptak"}};
    for (uint32_t seed = 0; seed < 8; ++seed) {
        TRandom random(seed);
        ExpectKeywordLayout(ComposeKeyword("SOK", words, random), "SOK");
    }
}

TEST(KeywordLayout, LettersNoWordHasAreReportedAndNothingIsLaid)
{
    TRandom random(1);
    const TKeywordResult result = ComposeKeyword(Utf8ToCp1250("żaba"), {{"ABAK", ""}, {"BABA", ""}}, random);
    EXPECT_EQ(result.Uncovered, (std::vector<int32_t>{0, 3}));
    EXPECT_TRUE(result.Rows.empty());
    EXPECT_EQ(UncoveredMessage(Utf8ToCp1250("ŻABA"), result.Uncovered),
              "Żadne wolne słowo nie ma tych liter hasła: Ż (1.), A (4.). Dopisz słowa z tymi literami.");
}

TEST(KeywordLayout, AKeywordWithASpaceOrAHyphenIsRefused)
{
    for (const char* keyword : {"ala ma", "biało-czerwony", "ab", "k0t"})
        EXPECT_THROW(NormalizeKeyword(keyword), EInvalidCrossKwelinOperation) << keyword;
    EXPECT_EQ(NormalizeKeyword(Utf8ToCp1250("źdźbło")), Utf8ToCp1250("ŹDŹBŁO"));
}

TEST(KeywordLayout, WordsFromTheDatabaseCarryTheirClues)
{
    std::vector<TDBFileRecord> records;
    for (const char* word : {"KRET", "ROWER", "OKNO", "TORBA", "LATO", "SOWA", "ZEGAR"}) {
        records.push_back({DBRecWord, word});
        records.push_back({DBRecExplanation, std::string("o ") + word});
    }
    records.push_back({DBRecEnd, ""});
    TDB db;
    db.LoadRecords(1, records);
    TRandom random(3);
    const TKeywordResult result = ComposeKeywordFromDB("KOT", db, random);
    ExpectKeywordLayout(result, "KOT");
    for (const TExplList& item : result.Document.ExplsInNumberOrder())
        EXPECT_EQ(item.Expl.Explanation, "o " + item.Expl.Answer);
    TRandom again(3);
    EXPECT_EQ(ComposeKeywordFromDB("QUIZ", db, again).Uncovered, (std::vector<int32_t>{0, 1, 2}));
}

// The school setting leaves marked words out of the draw, whatever the seed;
// the level chooses each word's first or last clue.
TEST(KeywordLayout, DatabaseWordsFollowTheSchoolSettingAndTheLevel)
{
    std::vector<TDBFileRecord> records;
    const std::set<std::string> marked = {"KOTY", "OKAP", "TOPIK", "KOMAR"};
    for (const char* word : {"KRET", "OKNO", "TORBA", "KOTY", "OKAP", "TOPIK", "KOMAR", "LATO"}) {
        records.push_back({DBRecWord, word});
        records.push_back({DBRecExplanation, std::string("pierwsze ") + word});
        records.push_back({DBRecExplanation, std::string("ostatnie ") + word});
        if (marked.count(word))
            records.push_back({DBRecRegister, Utf8ToCp1250(RegisterKey(rgInsult))});
    }
    records.push_back({DBRecEnd, ""});
    const std::vector<std::tuple<bool, TClueChoice, bool, std::string>> cases = {
        // school setting, clue choice, a marked word seen over the seeds, every clue begins with
        {true, ccCommonest, false, "pierwsze "},
        {true, ccRarest, false, "ostatnie "},
        {false, ccCommonest, true, "pierwsze "},
    };
    for (const auto& [schoolSafe, choice, markedSeen, cluePrefix] : cases) {
        TDBLoadFilter filter;
        filter.SchoolSafe = schoolSafe;
        TDB db;
        db.LoadRecords(1, records, "test.hk", filter);
        bool seen = false;
        for (uint32_t seed = 1; seed <= 40; ++seed) {
            TRandom random(seed);
            const TKeywordResult result = ComposeKeywordFromDB("KOT", db, random, choice);
            ASSERT_TRUE(result.Uncovered.empty()) << seed;
            for (const TExplList& item : result.Document.ExplsInNumberOrder()) {
                seen = seen || marked.count(item.Expl.Answer) > 0;
                EXPECT_EQ(item.Expl.Explanation, cluePrefix + item.Expl.Answer) << seed;
            }
        }
        EXPECT_EQ(seen, markedSeen) << schoolSafe;
    }
}

} // namespace

TEST(OwnWordsReport, TheDialogNamesCountsSizeRepeatsAndTheWordsLeftOut)
{
    TWordList list;
    list.Words.resize(6);
    list.Merged = 2;
    TFreeLayoutResult result;
    result.Document.SetColCount(9);
    result.Document.SetRowCount(7);
    result.Placed = 4;
    result.Crossings = 3;
    EXPECT_EQ(FreeLayoutReport(result, list),
              "Ułożono 4 z 6 słów, skrzyżowań: 3, rozmiar 9 × 7. Powtórzone słowa połączono (2).");
    result.Unplaced = {Utf8ToCp1250("ŻABA"), "KOT"};
    list.Merged = 0;
    EXPECT_EQ(FreeLayoutReport(result, list),
              "Ułożono 4 z 6 słów, skrzyżowań: 3, rozmiar 9 × 7.\nNie zmieściły się: ŻABA, KOT.");
    EXPECT_EQ(KeywordReport(Utf8ToCp1250("ŻUK"), result.Document, 0), "Hasło ŻUK: 7 wierszy, rozmiar 9 × 7.");
    list.Problems = {"Wiersz 1: a", "Wiersz 2: b", "Wiersz 3: c"};
    EXPECT_EQ(ListProblemsText(list, 2), "Popraw listę słów:\nWiersz 1: a\nWiersz 2: b\ni jeszcze 1");
    EXPECT_EQ(ListProblemsText(list, 5), "Popraw listę słów:\nWiersz 1: a\nWiersz 2: b\nWiersz 3: c");
}
