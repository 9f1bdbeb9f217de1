// The command-line tool with files from anyone and the user's own slips: no
// escape sequence reaches the terminal, no output overwrites an input, and a
// damaged file is named.
#include "../documents/TestFiles.h"

#include "core/Cp1250.h"
#include "core/Random.h"
#include "database/DBBuilder.h"
#include "documents/CrossTXT.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

using namespace mz;
using namespace mz::test;
namespace fs = std::filesystem;

namespace {

struct TRun {
    int Code = -1;
    std::string Out;
    std::string Err;
};

class CliSafety : public TTempDirTest {
protected:
    TRun Run(const std::vector<std::string>& args) const
    {
        const auto quote = [](const std::string& arg) {
            std::string quoted = "'";
            for (char c : arg)
                quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
            return quoted + "'";
        };
        std::string command = quote(MZ_CLI_PATH);
        for (const auto& a : args)
            command += " " + quote(a);
        const std::string out = (Dir.parent_path() / (Dir.filename().string() + ".out")).string();
        const std::string err = (Dir.parent_path() / (Dir.filename().string() + ".err")).string();
        command += " >" + quote(out) + " 2>" + quote(err);
        const int status = std::system(command.c_str());
        TRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(out), ReadBytes(err)};
        fs::remove(out);
        fs::remove(err);
        return run;
    }

    std::vector<std::string> Files() const
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(Dir))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // A 7 × 6 template and a database of made-up words that fill it at once.
    void ComposeInputs()
    {
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
        WriteDBFile(PathOf("baza.hk"), 101, words);
        TCrossTXT pattern = Grid(7, 6);
        pattern.Kind = 1;
        pattern.SaveToFile(PathOf("Mini.sz"));
    }

    static std::string RecordFile(const std::vector<std::pair<int, std::string>>& records)
    {
        std::string stream(7, 'f');
        for (const auto& [type, data] : records)
            stream += RecordAt(64 + static_cast<int64_t>(stream.size()), static_cast<uint8_t>(type), data);
        return BuildRecordBytes("", stream);
    }
};

} // namespace

// A clue is the file's text: its control characters (an escape sequence that
// would recolour or retitle the terminal, a bell) are shown, not sent.
TEST_F(CliSafety, ShowPrintsControlCharactersAsTheirPictures)
{
    TCrossTXT doc = Grid(4, 3);
    doc.AddExpl({1, 1, "Kot\x1B]0;tytul\x07 i \x1B[31mczerwony", "a\x1B.wav", true});
    doc.SetCell(2, 2, 0x1B);
    doc.SaveToFile(PathOf("esc.krz"));
    const TRun run = Run({"show", PathOf("esc.krz")});
    EXPECT_EQ(run.Code, 0) << run.Err;
    EXPECT_EQ(run.Out.find('\x1B'), std::string::npos);
    EXPECT_EQ(run.Out.find('\x07'), std::string::npos);
    EXPECT_NE(run.Out.find(".␛..\n"), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("1. H 1,1: Kot␛]0;tytul␇ i ␛[31mczerwony\n"), std::string::npos) << run.Out;
}

TEST_F(CliSafety, RefusedSoundNamesAreToldOnceAndTheCluesStay)
{
    const auto name = PathOf("dzwieki.krz");
    WriteBytes(name, RecordFile({{16, "ABCD"}, {16, "EFGH"}, {16, "IJKL"}, {17, "H,1,1"}, {2, "pierwsze"},
                                 {3, "../../home/user/.ssh/id_rsa"}, {17, "V,1,1"}, {2, "drugie"}, {3, "/etc/passwd"},
                                 {0, ""}}));
    const TRun run = Run({"show", name});
    EXPECT_EQ(run.Code, 0) << run.Err;
    EXPECT_NE(run.Out.find("1. H 1,1: pierwsze\n2. V 1,1: drugie\n"), std::string::npos) << run.Out;
    EXPECT_EQ(run.Err, "Plik " + name + " zawiera niedozwolone nazwy plików dźwiękowych; te dźwięki pominięto.\n");
}

// Rows of different length leave gaps: the file is named as damaged, and the
// export does not blame (or touch) its output.
TEST_F(CliSafety, RowsOfDifferentLengthNameTheDamagedFile)
{
    const auto name = PathOf("nierowna.krz");
    WriteBytes(name, RecordFile({{16, "ABCDE"}, {16, "FG"}, {16, "HIJKL"}, {0, ""}}));
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"show", name}, {"export", name, PathOf("w.txt")}, {"convert", name, PathOf("w.krz")}}) {
        const TRun run = Run(args);
        EXPECT_EQ(run.Code, 1) << args[0];
        EXPECT_EQ(run.Err, "Plik " + name + " jest uszkodzony\n") << args[0];
    }
    EXPECT_EQ(Files(), std::vector<std::string>{"nierowna.krz"});
}

