// What a built database leaves out (the thesaurus's own marks, stop lists),
// the commonness scores it carries, and how a load sets words aside by score.
#include "../documents/TestFiles.h"
#include "DBTestUtil.h"

#include "core/Cp1250.h"
#include "database/Commonness.h"
#include "database/DBBuilder.h"
#include "documents/DataAccess.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <sys/wait.h>
#include <tuple>

using namespace mz;
using namespace mz::test;

namespace {

std::string Cp(const std::string& utf8)
{
    return Utf8ToCp1250(utf8);
}

// A small thesaurus in the shape of the Polish one: the marks sit on terms,
// a headword's own sense may list it with or without a mark.
const char* const MarkedThesaurus =
    "UTF-8\n"
    "chuj|1\n-|chuj (wulg.)|fiut (wulg.)|pała (żart.)|parówa (żart.)\n"
    "krowa|2\n-|babsztyl (wulg.)|flądra (pot.)|krowa (wulg.)\n-|krasula|mućka (pot.)\n"
    "pies|2\n-|czworonóg|psina\n-|pies (pot.)|glina (pot.)\n"
    "glina|2\n-|gliniarz (pot.)|pies (wulg.)|policjant\n-|ił|less\n"
    "nachalny|1\n-|natrętny|namolny|upierdliwy (wulg.)\n"
    "upierdliwy|1\n-|nachalny|natrętny|namolny\n"
    "urojony|2\n-|wymyślony|zmyślony|fikcyjny|nierealny|baśniowy\n-|urojony (obraźl.)|wydumany\n"
    "wydumany|1\n-|teoretyczny|urojony (obraźl.)|wykoncypowany|wymyślony\n"
    "pała|1\n-|bania|jedynka|chuj\n"
    "tyłek|1\n-|pupa|dupa (pot.)|siedzenie\n"
    "dupa|1\n-|pupa|tyłek\n"
    "ptak|2\n-|wróbel|sikora\n-|kuśka (pot.)|wacek|ptak (żart.)\n"
    "kapucyn|1\n-|kuśka|wacek\n";

const char* const ReviewedStopList = "# reviewed words\n\nDupa\nkuśka *\n";

TDBBuilder CleanedBuilder()
{
    TDBBuilder builder;
    std::istringstream stop(ReviewedStopList);
    builder.AddStopList(stop, "stop.txt");
    std::istringstream thesaurus(MarkedThesaurus);
    builder.AddThesaurus(thesaurus, "th.dat");
    return builder;
}

std::map<std::string, std::vector<std::string>> CluesByWord(const std::vector<TDBWord>& words)
{
    std::map<std::string, std::vector<std::string>> clues;
    for (const auto& word : words)
        for (const auto& clue : word.Explanations)
            clues[Cp1250ToUtf8(word.PWord)].push_back(Cp1250ToUtf8(clue));
    return clues;
}

} // namespace

// A word marked in every sense goes (by its own sense, or by a sense of
// another headword that marks it and shares most synonyms); a word marked in
// one sense keeps its other senses; a sense listing the word without a mark is
// ordinary; a term that is a removed word leaves every clue; a stop-listed word
// goes and a starred one takes its meaning out of every other word.
TEST(DBCleaning, TheThesaurusMarksAndTheStopListsDecideWordsSensesAndTerms)
{
    const auto clues = CluesByWord(CleanedBuilder().Result());
    const std::map<std::string, std::vector<std::string>> expected = {
        {"KROWA", {"krasula, mućka"}},
        {"PIES", {"czworonóg, psina", "glina"}},
        {"GLINA", {"policjant", "ił, less"}},
        {"NACHALNY", {"natrętny, namolny"}},
        {"UROJONY", {"wymyślony, zmyślony, fikcyjny"}},
        {"WYDUMANY", {"teoretyczny, wykoncypowany, wymyślony"}},
        {"PAŁA", {"bania, jedynka"}},
        {"TYŁEK", {"pupa, siedzenie"}},
        {"PTAK", {"wróbel, sikora"}},
    };
    EXPECT_EQ(clues, expected);
}

