#include "ComposerTestUtil.h"

#include "composer/Composer.h"
#include "composer/NumberedName.h"
#include "documents/CrossTXT.h"

#include <filesystem>
#include <fstream>
#include <set>

using namespace mz;
using namespace mz::test;

namespace {

// Made-up words over a few letters: plenty of crossings for small grids.
std::vector<std::string> SyntheticWords(size_t count)
{
    const std::string letters = "AEIOKLMNPRST";
    TRandom random(2024);
    std::vector<std::string> words;
    std::set<std::string> seen;
    while (words.size() < count) {
        std::string w(3 + random.Draw(4), ' ');
        for (char& c : w)
            c = letters[random.Draw(static_cast<uint32_t>(letters.size()))];
        if (seen.insert(w).second)
            words.push_back(w);
    }
    return words;
}

TDBSource SyntheticSource(TDBQueryMode mode = qmIndexed)
{
    static const std::vector<std::string> words = SyntheticWords(3000);
    return [mode] { return MakeDB(words, mode); };
}

TComposerSettings RunSettings(uint32_t maxSteps = 0)
{
    TComposerSettings s;
    s.MinLenPWord = 3;
    s.MaxLenPWord = 16;
    s.AnyWordLocation = false;
    s.MaxSteps = maxSteps;
    return s;
}

struct TRunOutcome {
    TComposeResult Result;
    TCrossTXT Document;
    uint8_t Progress = 0;
};

TRunOutcome RunOnce(const TTable& pattern, uint32_t seed, TDBSource source = SyntheticSource(), uint32_t maxSteps = 0)
{
    TComposeRun run(pattern, std::move(source), RunSettings(maxSteps));
    std::atomic<bool> stop{false};
    // A budget that no attempt can keep would restart for ever; give up instead.
    uint64_t previews = 0;
    run.OnPreview = [&](const TTable&, bool) {
        if (++previews > 200000)
            stop = true;
    };
    std::atomic<uint8_t> progress{0};
    TRunOutcome outcome;
    outcome.Document.FileName = "K_0000.krz";
    outcome.Result = run.Execute(outcome.Document, stop, progress, seed);
    outcome.Progress = progress;
    return outcome;
}

bool SameCrossword(const TRunOutcome& a, const TRunOutcome& b)
{
    if (!a.Result.Grid || !b.Result.Grid || !(*a.Result.Grid == *b.Result.Grid))
        return false;
    const auto x = a.Document.ExplsInNumberOrder();
    const auto y = b.Document.ExplsInNumberOrder();
    return x.size() == y.size() && std::equal(x.begin(), x.end(), y.begin(), [](const auto& p, const auto& q) {
               return p.Number == q.Number && p.Expl == q.Expl;
           });
}

const TTable Open7x6 = TTable(7, 6);

TEST(ComposeRun, ASeedAlwaysGivesTheSameCrosswordWithPlainAndIndexedQueries)
{
    int differentFromSeedOne = 0;
    const TRunOutcome first = RunOnce(Open7x6, 1);
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        const TRunOutcome indexed = RunOnce(Open7x6, seed);
        const TRunOutcome again = RunOnce(Open7x6, seed);
        const TRunOutcome plain = RunOnce(Open7x6, seed, SyntheticSource(qmPlain));
        ASSERT_TRUE(indexed.Result.HandedOver) << indexed.Result.Error;
        EXPECT_EQ(indexed.Progress, 100);
        EXPECT_GT(indexed.Document.ExplCount(), 0);
        EXPECT_TRUE(SameCrossword(indexed, again)) << seed;
        EXPECT_TRUE(SameCrossword(indexed, plain)) << seed;
        EXPECT_EQ(indexed.Result.TotalSteps, plain.Result.TotalSteps);
        differentFromSeedOne += SameCrossword(first, indexed) ? 0 : 1;
    }
    EXPECT_GE(differentFromSeedOne, 8); // the seed matters
}

TEST(ComposeRun, ARunWithinTheBudgetIsUnchangedAndARestartEqualsAFreshRunFromItsSeed)
{
    int restarted = 0;
    for (uint32_t seed = 1; seed <= 30; ++seed) {
        const TRunOutcome unbounded = RunOnce(Open7x6, seed);
        const TRunOutcome roomy = RunOnce(Open7x6, seed, SyntheticSource(), unbounded.Result.Steps);
        EXPECT_EQ(roomy.Result.Restarts, 0u);
        EXPECT_TRUE(SameCrossword(unbounded, roomy)) << seed;
        // No run on this grid takes fewer than 12 steps; a budget near that
        // would restart for a long time before some attempt keeps it.
        if (unbounded.Result.Steps < 16)
            continue;
        // One step short: the attempt is abandoned for a new seed from the generator.
        const TRunOutcome tight = RunOnce(Open7x6, seed, SyntheticSource(), unbounded.Result.Steps - 1);
        ASSERT_TRUE(tight.Result.HandedOver) << tight.Result.Error;
        ASSERT_GE(tight.Result.Restarts, 1u);
        ++restarted;
        EXPECT_EQ(tight.Result.Seed, seed);
        EXPECT_NE(tight.Result.AttemptSeed, seed);
        EXPECT_LE(tight.Result.Steps, unbounded.Result.Steps - 1);
        const TRunOutcome fresh = RunOnce(Open7x6, tight.Result.AttemptSeed);
        EXPECT_TRUE(SameCrossword(tight, fresh)) << seed;
    }
    EXPECT_GT(restarted, 10);
}

