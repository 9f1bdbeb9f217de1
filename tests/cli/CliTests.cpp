#include "../documents/TestFiles.h"

#include "core/Cp1250.h"
#include "core/Random.h"
#include "database/DBBuilder.h"
#include "documents/CrossTXT.h"
#include "documents/Ipuz.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <tuple>

using namespace mz;

namespace {

struct TRun {
    int Code = -1;
    std::string Out;
    std::string Err;
};

class Cli : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::random_device rd;
        Dir = std::filesystem::temp_directory_path() / ("mz-cli-" + std::to_string(rd()));
        std::filesystem::create_directories(Dir);
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(Dir, ignored);
    }

    std::string PathOf(const std::string& name) const { return (Dir / name).string(); }

    static std::string Quote(const std::string& arg)
    {
        std::string quoted = "'";
        for (char c : arg)
            quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return quoted + "'";
    }

    static std::string Slurp(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // `shell`: commands run before, in the same shell (limits, traps).
    TRun Run(const std::vector<std::string>& args, const std::string& shell = {}) const
    {
        std::string command = shell + Quote(MZ_CLI_PATH);
        for (const auto& a : args)
            command += " " + Quote(a);
        const std::string out = PathOf("stdout"), err = PathOf("stderr");
        command += " >" + Quote(out) + " 2>" + Quote(err);
        const int status = std::system(command.c_str());
        TRun run;
        run.Code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.Out = Slurp(out);
        run.Err = Slurp(err);
        std::filesystem::remove(out);
        std::filesystem::remove(err);
        return run;
    }

    // Names of the files in the test directory.
    std::vector<std::string> Files() const
    {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(Dir))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string SampleCrossword(const std::string& name)
    {
        TCrossTXT doc;
        doc.SetColCount(4);
        doc.SetRowCount(3);
        const std::string letters = Utf8ToCp1250("KOT*A   ŻŁÓW");
        for (int i = 0; i < 12; ++i)
            doc.SetCell(i % 4 + 1, i / 4 + 1, static_cast<unsigned char>(letters[i]));
        doc.AddExpl({1, 1, Utf8ToCp1250("Zwierzę domowe"), "kot.wav", true});
        doc.AddExpl({1, 1, Utf8ToCp1250("Pierwsza litera"), "", false});
        doc.AddExpl({1, 3, Utf8ToCp1250("Ptak żółty"), "", true});
        const auto path = PathOf(name);
        doc.SaveToFile(path);
        return path;
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
        TCrossTXT pattern = test::Grid(7, 6);
        pattern.Kind = 1;
        pattern.SaveToFile(PathOf("Mini.sz"));
    }

    static std::string RecordFile(const std::vector<std::pair<int, std::string>>& records)
    {
        std::string stream(7, 'f');
        for (const auto& [type, data] : records)
            stream += test::RecordAt(64 + static_cast<int64_t>(stream.size()), static_cast<uint8_t>(type), data);
        return test::BuildRecordBytes("", stream);
    }

    std::filesystem::path Dir;
};

} // namespace

TEST_F(Cli, HelpListsTheDocumentCommands)
{
    const TRun run = Run({"--help"});
    EXPECT_EQ(run.Code, 0);
    for (const char* usage : {"show PLIK", "export PLIK WYNIK.txt", "convert PLIK", "new-template --cols K --rows W"})
        EXPECT_NE(run.Out.find(usage), std::string::npos) << usage;
}

// A loaded file numbers its explanations in file order, which is the saved
// document's chain order: newest first.
TEST_F(Cli, ShowPrintsSizeGridAndExplanationsInNumberOrderAsUtf8)
{
    const TRun run = Run({"show", SampleCrossword("kot.krz")});
    EXPECT_EQ(run.Code, 0) << run.Err;
    EXPECT_EQ(run.Out,
              "Rozmiar: 4 × 3\n"
              "KOT*\n"
              "A...\n"
              "ŻŁÓW\n"
              "1. H 1,3: Ptak żółty\n"
              "2. V 1,1: Pierwsza litera\n"
              "3. H 1,1: Zwierzę domowe [kot.wav]\n");
}

