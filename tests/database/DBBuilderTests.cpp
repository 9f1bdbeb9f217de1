// Building word databases from the thesaurus and from plain word lists.
#include "../documents/TestFiles.h"
#include "DBTestUtil.h"

#include "core/Cp1250.h"
#include "database/DBBuilder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

using namespace mz;
using namespace mz::test;

namespace {

std::string Cp(const std::string& utf8)
{
    return Utf8ToCp1250(utf8);
}

std::vector<std::string> Utf8(const std::vector<std::string>& texts)
{
    std::vector<std::string> out;
    for (const auto& t : texts)
        out.push_back(Cp1250ToUtf8(t));
    return out;
}

// UTF-8 text to ISO-8859-2 bytes, for the Polish letters the tests use.
std::string Latin2(const std::string& utf8)
{
    static const std::pair<const char*, char> table[] = {{"ą", '\xB1'}, {"ć", '\xE6'}, {"ę", '\xEA'}, {"ł", '\xB3'},
                                                         {"ń", '\xF1'}, {"ó", '\xF3'}, {"ś", '\xB6'}, {"ź", '\xBC'},
                                                         {"ż", '\xBF'}, {"Ą", '\xA1'}, {"Ć", '\xC6'}, {"Ę", '\xCA'},
                                                         {"Ł", '\xA3'}, {"Ń", '\xD1'}, {"Ó", '\xD3'}, {"Ś", '\xA6'},
                                                         {"Ź", '\xAC'}, {"Ż", '\xAF'}};
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        bool replaced = false;
        for (const auto& [letter, byte] : table) {
            const std::string_view l(letter);
            if (utf8.compare(i, l.size(), l) == 0) {
                out += byte;
                i += l.size();
                replaced = true;
                break;
            }
        }
        if (!replaced)
            out += utf8[i++];
    }
    return out;
}

const TDBWord* Find(const std::vector<TDBWord>& words, const std::string& utf8)
{
    for (const auto& w : words)
        if (w.PWord == Cp(utf8))
            return &w;
    return nullptr;
}

} // namespace

TEST(DBBuilderWords, OnlyGridLettersOfTwoToTwentyBecomeWords)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"kot", "KOT"},
        {"Żółw", "ŻÓŁW"},
        {" łódź ", "ŁÓDŹ"},
        {"źdźbło", "ŹDŹBŁO"},
        {"aś", "AŚ"},
        {"a", ""},
        {"a cóż", ""},
        {"x-ray", ""},
        {"café", ""},
        {"r2d2", ""},
        {"ąćęłńóśźż", "ĄĆĘŁŃÓŚŹŻ"},
        {std::string(20, 'k'), std::string(20, 'K')},
        {std::string(21, 'k'), ""},
    };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(Cp1250ToUtf8(DatabaseWord(input)), expected) << input;
}

TEST(DBBuilderWords, Latin2PolishLettersBecomeUnicode)
{
    EXPECT_EQ(Latin2ToUtf8(Latin2("ąćęłńóśźżĄĆĘŁŃÓŚŹŻ abc")), "ąćęłńóśźżĄĆĘŁŃÓŚŹŻ abc");
}

struct TClueCase {
    const char* Why;
    const char* Word;
    std::vector<std::string> Terms;
    const char* Expected;
};

