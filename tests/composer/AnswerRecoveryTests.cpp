#include "ComposerTestUtil.h"

#include "composer/AnswerRecovery.h"
#include "documents/CrossSolution.h"
#include "documents/CrossTXT.h"

using namespace mz;
using namespace mz::test;

namespace {

// A document with the shape of `rows` ('*' blocks) and the given explanations, without answers.
TCrossTXT Puzzle(const std::vector<std::string>& rows, const std::vector<TExpl>& expls)
{
    TCrossTXT doc;
    doc.SetColCount(int32_t(rows[0].size()));
    doc.SetRowCount(int32_t(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            doc.SetCell(int32_t(c + 1), int32_t(r + 1), rows[r][c] == '*' ? '*' : ' ');
    for (const TExpl& expl : expls)
        doc.AddExpl(expl);
    doc.Modified = false;
    return doc;
}

std::vector<std::string> Answers(const TCrossTXT& doc)
{
    std::vector<std::string> answers;
    for (const TExplList& item : doc.ExplsInNumberOrder())
        answers.push_back(item.Expl.Answer);
    return answers;
}

// K O T *   across: 1 KOT "zwierzę" (LOT and KOC carry that clue too), 2 SOK "napój"
// O * A *   down:   3 KOS "ptak",  4 TAK "zgoda" (so do TAS and NIE)
// S O K *
const std::vector<std::string> Shape = {"   *", " * *", "   *"};
const std::vector<TExpl> Clues = {{1, 1, "zwierzę", "", true},
                                  {1, 3, "napój", "", true},
                                  {1, 1, "ptak", "", false},
                                  {3, 1, "zgoda", "", false}};

std::unique_ptr<TDB> Database()
{
    return MakeDB(std::vector<TWordEntry>{{"KOT", {"zwierzę", "mruczek"}, {}},
                                          {"LOT", {"zwierzę"}, {}},
                                          {"KOC", {"zwierzę"}, {}},
                                          {"SOK", {"napój"}, {}},
                                          {"KOS", {"ptak"}, {}},
                                          {"TAK", {"zgoda"}, {}},
                                          {"TAS", {"zgoda"}, {}},
                                          {"NIE", {"zgoda"}, {}},
                                          {"KOTY", {"ptak"}, {}}});
}

} // namespace

TEST(AnswerRecovery, CrossingLettersPickTheOneWordThatFitsEveryClue)
{
    auto db = Database();
    TCrossTXT doc = Puzzle(Shape, Clues);
    const TRecoveryResult result = RecoverAnswers(doc, *db);
    // KOS rules out LOT, TAK/TAS/NIE rule out KOC and NIE, SOK rules out TAS.
    EXPECT_EQ(Answers(doc), (std::vector<std::string>{"KOT", "SOK", "KOS", "TAK"}));
    EXPECT_EQ(result.Recovered, 4);
    EXPECT_EQ(result.Unknown, 0);
    EXPECT_TRUE(result.Whole());
    EXPECT_TRUE(doc.Modified);
    EXPECT_TRUE(TSolutionGrid(doc).Complete());
}

TEST(AnswerRecovery, WhatStaysAmbiguousOrIsNotInTheDatabaseStaysUnknown)
{
    auto db = Database();
    // Without SOK nothing tells TAK from TAS; a clue the database lacks gives nothing.
    std::vector<TExpl> clues = Clues;
    clues[1].Explanation = "brak objaśnienia!";
    TCrossTXT doc = Puzzle(Shape, clues);
    const TRecoveryResult result = RecoverAnswers(doc, *db);
    EXPECT_EQ(Answers(doc), (std::vector<std::string>{"KOT", "", "KOS", ""}));
    EXPECT_EQ(result.Recovered, 2);
    EXPECT_EQ(result.Unknown, 2);
    EXPECT_FALSE(result.Whole());
}

TEST(AnswerRecovery, AnswersTheDocumentHasAreKeptAndNarrowTheRest)
{
    auto db = Database();
    std::vector<TExpl> clues = Clues;
    clues[1].Explanation = "brak objaśnienia!";
    clues[3].Answer = "TAS";
    TCrossTXT doc = Puzzle(Shape, clues);
    const TRecoveryResult result = RecoverAnswers(doc, *db);
    EXPECT_EQ(Answers(doc), (std::vector<std::string>{"KOT", "", "KOS", "TAS"}));
    EXPECT_EQ(result.Known, 1);
    EXPECT_EQ(result.Recovered, 2);
}

TEST(AnswerRecovery, WordsThatContradictEachOtherAreAllLeftUnknown)
{
    // The database's only "ptak" cannot cross its only "zwierzę": either may be
    // the wrong one, so neither is recovered, while the rest still are.
    auto db = MakeDB(std::vector<TWordEntry>{{"KOT", {"zwierzę"}, {}},
                                             {"SOK", {"napój"}, {}},
                                             {"BUS", {"ptak"}, {}},
                                             {"TAK", {"zgoda"}, {}}});
    TCrossTXT doc = Puzzle(Shape, Clues);
    RecoverAnswers(doc, *db);
    EXPECT_EQ(Answers(doc), (std::vector<std::string>{"", "SOK", "", "TAK"}));
}

TEST(PhraseWord, IsADatabaseWordTheAnswersCanSpellAndNotAnAnswer)
{
    TCrossTXT doc = Puzzle(Shape, Clues);
    auto db = Database();
    RecoverAnswers(doc, *db);
    // Letters: K O T O A S O K (the corners shared): K2 O3 T1 A1 S1.
    auto words = MakeDB(std::vector<TWordEntry>{{"KOTOSA", {"x"}, {}},    // fits
                                                {"KOTOSAK", {"x"}, {}},   // fits: seven letters
                                                {"KOKOSY", {"x"}, {}},    // no Y
                                                {"KOTKA", {"x"}, {}},     // too short
                                                {"KOKOKOT", {"x"}, {}}}); // three K
    std::set<std::string> picked;
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        TRandom random(seed);
        picked.insert(PickPhraseWord(doc, *words, random));
    }
    EXPECT_EQ(picked, (std::set<std::string>{"KOTOSA", "KOTOSAK"}));
    auto none = MakeDB(std::vector<TWordEntry>{{"KOKOSY", {"x"}, {}}});
    TRandom random(1);
    try {
        PickPhraseWord(doc, *none, random);
        FAIL() << "no error";
    } catch (const EIOOperation& error) {
        EXPECT_STREQ(error.what(),
                     "W bazie haseł nie ma słowa od 6 do 12 liter, które dałoby się ułożyć z liter tej krzyżówki.");
    }
}
