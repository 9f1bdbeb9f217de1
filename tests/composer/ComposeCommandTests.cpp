// The "compose" command of the command-line tool, run as a user runs it.
#include "composer/Kwelin.h"
#include "core/Random.h"
#include "database/DBBuilder.h"
#include "documents/CrossTXT.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>

using namespace mz;

namespace {

struct TResult {
    int Code = -1;
    std::string Out;
    std::string Err;
};

class ComposeCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::random_device rd;
        Dir = std::filesystem::temp_directory_path() / ("mz-compose-" + std::to_string(rd()));
        std::filesystem::create_directories(Dir);
        // Made-up words over a few letters give a small grid plenty of crossings.
        const std::string letters = "AEIOKLMNPRST";
        TRandom random(77);
        std::set<std::string> seen;
        std::vector<TDBWord> words;
        while (words.size() < 3000) {
            std::string w(3 + random.Draw(4), ' ');
            for (char& c : w)
                c = letters[random.Draw(static_cast<uint32_t>(letters.size()))];
            if (seen.insert(w).second)
                words.push_back({w, {"opis " + w}, {}});
        }
        WriteDBFile(Path("baza.hk"), 101, words);
        TCrossTXT pattern;
        pattern.Kind = 1;
        pattern.SetColCount(7);
        pattern.SetRowCount(6);
        pattern.SaveToFile(Path("Mini.sz"));
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(Dir, ignored);
    }

    std::string Path(const std::string& name) const { return (Dir / name).string(); }

    static std::string Slurp(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    TResult Run(std::vector<std::string> args) const
    {
        std::string command = "'" MZ_CLI_PATH "' compose";
        for (const auto& a : args)
            command += " '" + a + "'";
        command += " >'" + Path("out.txt") + "' 2>'" + Path("err.txt") + "'";
        const int status = std::system(command.c_str());
        TResult result;
        result.Code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.Out = Slurp(Path("out.txt"));
        result.Err = Slurp(Path("err.txt"));
        return result;
    }

    std::vector<std::string> Base() const { return {"--template", Path("Mini.sz"), "--db", Path("baza.hk")}; }

    std::vector<std::string> With(std::vector<std::string> more) const
    {
        std::vector<std::string> args = Base();
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }

    std::filesystem::path Dir;
};

TEST_F(ComposeCommand, TheSameSeedWritesTheSameCrosswordAndSolution)
{
    const TResult first = Run(With({"--out", Path("a.krz"), "--seed", "42", "--solution", Path("a.txt")}));
    ASSERT_EQ(first.Code, 0) << first.Err;
    const TResult second = Run(With({"--out", Path("b.krz"), "--seed", "42", "--solution", Path("b.txt")}));
    ASSERT_EQ(second.Code, 0) << second.Err;
    EXPECT_EQ(Slurp(Path("a.txt")), Slurp(Path("b.txt")));
    EXPECT_NE(first.Out.find("a.krz: 7 × 6, słów "), std::string::npos) << first.Out;
    EXPECT_NE(first.Out.find("ziarno 42"), std::string::npos) << first.Out;

    // The solution: one row a line, '*' for blocks, LF line ends, no free cells.
    const std::string solution = Slurp(Path("a.txt"));
    EXPECT_EQ(std::count(solution.begin(), solution.end(), '\n'), 6);
    EXPECT_EQ(solution.find('\r'), std::string::npos);
    EXPECT_EQ(solution.find(' '), std::string::npos);
    EXPECT_EQ(solution.size(), 6u * 8u);

    // The crossword file holds the shape and the numbered clues, no letters.
    TCrossTXT doc;
    doc.LoadFromFile(Path("a.krz"));
    EXPECT_GT(doc.ExplCount(), 3);
    for (int32_t r = 1; r <= 6; ++r)
        for (int32_t c = 1; c <= 7; ++c)
            EXPECT_EQ(doc.GetCell(c, r), solution[(r - 1) * 8 + (c - 1)] == '*' ? '*' : ' ');
}

