// The editable word database: the shipped file with the user's change file,
// saving, damaged files, a newer shipped file, undo of changes, checks.
#include "../documents/TestFiles.h"
#include "WordBaseTestUtil.h"

#include "core/Cp1250.h"
#include "database/ComposeWords.h"
#include "database/WordBase.h"
#include "database/WordCheck.h"
#include "database/WordSearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace mz;
using namespace mz::test;

namespace {

class WordBaseFiles : public TTempDirTest {
protected:
    void SetUp() override
    {
        TTempDirTest::SetUp();
        Shipped = PathOf("baza.hk");
        User = PathOf("użytkownik/baza-użytkownika.hk");
        WriteWords(Shipped, 102, ShippedWords());
    }

    static std::vector<TTestWord> ShippedWords()
    {
        return {{"KOT", {"mruczek", "łowca myszy"}, "KOT.wav", ""},
                {"LAS", {"wiele drzew"}, "", ""},
                {"ŻABA", {"płaz"}, "", "57"},
                {"PIES", {"szczeka"}, "", ""}};
    }

    TWordBase Loaded() const
    {
        TWordBase base;
        base.Load(Shipped, User);
        return base;
    }

    std::string Shipped;
    std::string User;
};

TBaseWord Edited(TBaseWord word)
{
    word.UserEdited = true;
    return word;
}

// Adds SOWA, gives KOT other clues, excludes LAS, renames ŻABA, removes PIES.
void EditEveryWay(TWordBase& base)
{
    TBaseWord kot = Edited(*base.Find(Cp("KOT")));
    kot.Explanations = {Cp("domowy drapieżnik"), Cp("mruczek")};
    TBaseWord las = Edited(*base.Find(Cp("LAS")));
    las.Excluded = true;
    TBaseWord zabka = Edited(*base.Find(Cp("ŻABA")));
    zabka.PWord = Cp("ŻABKA");
    std::vector<TWordChange> changes = {
        {std::nullopt, Edited(TBaseWord{Cp("SOWA"), {Cp("nocny ptak")}, "SOWA.ogg\r\n", false, false, {}}), 0},
        {*base.Find(Cp("KOT")), kot, 0},
        {*base.Find(Cp("LAS")), las, 0},
        {*base.Find(Cp("ŻABA")), zabka, 0},
        {*base.Find(Cp("PIES")), std::nullopt, 0},
    };
    for (TWordChange& change : changes)
        base.Apply(change);
}

} // namespace

// The change file holds the user's entries whole and the removed shipped
// words; read back over the shipped file it gives the edited base again.
TEST_F(WordBaseFiles, SavedChangesAreReadBackOverTheShippedFile)
{
    const std::string shippedBytes = ReadBytes(Shipped);
    TWordBase base = Loaded();
    EXPECT_FALSE(base.HasUserFile());
    EditEveryWay(base);
    EXPECT_EQ(Describe(base),
              (std::vector<std::string>{"KOT: domowy drapieżnik | mruczek [KOT.wav] edited",
                                        "LAS: wiele drzew excluded edited", "ŻABKA: płaz {4:57} edited",
                                        "SOWA: nocny ptak [SOWA.ogg] edited"}));
    base.Save();

    const TWordBase again = Loaded();
    EXPECT_TRUE(again.HasUserFile());
    EXPECT_EQ(again.UserFileProblem(), "");
    EXPECT_FALSE(again.ShippedChanged());
    // The renamed word now follows the shipped ones, like every word of the user's.
    EXPECT_EQ(Describe(again),
              (std::vector<std::string>{"KOT: domowy drapieżnik | mruczek [KOT.wav] edited",
                                        "LAS: wiele drzew excluded edited", "ŻABKA: płaz {4:57} edited",
                                        "SOWA: nocny ptak [SOWA.ogg] edited"}));
    EXPECT_EQ(again.RemovedShipped(), (std::set<std::string>{Cp("PIES"), Cp("ŻABA")}));
    EXPECT_EQ(ReadBytes(Shipped), shippedBytes);
}