TEST_F(Cli, ShowReadsXwdFiles)
{
    std::string bytes(3176 + 61 * 8, '\0');
    bytes[0] = 4;
    bytes[531] = 'A';
    bytes[3176] = 3;
    bytes.replace(3177, 3, "Jeden");
    const auto path = PathOf("a.xwd");
    std::ofstream(path, std::ios::binary) << bytes;
    const TRun run = Run({"show", path});
    EXPECT_EQ(run.Code, 0) << run.Err;
    EXPECT_EQ(run.Out.substr(0, run.Out.find("1. ")), "Rozmiar: 4 × 4\nA...\n....\n....\n....\n");
    EXPECT_NE(run.Out.find("1. H 1,1: Jed\n2. V 1,1: \n"), std::string::npos);
    EXPECT_NE(run.Out.find("8. H 1,4: \n"), std::string::npos);
}

TEST_F(Cli, ErrorsPrintTheProgramsMessageAndExitNonZero)
{
    struct TCase {
        std::vector<std::string> Args;
        int Code;
        std::string Message;
    };
    const std::string broken = PathOf("zepsuty.krz");
    std::ofstream(broken, std::ios::binary) << "nie krzyżówka";
    const std::vector<TCase> cases = {
        {{"show", broken}, 1, "Wystąpił błąd podczas otwarcia pliku " + broken},
        {{"show", PathOf("x.doc")}, 1, PathOf("x.doc") + " - nie jest obsługiwany przez Mirakolnika Zodevidar."},
        {{"show"}, 2, "Podaj jeden plik"},
        {{"export", broken, PathOf("w.txt")}, 1, "Wystąpił błąd podczas otwarcia pliku " + broken},
        {{"convert", broken, PathOf("w.krz")}, 1, "Wystąpił błąd podczas otwarcia pliku " + broken},
        {{"convert", broken, PathOf("w.txt")}, 2, "rozszerzenie krz"},
        {{"new-template", "--cols", "3", "--rows", "3", PathOf("w.sz")}, 1, "Niewłaściwa liczba kolumn"},
        {{"new-template", "--cols", "4", "--rows", "2", PathOf("w.sz")}, 1, "Niewłaściwa liczba wierszy"},
        {{"new-template", "--cols", "4", "--rows", "3", "--block", "5,1", PathOf("w.sz")},
         1,
         "Nie odnaleziono żądanej komórki"},
        {{"new-template", "--cols", "2040", "--rows", "3", PathOf("w.sz")}, 1, "Za długi wiersz"},
        {{"new-template", "--cols", "4", "--rows", "3", "--block", "1;1", PathOf("w.sz")}, 2, "KOLUMNA,WIERSZ"},
        {{"new-template", "--cols", "4", PathOf("w.sz")}, 2, "--rows"},
        {{"new-template", "--cols", "4", "--rows", "3", PathOf("w.krz")}, 2, "rozszerzenie sz"},
    };
    for (const auto& c : cases) {
        const TRun run = Run(c.Args);
        EXPECT_EQ(run.Code, c.Code) << c.Args[0] << " " << c.Message;
        EXPECT_NE(run.Err.find(c.Message), std::string::npos) << run.Err;
        EXPECT_EQ(Files(), std::vector<std::string>{"zepsuty.krz"}) << c.Message;
    }
}

TEST_F(Cli, ExportWritesTheTextExport)
{
    const auto source = SampleCrossword("kot.krz");
    const auto out = PathOf("lista.txt");
    const TRun run = Run({"export", source, out});
    EXPECT_EQ(run.Code, 0) << run.Err;
    EXPECT_EQ(Slurp(out),
              Utf8ToCp1250("Mirakolnik Zodevidar - lista.txt\r\nKOT*\r\nA   \r\nŻŁÓW\r\n"
                           "Poziomo:\r\n1,1)\tZwierzę domowe\r\n1,3)\tPtak żółty\r\n"
                           "Pionowo:\r\n1,1)\tPierwsza litera\r\n"));
}

