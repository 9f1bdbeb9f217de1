// Composes crosswords from every shipped template with the shipped word
// database and checks what a solver relies on, the shipped sample crossword
// among it. Slow: labelled "slow".
#include "composer/Composer.h"
#include "core/Cp1250.h"
#include "documents/CrossTXT.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <tuple>

using namespace mz;

namespace {

const std::string AppDir = MZ_APP_DIR;
const std::string DatabaseFile = AppDir + "/baza.hk";

struct TRun {
    std::string Word;
    int32_t Col;
    int32_t Row;
    bool Horizontal;
};

// Maximal runs of at least `minLen` letters: across row by row, then down column by column.
std::vector<TRun> Words(const TTable& grid, int32_t minLen)
{
    std::vector<TRun> runs;
    auto walk = [&](int32_t lines, int32_t length, bool across) {
        for (int32_t line = 1; line <= lines; ++line) {
            std::string run;
            for (int32_t i = 1; i <= length + 1; ++i) {
                const char cell = i > length ? TTable::Block : (across ? grid.GetCell(i, line) : grid.GetCell(line, i));
                if (TTable::IsLetter(cell)) {
                    run += cell;
                    continue;
                }
                if (static_cast<int32_t>(run.size()) >= minLen) {
                    const int32_t start = i - static_cast<int32_t>(run.size());
                    runs.push_back({run, across ? start : line, across ? line : start, across});
                }
                run.clear();
            }
        }
    };
    walk(grid.RowCount(), grid.ColCount(), true);
    walk(grid.ColCount(), grid.RowCount(), false);
    return runs;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    for (size_t from = 0, at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2)
        lines.push_back(text.substr(from, at - from));
    return lines;
}

class ShippedContent : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!std::filesystem::exists(DatabaseFile))
            return;
        Database = std::make_unique<TDB>();
        Database->Load(DatabaseFile);
        for (const TDBRec* rec = Database->Words(); rec; rec = rec->Next)
            Records.emplace(rec->PWord, rec);
        for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::u8path(AppDir + "/Szablony")))
            if (entry.path().extension() == ".sz")
                Templates.push_back(entry.path());
        std::sort(Templates.begin(), Templates.end());
    }
    static void TearDownTestSuite()
    {
        Records.clear();
        Database.reset();
    }
    void SetUp() override
    {
        if (!Database || Templates.empty())
            GTEST_SKIP() << "no shipped database or templates in " << AppDir;
    }

    static TTable Template(const std::filesystem::path& file)
    {
        TCrossTXT doc;
        doc.LoadFromFile(file.string());
        return TableFromDocument(doc);
    }

    static inline std::unique_ptr<TDB> Database;
    static inline std::map<std::string, const TDBRec*> Records;
    static inline std::vector<std::filesystem::path> Templates;
};

TComposeResult Compose(const TTable& pattern, uint32_t seed, TCrossTXT& doc, TDBQueryMode mode = qmIndexed)
{
    // The default of the window and of compose: words fit for a school.
    TDBLoadFilter filter;
    filter.SchoolSafe = true;
    TComposeRun run(pattern, FileDBSource(DatabaseFile, filter, mode), TComposerSettings{});
    const std::atomic<bool> stop{false};
    std::atomic<uint8_t> progress{0};
    return run.Execute(doc, stop, progress, seed);
}