TEST(DBBuilderClues, ThesaurusSensesBecomeCluesThatDoNotGiveTheAnswerAway)
{
    const std::string fifty(50, 'a');
    const std::string forty(40, 'b');
    const std::string twenty(20, 'c');
    const std::vector<TClueCase> cases = {
        {"at most three synonyms", "KOT", {"mruczek", "kocur", "dachowiec", "sierściuch"}, "mruczek, kocur, dachowiec"},
        {"a synonym holding the answer", "KOT", {"kotek", "żbik", "domowy kot"}, "żbik"},
        {"the same first four letters", "ABAKUS", {"abak", "liczydło"}, "liczydło"},
        {"first four letters inside a phrase", "SAMOCHÓD", {"auto samobieżne", "wóz"}, "wóz"},
        {"answer in other case", "ŻÓŁW", {"Żółwik", "gad"}, "gad"},
        {"usage notes dropped", "TUDZIEŻ", {"i", "oraz (książk.)", "zaś (przestarz.) (pot.)"}, "i, oraz, zaś"},
        {"vulgar and offensive terms dropped",
         "GŁUPIEC",
         {"dureń (obraźl.)", "kiep (wulg.)", "cymbał (obelż.)", "niemądry"},
         "niemądry"},
        {"hyponyms and antonyms are no synonyms",
         "ZWIERZĘ",
         {"pies (pojęcie podrzędne)", "roślina (antonim)", "stworzenie"},
         "stworzenie"},
        {"hypernym only when no synonym is left",
         "ABAT",
         {"abat (przestarz.)", "zakonnik (pojęcie nadrzędne)", "brat (pojęcie nadrzędne)"},
         "rodzaj: zakonnik"},
        {"hypernym not needed", "OPAT", {"zakonnik (pojęcie nadrzędne)", "przeor"}, "przeor"},
        {"hypernym that gives the answer away",
         "PTAK",
         {"ptaki (pojęcie nadrzędne)", "zwierzę (pojęcie nadrzędne)"},
         "rodzaj: zwierzę"},
        {"eighty characters at most", "X", {fifty, forty, twenty}, ""},
        {"nothing left", "KOT", {"kot (pot.)", "kotowaty (wulg.)"}, ""},
    };
    for (const auto& c : cases) {
        std::string expected = c.Expected;
        if (std::string(c.Why) == "eighty characters at most")
            expected = fifty + ", " + twenty;
        EXPECT_EQ(Cp1250ToUtf8(ThesaurusClue(Cp(c.Word), c.Terms)), expected) << c.Why;
    }
}

TEST(DBBuilderThesaurus, EntriesMergeByUpperCaseWordInOrderOfFirstAppearance)
{
    const std::string text = "ISO8859-2\n"
                             "kot|2\n-|mruczek|kocur\n-|dachowiec\n"
                             "a cóż|1\n-|no i\n"
                             "żółw|1\n-|gad\n"
                             "Kot|2\n-|mruczek|kocur\n-|marynarz (pot.)\n"
                             "wulgaryzm|1\n(wulg.)|brzydkie słowo\n"
                             "osioł|1\n-|osiołek\n"
                             "Łódź|1\n-|miasto (pojęcie nadrzędne)\n"
                             "miasto|1\n-|gród|Łódź (pojęcie podrzędne)\n";
    std::istringstream in(Latin2(text));
    TDBBuilder builder;
    builder.AddThesaurus(in, "th.dat");
    const auto words = builder.Result();
    std::vector<std::string> names;
    for (const auto& w : words)
        names.push_back(Cp1250ToUtf8(w.PWord));
    // OSIOŁ has no clue left and the phrase no word; the vulgar sense is gone;
    // the entry of MIASTO confirms it as the broader term of ŁÓDŹ.
    EXPECT_EQ(names, (std::vector<std::string>{"KOT", "ŻÓŁW", "ŁÓDŹ", "MIASTO"}));
    EXPECT_EQ(Utf8(words[0].Explanations), (std::vector<std::string>{"mruczek, kocur", "dachowiec", "marynarz"}));
    EXPECT_EQ(Utf8(words[2].Explanations), (std::vector<std::string>{"rodzaj: miasto"}));
}

TEST(DBBuilderThesaurus, BrokenFilesAreRefusedWithTheLine)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "pusty"},
        {"KOI8-R\nkot|1\n-|a\n", "kodowanie"},
        {"UTF-8\nkot|2\n-|mruczek\n", "wiersz 3"},
        {"UTF-8\nkot|x\n-|mruczek\n", "wiersz 2"},
        {"UTF-8\nkot\n", "wiersz 2"},
    };
    for (const auto& [text, part] : cases) {
        std::istringstream in(text);
        TDBBuilder builder;
        try {
            builder.AddThesaurus(in, "th.dat");
            ADD_FAILURE() << text;
        } catch (const EDBInvalidOperation& e) {
            EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
        }
    }
}

