// Importing word lists and the thesaurus into the editable base, and exporting it.
#include "../documents/TestFiles.h"
#include "WordBaseTestUtil.h"

#include "database/WordImport.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace mz;
using namespace mz::test;

namespace {

class WordImport : public TTempDirTest {
protected:
    void SetUp() override
    {
        TTempDirTest::SetUp();
        WriteWords(PathOf("baza.hk"), 102,
                   {{"KOT", {"mruczek"}, "", ""}, {"LAS", {"wiele drzew"}, "", ""}, {"ŻABA", {"płaz"}, "", ""}});
        Base.Load(PathOf("baza.hk"), PathOf("zmiany.hk"));
    }

    void ApplyAll(const TImportPreview& preview)
    {
        for (TWordChange& change : preview.Changes(Base))
            Base.Apply(change);
    }

    TWordBase Base;
};

std::vector<std::string> Summary(const std::vector<TImportWord>& words)
{
    std::vector<std::string> lines;
    for (const TImportWord& word : words) {
        std::string line = std::to_string(word.Line) + " " + Cp1250ToUtf8(word.PWord) + ":";
        for (const std::string& clue : word.NewExplanations)
            line += " " + Cp1250ToUtf8(clue) + ";";
        if (!word.SoundName.empty())
            line += " @" + Cp1250ToUtf8(word.SoundName);
        lines.push_back(line);
    }
    return lines;
}

} // namespace

// New words, words that gain clues and refused lines (with their numbers) are
// told apart before anything changes.
TEST_F(WordImport, AWordListPreviewSeparatesNewMergedAndRefusedLines)
{
    std::istringstream list("\xEF\xBB\xBF# moja lista\n"
                            "kot\tmruczek\tulubieniec domowy\r\n"
                            "sowa\tnocny ptak\t@SOWA.ogg\n"
                            "\n"
                            "biały kruk\trzadkość\n"
                            "las\twiele drzew\n"
                            "x\tza krótkie\n"
                            "jeż\t\n"
                            "sowa\tmądra w bajkach\tnocny ptak\n"
                            "kot\tcena 5 ₽\n");
    const TImportPreview preview = PreviewTsvImport(Base, list);
    EXPECT_EQ(Summary(preview.Added), (std::vector<std::string>{"3 SOWA: nocny ptak; mądra w bajkach; @SOWA.ogg"}));
    EXPECT_EQ(Summary(preview.Merged), (std::vector<std::string>{"2 KOT: ulubieniec domowy;"}));
    EXPECT_EQ(preview.Unchanged, 1);
    std::vector<std::string> refused;
    for (const TImportRefusal& r : preview.Refused)
        refused.push_back(std::to_string(r.Line) + " " + r.Text + " → " + r.Reason);
    EXPECT_EQ(refused,
              (std::vector<std::string>{
                  "5 biały kruk\trzadkość → Hasło musi być jednym słowem, bez spacji.",
                  "7 x\tza krótkie → Hasło musi mieć od 2 do 20 liter (wpisano 1).",
                  "8 jeż\t → Brak objaśnienia.",
                  "10 kot\tcena 5 ₽ → Wiersz zawiera znak, którego baza haseł nie może zapisać.",
              }));
    EXPECT_EQ(Base.Count(), 3u);

    ApplyAll(preview);
    EXPECT_EQ(Describe(Base),
              (std::vector<std::string>{"KOT: mruczek | ulubieniec domowy edited", "LAS: wiele drzew", "ŻABA: płaz",
                                        "SOWA: nocny ptak | mądra w bajkach [SOWA.ogg] edited"}));
}

TEST_F(WordImport, TheThesaurusGivesTheBuildersClues)
{
    std::istringstream thesaurus("UTF-8\n"
                                 "kot|1\n(rzecz.)|kocur|dachowiec\n"
                                 "kret|1\n(rzecz.)|ssak podziemny\n"
                                 "las|1\n(rzecz.)|wiele drzew\n");
    const TImportPreview preview = PreviewThesaurusImport(Base, thesaurus, "th.dat");
    EXPECT_EQ(Summary(preview.Added), (std::vector<std::string>{"0 KRET: ssak podziemny;"}));
    EXPECT_EQ(Summary(preview.Merged), (std::vector<std::string>{"0 KOT: kocur, dachowiec;"}));
    EXPECT_EQ(preview.Unchanged, 1);

    std::istringstream broken("UTF-8\nkot|2\n(rzecz.)|kocur\n");
    EXPECT_THROW(PreviewThesaurusImport(Base, broken, "th.dat"), EDBInvalidOperation);
}

// The export is a word list the import reads back to the same words.
TEST_F(WordImport, ExportedWordsReadBackUnchanged)
{
    std::istringstream list("sowa\tnocny ptak\t@SOWA.ogg\nkot\tdomowy\tsierściuch\n");
    ApplyAll(PreviewTsvImport(Base, list));
    std::ostringstream shown;
    WriteTsv(shown, Base, {Cp("SOWA"), Cp("KOT")});
    EXPECT_EQ(shown.str(),
              "# hasło\tobjaśnienie\tobjaśnienie…\t@plik dźwięku\n"
              "SOWA\tnocny ptak\t@SOWA.ogg\n"
              "KOT\tmruczek\tdomowy\tsierściuch\n");

    std::vector<std::string> all;
    for (const TBaseWord& word : Base.Entries())
        all.push_back(word.PWord);
    std::ostringstream everything;
    WriteTsv(everything, Base, all);
    std::istringstream back(everything.str());
    const TImportPreview again = PreviewTsvImport(Base, back);
    EXPECT_TRUE(again.Added.empty());
    EXPECT_TRUE(again.Merged.empty());
    EXPECT_TRUE(again.Refused.empty());
    EXPECT_EQ(again.Unchanged, 4);
}