TEST_F(CliSafety, AnOutputThatIsAnInputIsRefusedAndNothingIsWritten)
{
    ComposeInputs();
    TCrossTXT doc = Grid(4, 3);
    doc.AddExpl({1, 1, "kot", "", true});
    doc.SaveToFile(PathOf("K.krz"));
    fs::create_symlink("K.krz", Dir / "link.krz");
    fs::create_hard_link(Dir / "K.krz", Dir / "twardy.txt");
    std::map<std::string, std::string> before;
    for (const auto& name : Files())
        before[name] = ReadBytes(PathOf(name));

    const std::string compose = "compose", t = "--template", db = "--db", out = "--out", sol = "--solution";
    const std::vector<std::vector<std::string>> cases = {
        {"export", PathOf("K.krz"), PathOf("K.krz")},
        {"export", PathOf("K.krz"), PathOf("twardy.txt")},
        {"export", PathOf("link.krz"), PathOf("./K.krz")},
        {"convert", PathOf("K.krz"), PathOf("link.krz")},
        {compose, t, PathOf("Mini.sz"), db, PathOf("baza.hk"), out, PathOf("a.krz"), sol, PathOf("a.krz")},
        {compose, t, PathOf("Mini.sz"), db, PathOf("baza.hk"), out, PathOf("a.krz"), sol, PathOf("baza.hk")},
        {compose, t, PathOf("Mini.sz"), db, PathOf("baza.hk"), out, PathOf("link.krz"), sol, PathOf("K.krz")},
        {compose, t, PathOf("K.krz"), db, PathOf("baza.hk"), out, PathOf("link.krz")},
        {compose, t, PathOf("Mini.sz"), db, PathOf("baza.hk"), "--out-dir", Dir.string(), sol,
         PathOf("K_0000.krz")},
        {"db-build", "--out", PathOf("baza.hk"), "--tsv", PathOf("baza.hk")},
    };
    for (const auto& args : cases) {
        const TRun run = Run(args);
        EXPECT_EQ(run.Code, 1) << args[0] << " " << args.back();
        EXPECT_NE(run.Err.find("tym samym plikiem"), std::string::npos) << run.Err;
        for (const auto& [name, bytes] : before)
            EXPECT_EQ(ReadBytes(PathOf(name)), bytes) << name;
        EXPECT_EQ(Files().size(), before.size()) << args.back();
    }
    EXPECT_TRUE(fs::is_symlink(Dir / "link.krz"));
}

// The solution is written before the crossword is saved: when it cannot be,
// no crossword without its solution is left behind.
TEST_F(CliSafety, AFailingSolutionLeavesNoCrossword)
{
    ComposeInputs();
    const std::vector<std::string> base = {"compose", "--template", PathOf("Mini.sz"), "--db", PathOf("baza.hk"),
                                           "--seed", "5", "--out", PathOf("a.krz")};
    auto args = base;
    args.insert(args.end(), {"--solution", PathOf("brak/a.txt")});
    const TRun failed = Run(args);
    EXPECT_EQ(failed.Code, 1);
    EXPECT_NE(failed.Err.find("Nie ma takiego pliku ani katalogu"), std::string::npos) << failed.Err;
    EXPECT_FALSE(fs::exists(PathOf("a.krz")));

    args = base;
    args.insert(args.end(), {"--solution", PathOf("a.txt")});
    const TRun done = Run(args);
    EXPECT_EQ(done.Code, 0) << done.Err;
    EXPECT_EQ(ReadBytes(PathOf("a.txt")).size(), 6u * 8u);
    EXPECT_EQ(Files(), (std::vector<std::string>{"Mini.sz", "a.krz", "a.txt", "baza.hk"}));
}

TEST_F(CliSafety, NewTemplateMakesTheLargestGridAndRefusesALargerOne)
{
    const TRun largest = Run({"new-template", "--cols", "255", "--rows", "255", "--block", "255,255", PathOf("max.sz")});
    EXPECT_EQ(largest.Code, 0) << largest.Err;
    TCrossTXT doc;
    doc.LoadFromFile(PathOf("max.sz"));
    EXPECT_EQ(doc.ColCount(), 255);
    EXPECT_EQ(doc.RowCount(), 255);
    EXPECT_EQ(doc.GetCell(255, 255), '*');
    for (const auto& [cols, rows, message] : {std::tuple{"256", "3", "Za długi wiersz"},
                                              std::tuple{"4", "256", "Za dużo wierszy"}}) {
        const TRun run = Run({"new-template", "--cols", cols, "--rows", rows, PathOf("w.sz")});
        EXPECT_EQ(run.Code, 1);
        EXPECT_NE(run.Err.find(message), std::string::npos) << run.Err;
    }
    EXPECT_EQ(Files(), std::vector<std::string>{"max.sz"});
}
