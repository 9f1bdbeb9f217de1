// The commands around a crossword's answers, run as a user runs them.
#include "core/Cp1250.h"
#include "database/DBBuilder.h"
#include "documents/CrossTXT.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

using namespace mz;

namespace {

struct TRun {
    int Code = -1;
    std::string Out;
    std::string Err;
};

class SolutionCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::random_device rd;
        Dir = std::filesystem::temp_directory_path() / ("mz-cli-answers-" + std::to_string(rd()));
        std::filesystem::create_directories(Dir);
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(Dir, ignored);
    }

    std::string PathOf(const std::string& name) const { return (Dir / name).string(); }

    static std::string Slurp(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    TRun Run(const std::vector<std::string>& args) const
    {
        auto quote = [](const std::string& arg) {
            std::string quoted = "'";
            for (char c : arg)
                quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
            return quoted + "'";
        };
        std::string command = quote(MZ_CLI_PATH);
        for (const auto& a : args)
            command += " " + quote(a);
        command += " >" + quote(PathOf("stdout")) + " 2>" + quote(PathOf("stderr"));
        const int status = std::system(command.c_str());
        TRun run;
        run.Code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.Out = Slurp(PathOf("stdout"));
        run.Err = Slurp(PathOf("stderr"));
        return run;
    }

    // K O T Y   across KOTY, SOKI; down KAS, YSI; the phrase KOS.
    // A * * S
    // S O K I
    std::string Crossword(const std::string& name, bool answers = true)
    {
        TCrossTXT doc;
        doc.SetColCount(4);
        doc.SetRowCount(3);
        doc.SetCell(2, 2, '*');
        doc.SetCell(3, 2, '*');
        doc.SetCell(1, 1, 'K');
        doc.AddExpl({1, 1, Utf8ToCp1250("Mruczą"), "koty.wav", true, answers ? "KOTY" : ""});
        doc.AddExpl({1, 3, "Napoje", "", true, answers ? "SOKI" : ""});
        doc.AddExpl({1, 1, Utf8ToCp1250("Dawne pieniądze"), "", false, answers ? "KAS" : ""});
        doc.AddExpl({4, 1, Utf8ToCp1250("Młode psy"), "", false, answers ? "YSI" : ""});
        if (answers)
            doc.SetPhrase({"KOS", {{1, 1}, {2, 1}, {4, 2}}});
        doc.SaveToFile(PathOf(name));
        return PathOf(name);
    }

    std::filesystem::path Dir;
};

const char* ShownWithAnswers = "Rozmiar: 4 × 3\n"
                               "K...\n"
                               ".**.\n"
                               "....\n"
                               "1. V 4,1: Młode psy = YSI\n"
                               "2. V 1,1: Dawne pieniądze = KAS\n"
                               "3. H 1,3: Napoje = SOKI\n"
                               "4. H 1,1: Mruczą [koty.wav] = KOTY\n"
                               "Pola rozwiązania: 1: 1,1; 2: 2,1; 3: 4,2\n"
                               "Rozwiązanie: KOS\n";

} // namespace

TEST_F(SolutionCommands, ShowPrintsAnswersAndThePhraseOnlyWhenAsked)
{
    const std::string file = Crossword("k.krz");
    const TRun plain = Run({"show", file});
    EXPECT_EQ(plain.Code, 0) << plain.Err;
    EXPECT_EQ(plain.Out.find("="), std::string::npos);
    EXPECT_EQ(plain.Out.find("Rozwiązanie:"), std::string::npos);
    EXPECT_NE(plain.Out.find("Pola rozwiązania: 1: 1,1; 2: 2,1; 3: 4,2\n"), std::string::npos);

    const TRun full = Run({"show", "--answers", file});
    EXPECT_EQ(full.Code, 0) << full.Err;
    EXPECT_EQ(full.Out, ShownWithAnswers);
    EXPECT_NE(Run({"show", "--answers", Crossword("bez.krz", false)}).Out.find("4. H 1,1: Mruczą [koty.wav] = ?\n"),
              std::string::npos);
}