TEST_F(Cli, ConvertWritesACrosswordOrATemplateByTheTargetExtension)
{
    const auto source = SampleCrossword("kot.krz");
    for (const auto& [target, header] :
         {std::pair{PathOf("wynik.sz"), PatternHeader}, std::pair{PathOf("wynik.krz"), CrossWordHeader}}) {
        const TRun run = Run({"convert", source, target});
        EXPECT_EQ(run.Code, 0) << run.Err;
        EXPECT_EQ(Slurp(target).substr(0, header.size()), header);
        TCrossTXT doc;
        doc.LoadFromFile(target);
        EXPECT_EQ(doc.ExplCount(), 3);
        EXPECT_EQ(doc.GetCell(1, 3), 0xAF);
    }
}

TEST_F(Cli, NewTemplateMakesAnEmptyGridWithTheGivenBlocks)
{
    const auto out = PathOf("nowy.sz");
    const TRun run = Run({"new-template", "--cols", "6", "--block", "2,3", "--rows", "4", "--block", "6,1", out});
    EXPECT_EQ(run.Code, 0) << run.Err;
    EXPECT_EQ(Slurp(out).substr(0, PatternHeader.size()), PatternHeader);
    TCrossTXT doc;
    doc.LoadFromFile(out);
    EXPECT_EQ(doc.ColCount(), 6);
    EXPECT_EQ(doc.RowCount(), 4);
    EXPECT_EQ(doc.ExplCount(), 0);
    for (int c = 1; c <= 6; ++c)
        for (int r = 1; r <= 4; ++r)
            EXPECT_EQ(doc.GetCell(c, r), (c == 2 && r == 3) || (c == 6 && r == 1) ? '*' : ' ');
}

TEST_F(Cli, AFailedCommandLeavesAnExistingTargetUntouched)
{
    const auto target = PathOf("stary.sz");
    std::ofstream(target, std::ios::binary) << "stara zawartość";
    const TRun run = Run({"new-template", "--cols", "4", "--rows", "3", "--block", "9,9", target});
    EXPECT_EQ(run.Code, 1);
    EXPECT_EQ(Slurp(target), "stara zawartość");
}