TEST(DBCleaning, TheReportCountsWordsAndCluesLeftOut)
{
    const TCleaningReport report = CleanedBuilder().Cleaning();
    EXPECT_EQ(report.MarkedWords, 2);      // CHUJ, UPIERDLIWY
    EXPECT_EQ(report.StopListWords, 1);    // DUPA
    EXPECT_EQ(report.RemovedWordClues, 3); // one each
    EXPECT_EQ(report.LostClues, 6);        // KROWA, UROJONY, PAŁA, TYŁEK, PTAK, KAPUCYN
    EXPECT_EQ(report.RewrittenClues, 2);   // PAŁA, TYŁEK
    EXPECT_EQ(report.CluelessWords, 1);    // KAPUCYN
}

TEST(DBCleaning, StopListedWordsOfAWordListAreLeftOutWithTheirClues)
{
    TDBBuilder builder;
    std::istringstream stop(ReviewedStopList);
    builder.AddStopList(stop, "stop.txt");
    std::istringstream tsv("dupa\tpupa\ttyłek\t@dupa.wav\nkot\tmruczek\n");
    std::vector<std::string> warnings;
    builder.AddTsv(tsv, "slowa.tsv", warnings);
    const auto words = builder.Result();
    ASSERT_EQ(words.size(), 1u);
    EXPECT_EQ(words[0].PWord, "KOT");
    EXPECT_EQ(builder.Cleaning().StopListWords, 1);
    EXPECT_EQ(builder.Cleaning().RemovedWordClues, 2);
    EXPECT_TRUE(warnings.empty());
}

TEST(DBStopList, ReadsWordsInAnyCaseStarsAndCommentsAndRefusesOtherLines)
{
    TStopList list;
    std::istringstream good("\xEF\xBB\xBF# comment\n  żółw  \nKot*\n\n# another\npies \t*\r\n");
    list.Add(good, "a.txt");
    EXPECT_EQ(list.Words(), (std::set<std::string>{Cp("ŻÓŁW"), "KOT", "PIES"}));
    EXPECT_FALSE(list.Starred(Cp("ŻÓŁW")));
    EXPECT_TRUE(list.Starred("KOT"));
    EXPECT_TRUE(list.Starred("PIES"));
    EXPECT_TRUE(list.NamesStarredMeaning({"mruczek", "kot (pot.)"}));
    EXPECT_FALSE(list.NamesStarredMeaning({"kot (pojęcie nadrzędne)", "żółw"}));

    for (const std::string bad : {"dwa słowa", "x-ray", "a", "*"}) {
        TStopList other;
        std::istringstream in("# header\n" + bad + "\n");
        try {
            other.Add(in, "b.txt");
            ADD_FAILURE() << bad;
        } catch (const EDBInvalidOperation& e) {
            EXPECT_NE(std::string(e.what()).find("b.txt, wiersz 2"), std::string::npos) << e.what();
        }
    }
}

// A list of 99 ranks, so ln(N + 1) = ln 100: rank 1 scores 100, rank 10 (or
// two forms of rank 20) 50, effective rank 5 about 65, the last rank 1.
TEST(DBCommonness, ScoresFollowTheRanksOfAllFormsOfAWord)
{
    std::istringstream list("# header\n"
                            "1\tnie\t\n"
                            "5\tkota\tkot,kota\n"
                            "10\tdom\tdom\n"
                            "10\tdomy\tdom\n"
                            "20\tpsa\tpies\n"
                            "20\tpsy\tpies\n"
                            "30\tżółwia\tżółw\n"
                            "99\tzero\t\n");
    TCommonness commonness;
    commonness.Load(list, "list.tsv");
    EXPECT_EQ(commonness.MaxRank(), 99);
    const std::vector<std::pair<std::string, int32_t>> cases = {
        {"NIE", 100},     {"KOT", 50}, {"KOTA", 50}, {"DOM", 65},  {"PIES", 50},
        {Cp("ŻÓŁW"), 26}, {"ZERO", 1}, {"DOMY", 0},  {"KROWA", 0},
    };
    for (const auto& [word, score] : cases)
        EXPECT_EQ(commonness.Score(word), score) << Cp1250ToUtf8(word);
}

