// The register of words and clue terms, the builder's clue repair, the basic
// vocabulary and the levels.
#include "../documents/TestFiles.h"
#include "DBTestUtil.h"

#include "core/Cp1250.h"
#include "database/Commonness.h"
#include "database/DBBuilder.h"
#include "database/WordBase.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <tuple>

using namespace mz;
using namespace mz::test;

namespace {

// A small thesaurus with one case of every repair rule.
const char* const RepairThesaurus = "UTF-8\n"
                                    "ukarać|1\n-|karać|ukarać|zganić\n"
                                    "archanioł|1\n-|anioł|serafin\n"
                                    "ego|2\n-|ja\n-|ja|jaźń\n"
                                    "kto|1\n-|jaki|który\n"
                                    "noc|1\n-|nocka (pojęcie podrzędne)|Chronos (książk.) (pojęcie nadrzędne)\n"
                                    "kot|1\n-|zwierzę (pojęcie nadrzędne)\n"
                                    "pies|1\n-|ssak (pojęcie nadrzędne)\n"
                                    "zwierzę|1\n-|istota|kot (pojęcie podrzędne)\n"
                                    "mocz|1\n-|uryna|szczochy|siki (pot.)\n"
                                    "pani|1\n-|kobieta|córa Koryntu\n"
                                    "iwan|1\n-|Rosjanin\n"
                                    "siki|1\n-|mocz|uryna\n"
                                    "trawka|1\n-|marihuana|trawa\n";

const char* const Registers = "# reviewed\n"
                              "szczochy\twulgarne\tordynarne\n"
                              "córa Koryntu\tseksualne\tprostytutka\n"
                              "siki\twulgarne\tordynarne\n"
                              "iwan\tpejoratywne\tpogardliwie o Rosjaninie\n"
                              "trawka\tnarkotyki\tslang\n";

const char* const Overrides = "KTO\tjaki\tzaimek przymiotny\n";

TDBBuilder RepairBuilder(const std::string& registers = Registers)
{
    TDBBuilder builder;
    std::istringstream reg(registers);
    builder.AddRegisterList(reg, "rejestr.tsv");
    std::istringstream over(Overrides);
    builder.AddOverrides(over, "poprawki.tsv");
    std::istringstream thesaurus(RepairThesaurus);
    builder.AddThesaurus(thesaurus, "th.dat");
    return builder;
}

} // namespace

// Each rule on its case: the answer's stem, a clue of one short term, an
// unconfirmed or noted broader term, the override list, marked terms and
// words; the report counts each rule.
TEST(DBClueRepair, EveryRuleMendsItsCaseAndIsCounted)
{
    TDBBuilder builder = RepairBuilder();
    std::map<std::string, std::tuple<std::vector<std::string>, TRegister>> result;
    for (const auto& word : builder.Result()) {
        std::vector<std::string> clues;
        for (const auto& clue : word.Explanations)
            clues.push_back(Cp1250ToUtf8(clue));
        result[Cp1250ToUtf8(word.PWord)] = {clues, word.Register};
    }
    const std::map<std::string, std::tuple<std::vector<std::string>, TRegister>> expected = {
        {"UKARAĆ", {{"zganić"}, rgOrdinary}},       {"ARCHANIOŁ", {{"serafin"}, rgOrdinary}},
        {"EGO", {{"ja, jaźń"}, rgOrdinary}},        {"KTO", {{"który"}, rgOrdinary}},
        {"KOT", {{"rodzaj: zwierzę"}, rgOrdinary}}, {"ZWIERZĘ", {{"istota"}, rgOrdinary}},
        {"MOCZ", {{"uryna"}, rgOrdinary}},          {"PANI", {{"kobieta"}, rgOrdinary}},
        {"SIKI", {{"mocz, uryna"}, rgCrude}},       {"TRAWKA", {{"marihuana"}, rgDrugs}},
    };
    EXPECT_EQ(result, expected);
    const TClueRepair& repair = builder.Repair();
    EXPECT_EQ(repair.StemTerms, 3);     // karać, anioł, trawa
    EXPECT_EQ(repair.ShortClues, 1);    // EGO "ja"
    EXPECT_EQ(repair.Hypernyms, 2);     // NOC "Chronos", PIES "ssak"
    EXPECT_EQ(repair.OverrideTerms, 1); // KTO "jaki"
    EXPECT_EQ(repair.RegisterTerms, 3); // szczochy, siki, córa Koryntu
    EXPECT_EQ(builder.Cleaning().PejorativeWords, 1);
}

// A later list wins, "zwykłe" takes a word back; a line without a known
// register or a reason is refused with its line.
TEST(DBRegisterList, LaterListsWinAndBrokenLinesAreRefused)
{
    TDBBuilder builder = RepairBuilder();
    std::istringstream back("siki\tzwykłe\tdziecięce\n");
    builder.AddRegisterList(back, "drugi.tsv");
    EXPECT_EQ(builder.RegisterOf(Utf8ToCp1250("SIKI")), rgOrdinary);
    EXPECT_EQ(builder.RegisterOf(Utf8ToCp1250("CÓRA KORYNTU")), rgSexual);
    for (const char* bad : {"siki\tbrzydkie\tpowód\n", "siki\twulgarne\n", "siki\twulgarne\t \n", "\twulgarne\tx\n"}) {
        std::istringstream in(std::string("# x\n") + bad);
        try {
            TDBBuilder other;
            other.AddRegisterList(in, "r.tsv");
            ADD_FAILURE() << bad;
        } catch (const EDBInvalidOperation& e) {
            EXPECT_NE(std::string(e.what()).find("r.tsv, wiersz 2"), std::string::npos) << e.what();
        }
    }
}