// Every word of the grid is a database word within the length limits, no word
// stands twice (laid or completed by crossings), and the explanations are the
// words in numbering order (across row by row, then down column by column),
// each with one of its own clues and sounds.
TEST_F(ShippedContent, EveryComposedWordIsADistinctDatabaseWordWithItsOwnClue)
{
    const TComposerSettings settings;
    for (const auto& file : Templates) {
        const TTable pattern = Template(file);
        for (uint32_t seed = 1; seed <= 12; ++seed) {
            SCOPED_TRACE(file.filename().string() + " seed " + std::to_string(seed));
            TCrossTXT doc;
            const TComposeResult result = Compose(pattern, seed, doc);
            ASSERT_TRUE(result.HandedOver) << result.Error;
            const TTable& grid = *result.Grid;
            const std::vector<TRun> runs = Words(grid, settings.MinLenPWord);
            EXPECT_GT(runs.size(), 5u);

            std::multiset<std::string> inGrid;
            for (const TRun& run : runs) {
                EXPECT_TRUE(Records.count(run.Word)) << run.Word;
                EXPECT_GE(static_cast<int32_t>(run.Word.size()), settings.MinLenPWord);
                EXPECT_LE(static_cast<int32_t>(run.Word.size()), settings.MaxLenPWord);
                inGrid.insert(run.Word);
            }
            for (const std::string& word : std::set<std::string>(inGrid.begin(), inGrid.end()))
                EXPECT_EQ(inGrid.count(word), 1u) << word << " stands twice";
            for (const std::string& word : result.PlacedWords)
                EXPECT_TRUE(inGrid.count(word)) << word << " was laid but is not in the grid";

            const auto expls = doc.ExplsInNumberOrder();
            ASSERT_EQ(expls.size(), runs.size());
            for (size_t i = 0; i < runs.size(); ++i) {
                const TExpl& e = expls[i].Expl;
                EXPECT_EQ(expls[i].Number, static_cast<int32_t>(i + 1));
                EXPECT_EQ(e.Col, runs[i].Col) << i;
                EXPECT_EQ(e.Row, runs[i].Row) << i;
                EXPECT_EQ(e.Horizontal, runs[i].Horizontal) << i;
                const auto record = Records.find(runs[i].Word);
                if (record == Records.end())
                    continue;
                const auto clues = Lines(record->second->ExplLines);
                // One of its clues, or one shortened to some of its terms
                // (the terms another clue of the crossword already used).
                const auto partOf = [&](const std::string& clue) {
                    const std::string text = ", " + clue + ", ";
                    std::string rest = e.Explanation + ", ";
                    for (size_t at = 0; at < rest.size();) {
                        const size_t comma = rest.find(", ", at);
                        if (text.find(", " + rest.substr(at, comma - at) + ", ") == std::string::npos)
                            return false;
                        at = comma + 2;
                    }
                    return true;
                };
                EXPECT_TRUE(clues.empty() ? e.Explanation.empty()
                                          : std::count(clues.begin(), clues.end(), e.Explanation) == 1
                                    || std::any_of(clues.begin(), clues.end(), partOf))
                    << runs[i].Word;
                const auto sounds = Lines(record->second->AudioLines);
                EXPECT_TRUE(sounds.empty() ? e.Audio.empty() : e.Audio == sounds.front()) << runs[i].Word;
            }
            for (int32_t r = 1; r <= grid.RowCount(); ++r)
                for (int32_t c = 1; c <= grid.ColCount(); ++c)
                    EXPECT_EQ(doc.GetCell(c, r), grid.GetCell(c, r) == TTable::Block ? '*' : ' ');
        }
    }
}

struct TAttempt {
    TTable Grid{0, 0};
    uint32_t Steps = 0;
    uint32_t State = 0;
    uint32_t Repeats = 0;
};

// One attempt of a run: the search from `seed` within the default step budget.
TAttempt Attempt(const TTable& pattern, uint32_t seed, bool allowRepeats)
{
    TDB db;
    db.Load(DatabaseFile);
    TKwelinSettings settings;
    settings.AllowRepeats = allowRepeats;
    TCrossKwelin kwelin(pattern, db, settings, seed);
    TAttempt attempt;
    for (TPWordCoordinate slot = kwelin.ChooseSlot(); slot.Found() && attempt.Steps < DefaultMaxSteps;
         slot = kwelin.ChooseSlot()) {
        ++attempt.Steps;
        if (!kwelin.Step(slot))
            break;
    }
    kwelin.FillBlanks();
    attempt.Grid = kwelin.Table();
    attempt.State = kwelin.Random().GetState();
    attempt.Repeats = kwelin.RepeatCount();
    return attempt;
}

// A search that never meets a word standing twice is the same with and without
// the rule against it: the same steps, the same draws, the same grid.
TEST_F(ShippedContent, TheRuleAgainstRepeatsChangesOnlySearchesThatMeetOne)
{
    int unchanged = 0;
    int met = 0;
    for (const char* name : {"Normal.sz", "Z blokami.sz"}) {
        const TTable pattern = Template(std::filesystem::u8path(AppDir + "/Szablony/" + name));
        for (uint32_t seed = 1; seed <= 50; ++seed) {
            SCOPED_TRACE(std::string(name) + " seed " + std::to_string(seed));
            const TAttempt without = Attempt(pattern, seed, true);
            const TAttempt with = Attempt(pattern, seed, false);
            if (without.Repeats > 0) {
                ++met;
                continue;
            }
            ++unchanged;
            EXPECT_EQ(with.Repeats, 0u);
            EXPECT_TRUE(with.Grid == without.Grid);
            EXPECT_EQ(with.Steps, without.Steps);
            EXPECT_EQ(with.State, without.State);
        }
    }
    EXPECT_GT(unchanged, 70);
    EXPECT_GT(met, 0);
}