TEST(DBCommonness, MalformedLinesAreRefusedWithTheLine)
{
    for (const std::string bad : {"x\tkot\t", "0\tkot\t", "kot", "\tkot\t", "12345678901\tkot\t"}) {
        std::istringstream in("1\tnie\t\n" + bad + "\n");
        TCommonness commonness;
        try {
            commonness.Load(in, "list.tsv");
            ADD_FAILURE() << bad;
        } catch (const EDBInvalidOperation& e) {
            EXPECT_NE(std::string(e.what()).find("list.tsv, wiersz 2"), std::string::npos) << e.what();
        }
    }
}

class DBScoreFiles : public TTempDirTest { };

// The score record follows its word's record; a load puts it in Score, and a
// word without one keeps -1.
TEST_F(DBScoreFiles, ScoresAreWrittenAfterTheWordAndRead)
{
    const std::string file = PathOf("baza.hk");
    WriteDBFile(file, 101, {{"KOT", {"mruczek"}, "KOT.wav", 37}, {"PIES", {"burek"}, "", -1}});
    std::vector<std::pair<int, std::string>> records;
    ReadRecordFile(
        file, [](const TRecordHeader&) {}, [&](const TDataFromBuf& r) { records.emplace_back(r.RecType, r.Data); });
    const std::vector<std::pair<int, std::string>> expected = {{DBRecWord, "KOT"},
                                                               {DBRecScore, "37"},
                                                               {DBRecExplanation, "mruczek"},
                                                               {DBRecAudio, "KOT.wav\r\n"},
                                                               {DBRecWord, "PIES"},
                                                               {DBRecExplanation, "burek"},
                                                               {DBRecEnd, ""}};
    EXPECT_EQ(records, expected);

    TDB db;
    db.Load(file);
    ASSERT_NE(db.FindRecord("KOT"), nullptr);
    EXPECT_EQ(db.FindRecord("KOT")->Score, 37);
    EXPECT_EQ(db.FindRecord("PIES")->Score, -1);
}

TEST(DBScoreRecords, OnlyDecimalsFrom0To100AfterAWordAreRead)
{
    const std::vector<std::pair<std::string, int32_t>> cases = {
        {"0", 0},   {"7", 7}, {"100", 100}, {"007", 7}, {"101", -2},
        {"-1", -2}, {"", -2}, {"1a", -2},   {" 5", -2}, {"1000", -2},
    };
    for (const auto& [text, score] : cases) {
        TDB db;
        const std::vector<TDBFileRecord> records = {{DBRecWord, "KOT"}, {DBRecScore, text}, {DBRecEnd, {}}};
        if (score == -2) {
            EXPECT_THROW(db.LoadRecords(101, records, "b.hk"), EDBInvalidOperation) << text;
        } else {
            db.LoadRecords(101, records, "b.hk");
            EXPECT_EQ(db.Words()->Score, score) << text;
        }
    }
    TDB db;
    EXPECT_THROW(db.LoadRecords(101, {{DBRecScore, "5"}, {DBRecWord, "KOT"}, {DBRecEnd, {}}}, "b.hk"),
                 EDBInvalidOperation);
}