// The register record follows the word; a school load leaves every marked
// word out, any load the pejoratives; a text no key names counts as marked.
TEST(DBRegisterRecords, TheSchoolSettingDecidesWhichWordsAreComposedFrom)
{
    const std::vector<TDBFileRecord> records = {{DBRecWord, "KOT"},
                                                {DBRecWord, "SIKI"},
                                                {DBRecRegister, "wulgarne"},
                                                {DBRecWord, "IWAN"},
                                                {DBRecRegister, Utf8ToCp1250("pejoratywne")},
                                                {DBRecWord, "TRAWKA"},
                                                {DBRecRegister, "narkotyki"},
                                                {DBRecWord, "KRAM"},
                                                {DBRecRegister, "nieznane"},
                                                {DBRecWord, "LIS"},
                                                {DBRecEnd, {}}};
    const std::vector<std::pair<bool, std::vector<std::string>>> cases = {
        {true, {"LIS", "KOT"}},
        {false, {"LIS", "KRAM", "TRAWKA", "SIKI", "KOT"}},
    };
    for (const auto& [school, words] : cases) {
        TDB db(qmPlain);
        TDBLoadFilter filter;
        filter.SchoolSafe = school;
        db.LoadRecords(101, records, "r.hk", filter);
        EXPECT_EQ(Chain(db.Words()), words) << school;
    }
    TDB db;
    EXPECT_THROW(db.LoadRecords(101, {{DBRecRegister, "wulgarne"}, {DBRecWord, "KOT"}, {DBRecEnd, {}}}, "r.hk"),
                 EDBInvalidOperation);
}

class DBRegisterFiles : public TTempDirTest { };

// Written by the builder, read by the loader and the editor's base, changed
// there: the record appears, changes and goes.
TEST_F(DBRegisterFiles, TheRegisterTravelsThroughTheFileAndTheEditor)
{
    const std::string file = PathOf("baza.hk");
    TDBWord siki{"SIKI", {"mocz"}, "", 5};
    siki.Register = rgCrude;
    WriteDBFile(file, 101, {{"KOT", {"mruczek"}, "", 40}, siki});
    TWordBase base;
    base.Load(file, PathOf("zmiany.hk"));
    ASSERT_NE(base.Find("SIKI"), nullptr);
    EXPECT_EQ(base.Find("SIKI")->Register(), rgCrude);
    EXPECT_EQ(base.Find("KOT")->Register(), rgOrdinary);
    TBaseWord kot = *base.Find("KOT");
    kot.SetRegister(rgInsult);
    EXPECT_EQ(kot.Register(), rgInsult);
    kot.SetRegister(rgOrdinary);
    EXPECT_EQ(kot, *base.Find("KOT"));
}

// The basic vocabulary scores 100 and its clues come first; the other clues
// run from the most common terms to the rarest.
TEST(DBBasicVocabulary, ScoresAsTheMostCommonAndItsCluesComeFirst)
{
    TDBBuilder builder;
    std::istringstream scores("1\tkot\t\n2\tdom\t\n50\tzwierz\t\n");
    TCommonness commonness;
    commonness.Load(scores, "c.tsv");
    builder.SetCommonness(std::move(commonness));
    std::vector<std::string> warnings;
    std::istringstream tsv("LIS\tzwierz, abakus\tkot, dom\n");
    builder.AddTsv(tsv, "slowa.tsv", warnings);
    std::istringstream basic("# podstawowe\nlis\trudy drapieżnik leśny\njeż\tkolczasty ssak\n");
    builder.AddBasic(basic, "podstawowe.tsv", warnings);
    const auto words = builder.Result();
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(words[0].Score, 100);
    const std::vector<std::string> clues = {"rudy drapie\xBFnik le\x9Cny", "kot, dom", "zwierz, abakus"};
    EXPECT_EQ(words[0].Explanations, clues);
    EXPECT_EQ(words[1].PWord, Utf8ToCp1250("JEŻ"));
    EXPECT_EQ(words[1].Score, 100);
}

// From the easiest to the hardest: names, least scores, clue choices; the
// stored numbers keep their names.
TEST(DBDifficulty, LevelsRunFromEasiestToHardest)
{
    const std::vector<std::tuple<TDifficulty, std::string, int32_t, TClueChoice>> levels =
        {{dfEasy, "łatwy", 20, ccCommonest},
         {dfMedium, "średni", 10, ccDrawn},
         {dfAll, "wszystkie słowa", 0, ccDrawn},
         {dfHard, "trudny", 0, ccRarest}};
    ASSERT_EQ(std::size(DifficultyLevels), levels.size());
    for (size_t i = 0; i < levels.size(); ++i) {
        const auto& [level, name, score, choice] = levels[i];
        EXPECT_EQ(DifficultyLevels[i], level);
        EXPECT_EQ(DifficultyName(level), name);
        EXPECT_EQ(DifficultyMinScore(level), score) << name;
        EXPECT_EQ(DifficultyClueChoice(level), choice) << name;
        TDifficulty parsed = dfEasy;
        EXPECT_TRUE(ParseDifficulty(name, parsed) && parsed == level) << name;
    }
    EXPECT_EQ(int(dfEasy), 0);
    EXPECT_EQ(int(dfMedium), 1);
    EXPECT_EQ(int(dfHard), 2);
    EXPECT_EQ(int(dfAll), 3);
    TDifficulty parsed = dfEasy;
    EXPECT_TRUE(ParseDifficulty("wszystkie", parsed) && parsed == dfAll);
    for (const char* bad : {"", "łatwe", "ŁATWY", "wszystkie słowa ", "słowa"})
        EXPECT_FALSE(ParseDifficulty(bad, parsed)) << bad;
}
