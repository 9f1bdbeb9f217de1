// How a composing run ends: at once with a reason for what cannot work, with a
// crossword, or with the failure message once it stops getting anywhere; and
// the backjumping search that large templates need.
#include "ComposerTestUtil.h"

#include "composer/BackjumpSearch.h"
#include "composer/Composer.h"
#include "database/DBBuilder.h"
#include "documents/CrossTXT.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>

using namespace mz;
using namespace mz::test;

namespace {

std::vector<std::string> MadeUpWords(size_t count, uint32_t seed, const std::string& letters = "AEIOKLMNPRST",
                                     uint32_t shortest = 3, uint32_t spread = 4)
{
    TRandom random(seed);
    std::vector<std::string> words;
    std::set<std::string> seen;
    while (words.size() < count) {
        std::string w(shortest + random.Draw(spread), ' ');
        for (char& c : w)
            c = letters[random.Draw(static_cast<uint32_t>(letters.size()))];
        if (seen.insert(w).second)
            words.push_back(w);
    }
    return words;
}

TDBSource WordsSource(std::vector<std::string> words)
{
    return [words = std::move(words)] { return MakeDB(words); };
}

TComposerSettings Quick(uint32_t maxSteps = DefaultMaxSteps)
{
    TComposerSettings s;
    s.MaxSteps = maxSteps;
    s.MaxIdleSteps = 3000;
    s.TimeLimitMs = 5000; // only a safety net: the idle bound ends every case here first
    return s;
}

struct TEnd {
    TComposeResult Result;
    TCrossTXT Document;
    uint8_t Progress = 0;
};

TEnd Compose(const TTable& pattern, TDBSource source, const TComposerSettings& settings, uint32_t seed = 1)
{
    TComposeRun run(pattern, std::move(source), settings);
    const std::atomic<bool> stop{false};
    std::atomic<uint8_t> progress{0};
    TEnd end;
    end.Document.FileName = "K_0001.krz";
    end.Result = run.Execute(end.Document, stop, progress, seed);
    end.Progress = progress;
    return end;
}

// Every run of two or more letters is an answer of at least MinLenPWord
// letters found in the database, and no answer occurs twice.
bool EveryRunIsAnUnrepeatedWord(const TTable& grid, TDB& db, int32_t minLen)
{
    std::set<std::string> seen;
    auto line = [&](const std::string& cells) {
        std::string run;
        for (size_t i = 0; i <= cells.size(); ++i) {
            if (i < cells.size() && TTable::IsLetter(cells[i])) {
                run += cells[i];
                continue;
            }
            if (run.size() >= 2
                && (static_cast<int32_t>(run.size()) < minLen || !db.FindRecord(run) || !seen.insert(run).second))
                return false;
            run.clear();
        }
        return true;
    };
    for (int32_t r = 1; r <= grid.RowCount(); ++r)
        if (!line(grid.RowLine(r)))
            return false;
    for (int32_t c = 1; c <= grid.ColCount(); ++c)
        if (!line(grid.ColLine(c)))
            return false;
    return true;
}

struct TDegenerateCase {
    const char* Name;
    std::vector<std::string> Template;
    std::vector<std::string> Words;
    int32_t MinLen;
    std::string Message;
};

// What cannot give a crossword is told before the first step; what only
// turns out hopeless while composing ends with the failure message. Either
// way nothing is handed over, the document keeps its name and the progress
// stays where the window put it.
TEST(ComposeRunEnd, EveryDegenerateCaseEndsWithItsMessageAndNoCrossword)
{
    const std::vector<std::string> open7x6(6, ".......");
    const std::vector<std::string> open15x11(11, "...............");
    const std::vector<TDegenerateCase> cases = {
        {"all blocks", {"****", "****"}, MadeUpWords(50, 1), 3, MsgNoOpenCells},
        {"stretches of two",
         {"..*..", "..*..", "*****", "..*.."},
         MadeUpWords(50, 1),
         3,
         std::string(MsgNoRoomForWord) + "3"},
        {"min length above every stretch", open7x6, MadeUpWords(50, 1), 8, std::string(MsgNoRoomForWord) + "8"},
        {"empty database", open7x6, {}, 3, MsgNoFittingWord},
        {"only longer words", open7x6, MadeUpWords(20, 2, "ABC", 8, 3), 3, MsgNoFittingWord},
        {"one word ten times", open15x11, std::vector<std::string>(10, "KOT"), 3, MsgTooFewWords},
        {"three words on 15 x 11", open15x11, {"KOT", "PIES", "OSA"}, 3, MsgTooFewWords},
        {"three words on 7 x 6", open7x6, {"KOT", "PIES", "OSA"}, 3, MsgComposeFailed},
    };
    for (const TDegenerateCase& c : cases) {
        TComposerSettings settings = Quick();
        settings.MinLenPWord = c.MinLen;
        settings.MaxLenPWord = 16;
        const TEnd end = Compose(Grid(c.Template), WordsSource(c.Words), settings);
        EXPECT_TRUE(end.Result.Failed) << c.Name;
        EXPECT_FALSE(end.Result.HandedOver) << c.Name;
        EXPECT_EQ(end.Result.Message, c.Message) << c.Name;
        EXPECT_EQ(end.Document.ExplCount(), 0) << c.Name;
        EXPECT_EQ(end.Document.FileName, "K_0001.krz") << c.Name;
        EXPECT_LT(end.Progress, 100) << c.Name;
    }
}

TEST(ComposeRunEnd, ARunEndsWithTheFailureMessageWhenItsTimeIsUp)
{
    TComposerSettings settings;
    settings.MaxIdleSteps = 0;
    settings.TimeLimitMs = 300;
    // Six words cannot fill 15 x 11 cells, but that shows only while composing.
    const TEnd end = Compose(TTable(15, 11), WordsSource(MadeUpWords(6, 5, "AEKOT")), settings);
    EXPECT_TRUE(end.Result.Failed);
    EXPECT_EQ(end.Result.Message, MsgComposeFailed);
    EXPECT_GT(end.Result.Restarts, 0u) << end.Result.TotalSteps;
}

// Without a time limit a run still ends: after its bound of steps, which grows
// with the template, whatever the fill does.
TEST(ComposeRunEnd, ARunWithoutATimeLimitEndsAfterItsBoundOfSteps)
{
    TComposerSettings settings;
    settings.MaxIdleSteps = 0;
    settings.MaxTotalSteps = 5000;
    settings.TimeLimitMs = 60000; // only a safety net
    const TEnd end = Compose(TTable(15, 11), WordsSource(MadeUpWords(6, 5, "AEKOT")), settings);
    EXPECT_TRUE(end.Result.Failed);
    EXPECT_EQ(end.Result.Message, MsgComposeFailed);
    EXPECT_GE(end.Result.TotalSteps, 5000u);
    EXPECT_LT(end.Result.TotalSteps, 5100u);
    EXPECT_EQ(RunStepsFor(15 * 11), 5000000u);
    EXPECT_EQ(RunStepsFor(255 * 255), 65025000u);
}

// Up to 1000 cells the idle bound is the setting; above, never fewer than 500 steps a cell.
TEST(ComposeRunEnd, TheIdleBoundGrowsOnlyOnTemplatesOfMoreThanAThousandCells)
{
    struct TCase {
        uint64_t Setting;
        int64_t Cells;
        uint64_t Bound;
    };
    const TCase cases[] = {{500000, 15 * 11, 500000}, {3000, 20 * 15, 3000},      {500000, 1000, 500000},
                           {3000, 1001, 500500},      {500000, 60 * 50, 1500000}, {2000000, 60 * 50, 2000000},
                           {0, 60 * 50, 0},           {500000, 80 * 60, 2400000}};
    for (const TCase& c : cases)
        EXPECT_EQ(IdleStepsFor(c.Setting, c.Cells), c.Bound) << c.Setting << " " << c.Cells;
}

// The run loop as it was before the backjumping search: the plain search,
// restarted from a seed of the abandoned attempt's generator whenever an
// attempt used up MaxSteps, until one finishes.
TTable PreviousRunGrid(const TTable& pattern, const TDBSource& source, const TKwelinSettings& settings,
                       uint32_t maxSteps, uint32_t seed, TCrossTXT& document)
{
    std::unique_ptr<TDB> db = source();
    auto kwelin = std::make_unique<TCrossKwelin>(pattern, *db, settings, seed);
    uint32_t steps = 0;
    for (TPWordCoordinate slot = kwelin->ChooseSlot(); slot.Found(); slot = kwelin->ChooseSlot()) {
        if (steps == maxSteps) {
            const uint32_t next = kwelin->Random().Draw(0xFFFFFFFFu);
            kwelin.reset();
            db = source();
            kwelin = std::make_unique<TCrossKwelin>(pattern, *db, settings, next);
            steps = 0;
            continue;
        }
        ++steps;
        if (!kwelin->Step(slot))
            break;
    }
    kwelin->FillBlanks();
    kwelin->TransferTo(document);
    return kwelin->Table();
}

// On small templates the run gives for every seed the crossword it gave before
// the backjumping search existed, restarts included.
TEST(ComposeRunEnd, SmallTemplatesGiveTheCrosswordsTheyAlwaysGave)
{
    const TDBSource source = WordsSource(MadeUpWords(3000, 2024));
    const std::vector<TTable> templates = {TTable(7, 6),
                                           Grid({"........", "...*....", "........", "....*...", "........"}),
                                           TTable(9, 8)};
    int restarted = 0;
    for (const TTable& pattern : templates) {
        for (uint32_t seed = 1; seed <= 25; ++seed) {
            TComposerSettings settings = Quick(20);
            settings.MaxIdleSteps = DefaultMaxIdleSteps;
            settings.TimeLimitMs = 0;
            const TEnd now = Compose(pattern, source, settings, seed);
            TCrossTXT before;
            before.FileName = "K_0001.krz";
            const TTable grid = PreviousRunGrid(pattern, source, settings, 20, seed, before);
            ASSERT_TRUE(now.Result.HandedOver) << now.Result.Message;
            EXPECT_FALSE(now.Result.Backjumping);
            EXPECT_EQ(Rows(*now.Result.Grid), Rows(grid)) << seed;
            const auto x = now.Document.ExplsInNumberOrder();
            const auto y = before.ExplsInNumberOrder();
            EXPECT_TRUE(
                x.size() == y.size()
                && std::equal(x.begin(), x.end(), y.begin(),
                              [](const auto& p, const auto& q) { return p.Number == q.Number && p.Expl == q.Expl; }))
                << seed;
            restarted += now.Result.Restarts > 0 ? 1 : 0;
        }
    }
    EXPECT_GT(restarted, 10) << restarted; // the restarts were compared too
}

// Forced onto the backjumping search, runs end with crosswords that keep every
// rule, and a seed still fixes the crossword.
TEST(ComposeRunEnd, TheBackjumpingSearchKeepsEveryRuleAndFollowsItsSeed)
{
    const std::vector<std::string> words = MadeUpWords(3000, 2024);
    const TDBSource source = WordsSource(words);
    TComposerSettings settings = Quick(10);
    settings.PlainAttempts = 1;
    settings.MaxIdleSteps = DefaultMaxIdleSteps;
    settings.TimeLimitMs = 0;
    int backjumped = 0;
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        const TEnd end = Compose(TTable(9, 8), source, settings, seed);
        ASSERT_TRUE(end.Result.HandedOver) << end.Result.Message;
        backjumped += end.Result.Backjumping ? 1 : 0;
        auto db = MakeDB(words);
        EXPECT_TRUE(EveryRunIsAnUnrepeatedWord(*end.Result.Grid, *db, settings.MinLenPWord)) << seed;
        const auto expls = end.Document.ExplsInNumberOrder();
        EXPECT_TRUE(std::none_of(expls.begin(), expls.end(), [](const auto& e) {
            return e.Expl.Explanation.rfind("clue of ", 0) != 0;
        })) << seed;
        const TEnd again = Compose(TTable(9, 8), source, settings, seed);
        EXPECT_EQ(Rows(*again.Result.Grid), Rows(*end.Result.Grid)) << seed;
    }
    EXPECT_EQ(backjumped, 12); // ten steps never finish this grid: every run came from the backjumping search
}