// Like the length limits: the load moves the words scored below the least
// score, and the words set aside, to ExcludedWords; the rest keep their order.
TEST(DBLoadFilter, WordsScoredBelowTheLeastAndWordsSetAsideAreExcluded)
{
    const std::vector<TDBFileRecord> records = {{DBRecWord, "KOT"},
                                                {DBRecScore, "40"},
                                                {DBRecWord, "PIES"},
                                                {DBRecScore, "9"},
                                                {DBRecWord, "OSA"},
                                                {DBRecWord, "LIS"},
                                                {DBRecScore, "10"},
                                                {DBRecWord,
                                                 "\xAF"
                                                 "UK"},
                                                {DBRecScore, "0"},
                                                {DBRecWord, "RYBA"},
                                                {DBRecScore, "80"},
                                                {DBRecEnd, {}}};
    auto load = [&](int32_t minScore, std::unordered_set<std::string> setAside) {
        TDB db(qmPlain);
        TDBLoadFilter filter{3, 16, minScore};
        if (!setAside.empty())
            filter.SetAside = std::make_shared<const std::unordered_set<std::string>>(std::move(setAside));
        db.LoadRecords(101, records, "s.hk", filter);
        return std::make_pair(Chain(db.Words()), Chain(db.ExcludedWords()));
    };
    using TWords = std::vector<std::string>;
    // A word without a score (OSA) is never set aside for it. ŻUK is written in CP1250.
    EXPECT_EQ(load(0, {}),
              std::make_pair(TWords{"RYBA",
                                    "\xAF"
                                    "UK",
                                    "LIS", "OSA", "PIES", "KOT"},
                             TWords{}));
    EXPECT_EQ(load(10, {}),
              std::make_pair(TWords{"RYBA", "LIS", "OSA", "KOT"},
                             TWords{"PIES",
                                    "\xAF"
                                    "UK"}));
    EXPECT_EQ(load(41, {"RYBA", "OSA", "NIC"}),
              std::make_pair(TWords{},
                             TWords{"KOT", "PIES", "OSA", "LIS",
                                    "\xAF"
                                    "UK",
                                    "RYBA"}));
    EXPECT_EQ(load(0, {"PIES"}),
              std::make_pair(TWords{"RYBA",
                                    "\xAF"
                                    "UK",
                                    "LIS", "OSA", "KOT"},
                             TWords{"PIES"}));
}

class DBCleaningCommand : public TTempDirTest { };

TEST_F(DBCleaningCommand, DbBuildReportsWhatItLeftOutAndHowManyWordsAreScored)
{
    WriteBytes(PathOf("th.dat"), MarkedThesaurus);
    WriteBytes(PathOf("stop.txt"), ReviewedStopList);
    WriteBytes(PathOf("czestosc.tsv"), "1\tkrowa\t\n2\tpsa\tpies\n");
    const std::string log = PathOf("log.txt");
    const std::string command = std::string(MZ_CLI) + " db-build --out '" + PathOf("baza.hk") + "' --stoplist '"
        + PathOf("stop.txt") + "' --commonness '" + PathOf("czestosc.tsv") + "' --thesaurus '" + PathOf("th.dat")
        + "' > '" + log + "' 2>&1";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << ReadBytes(log);
    const std::string output = ReadBytes(log);
    for (const char* line :
         {"Usunięto 3 haseł: 2 oznaczonych w tezaurusie jako wulgarne lub obraźliwe we wszystkich znaczeniach, "
          "1 z listy wykluczeń, 0 pejoratywnych z listy rejestrów; 1 innych zostało bez objaśnienia\n",
          "Usunięto 7 objaśnień: 3 usuniętych haseł, 4 ze znaczeń wulgarnych lub obraźliwych i z naprawy pozostałych "
          "haseł; 2 objaśnień bez obraźliwego lub błędnego wyrazu zastąpiło dawne\n",
          "Naprawa objaśnień tezaurusa: 1 wyrazów o wspólnym rdzeniu z hasłem, 0 wyrazów nacechowanych, 0 wyrazów "
          "z listy poprawek, 0 objaśnień krótszych niż 3 litery, 0 objaśnień \"rodzaj:\" bez potwierdzonego "
          "kierunku\n",
          // KROWA, PIES and UROJONY: the thesaurus marks them in one sense.
          "Hasła nacechowane (poza szkolnym układaniem): 3\n",
          "9 haseł, 11 objaśnień, 0 z dźwiękiem, 2 na liście częstości"})
        EXPECT_NE(output.find(line), std::string::npos) << line << "\n" << output;

    TDB db;
    db.Load(PathOf("baza.hk"), {2, 255});
    EXPECT_EQ(db.FindRecord("KROWA")->Score, 100);
    EXPECT_EQ(db.FindRecord("PIES")->Score, 37);
    EXPECT_EQ(db.FindRecord(Cp("PTAK"))->Score, 0);
}