TEST_F(ComposeCommand, ASeriesTakesTheFirstFreeNumberedNamesAndSeedsCountUp)
{
    std::filesystem::create_directories(Dir / "nowe");
    std::ofstream(Dir / "nowe" / "T_01.krz") << "zajęty";
    const TResult series = Run(With({"--out-dir", Path("nowe"), "--prefix", "T_??", "--count", "3", "--seed", "5"}));
    ASSERT_EQ(series.Code, 0) << series.Err;
    for (const char* name : {"T_00.krz", "T_02.krz", "T_03.krz"})
        EXPECT_TRUE(std::filesystem::exists(Dir / "nowe" / name)) << name;
    EXPECT_EQ(Slurp(Path("nowe/T_01.krz")), "zajęty");
    for (const char* seed : {"ziarno 5,", "ziarno 6,", "ziarno 7,"})
        EXPECT_NE(series.Out.find(seed), std::string::npos) << series.Out;

    // The third crossword of the series is the one seed 7 gives alone.
    ASSERT_EQ(Run(With({"--out", Path("alone.krz"), "--seed", "7"})).Code, 0);
    TCrossTXT third, alone;
    third.LoadFromFile(Path("nowe/T_03.krz"));
    alone.LoadFromFile(Path("alone.krz"));
    ASSERT_EQ(third.ExplCount(), alone.ExplCount());
    for (int32_t n = 1; n <= third.ExplCount(); ++n)
        EXPECT_EQ(third.GetExpl(n), alone.GetExpl(n)) << n;

    // A directory that does not exist yet is created.
    ASSERT_EQ(Run(With({"--out-dir", Path("a/b/c"), "--seed", "1"})).Code, 0);
    EXPECT_TRUE(std::filesystem::exists(Dir / "a" / "b" / "c" / "K_0000.krz"));

    // A prefix without '?' names one crossword; a series gets a counter after it.
    const TResult plain = Run(With({"--out-dir", Path("s"), "--prefix", "lekcja.12.05", "--count", "3"}));
    ASSERT_EQ(plain.Code, 0) << plain.Err;
    for (const char* name : {"lekcja.12.05_00.krz", "lekcja.12.05_01.krz", "lekcja.12.05_02.krz"})
        EXPECT_TRUE(std::filesystem::exists(Dir / "s" / name)) << name;
    ASSERT_EQ(Run(With({"--out-dir", Path("s"), "--prefix", "S"})).Code, 0);
    EXPECT_TRUE(std::filesystem::exists(Dir / "s" / "S.krz"));
    // A name with dots is read by the extension after its last dot.
    TCrossTXT dotted;
    dotted.LoadFromFile(Path("s/lekcja.12.05_01.krz"));
    EXPECT_GT(dotted.ExplCount(), 0);
}

TEST_F(ComposeCommand, WhenEveryNumberedNameIsTakenItSaysSoAndWritesNothing)
{
    std::filesystem::create_directories(Dir / "pelny");
    for (char d = '0'; d <= '9'; ++d)
        std::ofstream(Dir / "pelny" / (std::string("K") + d + ".krz")) << "x";
    const TResult full = Run(With({"--out-dir", Path("pelny"), "--prefix", "K?"}));
    EXPECT_EQ(full.Code, 1);
    EXPECT_NE(full.Err.find("są już zajęte"), std::string::npos) << full.Err;
}

TEST_F(ComposeCommand, PlainQueriesComposeTheSameCrossword)
{
    ASSERT_EQ(Run(With({"--out", Path("i.krz"), "--seed", "3", "--solution", Path("i.txt")})).Code, 0);
    ASSERT_EQ(Run(With({"--out", Path("p.krz"), "--seed", "3", "--solution", Path("p.txt"), "--plain-queries"})).Code,
              0);
    EXPECT_EQ(Slurp(Path("i.txt")), Slurp(Path("p.txt")));
}

struct TBadCase {
    std::vector<std::string> Args;
    const char* Message;
};

// Wrong command lines end with a message and exit code 2; a database that
// cannot be read ends with its error and exit code 1.
TEST_F(ComposeCommand, RefusesWrongCommandLinesAndReportsErrors)
{
    const std::vector<TBadCase> cases = {
        {{"--out", "x.krz"}, "Podaj --template i --db"},
        {With({}), "Podaj albo --out, albo --out-dir"},
        {With({"--out", Path("x.krz"), "--out-dir", Path("d")}), "Podaj albo --out, albo --out-dir"},
        {With({"--out", Path("x.krz"), "--count", "2"}), "--prefix i --count działają tylko z --out-dir"},
        {With({"--out", Path("x.txt")}), "musi mieć rozszerzenie krz"},
        {With({"--out-dir", Path("d"), "--count", "2", "--solution", Path("s.txt")}), "tylko dla jednej"},
        {With({"--out", Path("x.krz"), "--min-len", "1"}), "spoza zakresu"},
        {With({"--out", Path("x.krz"), "--min-len", "5", "--max-len", "4"}), "mniejsze niż --min-len"},
        {With({"--out", Path("x.krz"), "--seed", "abc"}), "Niepoprawna liczba"},
        {With({"--out", Path("x.krz"), "--bogus"}), "Nieznana opcja"},
    };
    for (const TBadCase& c : cases) {
        const TResult result = Run(c.Args);
        EXPECT_EQ(result.Code, 2) << c.Message;
        EXPECT_NE(result.Err.find(c.Message), std::string::npos) << result.Err;
    }
    const TResult missing = Run({"--template", Path("Mini.sz"), "--db", Path("brak.hk"), "--out", Path("x.krz")});
    EXPECT_EQ(missing.Code, 1);
    EXPECT_NE(missing.Err.find("Wystąpił błąd podczas otwarcia pliku"), std::string::npos) << missing.Err;
    EXPECT_FALSE(std::filesystem::exists(Dir / "x.krz"));
}

} // namespace