// A crossword's own words with their clues: new ones become the user's words
// (once each), known ones stay as they were, and a clue the file cannot hold
// is refused with the reason.
TEST_F(WordBaseFiles, OwnWordsOfACrosswordAreAddedOnlyWhenNew)
{
    TWordBase base = Loaded();
    const TOwnWordsAdded result = AddOwnWords(base,
                                              {{Cp("SÓWKA"), Cp("mała sowa")},
                                               {Cp("KOT"), "inny"},
                                               {Cp("SÓWKA"), "ptak"},
                                               {"ZEBU", "@ZEBU.wav"}});
    EXPECT_EQ(result.Added, std::vector<std::string>{Cp("SÓWKA")});
    EXPECT_EQ(result.Present, std::vector<std::string>{Cp("KOT")});
    ASSERT_EQ(result.Refused.size(), size_t{1});
    EXPECT_TRUE(result.Refused[0].starts_with("ZEBU: Objaśnienie nie może zaczynać się od znaku @"));
    base.Save();
    EXPECT_EQ(Describe(Loaded()).back(), "SÓWKA: mała sowa edited");
    EXPECT_EQ(Describe(Loaded()).front(), "KOT: mruczek | łowca myszy [KOT.wav]");
}

// What a run composes from: excluded and removed words are not among its words.
TEST_F(WordBaseFiles, ComposingReadsTheShippedWordsWithTheUsersChanges)
{
    TWordBase base = Loaded();
    EditEveryWay(base);
    base.Save();
    const auto words = TComposeWords::Read(Shipped, User);
    EXPECT_TRUE(words->UsesUserFile());
    const auto db = words->NewDB({3, 16}, qmPlain);
    EXPECT_EQ(Chain(db->Words()), (std::vector<std::string>{Cp("SOWA"), Cp("ŻABKA"), Cp("KOT")}));
    EXPECT_EQ(db->FindRecord(Cp("KOT"))->ExplLines, Cp("domowy drapieżnik\r\nmruczek\r\n"));
    const TDBStatistics stats = words->Statistics();
    EXPECT_EQ(stats.WordCount, 3);
    EXPECT_EQ(stats.ExplCount, 4);
    EXPECT_EQ(stats.MinLen, 3);
    EXPECT_EQ(stats.MaxLen, 5);
    EXPECT_EQ(stats.Edition, 102);

    // Without a change file it is the shipped file as it stands.
    const auto plain = TComposeWords::Read(Shipped, PathOf("brak.hk"));
    EXPECT_FALSE(plain->UsesUserFile());
    EXPECT_EQ(Chain(plain->NewDB({3, 16}, qmPlain)->Words()),
              (std::vector<std::string>{Cp("PIES"), Cp("ŻABA"), Cp("LAS"), Cp("KOT")}));
}

// A run reads its words once: a save during the run does not reach it.
TEST_F(WordBaseFiles, ARunKeepsTheWordsItStartedWith)
{
    TWordBase base = Loaded();
    base.Save();
    const auto source = ComposeDBSource(TComposeWords::Read(Shipped, User), {3, 16}, qmPlain);
    EditEveryWay(base);
    base.Save();
    EXPECT_EQ(source()->WordCount(), 4);
    EXPECT_EQ(ComposeDBSource(TComposeWords::Read(Shipped, User), {3, 16}, qmPlain)()->WordCount(), 3);
}

TEST_F(WordBaseFiles, ASaveKeepsThePreviousFileAsTheBackup)
{
    TWordBase base = Loaded();
    EditEveryWay(base);
    base.Save();
    const std::string first = ReadBytes(User);
    TWordChange add{std::nullopt, Edited(TBaseWord{Cp("MYSZ"), {Cp("gryzoń")}, {}, false, false, {}}), 0};
    base.Apply(add);
    base.Save();
    EXPECT_EQ(ReadBytes(base.BackupName()), first);
    EXPECT_NE(ReadBytes(User), first);
    EXPECT_NE(Loaded().Find(Cp("MYSZ")), nullptr);
}

// A failed save says why, leaves the previous file alone and keeps the edits.
TEST_F(WordBaseFiles, AFailedSaveSaysWhyAndLosesNothing)
{
    TWordBase base = Loaded();
    EditEveryWay(base);
    base.Save();
    const std::string saved = ReadBytes(User);
    TWordChange longClue{std::nullopt, Edited(TBaseWord{Cp("MYSZ"), {std::string(2040, 'a')}, {}, false, false, {}}),
                         0};
    base.Apply(longClue);
    try {
        base.Save();
        ADD_FAILURE() << "saved";
    } catch (const EDBInvalidOperation& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Nie udało się zapisać zmian w bazie haseł do pliku " + User
                      + ": objaśnienie hasła MYSZ jest dłuższe niż 2039 znaków");
    }
    EXPECT_EQ(ReadBytes(User), saved);
    EXPECT_NE(base.Find(Cp("MYSZ")), nullptr);

    // A directory that cannot be made: the system's reason is part of the message.
    WriteBytes(PathOf("plik"), "x");
    TWordBase elsewhere;
    elsewhere.Load(Shipped, PathOf("plik/baza-użytkownika.hk"));
    try {
        elsewhere.Save();
        ADD_FAILURE() << "saved";
    } catch (const EDBInvalidOperation& e) {
        EXPECT_NE(std::string(e.what()).find("nie można utworzyć katalogu " + PathOf("plik") + " ("), std::string::npos)
            << e.what();
    }
}

