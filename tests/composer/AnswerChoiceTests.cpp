// Which words a composed crossword may use: the answers of earlier crosswords
// of a series set aside, and the difficulty levels' least commonness scores.
#include "ComposerTestUtil.h"

#include "../documents/TestFiles.h"
#include "composer/Composer.h"
#include "composer/SeriesWords.h"
#include "core/Cp1250.h"
#include "database/Commonness.h"
#include "database/DBBuilder.h"
#include "documents/CrossTXT.h"
#include "documents/DataAccess.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sys/wait.h>
#include <unordered_set>

using namespace mz;
using namespace mz::test;

namespace {

const std::string AppDir = MZ_APP_DIR;
const std::string DatabaseFile = AppDir + "/baza.hk";

TTable ShippedTemplate(const std::string& name)
{
    TCrossTXT doc;
    doc.LoadFromFile((std::filesystem::u8path(AppDir) / "Szablony" / std::filesystem::u8path(name)).string());
    return TableFromDocument(doc);
}

TComposeResult Compose(const TTable& pattern, const std::string& database, const TDBLoadFilter& filter, uint32_t seed,
                       TCrossTXT& doc)
{
    TComposeRun run(pattern, FileDBSource(database, filter), TComposerSettings{});
    const std::atomic<bool> stop{false};
    std::atomic<uint8_t> progress{0};
    TComposeResult result = run.Execute(doc, stop, progress, seed);
    EXPECT_TRUE(result.HandedOver) << result.Error;
    return result;
}

class ShippedAnswers : public TTempDirTest {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(DatabaseFile))
            GTEST_SKIP() << "no shipped database in " << AppDir;
        TTempDirTest::SetUp();
    }
};

} // namespace

TEST(GridAnswers, AreTheRunsOfAtLeastTheLeastLengthAcrossThenDown)
{
    const TTable grid = Grid({"KOT*AS", "A*OKO*", "TAK..Y"});
    EXPECT_EQ(GridAnswers(grid, 3), (std::vector<std::string>{"KOT", "OKO", "TAK", "KAT", "TOK"}));
    EXPECT_EQ(GridAnswers(grid, 2), (std::vector<std::string>{"KOT", "AS", "OKO", "TAK", "KAT", "TOK", "AO"}));
}

// The caller adds the answers of every finished crossword to the set the
// filter shares, so the crosswords after it never see those words.
TEST_F(ShippedAnswers, ASeriesWithEarlierAnswersSetAsideRepeatsNoAnswer)
{
    const TTable pattern = ShippedTemplate("Mały.sz");
    for (const bool unique : {false, true}) {
        auto seen = std::make_shared<std::unordered_set<std::string>>();
        TDBLoadFilter filter;
        if (unique)
            filter.SetAside = seen;
        std::map<std::string, int> uses;
        for (uint32_t seed = 1; seed <= 12; ++seed) {
            TCrossTXT doc;
            const TComposeResult result = Compose(pattern, DatabaseFile, filter, seed, doc);
            ASSERT_TRUE(result.Grid);
            for (const std::string& answer : GridAnswers(*result.Grid, filter.MinLenPWord)) {
                ++uses[answer];
                seen->insert(answer);
            }
        }
        int repeated = 0;
        for (const auto& [answer, count] : uses)
            repeated += count - 1;
        if (unique)
            EXPECT_EQ(repeated, 0);
        else
            EXPECT_GT(repeated, 0) << "the plain series should repeat some answer, or this test proves nothing";
    }
}

TEST_F(ShippedAnswers, EachLevelComposesOnlyWordsScoredAtLeastItsLeastScore)
{
    TDB all(qmPlain);
    all.Load(DatabaseFile, {2, 255});
    const TTable pattern = ShippedTemplate("Normal.sz");
    for (const TDifficulty level : {dfEasy, dfMedium, dfHard}) {
        const int32_t least = DifficultyMinScore(level);
        for (uint32_t seed = 1; seed <= 2; ++seed) {
            TCrossTXT doc;
            const TComposeResult result = Compose(pattern, DatabaseFile, TDBLoadFilter{3, 16, least}, seed, doc);
            ASSERT_TRUE(result.Grid);
            for (const std::string& answer : GridAnswers(*result.Grid, 3)) {
                const TDBRec* rec = all.FindRecord(answer);
                ASSERT_NE(rec, nullptr) << Cp1250ToUtf8(answer);
                EXPECT_GE(rec->Score, least) << DifficultyName(level) << ": " << Cp1250ToUtf8(answer);
            }
        }
    }
}

// "All words" composes exactly what a database without any scores composes.
TEST_F(ShippedAnswers, ScoresChangeNothingWhenEveryWordIsAllowed)
{
    std::vector<TDBWord> words;
    ReadRecordFile(
        DatabaseFile, [](const TRecordHeader&) {},
        [&](const TDataFromBuf& r) {
            if (r.RecType == DBRecWord)
                words.push_back({r.Data, {}, {}, -1});
            else if (r.RecType == DBRecExplanation)
                words.back().Explanations.push_back(r.Data);
            else if (r.RecType == DBRecAudio)
                words.back().Audio = r.Data.substr(0, r.Data.size() - 2);
        });
    const std::string unscored = PathOf("bez-ocen.hk");
    WriteDBFile(unscored, 102, words);

    const TTable pattern = ShippedTemplate("Normal.sz");
    const TDBLoadFilter filter{3, 16, DifficultyMinScore(dfAll)};
    for (uint32_t seed = 1; seed <= 3; ++seed) {
        TCrossTXT withScores;
        TCrossTXT without;
        const TComposeResult a = Compose(pattern, DatabaseFile, filter, seed, withScores);
        const TComposeResult b = Compose(pattern, unscored, TDBLoadFilter{}, seed, without);
        ASSERT_TRUE(a.Grid && b.Grid);
        EXPECT_EQ(Rows(*a.Grid), Rows(*b.Grid)) << "seed " << seed;
        ASSERT_EQ(withScores.ExplCount(), without.ExplCount());
        for (int32_t i = 1; i <= withScores.ExplCount(); ++i)
            EXPECT_EQ(withScores.GetExpl(i), without.GetExpl(i)) << "seed " << seed;
    }
}

TEST_F(ShippedAnswers, ComposeCommandTakesADifficultyAndAUniqueSeries)
{
    const std::string log = PathOf("log.txt");
    auto run = [&](const std::string& args) {
        const std::string command = std::string(MZ_CLI_PATH) + " compose --template '" + AppDir
            + "/Szablony/Mały.sz' --db '" + DatabaseFile + "' " + args + " > '" + log + "' 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    ASSERT_EQ(run("--out-dir '" + PathOf("seria") + "' --count 3 --seed 5 --unique-series --difficulty łatwy"), 0)
        << ReadBytes(log);
    for (const char* name : {"K_0000.krz", "K_0001.krz", "K_0002.krz"})
        EXPECT_TRUE(std::filesystem::exists(PathOf("seria") + "/" + name)) << name;

    EXPECT_NE(run("--out '" + PathOf("a.krz") + "' --unique-series"), 0);
    EXPECT_NE(ReadBytes(log).find("--unique-series działa tylko z --out-dir"), std::string::npos) << ReadBytes(log);
    EXPECT_NE(run("--out '" + PathOf("a.krz") + "' --difficulty bardzo"), 0);
    EXPECT_NE(ReadBytes(log).find("Nieznany poziom trudności: bardzo"), std::string::npos) << ReadBytes(log);
    EXPECT_FALSE(std::filesystem::exists(PathOf("a.krz")));
}