TEST(ComposeRun, AStopDuringTheDatabaseLoadClosesTheTemplateAndHandsNothingOver)
{
    std::atomic<bool> stop{false};
    TComposeRun run(
        Grid({".......", "..*....", ".......", "......."}),
        [&] {
            stop = true;
            return MakeDB(SyntheticWords(300));
        },
        RunSettings());
    std::vector<std::pair<TTable, bool>> previews;
    run.OnPreview = [&](const TTable& grid, bool final) { previews.emplace_back(grid, final); };
    std::atomic<uint8_t> progress{0};
    TCrossTXT doc;
    doc.FileName = "K_0003.krz";
    const TComposeResult result = run.Execute(doc, stop, progress, 9);
    EXPECT_TRUE(result.Stopped);
    EXPECT_FALSE(result.HandedOver);
    EXPECT_EQ(result.TotalSteps, 0u);
    EXPECT_EQ(progress, 0);
    ASSERT_EQ(previews.size(), 1u);
    EXPECT_TRUE(previews[0].second);
    EXPECT_EQ(Rows(previews[0].first), (std::vector<std::string>{"*******", "*******", "*******", "*******"}));
    EXPECT_EQ(doc.FileName, "K_0003.krz");
    EXPECT_EQ(doc.ExplCount(), 0);
}

TEST(ComposeRun, AStopBetweenStepsEndsTheRunAfterTheCurrentStep)
{
    std::atomic<bool> stop{false};
    TComposeRun run(Open7x6, SyntheticSource(), RunSettings());
    int placed = 0;
    run.OnPreview = [&](const TTable&, bool final) {
        if (!final && ++placed == 2)
            stop = true;
    };
    std::atomic<uint8_t> progress{0};
    TCrossTXT doc;
    const TComposeResult result = run.Execute(doc, stop, progress, 3);
    EXPECT_TRUE(result.Stopped);
    EXPECT_EQ(result.TotalSteps, 2u);
    EXPECT_GT(progress, 0);
    EXPECT_LT(progress, 100);
    EXPECT_EQ(doc.ExplCount(), 0);
    EXPECT_EQ(result.Grid->FilledCount(), 7 * 6); // blanks closed all the same
}

TEST(ComposeRun, AStopIsHonouredBetweenRestarts)
{
    std::atomic<bool> stop{false};
    // A budget of one step can never finish this grid: only the stop ends the run.
    TComposeRun run(Open7x6, SyntheticSource(), RunSettings(1));
    uint32_t previews = 0;
    run.OnPreview = [&](const TTable&, bool) {
        if (++previews == 25)
            stop = true;
    };
    std::atomic<uint8_t> progress{0};
    TCrossTXT doc;
    const TComposeResult result = run.Execute(doc, stop, progress, 3);
    EXPECT_TRUE(result.Stopped);
    EXPECT_GE(result.Restarts, 5u);
}

TEST(ComposeRun, ProgressNeverFallsAndAnOpenTemplateEndsAtOneHundred)
{
    std::atomic<uint8_t> progress{0};
    uint8_t last = 0;
    bool fell = false;
    TComposeRun run(Open7x6, SyntheticSource(), RunSettings());
    run.OnPreview = [&](const TTable&, bool) {
        fell = fell || progress < last;
        last = progress;
    };
    const std::atomic<bool> stop{false};
    TCrossTXT doc;
    for (uint32_t seed = 1; seed <= 10; ++seed) {
        progress = 0;
        last = 0;
        ASSERT_TRUE(run.Execute(doc, stop, progress, seed).HandedOver);
        EXPECT_EQ(progress, 100);
    }
    EXPECT_FALSE(fell);
}