TEST(DBBuilderTsv, WordListsGiveCluesAndSoundsAndReportSkippedWords)
{
    std::istringstream in("\xEF\xBB\xBFkot\tmruczek\t\tsierściuch\t@kot.wav\r\n"
                          "# komentarz\n"
                          "\n"
                          "zły wyraz\tcoś\n"
                          "bez\n"
                          "KOT\tkocur\tmruczek\n");
    TDBBuilder builder;
    std::vector<std::string> warnings;
    builder.AddTsv(in, "moje.tsv", warnings);
    const auto words = builder.Result();
    ASSERT_EQ(words.size(), 1u); // BEZ has no clue
    EXPECT_EQ(Utf8(words[0].Explanations), (std::vector<std::string>{"mruczek", "sierściuch", "kocur"}));
    EXPECT_EQ(words[0].Audio, "kot.wav");
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("moje.tsv, wiersz 4"), std::string::npos) << warnings[0];

    std::istringstream bad("kot\tmiau 😺\n");
    EXPECT_THROW(builder.AddTsv(bad, "zle.tsv", warnings), EDBInvalidOperation);
}

class DBBuilderFiles : public TTempDirTest { };

TEST_F(DBBuilderFiles, SoundsAreFilesNamedAfterTheWordInUtf8)
{
    WriteBytes((Dir / Utf8Path("ŻÓŁW.wav")).string(), "RIFF");
    WriteBytes(PathOf("KOT.mp3"), "ID3");
    WriteBytes(PathOf("pies.wav"), "RIFF");
    std::istringstream in("żółw\tgad\nkot\tmruczek\npies\tburek\nsowa\tptak\t@puszczyk.wav\n");
    TDBBuilder builder;
    std::vector<std::string> warnings;
    builder.AddTsv(in, "a.tsv", warnings);
    EXPECT_EQ(builder.AssignSounds(Dir), 2);
    const auto words = builder.Result();
    EXPECT_EQ(Cp1250ToUtf8(Find(words, "ŻÓŁW")->Audio), "ŻÓŁW.wav");
    EXPECT_EQ(Find(words, "KOT")->Audio, "KOT.mp3");
    EXPECT_EQ(Find(words, "PIES")->Audio, ""); // the name must be the upper-case word
    EXPECT_EQ(Find(words, "SOWA")->Audio, "puszczyk.wav");

    const auto path = PathOf("baza.hk");
    WriteDBFile(path, 101, words);
    TDB db;
    db.Load(path);
    for (const char* word : {"ŻÓŁW", "KOT", "PIES"})
        ASSERT_NE(db.FindRecord(Cp(word)), nullptr) << word;
    EXPECT_EQ(db.FindRecord(Cp("ŻÓŁW"))->AudioLines, Cp("ŻÓŁW.wav\r\n"));
    EXPECT_EQ(db.FindRecord("KOT")->ExplLines, "mruczek\r\n");
    EXPECT_EQ(db.FindRecord("PIES")->AudioLines, "");
}