TEST_F(SolutionCommands, AnIpuzExportOpensInShowAndConvertAsTheSameCrossword)
{
    const std::string ipuz = PathOf("k.ipuz");
    const TRun exported = Run({"export-ipuz", Crossword("k.krz"), ipuz});
    ASSERT_EQ(exported.Code, 0) << exported.Err;
    // ipuz carries the standard numbers; read back, the clues come in that
    // order, each across clue before the down clue of its number.
    const char* fromIpuz = "Rozmiar: 4 × 3\n"
                           "K...\n"
                           ".**.\n"
                           "....\n"
                           "1. H 1,1: Mruczą [koty.wav] = KOTY\n"
                           "2. V 1,1: Dawne pieniądze = KAS\n"
                           "3. V 4,1: Młode psy = YSI\n"
                           "4. H 1,3: Napoje = SOKI\n"
                           "Pola rozwiązania: 1: 1,1; 2: 2,1; 3: 4,2\n"
                           "Rozwiązanie: KOS\n";
    EXPECT_EQ(Run({"show", "--answers", ipuz}).Out, fromIpuz);
    // Saved and opened again, a crossword lists its explanations the other way round.
    const TRun converted = Run({"convert", ipuz, PathOf("z.krz")});
    ASSERT_EQ(converted.Code, 0) << converted.Err;
    EXPECT_EQ(Run({"show", "--answers", PathOf("z.krz")}).Out,
              "Rozmiar: 4 × 3\n"
              "K...\n"
              ".**.\n"
              "....\n"
              "1. H 1,3: Napoje = SOKI\n"
              "2. V 4,1: Młode psy = YSI\n"
              "3. V 1,1: Dawne pieniądze = KAS\n"
              "4. H 1,1: Mruczą [koty.wav] = KOTY\n"
              "Pola rozwiązania: 1: 1,1; 2: 2,1; 3: 4,2\n"
              "Rozwiązanie: KOS\n");
    // The numbers the ipuz carries do not follow the explanation order.
    const TRun again = Run({"export-ipuz", PathOf("z.krz"), PathOf("z.ipuz")});
    ASSERT_EQ(again.Code, 0) << again.Err;
    std::string second = Slurp(PathOf("z.ipuz"));
    second.replace(second.find("\"title\": \"z\""), 12, "\"title\": \"k\"");
    EXPECT_EQ(second, Slurp(ipuz));
}

TEST_F(SolutionCommands, AnIpuzPuzzleOfAnotherKindIsRefusedWithItsName)
{
    const std::string file = PathOf("s.ipuz");
    std::ofstream(file) << R"({"kind": ["http://ipuz.org/sudoku#1"], "dimensions": {"width": 9, "height": 9}})";
    const TRun run = Run({"show", file});
    EXPECT_EQ(run.Code, 1);
    EXPECT_EQ(run.Err,
              "Plik " + file
                  + " zawiera coś, czego Mirakolnik Zodevidar nie potrafi pokazać: łamigłówka rodzaju "
                    "„http://ipuz.org/sudoku#1” (obsługiwane są tylko krzyżówki).\n");
}

TEST_F(SolutionCommands, RecoverAnswersFillsThemInFromTheDatabaseAndVerifyCountsWholeCrosswords)
{
    WriteDBFile(PathOf("baza.hk"), 101,
                {{"KOTY", {Utf8ToCp1250("Mruczą")}, {}},
                 {"SOKI", {"Napoje"}, {}},
                 {"KAS", {Utf8ToCp1250("Dawne pieniądze")}, {}},
                 {"YSI", {Utf8ToCp1250("Młode psy")}, {}},
                 {"NIC", {Utf8ToCp1250("Młode psy")}, {}}});
    const TRun run =
        Run({"recover-answers", "--db", PathOf("baza.hk"), Crossword("bez.krz", false), "--out", PathOf("z.krz")});
    EXPECT_EQ(run.Code, 0) << run.Err;
    EXPECT_EQ(run.Out, "Odtworzono 4 z 4 odpowiedzi (znane wcześniej: 0, nadal nieznane: 0)\n");
    const std::string shown = Run({"show", "--answers", PathOf("z.krz")}).Out;
    EXPECT_NE(shown.find("4. V 4,1: Młode psy = YSI\n"), std::string::npos) << shown;

    const TRun verify =
        Run({"recover-answers", "--db", PathOf("baza.hk"), "--verify", Crossword("k.krz"), PathOf("z.krz")});
    EXPECT_EQ(verify.Code, 0) << verify.Err;
    EXPECT_EQ(verify.Out,
              "k.krz: odtworzono 4 z 4, nieznanych 0, błędnych 0\n"
              "z.krz: odtworzono 4 z 4, nieznanych 0, błędnych 0\n"
              "Całe: 2 z 2 krzyżówek; odpowiedzi odtworzone: 8 z 8; błędne: 0\n");
}

TEST_F(SolutionCommands, PhraseNumbersCellsOrRefusesAndWritesNothing)
{
    const std::string file = Crossword("k.krz");
    const TRun made = Run({"phrase", file, "--text", "sok", "--seed", "5", "--out", PathOf("r.krz")});
    EXPECT_EQ(made.Code, 0) << made.Err;
    EXPECT_EQ(made.Out, "Rozwiązanie: SOK\n");
    EXPECT_NE(Run({"show", "--answers", PathOf("r.krz")}).Out.find("Rozwiązanie: SOK\n"), std::string::npos);

    const TRun refused = Run({"phrase", file, "--text", "koza", "--out", PathOf("x.krz")});
    EXPECT_EQ(refused.Code, 1);
    EXPECT_EQ(refused.Err,
              "Nie można ułożyć rozwiązania „KOZA”: w krzyżówce brakuje liter: Z (potrzeba 1, nie ma "
              "żadnej).\n");
    EXPECT_FALSE(std::filesystem::exists(PathOf("x.krz")));
}
