#include "ComposerTestUtil.h"

#include "composer/ClueChoice.h"
#include "core/Cp1250.h"
#include "database/Commonness.h"
#include "documents/CrossTXT.h"

#include <set>

using namespace mz;
using namespace mz::test;

namespace {

// A finished grid: across KOT and SOK, down KOS and TAK; O, AS and S are too
// short to be words.
const std::vector<std::string> Finished = {"KOT**", "O*AS*", "SOK**", "*****"};

std::unique_ptr<TDB> HandOverDB(const TDBLoadFilter& filter = {})
{
    return MakeDB(std::vector<TWordEntry>{{"KOT", {"kot jeden", "kot dwa", "kot trzy"}, {}},
                                          {"SOK", {}, {}},
                                          {"TAK", {"potwierdzenie"}, "tak.wav"}},
                  qmIndexed, filter);
}

TEST(TransferTo, NumbersAcrossWordsRowByRowThenDownWordsColumnByColumn)
{
    auto db = HandOverDB();
    TCrossKwelin kwelin(Grid(Finished), *db, Settings(3), 5);
    TCrossTXT doc;
    doc.FileName = "/tmp/Nowe/K_0007.krz";
    doc.Kind = 1;
    doc.AddExpl(TExpl{1, 1, "stare", "", true});
    kwelin.TransferTo(doc);

    EXPECT_EQ(doc.FileName, "/tmp/Nowe/K_0007.krz");
    EXPECT_FALSE(doc.Modified);
    EXPECT_EQ(doc.Kind, 0);
    ASSERT_EQ(doc.ColCount(), 5);
    ASSERT_EQ(doc.RowCount(), 4);
    for (int32_t r = 1; r <= 4; ++r)
        for (int32_t c = 1; c <= 5; ++c)
            EXPECT_EQ(doc.GetCell(c, r), Finished[r - 1][c - 1] == '*' ? '*' : ' ') << c << "," << r;

    const auto expls = doc.ExplsInNumberOrder();
    ASSERT_EQ(expls.size(), 4u);
    const std::vector<std::tuple<int32_t, int32_t, bool>> expected = {{1, 1, true},
                                                                      {1, 3, true},
                                                                      {1, 1, false},
                                                                      {3, 1, false}};
    for (size_t i = 0; i < expls.size(); ++i) {
        EXPECT_EQ(expls[i].Number, static_cast<int32_t>(i + 1));
        EXPECT_EQ(std::make_tuple(expls[i].Expl.Col, expls[i].Expl.Row, expls[i].Expl.Horizontal), expected[i]) << i;
    }
    // SOK has a record without explanations: an empty clue, not the fallback.
    EXPECT_EQ(expls[1].Expl.Explanation, "");
    // KOS is not in the database.
    EXPECT_EQ(expls[2].Expl.Explanation, Utf8ToCp1250("brak objaśnienia!"));
    EXPECT_EQ(expls[2].Expl.Audio, "");
    EXPECT_EQ(expls[3].Expl.Explanation, "potwierdzenie");
    EXPECT_EQ(expls[3].Expl.Audio, "tak.wav");
    // Every word hands over its letters as the answer, found in the database or not.
    const std::vector<std::string> answers = {"KOT", "SOK", "KOS", "TAK"};
    for (size_t i = 0; i < expls.size(); ++i)
        EXPECT_EQ(expls[i].Expl.Answer, answers[i]) << i;
}

TEST(TransferTo, DrawsOneClueAndOneSoundPerWordInOrder)
{
    std::set<std::string> seen;
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        auto db = HandOverDB();
        TCrossKwelin kwelin(Grid(Finished), *db, Settings(3), seed);
        TCrossTXT doc;
        kwelin.TransferTo(doc);
        // KOT: one of three; SOK: nothing to draw; KOS: the fallback line; TAK: clue, then sound.
        TRandom expected(seed);
        const char* kot[] = {"kot jeden", "kot dwa", "kot trzy"};
        EXPECT_EQ(doc.GetExpl(1).Explanation, kot[expected.Draw(3)]);
        expected.Draw(1);
        expected.Draw(1);
        expected.Draw(1);
        EXPECT_EQ(kwelin.Random().GetState(), expected.GetState());
        seen.insert(doc.GetExpl(1).Explanation);
    }
    EXPECT_EQ(seen.size(), 3u);
}

TEST(TransferTo, AGridOfBlocksGivesAnEmptyCrosswordOfItsSize)
{
    auto db = HandOverDB();
    TCrossKwelin kwelin(Grid({"****", "****", "****"}), *db, Settings(3), 1);
    TCrossTXT doc;
    kwelin.TransferTo(doc);
    EXPECT_EQ(doc.ColCount(), 4);
    EXPECT_EQ(doc.RowCount(), 3);
    EXPECT_EQ(doc.ExplCount(), 0);
    for (int32_t r = 1; r <= 3; ++r)
        for (int32_t c = 1; c <= 4; ++c)
            EXPECT_EQ(doc.GetCell(c, r), '*');
}