// A dead end undoes the newest word that shaped it: here the word that put
// letters next to the stretch no word fits. The attempt fails only when no
// laid word is to blame (the template alone leaves the slot without a word).
TEST(ComposeRunEnd, ADeadEndThatNoLaidWordCausedFailsTheAttempt)
{
    auto db = MakeDB(std::vector<std::string>{"ABC", "XYZ"});
    // The template's letters "QQ" admit no word: nothing laid is to blame.
    TCrossKwelin kwelin(Grid({"*****", "*QQ.*", "*****"}), *db, Settings(3, true), 5);
    TBackjumpSearch search(kwelin, *db);
    const TPWordCoordinate slot = search.ChooseSlot();
    ASSERT_TRUE(slot.Found());
    EXPECT_EQ(slot.Anchor, "QQ");
    EXPECT_FALSE(search.Step(slot));
}

// The backjumping search takes the open group with the fewest candidates,
// the earlier one (rows from the top) of equals, in both query modes.
TEST(ComposeRunEnd, TheBackjumpingSlotIsTheGroupWithTheFewestCandidates)
{
    const struct {
        std::vector<std::string> Words;
        const char* Anchor;
    } cases[] = {
        {{"ABX", "ABY", "CDX", "CDY"}, "AB"}, {{"ABX", "ABY", "CDX"}, "CD"},
        {{"ABX", "CDX", "CDY", "CDZ"}, "AB"}, {{"ABX", "ABYY", "ABZ", "CDX", "CDXY"}, "CD"},
        {{"ABX", "ABY", "EFX"}, "CD"},
    };
    for (const auto& c : cases)
        for (const TDBQueryMode mode : {qmPlain, qmIndexed}) {
            auto db = MakeDB(c.Words, mode);
            TCrossKwelin kwelin(Grid({"******", "*AB..*", "******", "*CD..*", "******"}), *db, Settings(3, true), 1);
            EXPECT_EQ(TBackjumpSearch(kwelin, *db).ChooseSlot().Anchor, c.Anchor) << c.Words.size() << " " << int(mode);
        }
}