// A damaged change file is refused with a message; the shipped words are
// used, and a later save keeps the damaged file apart from the good backup.
TEST_F(WordBaseFiles, ADamagedChangeFileIsRefusedAndTheShippedWordsUsed)
{
    TWordBase base = Loaded();
    EditEveryWay(base);
    base.Save();
    base.Save();
    const std::string backup = ReadBytes(base.BackupName());
    std::string damaged = ReadBytes(User);
    damaged[80] ^= 0x55;
    WriteBytes(User, damaged);

    const TWordBase refused = Loaded();
    EXPECT_EQ(refused.UserFileProblem(),
              "Plik zmian w bazie haseł " + User
                  + " jest uszkodzony i nie został użyty; używana jest baza dostarczona "
                    "z programem. Poprzednia wersja zmian jest w pliku "
                  + User + ".bak.");
    EXPECT_FALSE(refused.HasUserFile());
    EXPECT_EQ(refused.Count(), 4u);
    EXPECT_FALSE(refused.Find(Cp("KOT"))->UserEdited);
    const auto words = TComposeWords::Read(Shipped, User);
    EXPECT_EQ(words->Problem(), refused.UserFileProblem());
    EXPECT_EQ(words->NewDB({3, 16})->WordCount(), 4);

    TWordBase again = refused;
    again.Save();
    EXPECT_EQ(ReadBytes(again.DamagedName()), damaged);
    EXPECT_EQ(ReadBytes(again.BackupName()), backup);
    EXPECT_EQ(Loaded().UserFileProblem(), "");
}

// Records the editor keeps as they are (a score) are judged by the composing
// load's rules: a change file that load would refuse is refused by the editor
// too, and composing goes on with the shipped words.
TEST_F(WordBaseFiles, AChangeFileComposingWouldRefuseIsRefusedByTheEditorAndComposingGoesOn)
{
    for (const std::string score : {"abc", "-1", "", "7x"}) {
        std::filesystem::remove(User);
        TWordBase base = Loaded();
        TBaseWord kot = Edited(*base.Find(Cp("KOT")));
        kot.Other = {{DBRecScore, score}};
        TWordChange change{*base.Find(Cp("KOT")), kot, 0};
        base.Apply(change);
        base.Save();

        const TWordBase refused = Loaded();
        EXPECT_NE(refused.UserFileProblem().find("jest uszkodzony i nie został użyty"), std::string::npos) << score;
        EXPECT_FALSE(refused.HasUserFile()) << score;
        const auto words = TComposeWords::Read(Shipped, User);
        EXPECT_EQ(words->Problem(), refused.UserFileProblem()) << score;
        EXPECT_EQ(words->NewDB({3, 16})->WordCount(), 4) << score;
    }
}

// After an upgrade the user's entries stay, the new shipped words come in,
// and the base tells that the shipped file changed.
TEST_F(WordBaseFiles, ANewerShippedFileKeepsTheUsersWords)
{
    TWordBase base = Loaded();
    EditEveryWay(base);
    base.Save();
    WriteWords(Shipped, 103,
               {{"KOT", {"kot z nowej bazy"}, "", ""},
                {"LAS", {"wiele drzew"}, "", ""},
                {"PIES", {"szczeka"}, "", ""},
                {"ŻABA", {"płaz"}, "", ""},
                {"KRET", {"kopie kopce"}, "", ""}});
    const TWordBase upgraded = Loaded();
    EXPECT_TRUE(upgraded.ShippedChanged());
    EXPECT_EQ(upgraded.Edition(), 103);
    EXPECT_EQ(Describe(upgraded),
              (std::vector<std::string>{"KOT: domowy drapieżnik | mruczek [KOT.wav] edited",
                                        "LAS: wiele drzew excluded edited", "KRET: kopie kopce",
                                        "ŻABKA: płaz {4:57} edited", "SOWA: nocny ptak [SOWA.ogg] edited"}));
}