namespace {

struct THopelessCase {
    const char* Name;
    std::vector<std::string> Args; // besides --template, --db and the output
    std::string Message;
};

} // namespace

// A run that cannot give a crossword says why on stderr, exits 1 and writes
// nothing: neither the crossword nor the solution, nor any crossword of a series.
TEST_F(ComposeCommand, ARunWithoutACrosswordSaysWhyExitsOneAndSavesNothing)
{
    WriteDBFile(Path("trzy.hk"), 101, {{"KOT", {"zwierzę"}, {}}, {"PIES", {"zwierzę"}, {}}, {"OSA", {"owad"}, {}}});
    WriteDBFile(Path("pusta.hk"), 101, {});
    TCrossTXT blocked;
    blocked.Kind = 1;
    blocked.SetColCount(5);
    blocked.SetRowCount(4);
    for (int32_t c = 1; c <= 5; ++c)
        for (int32_t r = 1; r <= 4; ++r)
            blocked.SetCell(c, r, '*');
    blocked.SaveToFile(Path("Czarny.sz"));
    const std::vector<THopelessCase> cases = {
        {"min length 20",
         {"--template", Path("Mini.sz"), "--db", Path("baza.hk"), "--min-len", "20", "--max-len", "30"},
         "W szablonie nie ma ciągu wolnych pól, w którym zmieściłoby się hasło o długości co najmniej 20"},
        {"empty database",
         {"--template", Path("Mini.sz"), "--db", Path("pusta.hk")},
         "W bazie haseł nie ma żadnego hasła o długości, jaką przyjmuje szablon"},
        {"all blocks", {"--template", Path("Czarny.sz"), "--db", Path("baza.hk")}, "Szablon nie ma wolnych pól"},
        {"three words",
         {"--template", Path("Mini.sz"), "--db", Path("trzy.hk")},
         "Nie udało się ułożyć krzyżówki z tego szablonu i tej bazy haseł"},
    };
    for (const THopelessCase& c : cases) {
        std::vector<std::string> single = c.Args;
        single.insert(single.end(), {"--out", Path("k.krz"), "--solution", Path("k.txt")});
        const TResult one = Run(single);
        EXPECT_EQ(one.Code, 1) << c.Name;
        EXPECT_EQ(one.Err, c.Message + "\n") << c.Name;
        EXPECT_FALSE(std::filesystem::exists(Path("k.krz"))) << c.Name;
        EXPECT_FALSE(std::filesystem::exists(Path("k.txt"))) << c.Name;

        std::vector<std::string> series = c.Args;
        series.insert(series.end(), {"--out-dir", Path("seria"), "--count", "12"});
        const TResult many = Run(series);
        EXPECT_EQ(many.Code, 1) << c.Name;
        EXPECT_TRUE(std::filesystem::is_empty(Path("seria"))) << c.Name;
    }
}

TEST_F(ComposeCommand, ALongRunShowsItsProgressAndEndsAtItsTimeLimit)
{
    // An open 100 x 100 grid of short words takes minutes, each attempt a
    // little fuller than the last (a few thousand steps a second), so neither
    // a finished grid nor the idle steps can end the run before its time does.
    TCrossTXT pattern;
    pattern.Kind = 1;
    pattern.SetColCount(100);
    pattern.SetRowCount(100);
    pattern.SaveToFile(Path("Duzy.sz"));
    const TResult r = Run({"--template", Path("Duzy.sz"), "--db", Path("baza.hk"), "--out", Path("n.krz"), "--seed",
                           "1", "--time-limit", "3"});
    EXPECT_EQ(r.Code, 1);
    // A line a second at most; a slow (sanitizer) build may report first after two.
    EXPECT_TRUE(r.Err.find("układanie trwa: 1 s, kroki ") != std::string::npos
                || r.Err.find("układanie trwa: 2 s, kroki ") != std::string::npos)
        << r.Err;
    EXPECT_NE(r.Err.find(", restarty "), std::string::npos) << r.Err;
    EXPECT_NE(r.Err.find("Nie udało się ułożyć krzyżówki z tego szablonu i tej bazy haseł\n"), std::string::npos)
        << r.Err;
    EXPECT_FALSE(std::filesystem::exists(Path("n.krz")));
}