TEST(ComposeRunEnd, ProgressIsReportedAtRestartsWithGrowingSteps)
{
    TComposeRun run(TTable(15, 11), WordsSource(MadeUpWords(6, 5, "AEKOT")), Quick(5));
    std::vector<TComposeProgress> reports;
    run.OnProgress = [&](const TComposeProgress& p) { reports.push_back(p); };
    const std::atomic<bool> stop{false};
    std::atomic<uint8_t> progress{0};
    TCrossTXT doc;
    const TComposeResult result = run.Execute(doc, stop, progress, 3);
    ASSERT_TRUE(result.Failed);
    ASSERT_GE(reports.size(), 10u);
    for (size_t i = 1; i < reports.size(); ++i) {
        EXPECT_GE(reports[i].TotalSteps, reports[i - 1].TotalSteps);
        EXPECT_GE(reports[i].Restarts, reports[i - 1].Restarts);
    }
    EXPECT_EQ(reports.back().Restarts, result.Restarts);
    EXPECT_GT(reports.back().BestFill, 0);
}

// Damaged databases, odd templates and odd settings: every run ends, either
// with a crossword that has answers or with a message for the user.
TEST(ComposeRunEnd, FuzzedRunsAlwaysEndWithACrosswordOrAClearMessage)
{
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("mz-runend-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
    TRandom random(4242);
    const std::set<std::string> known = {MsgNoOpenCells, MsgNoFittingWord, MsgTooFewWords, MsgComposeFailed};
    int crosswords = 0;
    int messages = 0;
    for (int i = 0; i < 120; ++i) {
        // A template: 4..12 x 3..9 cells, a random share of blocks, now and then a letter.
        const int32_t cols = 4 + static_cast<int32_t>(random.Draw(9));
        const int32_t rows = 3 + static_cast<int32_t>(random.Draw(7));
        const uint32_t blocks = random.Draw(101);
        TTable pattern(cols, rows);
        for (int32_t c = 1; c <= cols; ++c)
            for (int32_t r = 1; r <= rows; ++r) {
                const uint32_t roll = random.Draw(100);
                pattern.SetCell(c, r, roll < blocks ? TTable::Block : roll == 99 ? 'A' : TTable::Free);
            }
        // Words: none to a few hundred over few or many letters, duplicates included.
        const std::string letters = random.Draw(2) ? "AEKOT" : "AEIOUKLMNPRSTZ";
        std::vector<TDBWord> words;
        for (uint32_t n = random.Draw(300); n > 0; --n) {
            std::string w(1 + random.Draw(9), ' ');
            for (char& ch : w)
                ch = letters[random.Draw(static_cast<uint32_t>(letters.size()))];
            words.push_back({w, {"opis " + w}, {}});
        }
        const std::string file = (dir / ("baza" + std::to_string(i) + ".hk")).string();
        WriteDBFile(file, 101, words);
        if (random.Draw(3) == 0) {
            // Damage a few bytes past the header.
            std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
            std::string bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
            for (uint32_t k = 1 + random.Draw(4); k > 0 && bytes.size() > 64; --k)
                bytes[64 + random.Draw(static_cast<uint32_t>(bytes.size() - 64))] ^=
                    static_cast<char>(1 + random.Draw(255));
            f.seekp(0);
            f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        }
        TComposerSettings settings = Quick(std::vector<uint32_t>{0, 1, 7, 60, 2000}[random.Draw(5)]);
        settings.MinLenPWord = 2 + static_cast<int32_t>(random.Draw(4));
        settings.MaxLenPWord = settings.MinLenPWord + static_cast<int32_t>(random.Draw(8));
        settings.AnyWordLocation = random.Draw(2) == 1;
        settings.PlainAttempts = random.Draw(2) ? 1 : 0;

        const TEnd end =
            Compose(pattern, FileDBSource(file, {settings.MinLenPWord, settings.MaxLenPWord}), settings, i);
        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_NE(end.Result.HandedOver, end.Result.Failed);
        if (end.Result.HandedOver) {
            ++crosswords;
            EXPECT_GT(end.Document.ExplCount(), 0);
            EXPECT_EQ(end.Progress, 100);
            if (end.Result.Backjumping) {
                TDB db;
                db.Load(file, {settings.MinLenPWord, settings.MaxLenPWord});
                EXPECT_TRUE(EveryRunIsAnUnrepeatedWord(*end.Result.Grid, db, settings.MinLenPWord));
            }
        } else {
            ++messages;
            const bool explained = known.count(end.Result.Message) > 0
                || end.Result.Message.rfind(MsgNoRoomForWord, 0) == 0
                || end.Result.Message == FormatMessage(MsgDBLoadError, file);
            EXPECT_TRUE(explained) << end.Result.Message;
            EXPECT_EQ(end.Document.ExplCount(), 0);
        }
    }
    EXPECT_GT(crosswords, 10);
    EXPECT_GT(messages, 10);
    std::filesystem::remove_all(dir);
}

} // namespace