// The letters `compose --solution` wrote, one row a line, as a grid.
TTable SolutionGrid(const std::filesystem::path& file)
{
    std::ifstream in(file);
    std::vector<std::string> rows;
    for (std::string line; std::getline(in, line);)
        rows.push_back(Utf8ToCp1250(line));
    TTable grid(rows.empty() ? 0 : static_cast<int32_t>(rows.front().size()), static_cast<int32_t>(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            grid.SetCell(static_cast<int32_t>(c + 1), static_cast<int32_t>(r + 1), rows[r][c]);
    return grid;
}

// Seed 57 on Normal.sz gives ARA twice in the search without the rule; the
// command gives that crossword only when asked for it.
TEST_F(ShippedContent, ComposeAllowRepeatsGivesTheSearchWithoutTheRule)
{
    const auto dir = std::filesystem::temp_directory_path() / ("mz-repeats-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    auto words = [&](const std::string& extra) {
        const std::string command = std::string("'") + MZ_CLI_PATH + "' compose --template '" + AppDir
            + "/Szablony/Normal.sz' --db '" + DatabaseFile + "' --out '" + (dir / "k.krz").string()
            + "' --seed 57 --solution '" + (dir / "k.txt").string() + "' " + extra + " > /dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        std::vector<std::string> found = SolutionGrid(dir / "k.txt").Words(3);
        std::sort(found.begin(), found.end());
        return found;
    };
    const std::vector<std::string> without = words("--allow-repeats");
    EXPECT_EQ(std::count(without.begin(), without.end(), "ARA"), 2);
    const std::vector<std::string> with = words("");
    EXPECT_EQ(std::adjacent_find(with.begin(), with.end()), with.end());
    EXPECT_NE(with, without);
    std::filesystem::remove_all(dir);
}

TEST_F(ShippedContent, PlainAndIndexedQueriesComposeTheSameCrossword)
{
    const auto small = std::find_if(Templates.begin(), Templates.end(),
                                    [](const auto& f) { return f.filename().string() == "Mały.sz"; });
    ASSERT_NE(small, Templates.end());
    const TTable pattern = Template(*small);
    for (uint32_t seed = 1; seed <= 3; ++seed) {
        TCrossTXT indexed;
        TCrossTXT plain;
        const TComposeResult a = Compose(pattern, seed, indexed, qmIndexed);
        const TComposeResult b = Compose(pattern, seed, plain, qmPlain);
        ASSERT_TRUE(a.HandedOver && b.HandedOver);
        EXPECT_TRUE(*a.Grid == *b.Grid) << seed;
        const auto x = indexed.ExplsInNumberOrder();
        const auto y = plain.ExplsInNumberOrder();
        ASSERT_EQ(x.size(), y.size());
        for (size_t i = 0; i < x.size(); ++i)
            EXPECT_EQ(x[i].Expl, y[i].Expl) << seed << " " << i;
    }
}

// The crossword a user sees at first start: every word plays its sound, which
// the window looks for under the audio directory by the name's UTF-8 spelling.
TEST_F(ShippedContent, EveryWordOfTheSampleCrosswordHasASoundFile)
{
    const std::filesystem::path sample = std::filesystem::u8path(AppDir + "/Krzyżówki/K_0231.krz");
    ASSERT_TRUE(std::filesystem::is_regular_file(sample)) << sample;
    TCrossTXT doc;
    doc.LoadFromFile(sample.string());
    const auto expls = doc.ExplsInNumberOrder();
    EXPECT_GT(expls.size(), 20u);
    for (const auto& item : expls) {
        const TExpl& e = item.Expl;
        SCOPED_TRACE(std::to_string(item.Number) + ": " + Cp1250ToUtf8(e.Explanation));
        ASSERT_FALSE(e.Audio.empty());
        EXPECT_EQ(e.Audio.find_first_of("\r\n"), std::string::npos);
        std::string name = Cp1250ToUtf8(e.Audio);
        std::replace(name.begin(), name.end(), '\\', '/');
        const std::filesystem::path file = std::filesystem::u8path(AppDir + "/Audio/" + name);
        EXPECT_TRUE(std::filesystem::is_regular_file(file)) << file;
        std::error_code ec;
        EXPECT_GT(std::filesystem::file_size(file, ec), 44u) << file << " holds no sound after its header";
    }
}

// The sample is the shipped Normal template composed with the seed its name
// carries from the shipped database: the same grid, clues and sounds, so the
// sample was made from the database shipped beside it.
TEST_F(ShippedContent, TheSampleCrosswordIsNormalComposedWithItsSeedFromTheShippedDatabase)
{
    TCrossTXT shipped;
    shipped.LoadFromFile(std::filesystem::u8path(AppDir + "/Krzyżówki/K_0231.krz").string());
    TCrossTXT composed;
    const TComposeResult result =
        Compose(Template(std::filesystem::u8path(AppDir + "/Szablony/Normal.sz")), 231, composed);
    ASSERT_TRUE(result.HandedOver) << result.Error;
    ASSERT_EQ(shipped.ColCount(), composed.ColCount());
    ASSERT_EQ(shipped.RowCount(), composed.RowCount());
    for (int32_t r = 1; r <= shipped.RowCount(); ++r)
        for (int32_t c = 1; c <= shipped.ColCount(); ++c)
            EXPECT_EQ(shipped.GetCell(c, r), composed.GetCell(c, r)) << c << "," << r;
    // A save and a load number the explanations in opposite orders: compare them by place.
    auto byPlace = [](const TCrossTXT& doc) {
        std::map<std::tuple<bool, int32_t, int32_t>, TExpl> expls;
        for (const auto& item : doc.ExplsInNumberOrder())
            expls.emplace(std::make_tuple(item.Expl.Horizontal, item.Expl.Col, item.Expl.Row), item.Expl);
        return expls;
    };
    EXPECT_TRUE(byPlace(shipped) == byPlace(composed));
}

} // namespace