// A clue is the file's text: its control characters (an escape sequence that
// would recolour or retitle the terminal, a bell) are shown, not sent.
TEST_F(Cli, ShowPrintsControlCharactersAsTheirPictures)
{
    TCrossTXT doc = test::Grid(4, 3);
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

TEST_F(Cli, RefusedSoundNamesAreToldOnceAndTheCluesStay)
{
    const auto name = PathOf("dzwieki.krz");
    test::WriteBytes(name,
                     RecordFile({{16, "ABCD"},
                                 {16, "EFGH"},
                                 {16, "IJKL"},
                                 {17, "H,1,1"},
                                 {2, "pierwsze"},
                                 {3, "../../home/user/.ssh/id_rsa"},
                                 {17, "V,1,1"},
                                 {2, "drugie"},
                                 {3, "/etc/passwd"},
                                 {0, ""}}));
    const TRun run = Run({"show", name});
    EXPECT_EQ(run.Code, 0) << run.Err;
    EXPECT_NE(run.Out.find("1. H 1,1: pierwsze\n2. V 1,1: drugie\n"), std::string::npos) << run.Out;
    EXPECT_EQ(run.Err, "Plik " + name + " zawiera niedozwolone nazwy plików dźwiękowych; te dźwięki pominięto.\n");
}

// Rows of different length leave gaps: the file is named as damaged, and the
// export does not blame (or touch) its output.
TEST_F(Cli, RowsOfDifferentLengthNameTheDamagedFile)
{
    const auto name = PathOf("nierowna.krz");
    test::WriteBytes(name, RecordFile({{16, "ABCDE"}, {16, "FG"}, {16, "HIJKL"}, {0, ""}}));
    for (const std::vector<std::string>& args : {std::vector<std::string>{"show", name},
                                                 {"export", name, PathOf("w.txt")},
                                                 {"convert", name, PathOf("w.krz")}}) {
        const TRun run = Run(args);
        EXPECT_EQ(run.Code, 1) << args[0];
        EXPECT_EQ(run.Err, "Plik " + name + " jest uszkodzony\n") << args[0];
    }
    EXPECT_EQ(Files(), std::vector<std::string>{"nierowna.krz"});
}

TEST_F(Cli, AnOutputThatIsAnInputIsRefusedAndNothingIsWritten)
{
    ComposeInputs();
    TCrossTXT doc = test::Grid(4, 3);
    doc.AddExpl({1, 1, "kot", "", true});
    doc.SaveToFile(PathOf("K.krz"));
    ExportAsIpuz(doc, PathOf("S.ipuz"));
    std::filesystem::create_symlink("K.krz", Dir / "link.krz");
    std::filesystem::create_hard_link(Dir / "K.krz", Dir / "twardy.txt");
    std::map<std::string, std::string> before;
    for (const auto& name : Files())
        before[name] = Slurp(PathOf(name));

    const std::string compose = "compose", t = "--template", db = "--db", out = "--out", sol = "--solution";
    const std::vector<std::vector<std::string>> cases = {
        {"export", PathOf("K.krz"), PathOf("K.krz")},
        {"export", PathOf("K.krz"), PathOf("twardy.txt")},
        {"export", PathOf("link.krz"), PathOf("./K.krz")},
        {"convert", PathOf("K.krz"), PathOf("link.krz")},
        {"export-ipuz", PathOf("K.krz"), PathOf("K.krz")},
        {"export-ipuz", PathOf("S.ipuz"), PathOf("S.ipuz")},
        {"export-ipuz", PathOf("link.krz"), PathOf("twardy.txt")},
        {"export-html", PathOf("K.krz"), PathOf("link.krz")},
        {"export-ipuz", PathOf("K.krz"), PathOf("K.krz")},
        {"export-html", PathOf("link.krz"), PathOf("twardy.txt"), "--audio-dir", Dir.string()},
        {compose, t, PathOf("Mini.sz"), db, PathOf("baza.hk"), out, PathOf("a.krz"), sol, PathOf("a.krz")},
        {compose, t, PathOf("Mini.sz"), db, PathOf("baza.hk"), out, PathOf("a.krz"), sol, PathOf("baza.hk")},
        {compose, t, PathOf("Mini.sz"), db, PathOf("baza.hk"), out, PathOf("link.krz"), sol, PathOf("K.krz")},
        {compose, t, PathOf("K.krz"), db, PathOf("baza.hk"), out, PathOf("link.krz")},
        {compose, t, PathOf("Mini.sz"), db, PathOf("baza.hk"), "--out-dir", Dir.string(), sol, PathOf("K_0000.krz")},
        {"db-build", "--out", PathOf("baza.hk"), "--tsv", PathOf("baza.hk")},
    };
    for (const auto& args : cases) {
        const TRun run = Run(args);
        EXPECT_EQ(run.Code, 1) << args[0] << " " << args.back();
        EXPECT_NE(run.Err.find("tym samym plikiem"), std::string::npos) << run.Err;
        for (const auto& [name, bytes] : before)
            EXPECT_EQ(Slurp(PathOf(name)), bytes) << name;
        EXPECT_EQ(Files().size(), before.size()) << args.back();
    }
    EXPECT_TRUE(std::filesystem::is_symlink(Dir / "link.krz"));
}

// The solution is written before the crossword is saved: when it cannot be,
// no crossword without its solution is left behind.
TEST_F(Cli, AFailingSolutionLeavesNoCrossword)
{
    ComposeInputs();
    const std::vector<std::string> base = {"compose", "--template",      PathOf("Mini.sz"),
                                           "--db",    PathOf("baza.hk"), "--seed",
                                           "5",       "--out",           PathOf("a.krz")};
    auto args = base;
    args.insert(args.end(), {"--solution", PathOf("brak/a.txt")});
    const TRun failed = Run(args);
    EXPECT_EQ(failed.Code, 1);
    EXPECT_NE(failed.Err.find("Nie ma takiego pliku ani katalogu"), std::string::npos) << failed.Err;
    EXPECT_FALSE(std::filesystem::exists(PathOf("a.krz")));

    args = base;
    args.insert(args.end(), {"--solution", PathOf("a.txt")});
    const TRun done = Run(args);
    EXPECT_EQ(done.Code, 0) << done.Err;
    EXPECT_EQ(Slurp(PathOf("a.txt")).size(), 6u * 8u);
    EXPECT_EQ(Files(), (std::vector<std::string>{"Mini.sz", "a.krz", "a.txt", "baza.hk"}));
}

TEST_F(Cli, NewTemplateMakesTheLargestGridAndRefusesALargerOne)
{
    const TRun largest =
        Run({"new-template", "--cols", "255", "--rows", "255", "--block", "255,255", PathOf("max.sz")});
    EXPECT_EQ(largest.Code, 0) << largest.Err;
    TCrossTXT doc;
    doc.LoadFromFile(PathOf("max.sz"));
    EXPECT_EQ(doc.ColCount(), 255);
    EXPECT_EQ(doc.RowCount(), 255);
    EXPECT_EQ(doc.GetCell(255, 255), '*');
    for (const auto& [cols, rows, message] :
         {std::tuple{"256", "3", "Za długi wiersz"}, std::tuple{"4", "256", "Za dużo wierszy"}}) {
        const TRun run = Run({"new-template", "--cols", cols, "--rows", rows, PathOf("w.sz")});
        EXPECT_EQ(run.Code, 1);
        EXPECT_NE(run.Err.find(message), std::string::npos) << run.Err;
    }
    EXPECT_EQ(Files(), std::vector<std::string>{"max.sz"});
}

// A crossword whose files take several kilobytes in every format.
static TCrossTXT LargeCrossword()
{
    TCrossTXT doc = test::Grid(15, 12);
    for (int i = 1; i <= 60; ++i)
        doc.AddExpl(
            {1 + i % 15, 1 + i % 12, "Objaśnienie numer " + std::to_string(i) + std::string(80, 'x'), "", i % 2 == 0});
    return doc;
}

// Every failed open or save says why, in the system's words.
TEST_F(Cli, FailedOpensAndSavesSayWhy)
{
    const std::string big = PathOf("duza.krz");
    LargeCrossword().SaveToFile(big);
    ASSERT_EQ(::mkfifo(PathOf("potok.krz").c_str(), 0600), 0);
    // Writes beyond a few kilobytes fail as on a full disk, with the reason
    // "file too large" instead of "no space left".
    const std::string limited = "ulimit -f 4; trap '' XFSZ; ";
    const struct {
        std::vector<std::string> Args;
        std::string Shell, Message;
    } cases[] = {
        {{"show", PathOf("brak.krz")},
         "",
         "Wystąpił błąd podczas otwarcia pliku " + PathOf("brak.krz") + ": Plik nie istnieje"},
        {{"show", PathOf("potok.krz")}, "timeout 20 ", "To nie jest zwykły plik"},
        {{"export", big, PathOf("w.txt")},
         limited,
         "Wystąpił błąd podczas zapisu pliku " + PathOf("w.txt") + ": Plik jest za duży"},
        {{"export-ipuz", big, PathOf("w.ipuz")},
         limited,
         "Wystąpił błąd podczas zapisu pliku " + PathOf("w.ipuz") + ": Plik jest za duży"},
        {{"convert", big, PathOf("w.krz")},
         limited,
         "Wystąpił błąd podczas zapisu pliku " + PathOf("w.krz") + ": Plik jest za duży"},
    };
    for (const auto& c : cases) {
        test::WriteBytes(PathOf("w.txt"), "stary");
        test::WriteBytes(PathOf("w.ipuz"), "stary");
        test::WriteBytes(PathOf("w.krz"), "stary");
        const TRun run = Run(c.Args, c.Shell);
        EXPECT_EQ(run.Code, 1) << c.Args[0] << " " << run.Err;
        EXPECT_NE(run.Err.find(c.Message), std::string::npos) << run.Err;
        for (const char* name : {"w.txt", "w.ipuz", "w.krz"})
            EXPECT_EQ(Slurp(PathOf(name)), "stary") << name;
    }
    EXPECT_EQ(Files(), (std::vector<std::string>{"duza.krz", "potok.krz", "w.ipuz", "w.krz", "w.txt"}));
}

// Terminal escapes from a file reach the error output only as pictures.
TEST_F(Cli, EscapesFromFilesNeverReachTheTerminal)
{
    const std::string escape = "\x1B]0;zly\x07\x1B[2J";
    test::WriteBytes(PathOf("zly.ipuz"),
                     R"({"version":"http://ipuz.org/v2","kind":["http://ipuz.org/crossword#1"],)"
                     R"("dimensions":{"width":4,"height":3},"puzzle":[[1,0,0,0],[0,0,0,0],[0,0,0,0]],)"
                     R"("clues":{"Ukos\u001b[2J":[[1,"a"]]}})");
    test::WriteBytes(PathOf("lista.tsv"), "kot\tmruczek\nk" + escape + "t\tzły\n");
    const TRun ipuz = Run({"show", PathOf("zly.ipuz")});
    const TRun list = Run({"db-build", "--out", PathOf("b.hk"), "--tsv", PathOf("lista.tsv")});
    EXPECT_EQ(ipuz.Code, 1);
    EXPECT_NE(ipuz.Err.find("Ukos␛[2J"), std::string::npos) << ipuz.Err;
    EXPECT_EQ(list.Code, 0) << list.Err;
    EXPECT_NE(list.Err.find("␛]0;zly␇␛[2J"), std::string::npos) << list.Err;
    for (const TRun& run : {ipuz, list})
        EXPECT_EQ(run.Err.find('\x1B'), std::string::npos) << run.Err;
}

// Small slips of the command line that once went wrong silently.
TEST_F(Cli, SlipsAreRefusedOrToldRight)
{
    ComposeInputs();
    SampleCrossword("K.krz");
    std::filesystem::create_symlink("petla.krz", Dir / "petla.krz");
    std::filesystem::create_directory(Dir / "wyniki");
    test::WriteBytes(PathOf("dzwieki.tsv"), "kot\tmruczek\t@kot.wav\npies\tburek\n");
    const std::string db = PathOf("nowa.hk");
    const struct {
        std::vector<std::string> Args;
        int Code;
        std::string Message;
    } cases[] = {
        {{"convert", PathOf("K.krz"), PathOf("petla.krz")}, 1, "Za dużo poziomów dowiązań symbolicznych"},
        {{"compose", "--template", PathOf("Mini.sz"), "--db", PathOf("baza.hk"), "--out-dir", PathOf("wyniki"),
          "--prefix", "../ucieczka"},
         2,
         "Przedrostek nazwy pliku nie może zawierać ukośnika"},
        {{"db-build", "--out", db, "--edition", "-5", "--tsv", PathOf("dzwieki.tsv")},
         2,
         "Numer wydania poza zakresem"},
        {{"db-build", "--out", db, "--audio-dir", PathOf("brak"), "--tsv", PathOf("dzwieki.tsv")},
         1,
         "Katalog dźwięków " + PathOf("brak") + ": Nie ma takiego pliku ani katalogu"},
        {{"db-build", "--out", db, "--tsv", PathOf("dzwieki.tsv")}, 0, "2 haseł, 2 objaśnień, 1 z dźwiękiem"},
    };
    for (const auto& c : cases) {
        const TRun run = Run(c.Args);
        EXPECT_EQ(run.Code, c.Code) << run.Err;
        EXPECT_NE((run.Err + run.Out).find(c.Message), std::string::npos) << run.Err << run.Out;
    }
    EXPECT_TRUE(std::filesystem::is_symlink(std::filesystem::symlink_status(Dir / "petla.krz")));
    EXPECT_TRUE(std::filesystem::is_empty(Dir / "wyniki"));
    EXPECT_EQ(Files(),
              (std::vector<std::string>{"K.krz", "Mini.sz", "baza.hk", "dzwieki.tsv", "nowa.hk", "petla.krz",
                                        "wyniki"}));
}

// Ctrl+C ends a long run with a word and leaves no temporary file.
TEST_F(Cli, AnInterruptedRunSaysSoAndLeavesNothing)
{
    ComposeInputs();
    TCrossTXT large = test::Grid(100, 100);
    large.Kind = 1;
    large.SaveToFile(PathOf("Duzy.sz"));
    std::string command = Quote(MZ_CLI_PATH);
    const std::vector<std::string> args = {"compose",   "--template",     PathOf("Duzy.sz"), "--db", PathOf("baza.hk"),
                                           "--out-dir", PathOf("wyniki"), "--seed",          "1"};
    for (const std::string& arg : args)
        command += " " + Quote(arg);
    const std::string err = PathOf("stderr");
    command += " 2>" + Quote(err) + " & pid=$!; sleep 1; kill -INT $pid; wait $pid";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_TRUE(Slurp(err).ends_with("\nprzerwano\n") || Slurp(err) == "przerwano\n") << Slurp(err);
    std::filesystem::remove(err);
    EXPECT_EQ(Files(), (std::vector<std::string>{"Duzy.sz", "Mini.sz", "baza.hk", "wyniki"}));
    EXPECT_TRUE(std::filesystem::is_empty(PathOf("wyniki")));
}

// A save reaches the disk before it replaces the old file, and the folder's
// new entry after: a power cut leaves the old crossword or the new one.
TEST_F(Cli, SavesSyncTheFileBeforeTheRenameAndTheFolderAfter)
{
    const std::string source = SampleCrossword("K.krz");
    const std::string log = (Dir.parent_path() / (Dir.filename().string() + "-sync.log")).string();
    for (const std::string command : {"convert", "export", "export-ipuz"}) {
        std::filesystem::remove(log);
        const std::string target = PathOf(command == "convert" ? "W.krz" : command == "export" ? "W.txt" : "W.ipuz");
        const TRun run = Run({command, source, target},
                             "MZ_SYNC_LOG=" + Quote(log) + " LD_PRELOAD=" + Quote(MZ_SYNC_PROBE)
                                 + " ASAN_OPTIONS=verify_asan_link_order=0 ");
        ASSERT_EQ(run.Code, 0) << run.Err;
        std::istringstream lines(Slurp(log));
        std::vector<std::string> calls;
        for (std::string line; std::getline(lines, line);)
            calls.push_back(line);
        ASSERT_EQ(calls.size(), 3u) << Slurp(log);
        const std::string temp = calls[0].substr(6);
        EXPECT_EQ(calls[0].substr(0, 6), "fsync ");
        EXPECT_EQ(std::filesystem::path(temp).parent_path(), Dir) << calls[0];
        EXPECT_EQ(calls[1], "rename " + temp + " " + target);
        EXPECT_EQ(calls[2], "fsync " + Dir.string());
    }
    std::filesystem::remove(log);
}

TEST_F(Cli, ComposeWordsLaysOutAListAndAKeywordAndRefusesABadListWritingNothing)
{
    std::ofstream(PathOf("lista.tsv")) << "kot\tzwierzę domowe\nosa\towad\nlas\tdrzewa\nsok\tnapój\n"
                                          "kasa\tpieniądze\nżółw\tgad\n";
    const TRun free =
        Run({"compose-words", "--words", PathOf("lista.tsv"), "--seed", "3", "--out", PathOf("wolna.krz")});
    EXPECT_EQ(free.Code, 0) << free.Err;
    EXPECT_NE(free.Out.find("Nie zmieściły się: ŻÓŁW"), std::string::npos) << free.Out;
    TCrossTXT doc;
    doc.LoadFromFile(PathOf("wolna.krz"));
    EXPECT_EQ(doc.ExplCount(), 5);

    const TRun keyword = Run({"compose-words", "--keyword", "kosa", "--words", PathOf("lista.tsv"), "--seed", "3",
                              "--out", PathOf("haslo.krz")});
    EXPECT_EQ(keyword.Code, 0) << keyword.Err;
    doc.LoadFromFile(PathOf("haslo.krz"));
    EXPECT_EQ(doc.Phrase().Text, "KOSA");
    EXPECT_EQ(doc.RowCount(), 4);

    const TRun uncovered =
        Run({"compose-words", "--keyword", "żubr", "--words", PathOf("lista.tsv"), "--out", PathOf("zubr.krz")});
    EXPECT_EQ(uncovered.Code, 1);
    EXPECT_NE(uncovered.Err.find("U (2.), B (3.)"), std::string::npos) << uncovered.Err;

    std::ofstream(PathOf("zla.tsv")) << "kot\tzwierzę\nkoń morski\tryba\n";
    const TRun bad = Run({"compose-words", "--words", PathOf("zla.tsv"), "--out", PathOf("zla.krz")});
    EXPECT_EQ(bad.Code, 1);
    EXPECT_NE(bad.Err.find("Wiersz 2: słowo „KOŃ MORSKI” ma spację lub łącznik"), std::string::npos) << bad.Err;
    std::ofstream(PathOf("jedno.tsv")) << "kot\tzwierzę\n";
    const TRun one = Run({"compose-words", "--words", PathOf("jedno.tsv"), "--out", PathOf("jedno.krz")});
    EXPECT_EQ(one.Code, 1);
    EXPECT_NE(one.Err.find("tylko jedno słowo"), std::string::npos) << one.Err;
    EXPECT_EQ(Files(), (std::vector<std::string>{"haslo.krz", "jedno.tsv", "lista.tsv", "wolna.krz", "zla.tsv"}));
}

// The words of the shipped sample sounds (Audio/<WORD>.wav: 200 words spread
// over the database and the sample crossword's words), a three- and a
// sixteen-letter word: each is spoken into a WAV file that reads back as
// 16-bit PCM of 0.2 to 3 seconds.
TEST_F(Cli, SpeakWritesAValidWavForEveryWordOfTheSample)
{
    std::vector<std::string> words = {"kot", "przeciwdziałanie"};
    const std::filesystem::path audio = std::filesystem::path(MZ_APP_DIR) / "Audio";
    if (std::filesystem::is_directory(audio))
        for (const auto& entry : std::filesystem::directory_iterator(audio))
            if (entry.path().extension() == ".wav")
                words.push_back(entry.path().stem().string());
    if (words.size() < 200)
        GTEST_SKIP() << "this build made no sample sounds";
    for (const std::string& word : words) {
        const TRun run = Run({"speak", word, "--out", PathOf("słowo.wav")});
        ASSERT_EQ(run.Code, 0) << word << ": " << run.Err;
        const std::string bytes = Slurp(PathOf("słowo.wav"));
        ASSERT_GE(bytes.size(), 44u) << word;
        EXPECT_EQ(bytes.substr(0, 4), "RIFF") << word;
        EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ") << word;
        EXPECT_EQ(test::Int32At(bytes, 20) & 0xFFFF, 1) << word; // PCM
        EXPECT_EQ(test::Int32At(bytes, 32) >> 16, 16) << word;   // bits per sample
        const int32_t bytesPerSecond = test::Int32At(bytes, 28);
        ASSERT_EQ(bytes.substr(36, 4), "data") << word;
        const int32_t dataBytes = test::Int32At(bytes, 40);
        EXPECT_EQ(size_t(dataBytes), bytes.size() - 44) << word;
        const double seconds = double(dataBytes) / bytesPerSecond;
        EXPECT_GE(seconds, 0.2) << word;
        EXPECT_LE(seconds, 3.0) << word;
    }
}

TEST_F(Cli, SpeakRefusesWhatIsNoWordAndWritesNothing)
{
    const std::vector<std::tuple<std::vector<std::string>, int, std::string>> cases = {
        {{"speak", "kot7", "--out", PathOf("a.wav")}, 1, "Słowo do przeczytania musi składać się z liter"},
        {{"speak", "kot", "--out", PathOf("a.mp3")}, 2, "Plik dźwięku musi mieć rozszerzenie wav"},
        {{"speak", "kot"}, 2, "Podaj słowo i plik wynikowy --out"},
        {{"speak", "kot", "pies", "--out", PathOf("a.wav")}, 2, "Podaj jedno słowo"},
        {{"speak", "kot", "--out", PathOf("brak/a.wav")}, 1, "Nie ma takiego pliku ani katalogu"},
    };
    for (const auto& [args, code, message] : cases) {
        const TRun run = Run(args);
        EXPECT_EQ(run.Code, code) << args[1];
        EXPECT_NE(run.Err.find(message), std::string::npos) << run.Err;
    }
    EXPECT_TRUE(Files().empty());
}