namespace {

struct TEraseCase {
    const char* Name;
    int32_t Col;
    int32_t Row;
    int32_t Radius;
    bool AnyWordLocation;
    std::vector<std::string> Expected;
};

// A repair frees the cells around a dead end, keeps the template's own cells
// and, unless words may start anywhere, row 1 and column 1.
TEST(ComposeRunEnd, ARepairFreesTheCellsAroundTheDeadEnd)
{
    const TTable pattern = Grid({"......", "......", "....*.", "......", "......"});
    const TTable grid = Grid({"*K*O**", "KOTEK*", "*S*W*A", "ALE*PI", "*ARKA*"});
    const std::vector<TEraseCase> cases = {
        {"inside", 4, 3, 1, false, {"*K*O**", "KO...*", "*S..*A", "AL...I", "*ARKA*"}},
        {"at the corner", 2, 2, 2, false, {"*K*O**", "K...K*", "*...*A", "A...PI", "*ARKA*"}},
        {"words anywhere", 2, 2, 2, true, {"....**", "....K*", "....*A", "....PI", "*ARKA*"}},
        {"past the edge", 6, 5, 1, false, {"*K*O**", "KOTEK*", "*S*W*A", "ALE*..", "*ARK.."}},
    };
    for (const TEraseCase& c : cases)
        EXPECT_EQ(Rows(EraseAround(grid, pattern, c.Col, c.Row, c.Radius, c.AnyWordLocation)), c.Expected) << c.Name;
}

// A template larger than the shipped ones gets the backjumping search after
// one plain attempt (here of 20 steps); when it gets stuck, repairs carry it on to a crossword that keeps
// every rule, and a seed still fixes the crossword.
TEST(ComposeRunEnd, ALargeTemplateFinishesThroughRepairs)
{
    const std::vector<std::string> words = MadeUpWords(3000, 2024);
    const TDBSource source = WordsSource(words);
    TComposerSettings settings = Quick(20);
    settings.MaxIdleSteps = DefaultMaxIdleSteps;
    settings.TimeLimitMs = 0;
    uint32_t repairs = 0;
    for (uint32_t seed = 1; seed <= 4; ++seed) {
        const TEnd end = Compose(TTable(20, 16), source, settings, seed);
        ASSERT_TRUE(end.Result.HandedOver) << end.Result.Message;
        EXPECT_TRUE(end.Result.Backjumping);
        repairs += end.Result.Repairs;
        auto db = MakeDB(words);
        EXPECT_TRUE(EveryRunIsAnUnrepeatedWord(*end.Result.Grid, *db, settings.MinLenPWord)) << seed;
        const std::vector<std::string> standing = end.Result.Grid->Words(settings.MinLenPWord);
        for (const std::string& w : end.Result.PlacedWords)
            EXPECT_NE(std::find(standing.begin(), standing.end(), w), standing.end())
                << w << " was laid but is not in the grid";
        EXPECT_EQ(end.Document.ExplCount(), static_cast<int32_t>(standing.size())) << seed;
        const TEnd again = Compose(TTable(20, 16), source, settings, seed);
        EXPECT_EQ(Rows(*again.Result.Grid), Rows(*end.Result.Grid)) << seed;
    }
    EXPECT_GT(repairs, 0u);
}

} // namespace