TEST(ComposeRun, ABlockedTemplateEndsAtOnceWithAMessageAndNoCrossword)
{
    const TRunOutcome outcome = RunOnce(Grid({"****", "****", "****"}), 1);
    EXPECT_FALSE(outcome.Result.HandedOver);
    EXPECT_TRUE(outcome.Result.Failed);
    EXPECT_EQ(outcome.Result.Message, MsgNoOpenCells);
    EXPECT_EQ(outcome.Progress, 0);
    EXPECT_EQ(outcome.Result.TotalSteps, 0u);
    EXPECT_EQ(outcome.Document.ExplCount(), 0);
    EXPECT_EQ(outcome.Document.FileName, "K_0000.krz");
}

TEST(ComposeRun, AMissingDatabaseEndsTheRunWithItsErrorAndLeavesEverythingAlone)
{
    std::atomic<uint8_t> progress{7};
    const std::atomic<bool> stop{false};
    TComposeRun run(Open7x6, FileDBSource("/nonexistent/baza.hk", {}), RunSettings());
    bool previewed = false;
    run.OnPreview = [&](const TTable&, bool) { previewed = true; };
    TCrossTXT doc;
    doc.FileName = "x.krz";
    const TComposeResult result = run.Execute(doc, stop, progress);
    EXPECT_EQ(result.Error, "Wystąpił błąd podczas otwarcia pliku /nonexistent/baza.hk");
    EXPECT_FALSE(result.HandedOver);
    EXPECT_FALSE(previewed);
    EXPECT_EQ(progress, 7);
    EXPECT_EQ(doc.FileName, "x.krz");
}

struct TPercentCase {
    int32_t Filled;
    int32_t Cells;
    int Percent;
};

class FillPercentageTest : public ::testing::TestWithParam<TPercentCase> { };

// n * 100 / N rounded to the nearest integer, halves to the even neighbour.
TEST_P(FillPercentageTest, RoundsHalvesToEven)
{
    const TPercentCase& c = GetParam();
    TTable grid(c.Cells, 1);
    for (int32_t i = 1; i <= c.Filled; ++i)
        grid.SetCell(i, 1, 'A');
    EXPECT_EQ(FillPercentage(grid), c.Percent);
}

INSTANTIATE_TEST_SUITE_P(Cases, FillPercentageTest,
                         ::testing::Values(TPercentCase{1, 8, 12},  // 12.5 -> 12
                                           TPercentCase{3, 8, 38},  // 37.5 -> 38
                                           TPercentCase{1, 200, 0}, // 0.5 -> 0
                                           TPercentCase{3, 200, 2}, // 1.5 -> 2
                                           TPercentCase{1, 3, 33}, TPercentCase{2, 3, 67}, TPercentCase{5, 5, 100}));

class NumberedNameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Dir = std::filesystem::temp_directory_path()
            / ("mz-names-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-"
               + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(Dir);
        std::filesystem::create_directories(Dir);
    }
    void TearDown() override { std::filesystem::remove_all(Dir); }
    void Touch(const std::string& name) { std::ofstream(Dir / name) << "x"; }

    std::filesystem::path Dir;
};

TEST_F(NumberedNameTest, TheFirstFreeNumberIsChosen)
{
    EXPECT_EQ(NumberedFileName(Dir, "krz", "K_????").filename(), "K_0000.krz");
    Touch("K_0000.krz");
    Touch("K_0001.krz");
    EXPECT_EQ(NumberedFileName(Dir, "krz", "K_????").filename(), "K_0002.krz");
    std::filesystem::remove(Dir / "K_0000.krz");
    EXPECT_EQ(NumberedFileName(Dir, "krz", "K_????").filename(), "K_0000.krz");
    EXPECT_EQ(NumberedFileName(Dir, "krz", "").filename(), "K_0000.krz"); // empty prefix: K_????
}

TEST_F(NumberedNameTest, WhenEveryNameIsTakenTheSearchEndsWithAnError)
{
    for (int n = 0; n < 100; ++n)
        Touch(NumberedName("AB??", n) + ".krz");
    EXPECT_THROW(NumberedFileName(Dir, "krz", "AB??"), EInvalidCrossKwelinOperation);
    Touch("Stała.krz");
    EXPECT_THROW(NumberedFileName(Dir, "krz", "Stała"), EInvalidCrossKwelinOperation);
    EXPECT_EQ(NumberedFileName(Dir, "krz", "Inna").filename(), "Inna.krz");
}

TEST(NumberedName, PadsTheCounterAndKeepsItsFirstDigits)
{
    EXPECT_EQ(NumberedName("K_????", 0), "K_0000");
    EXPECT_EQ(NumberedName("K_????", 231), "K_0231");
    EXPECT_EQ(NumberedName("K_????", 12345), "K_1234");
    EXPECT_EQ(NumberedName("AB??", 7), "AB07");
    EXPECT_EQ(NumberedName("?x?", 42), "4x2");
    EXPECT_EQ(NumberedName("Stała", 3), "Stała");
}

} // namespace