TEST_F(WordBaseFiles, RestoringTheShippedBaseSetsTheChangesAside)
{
    TWordBase base = Loaded();
    EditEveryWay(base);
    base.Save();
    const std::string changes = ReadBytes(User);
    base.RestoreShipped();
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::u8path(User)));
    EXPECT_EQ(ReadBytes(base.BackupName()), changes);
    EXPECT_FALSE(base.HasUserFile());
    EXPECT_EQ(Describe(base),
              (std::vector<std::string>{"KOT: mruczek | łowca myszy [KOT.wav]", "LAS: wiele drzew", "ŻABA: płaz {4:57}",
                                        "PIES: szczeka"}));
    EXPECT_TRUE(base.RemovedShipped().empty());
}

// Undoing the changes in reverse order gives the base back exactly, places
// and removed shipped words included.
TEST_F(WordBaseFiles, ChangesUndoneInReverseOrderRestoreTheBase)
{
    TWordBase base = Loaded();
    const std::vector<std::string> before = Describe(base);
    TBaseWord sowa{Cp("SOWA"), {Cp("ptak")}, {}, false, true, {}};
    TBaseWord pies = *base.Find(Cp("PIES"));
    TBaseWord renamed = Edited(*base.Find(Cp("LAS")));
    renamed.PWord = Cp("PIES");
    std::vector<TWordChange> changes = {{std::nullopt, sowa, 0},
                                        {*base.Find(Cp("KOT")), std::nullopt, 0},
                                        {pies, std::nullopt, 0},
                                        {*base.Find(Cp("LAS")), renamed, 0},
                                        {sowa, std::nullopt, 0}};
    for (TWordChange& change : changes)
        base.Apply(change);
    EXPECT_EQ(Describe(base), (std::vector<std::string>{"PIES: wiele drzew edited", "ŻABA: płaz {4:57}"}));
    EXPECT_EQ(base.RemovedShipped(), (std::set<std::string>{Cp("KOT"), Cp("LAS")}));
    for (auto it = changes.rbegin(); it != changes.rend(); ++it)
        base.Apply(*it, true);
    EXPECT_EQ(Describe(base), before);
    EXPECT_TRUE(base.RemovedShipped().empty());

    TWordChange twice{std::nullopt, sowa, 0};
    base.Apply(twice);
    TWordChange again{std::nullopt, sowa, 0};
    EXPECT_THROW(base.Apply(again), EDBInvalidOperation);
}

TEST(WordCheck, WordsAreUpperCasedGridLettersOfTwoToTwenty)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"kot", "KOT"},
        {"  żółw ", "ŻÓŁW"},
        {"źdźbło", "ŹDŹBŁO"},
        {"ab", "AB"},
        {"abcdefghijklmnopqrst", "ABCDEFGHIJKLMNOPQRST"},
        {"", "Wpisz hasło."},
        {"a", "Hasło musi mieć od 2 do 20 liter (wpisano 1)."},
        {"abcdefghijklmnopqrstu", "Hasło musi mieć od 2 do 20 liter (wpisano 21)."},
        {"biały kruk", "Hasło musi być jednym słowem, bez spacji."},
        {"kot2", "Hasło może składać się tylko z liter A–Z oraz Ą Ć Ę Ł Ń Ó Ś Ź Ż; znak „2” do nich nie należy."},
        {"café", "Hasło może składać się tylko z liter A–Z oraz Ą Ć Ę Ł Ń Ó Ś Ź Ż; znak „é” do nich nie należy."},
        {"ko€t", "Hasło może składać się tylko z liter A–Z oraz Ą Ć Ę Ł Ń Ó Ś Ź Ż; znak „€” do nich nie należy."},
        {"dżем", "Hasło może składać się tylko z liter A–Z oraz Ą Ć Ę Ł Ń Ó Ś Ź Ż; znak „е” do nich nie należy."},
    };
    for (const auto& [typed, expected] : cases) {
        const TWordCheck check = CheckWord(typed);
        EXPECT_EQ(check.Error.empty() ? Cp1250ToUtf8(check.Word) : check.Error, expected) << typed;
        EXPECT_TRUE(check.Word.empty() != check.Error.empty()) << typed;
    }
}