// The command-line tool end to end: db-build from a word list, db-stats on the result.
TEST_F(DBBuilderFiles, CommandLineBuildsAndDescribesADatabase)
{
    WriteBytes(PathOf("slowa.tsv"), "kot\tmruczek\tkocur\nżółw\tgad\nab\tdwie litery\n");
    const std::string cli = MZ_CLI;
    const std::string out = PathOf("baza.hk");
    const std::string log = PathOf("log.txt");
    auto run = [&](const std::string& args) {
        const int status = std::system((cli + " " + args + " > '" + log + "' 2>&1").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    ASSERT_EQ(run("db-build --out '" + out + "' --edition 102 --tsv '" + PathOf("slowa.tsv") + "'"), 0)
        << ReadBytes(log);
    EXPECT_NE(ReadBytes(log).find("3 haseł, 4 objaśnień"), std::string::npos) << ReadBytes(log);
    ASSERT_EQ(run("db-stats '" + out + "'"), 0);
    const std::string stats = ReadBytes(log);
    for (const char* line : {"Wydanie: 102 (rozszerzona)", "Hasła: 3", "Objaśnienia: 4", "Najkrótsze hasło: 2",
                             "Najdłuższe hasło: 4", "    2: 1", "    3: 1"})
        EXPECT_NE(stats.find(line), std::string::npos) << line << "\n" << stats;

    EXPECT_EQ(run("db-build --edition 5 --tsv '" + PathOf("slowa.tsv") + "'"), 2);
    EXPECT_EQ(run("db-build --out '" + out + "' --tsv '" + PathOf("brak.tsv") + "'"), 1);
    EXPECT_EQ(run("db-stats '" + PathOf("brak.hk") + "'"), 1);
    EXPECT_NE(ReadBytes(log).find("Wystąpił błąd podczas otwarcia pliku"), std::string::npos);
}

// Sources that give no words are refused before the database is written, so
// an existing --out stays as it was.
TEST_F(DBBuilderFiles, SourcesWithoutWordsAreRefusedAndTheOutputStays)
{
    const std::string cli = MZ_CLI;
    const std::string out = PathOf("baza.hk");
    WriteBytes(out, "stara baza");
    const std::string log = PathOf("log.txt");
    auto run = [&](const std::string& option, const std::string& source) {
        const int status = std::system(
            (cli + " db-build --out '" + out + "' " + option + " '" + source + "' > '" + log + "' 2>&1").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    std::filesystem::create_directory(PathOf("katalog"));
    WriteBytes(PathOf("pusty.tsv"), "");
    WriteBytes(PathOf("utf16.tsv"), std::string("\xFF\xFEk\0o\0t\0\t\0m\0\n\0", 14));
    WriteBytes(PathOf("utf16bez.tsv"), std::string("k\0o\0t\0\t\0m\0\n\0", 12));
    WriteBytes(PathOf("zle.tsv"), "a\tjedna litera\nfoo bar\tfraza\n# tylko to\n");
    WriteBytes(PathOf("same_slowa.tsv"), "kot\npies\n");
    WriteBytes(PathOf("cp1250.tsv"), "kot\tmruczek\n\xBF\xF3\xB3w\tgad\n");
    WriteBytes(PathOf("th.dat"), "UTF-8\nłódź podwodna|1\n-|okręt\n");
    WriteBytes(PathOf("dobry.tsv"), "kot\tmruczek\n");
    WriteBytes(PathOf("zero.txt"), std::string("pies\nk\0t\n", 9));
    WriteBytes(PathOf("zero2.txt"), std::string("1\tpies\t\n2\tk\0t\t\n", 15));
    // Stop and frequency lists are read with the word lists' bounds; /proc/self/mem
    // fails its first read (EIO), which must not pass for the end of the list.
    const std::string withList = "--tsv " + PathOf("dobry.tsv") + " --stoplist";
    const std::string withScores = "--tsv " + PathOf("dobry.tsv") + " --commonness";
    const struct {
        std::string Option, Source, Message;
    } cases[] = {
        {"--tsv", PathOf("katalog"), "To jest katalog"},
        {"--tsv", PathOf("pusty.tsv"), "pusty plik"},
        {"--thesaurus", PathOf("pusty.tsv"), "pusty plik tezaurusa"},
        {"--tsv", PathOf("utf16.tsv"), "UTF-16"},
        {"--tsv", PathOf("utf16bez.tsv"), "bajt zerowy"},
        {"--tsv", PathOf("zle.tsv"), "żaden wiersz nie zawiera poprawnego hasła"},
        {"--tsv", PathOf("same_slowa.tsv"), "Żadne hasło nie ma objaśnienia"},
        {"--tsv", "/dev/zero", "wiersz dłuższy niż 1048576 bajtów"},
        {"--tsv", PathOf("cp1250.tsv"), "cp1250.tsv, wiersz 2: niepoprawny zapis UTF-8 w bajcie 1"},
        {"--thesaurus", PathOf("th.dat"), "żadne hasło tezaurusa"},
        {"--tsv", PathOf("brak.tsv"), "Brak wymaganego pliku"},
        {withList, "/dev/zero", "/dev/zero, wiersz 1: wiersz dłuższy niż 1048576 bajtów"},
        {withScores, "/dev/zero", "/dev/zero, wiersz 1: wiersz dłuższy niż 1048576 bajtów"},
        {withList, PathOf("zero.txt"), "zero.txt, wiersz 2: bajt zerowy: to nie jest plik tekstowy (UTF-16?)\n"},
        {withScores, PathOf("zero2.txt"), "zero2.txt, wiersz 2: bajt zerowy"},
        {withList, "/proc/self/mem", "Błąd odczytu pliku /proc/self/mem: Błąd wejścia/wyjścia"},
        {withScores, "/proc/self/mem", "Błąd odczytu pliku /proc/self/mem: Błąd wejścia/wyjścia"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.Option, c.Source), 1) << c.Source;
        EXPECT_NE(ReadBytes(log).find(c.Message), std::string::npos) << ReadBytes(log);
        EXPECT_EQ(ReadBytes(out), "stara baza") << c.Source;
    }
}

// A line of a megabyte is named by its number, never printed back.
TEST(DBBuilderTsv, BrokenLinesAreNamedWithoutEchoingThem)
{
    const std::string longWord(1'000'000, 'x');
    std::istringstream in("kot\tmruczek\n" + longWord + "\tklucz\nkot\t" + longWord + "\xE2\x82\xAC\xF0\x9F\x98\xBA\n");
    TDBBuilder builder;
    std::vector<std::string> warnings;
    try {
        builder.AddTsv(in, "dlugi.tsv", warnings);
        ADD_FAILURE();
    } catch (const EDBInvalidOperation& e) {
        EXPECT_NE(std::string(e.what()).find("dlugi.tsv, wiersz 3: znak spoza strony kodowej"), std::string::npos);
        EXPECT_LT(std::string(e.what()).size(), 200u);
    }
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("dlugi.tsv, wiersz 2: pominięto \"xxxx"), std::string::npos);
    EXPECT_LT(warnings[0].size(), 200u);
}

// A sound name is joined to the audio directory: only a plain file name is
// taken from a list, and none other is ever written.
TEST_F(DBBuilderFiles, SoundNamesThatAreNoPlainFileNamesAreNeverWritten)
{
    std::istringstream in("kot\tmruczek\t@../../../../home/user/.ssh/id_rsa\n"
                          "pies\tburek\t@C:\\x.wav\n"
                          "sowa\tptak\t@puszczyk.wav\n");
    TDBBuilder builder;
    std::vector<std::string> warnings;
    builder.AddTsv(in, "dzwieki.tsv", warnings);
    const auto words = builder.Result();
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[0].Audio, "");
    EXPECT_EQ(words[1].Audio, "");
    EXPECT_EQ(words[2].Audio, "puszczyk.wav");
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_NE(warnings[0].find("dzwieki.tsv, wiersz 1: pominięto dźwięk"), std::string::npos) << warnings[0];

    const auto path = PathOf("baza.hk");
    EXPECT_THROW(WriteDBFile(path, 101, {{"KOT", {"mruczek"}, "../x.wav"}}), EDBInvalidOperation);
    EXPECT_FALSE(std::filesystem::exists(path));
}

// Every repeated clue of a word is merged, however many the word has; the
// order of first appearance stays.
TEST(DBBuilderTsv, ManyCluesOfOneWordMergeInOrder)
{
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += "kot\topis " + std::to_string(i % 5000) + "\topis " + std::to_string((i * 7) % 5000) + "\n";
    text += "pies\topis 1\n";
    std::istringstream in(text);
    TDBBuilder builder;
    std::vector<std::string> warnings;
    builder.AddTsv(in, "duzo.tsv", warnings);
    const auto words = builder.Result();
    ASSERT_EQ(words.size(), 2u);
    ASSERT_EQ(words[0].Explanations.size(), 5000u);
    EXPECT_EQ(words[0].Explanations[0], "opis 0");
    EXPECT_EQ(words[0].Explanations[1], "opis 1");
    EXPECT_EQ(words[0].Explanations[2], "opis 7");
    EXPECT_EQ(words[1].Explanations, std::vector<std::string>{"opis 1"});
}

// The edition is a whole 32-bit value in header bytes 60 to 63.
TEST_F(DBBuilderFiles, TheEditionKeepsAllFourBytes)
{
    for (const int32_t edition : {0x12345678, -2, INT32_MIN, 0x00FF0000}) {
        const auto path = PathOf("wydanie.hk");
        WriteDBFile(path, edition, {{"KOT", {"mruczek"}, ""}});
        EXPECT_EQ(Int32At(ReadBytes(path), 60), edition);
        TDB db;
        db.Load(path);
        EXPECT_EQ(db.Edition(), edition);
    }
}

// A source that fails while it is read is an error, not its end.
TEST_F(DBBuilderFiles, AReadErrorIsNotTheEndOfTheSource)
{
    std::ifstream in(Dir);
    ASSERT_TRUE(in.is_open());
    TDBBuilder builder;
    std::vector<std::string> warnings;
    try {
        builder.AddTsv(in, "katalog.tsv", warnings);
        ADD_FAILURE();
    } catch (const EDBInvalidOperation& e) {
        EXPECT_EQ(std::string(e.what()), "Błąd odczytu pliku katalog.tsv: To jest katalog");
    }
}