TEST(TransferTo, MinLenPWordDecidesWhichRunsAreWords)
{
    auto db = HandOverDB({2, 16});
    TCrossKwelin kwelin(Grid(Finished), *db, Settings(2), 1);
    TCrossTXT doc;
    kwelin.TransferTo(doc);
    // AS across now counts too (third across word: KOT, AS, SOK).
    EXPECT_EQ(doc.ExplCount(), 5);
    EXPECT_EQ(doc.GetExpl(2).Col, 3);
    EXPECT_EQ(doc.GetExpl(2).Row, 2);
    EXPECT_TRUE(doc.GetExpl(2).Horizontal);
}

TEST(Preview, ShowsBlocksAndFreeCellsAndHidesLetters)
{
    EXPECT_EQ(PreviewCell(' '), ' ');
    EXPECT_EQ(PreviewCell('*'), '*');
    EXPECT_EQ(PreviewCell('A'), '?');
    EXPECT_EQ(PreviewCell(static_cast<char>(0xA5)), '?'); // Ą
}

} // namespace

// The level picks the first clue (most common terms) or the last; a clue
// sharing a term with one given before gives way to the next in that order,
// and when all share one, the level's clue loses its shared terms (SOK:
// "napój" after KOT's "mruczek"); the draw is made all the same, so what
// follows the hand-over is unchanged.
TEST(TransferTo, TheLevelChoosesTheClueAndNoTwoCluesShareATerm)
{
    auto db = MakeDB(std::vector<TWordEntry>{{"KOT", {"mruczek, kociak", "zwierzę domowe"}, {}},
                                             {"SOK", {"Mruczek, napój", "mruczek"}, {}},
                                             {"TAK", {"potwierdzenie", "zgoda"}, {}}});
    const std::vector<std::pair<TClueChoice, std::vector<std::string>>> cases = {
        {ccCommonest, {"mruczek, kociak", "napój", "potwierdzenie"}},
        {ccRarest, {"zwierzę domowe", "mruczek", "zgoda"}},
    };
    for (uint32_t seed = 1; seed <= 5; ++seed) {
        TKwelinSettings drawnSettings = Settings(3);
        TCrossKwelin drawn(Grid(Finished), *db, drawnSettings, seed);
        TCrossTXT drawnDoc;
        drawn.TransferTo(drawnDoc);
        for (const auto& [choice, expected] : cases) {
            TKwelinSettings settings = Settings(3);
            settings.ClueChoice = choice;
            TCrossKwelin kwelin(Grid(Finished), *db, settings, seed);
            TCrossTXT doc;
            kwelin.TransferTo(doc);
            // Across KOT, SOK; down KOS (no clue), TAK.
            EXPECT_EQ(doc.GetExpl(1).Explanation, expected[0]) << seed;
            EXPECT_EQ(doc.GetExpl(2).Explanation, expected[1]) << seed;
            EXPECT_EQ(doc.GetExpl(4).Explanation, expected[2]) << seed;
            EXPECT_EQ(kwelin.Random().GetState(), drawn.Random().GetState()) << seed;
        }
        // Drawn: SOK never keeps "Mruczek, napój" after KOT's "mruczek, kociak".
        EXPECT_FALSE(drawnDoc.GetExpl(1).Explanation.starts_with("mruczek")
                     && drawnDoc.GetExpl(2).Explanation.starts_with("Mruczek"))
            << seed;
    }
}

// Whole clues are tried first; where they clash, an answer with fewer choices
// keeps its clue and another gives way, or a clue loses terms (never below
// one term of three characters); an unavoidable clash stays.
TEST(ClueChoice, NoTwoCluesOfACrosswordShareATerm)
{
    using TClues = std::vector<std::vector<std::string>>;
    const std::vector<std::pair<TClues, std::vector<std::string>>> cases = {
        {{{"pokój, spokój", "cisza"}, {"pokój"}}, {"cisza", "pokój"}},
        {{{"afekt, amor, czułość"}, {"afekt, amor, czułość"}}, {"afekt, amor", "czułość"}},
        {{{"rodzaj: ssak, kręgowiec"}, {"rodzaj: kręgowiec"}}, {"rodzaj: ssak", "rodzaj: kręgowiec"}},
        {{{"Mruczek"}, {"mruczek, kot"}, {}}, {"Mruczek", "kot", ""}},
        {{{"Eucharystia, eucharystia"}}, {"Eucharystia"}},
        {{{"ab, kot"}, {"kot"}}, {"ab, kot", "kot"}},
        {{{"kręgowiec"}, {"kręgowiec", "rodzaj: kręgowiec"}}, {"kręgowiec", "kręgowiec"}},
    };
    for (const auto& [clues, expected] : cases)
        EXPECT_EQ(ChooseDistinctClues(clues), expected) << clues.front().front();
}