TEST(WordCheck, CluesAreOneLineOfCp1250AndWarnWhenTheyGiveTheAnswer)
{
    struct TCase {
        std::string Typed, Clue, Error, Warning;
    };
    const std::vector<TCase> cases = {
        {"  domowy\tdrapieżnik\n", "domowy drapieżnik", "", ""},
        {"Kot w butach", "Kot w butach", "", "Objaśnienie zawiera odgadywane hasło KOT."},
        {"szkot", "szkot", "", "Objaśnienie zawiera odgadywane hasło KOT."},
        {"   ", "", "Objaśnienie nie może być puste.", ""},
        {"@kot.wav", "", "Objaśnienie nie może zaczynać się od znaku @ (tak lista haseł oznacza plik dźwięku).", ""},
        {"cena 5 ₽", "", "Objaśnienie zawiera znak „₽”, którego baza haseł nie może zapisać.", ""},
        {std::string(2039, 'x'), std::string(2039, 'x'), "", ""},
        {std::string(2040, 'x'), "", "Objaśnienie może mieć najwyżej 2039 znaków (wpisano 2040).", ""},
    };
    for (const TCase& c : cases) {
        const TClueCheck check = CheckClue(c.Typed, Cp("KOT"));
        EXPECT_EQ(Cp1250ToUtf8(check.Clue), c.Clue) << c.Typed;
        EXPECT_EQ(check.Error, c.Error) << c.Typed;
        EXPECT_EQ(check.Warning, c.Warning) << c.Typed;
    }
}

TEST(WordList, TheSearchFindsTextOrAWholeWordPattern)
{
    struct TCase {
        std::string Name, Filter;
        bool InExplanations;
        std::string Word, Explanation;
        bool Matches;
    };
    const std::vector<TCase> cases = {
        {"empty matches all", "", false, "KOT", "", true},
        {"blanks alone match all", "  ", false, "KOT", "", true},
        {"text inside the word", "ot", false, "KOT", "", true},
        {"text not in the word", "ta", false, "KOT", "", false},
        {"Polish small letters find capitals", "żab", false, "ŻABA", "", true},
        {"a letter differs from its Polish twin", "zab", false, "ŻABA", "", false},
        {"explanations not searched", "domowe", false, "KOT", "zwierzę domowe", false},
        {"explanations searched", "DOMOWE", true, "KOT", "zwierzę domowe", true},
        {"question mark is one letter", "k?t", false, "KOT", "", true},
        {"question mark is exactly one letter", "k?t", false, "KOTA", "", false},
        {"pattern covers the whole word", "?o", false, "KOT", "", false},
        {"star is any run", "k*", false, "KONSTANTYNOPOLITAŃCZYK", "", true},
        {"star may be empty", "kot*", false, "KOT", "", true},
        {"stars on both sides", "*ń*", false, "KONSTANTYNOPOLITAŃCZYK", "", true},
        {"star backtracks", "*a?a", false, "ŻABABA", "", true},
        {"pattern ignores explanations", "?ot", true, "LAS", "kot", false},
        {"a letter outside CP1250 matches nothing", "k€t", false, "KOT", "", false},
    };
    for (const TCase& c : cases) {
        const TBaseWord word{Cp(c.Word), {Cp(c.Explanation)}, {}, false, false, {}};
        EXPECT_EQ(TWordFilter(c.Filter, c.InExplanations).Matches(word), c.Matches) << c.Name;
    }
}

TEST(WordList, WordsSortInPolishAlphabeticalOrder)
{
    std::vector<std::string> words = {Cp("ŻABA"), Cp("ZEBRA"), Cp("ŹDŹBŁO"), Cp("ŁOŚ"), Cp("LAS"), Cp("ĆMA"),
                                      Cp("CZAS"), Cp("ĄB"),    Cp("ABC"),    Cp("A"),   Cp("7A"),  Cp("abd")};
    std::sort(words.begin(), words.end(), PolishLess);
    std::vector<std::string> sorted;
    for (const std::string& word : words)
        sorted.push_back(Cp1250ToUtf8(word));
    EXPECT_EQ(sorted,
              (std::vector<std::string>{"7A", "A", "ABC", "abd", "ĄB", "CZAS", "ĆMA", "LAS", "ŁOŚ", "ZEBRA", "ŹDŹBŁO",
                                        "ŻABA"}));
}