namespace {

// The answer and clue of the word starting at a cell, "" when none starts there.
std::string WordAt(const TCrossTXT& doc, int32_t col, int32_t row, bool horizontal)
{
    for (const TExplList& item : doc.ExplsInNumberOrder())
        if (item.Expl.Col == col && item.Expl.Row == row && item.Expl.Horizontal == horizontal)
            return item.Expl.Answer + ": " + item.Expl.Explanation;
    return "";
}

} // namespace

TEST_F(ComposeCommand, ACrosswordAsTemplateKeepsItsLockedWordsWithTheirCluesAndFillsTheRest)
{
    // Own words, which the database need not know, with their own clues.
    TCrossTXT own;
    own.SetColCount(7);
    own.SetRowCount(6);
    own.AddExpl(TExpl(1, 1, "moje zwierzę", "", true, "KOTEK"));
    own.SetLocked({1, 1, true, 5}, true);
    for (int32_t r = 2; r <= 5; ++r)
        own.SetCell(7, r, static_cast<unsigned char>("MAPA"[r - 2]));
    own.AddExpl(TExpl(7, 2, "plan terenu", "", false, "MAPA"));
    own.SetLocked({7, 2, false, 4}, true);
    own.SaveToFile(Path("own.krz"));
    const std::string before = Slurp(Path("own.krz"));

    const TResult result = Run({"--template", Path("own.krz"), "--db", Path("baza.hk"), "--seed", "3", "--out",
                                Path("filled.krz"), "--solution", Path("filled.txt")});
    ASSERT_EQ(result.Code, 0) << result.Err;
    TCrossTXT filled;
    filled.LoadFromFile(Path("filled.krz"));
    EXPECT_EQ(WordAt(filled, 1, 1, true), "KOTEK: moje zwierzę");
    EXPECT_EQ(WordAt(filled, 7, 2, false), "MAPA: plan terenu");
    EXPECT_EQ(filled.LockedWords(), own.LockedWords());
    EXPECT_GT(filled.ExplCount(), 4);
    const std::string solution = Slurp(Path("filled.txt"));
    EXPECT_EQ(solution.substr(0, 7), "KOTEK**"); // the second block is above MAPA
    EXPECT_EQ(solution[5 * 8 + 6], '*');         // and one below it
    EXPECT_EQ(Slurp(Path("own.krz")), before);
}

TEST_F(ComposeCommand, AFillThatCannotSucceedNamesTheAreaAndKeepsEverything)
{
    // Q is no letter of the database. Exact fill: the column under the locked
    // QAK has no word. Free composing: the typed QQ can join no word.
    struct TCase {
        const char* Letters; // row 1, then row 2
        bool Lock;
        std::vector<std::string> Extra;
        const char* Area;
    };
    const std::vector<TCase> cases = {
        {"QAK     ", true, {"--fill-exact", "--min-len", "3"}, "obszar: kolumna 1, wiersze 1–3"},
        {"    QQ  ", false, {"--time-limit", "5"}, "obszar: wiersz 2, kolumny 1–4"},
    };
    for (const TCase& c : cases) {
        TCrossTXT own;
        own.Kind = 1;
        own.SetColCount(4);
        own.SetRowCount(3);
        for (int32_t i = 0; i < 8; ++i)
            own.SetCell(i % 4 + 1, i / 4 + 1, static_cast<unsigned char>(c.Letters[i]));
        if (c.Lock)
            own.SetLocked({1, 1, true, 3}, true);
        own.SaveToFile(Path("pocket.sz"));
        const std::string before = Slurp(Path("pocket.sz"));
        std::vector<std::string> args = {"--template", Path("pocket.sz"), "--db",           Path("baza.hk"), "--seed",
                                         "1",          "--out",           Path("never.krz")};
        args.insert(args.end(), c.Extra.begin(), c.Extra.end());
        const TResult result = Run(args);
        EXPECT_EQ(result.Code, 1) << c.Area;
        EXPECT_NE(result.Err.find(c.Area), std::string::npos) << result.Err;
        EXPECT_FALSE(std::filesystem::exists(Path("never.krz")));
        EXPECT_EQ(Slurp(Path("pocket.sz")), before);
    }
}
