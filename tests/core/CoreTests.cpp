#include "core/ClueLayout.h"
#include "core/Cp1250.h"
#include "core/Error.h"
#include "core/FileNames.h"
#include "core/PrintableText.h"
#include "core/Random.h"

#include <gtest/gtest.h>

using namespace mz;

// The nine Polish capitals and small letters must survive CP1250 -> UTF-8 -> CP1250.
TEST(Cp1250Codec, PolishLettersRoundTripThroughUtf8)
{
    const std::string capitals = "ĄĆĘŁŃÓŚŹŻ";
    const std::string small = "ąćęłńóśźż";
    const std::string cpCapitals = Utf8ToCp1250(capitals);
    const std::string cpSmall = Utf8ToCp1250(small);
    ASSERT_EQ(cpCapitals.size(), 9u);
    ASSERT_EQ(cpSmall.size(), 9u);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(static_cast<unsigned char>(cpCapitals[i]), PolishCapitals[i]) << i;
        EXPECT_EQ(static_cast<unsigned char>(cpSmall[i]), PolishSmall[i]) << i;
        EXPECT_EQ(Cp1250ToUpper(PolishSmall[i]), PolishCapitals[i]);
    }
    EXPECT_EQ(Cp1250ToUtf8(cpCapitals), capitals);
    EXPECT_EQ(Cp1250ToUtf8(cpSmall), small);
    EXPECT_EQ(Cp1250ToLower(cpCapitals + "AZ*?az"), cpSmall + "az*?az");
}

TEST(Cp1250Codec, EveryDefinedByteRoundTripsAndUndefinedOnesAreMarked)
{
    int undefined = 0;
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        const std::string utf8 = Cp1250ToUtf8(one);
        bool ok = false;
        const std::string back = Utf8ToCp1250(utf8, '?', &ok);
        if (Cp1250ToUnicode(static_cast<unsigned char>(b)) == 0xFFFD) {
            ++undefined;
            EXPECT_FALSE(ok);
        } else {
            EXPECT_TRUE(ok) << b;
            EXPECT_EQ(back, one) << b;
        }
    }
    EXPECT_EQ(undefined, 5);
}

TEST(Cp1250Codec, UnmappableAndBrokenUtf8BecomeTheReplacement)
{
    bool ok = true;
    EXPECT_EQ(Utf8ToCp1250("a€b", '?', &ok),
              "a\x80"
              "b");
    EXPECT_TRUE(ok);
    EXPECT_EQ(Utf8ToCp1250("x\xE4\xB8\xAD", '_', &ok), "x_"); // a CJK character
    EXPECT_FALSE(ok);
    EXPECT_EQ(Utf8ToCp1250("\xC5", '_', &ok), "_"); // cut sequence at the end
    EXPECT_FALSE(ok);
    EXPECT_EQ(Utf8ToCp1250("\xE2\x82", '_', &ok), "__");
}

TEST(CellAlphabet, AcceptsExactlyTheGridCharacters)
{
    int accepted = 0;
    for (int b = 0; b < 256; ++b)
        accepted += IsCellChar(static_cast<unsigned char>(b)) ? 1 : 0;
    // space, '*', '?', ten digits, 26 Latin and 9 Polish capitals
    EXPECT_EQ(accepted, 3 + 10 + 26 + 9);
    EXPECT_FALSE(IsCellChar('a'));
    EXPECT_FALSE(IsCellChar(0xB9)); // ą
    EXPECT_TRUE(IsCellChar(0xA5));  // Ą
    EXPECT_FALSE(IsWordLetter('?'));
    EXPECT_FALSE(IsWordLetter('5'));
    EXPECT_TRUE(IsWordLetter(0xAF)); // Ż
}

// The generator's sequence is part of the file and composer behaviour: pin it.
TEST(RandomGenerator, DrawsFollowTheLinearCongruentialRule)
{
    TRandom r(0);
    EXPECT_EQ(r.Draw(100), 0u); // state 1: 1 * 100 >> 32
    EXPECT_EQ(r.GetState(), 1u);
    EXPECT_EQ(r.Draw(1u << 31), 134775814u >> 1); // state 134775814
    EXPECT_EQ(r.GetState(), 134775814u);

    TRandom a(12345), b(12345);
    uint32_t state = 12345;
    for (int i = 0; i < 1000; ++i) {
        state = state * 134775813u + 1u;
        const uint32_t n = 1 + static_cast<uint32_t>(i * 7919 % 1000);
        const uint32_t expected = static_cast<uint32_t>((uint64_t(state) * n) >> 32);
        const uint32_t got = a.Draw(n);
        ASSERT_EQ(got, expected);
        ASSERT_LT(got, n);
        ASSERT_EQ(b.Draw(n), got);
    }
    EXPECT_EQ(a.Draw(0), 0u);
}

TEST(RandomGenerator, ClockSeedIsMillisecondsOfTheDay)
{
    const uint32_t seed = TRandom::ClockSeed();
    EXPECT_LT(seed, 24u * 60 * 60 * 1000);
    TRandom r;
    r.Reseed();
    EXPECT_LT(r.GetState(), 24u * 60 * 60 * 1000);
}

TEST(FileNameRules, ExtensionIsTheTextAfterTheLastDotOfTheNamePart)
{
    struct Case {
        const char* path;
        const char* ext;
        const char* openExt;
    };
    const Case cases[] = {
        {"a.b.krz", "krz", "krz"},          {"/home/x.y/Krzyzowka.KRZ", "KRZ", "krz"},
        {"Krzyżówka 12.05.2025.krz", "krz", "krz"}, {"Test 12.05.2025", "2025", "2025"},
        {"C:\\dir.d\\plik.Sz", "Sz", "sz"}, {"C:plik.xwd", "xwd", "xwd"},
        {"/tmp/bez_kropki", "", ""},        {"/tmp/koniec.", "", ""},
        {".ukryty", "ukryty", "ukryty"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtensionOf(c.path), c.ext) << c.path;
        EXPECT_EQ(OpenExtensionOf(c.path), c.openExt) << c.path;
    }
    EXPECT_EQ(FileNamePart("/a/b/lista.txt"), "lista.txt");

    const std::initializer_list<std::string_view> known = {"krz", "sz", "xwd", "ipuz"};
    EXPECT_EQ(WithExtension("/d/t2.ipuz", "krz", known), "/d/t2.krz");
    EXPECT_EQ(WithExtension("/d/T2.KRZ", "krz", known), "/d/T2.krz");
    EXPECT_EQ(WithExtension("/d/Test 12.05.2025", "krz", known), "/d/Test 12.05.2025.krz");
    EXPECT_EQ(WithExtension("/d.x/plan", "sz", known), "/d.x/plan.sz");
    EXPECT_EQ(StemOf("/d/lekcja.12.05.krz", known), "lekcja.12.05");
    EXPECT_EQ(StemOf("/d/lekcja.12.05", known), "lekcja.12.05");
}

TEST(Messages, FileNameGoesIntoTheFirstPlaceholder)
{
    EXPECT_EQ(FormatMessage("Brak wymaganego pliku %s", "/x/baza.hk"), "Brak wymaganego pliku /x/baza.hk");
    EXPECT_EQ(FormatMessage("Za długi wiersz", "f"), "Za długi wiersz");
    EXPECT_EQ(FormatMessage("%s  - nie jest", "a%sb"), "a%sb  - nie jest");
}

// A broken sequence inside a longer text costs one replacement per broken
// byte and never swallows the letters after it.
TEST(Cp1250Codec, ACutSequenceInsideALongerTextKeepsTheLettersAfterIt)
{
    const struct {
        const char* Utf8;
        const char* Cp1250;
    } cases[] = {
        {"ab\xC5"
         "cd",
         "ab_cd"}, // two-byte sequence cut by a letter
        {"ab\xE2\x82"
         "cd",
         "ab__cd"}, // three-byte sequence cut after two
        {"\xF0\x9F\x98"
         "Ala",
         "___Ala"},          // four-byte sequence cut after three
        {"kot\xC5", "kot_"}, // cut by the end of a longer text
        {"kot\xC5\x82"
         "a",
         "kot\xB3"
         "a"}, // whole: ł
    };
    for (const auto& c : cases) {
        bool ok = true;
        EXPECT_EQ(Utf8ToCp1250(c.Utf8, '_', &ok), c.Cp1250) << c.Utf8;
        EXPECT_EQ(ok, std::string(c.Cp1250).find('_') == std::string::npos) << c.Utf8;
    }
}

// Over-long forms would let a '/' or a NUL through a check made on UTF-8 text.
TEST(Cp1250Codec, OverLongSurrogateAndTooLargeSequencesAreBroken)
{
    for (const char* broken : {"\xC0\xAF", "\xE0\x80\xAF", "\xF0\x80\x80\xAF", "\xC0\x80", "\xED\xA0\x80",
                               "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80"}) {
        size_t at = 99;
        const std::string text = std::string("ok") + broken;
        EXPECT_FALSE(IsValidUtf8(text, &at)) << text;
        EXPECT_EQ(at, 2u) << text;
        EXPECT_EQ(Utf8ToCp1250(text, '_').find('/'), std::string::npos);
    }
    EXPECT_TRUE(IsValidUtf8("zażółć gęślą jaźń \xF4\x8F\xBF\xBF"));
}

TEST(Cp1250Codec, ControlCharactersArePrintedAsTheirPictures)
{
    EXPECT_EQ(Cp1250ToPrintableUtf8("a\x1B[31mb\x07\x7F\tc"), "a␛[31mb␇␡␉c");
    EXPECT_EQ(Cp1250ToPrintableUtf8(std::string("x\0y", 3)), "x␀y");
    EXPECT_EQ(Cp1250ToPrintableUtf8(Utf8ToCp1250("Żółw ąę")), "Żółw ąę");
}

// Messages quote files: no byte of them may reach the terminal as a control.
TEST(Cp1250Codec, MessagesInUtf8ShowEveryControlAndKeepTheirLineEnds)
{
    const struct {
        std::string In, Out;
    } cases[] = {
        {"a\x1B[2Jb\x07\x7F\tc", "a␛[2Jb␇␡␉c"},
        {"wiersz 1\nwiersz 2", "wiersz 1\nwiersz 2"},
        {"Żółw ąę 😺", "Żółw ąę 😺"},
        {"x\xC2\x9B"
         "31my",
         "x\uFFFD31my"},                  // C1 CSI
        {"x\x9By\xC3", "x\uFFFDy\uFFFD"}, // stray and cut bytes
        {std::string("a\0b", 3), "a␀b"},
        {"\xED\xA0\x80", "\uFFFD\uFFFD\uFFFD"}, // a surrogate is no UTF-8
    };
    for (const auto& c : cases)
        EXPECT_EQ(PrintableUtf8(c.In), c.Out) << c.In;
}

TEST(CellAlphabet, AWordIsMadeOfLettersAndDigitsOnly)
{
    for (const char* word : {"KOT", "R2D2", "\xAF\xD3\xA3W", "A"})
        EXPECT_TRUE(IsCellWord(word)) << word;
    for (const char* word : {"", "kot", "K?T", "K,T", "K T", "K*T", "KOT\r\n", "\xB9"})
        EXPECT_FALSE(IsCellWord(word)) << word;
    EXPECT_FALSE(IsCellWord(std::string("K\0T", 3)));
}

TEST(ClueLayout, WordsBreakAtTheLastPolishSyllableThatFits)
{
    struct TCase {
        std::u16string Word;
        int Limit;
        std::u16string Expected;
    };
    const std::vector<TCase> cases = {
        {u"samochód", 5, u"samo-chód"},  // the break before the digraph
        {u"samochód", 3, u"sa-mochód"},  // before m
        {u"samochód", 2, u"samochód"},   // no room for any syllable
        {u"samochód", 20, u"samo-chód"}, // the whole word fits
        {u"kot", 2, u"kot"},             // three letters are never broken
        {u"mama", 3, u"ma-ma"},
        {u"Warszawa", 4, u"War-szawa"}, // a consonant before a digraph
        {u"Warszawa", 7, u"Warsza-wa"},
        {u"rzeka", 4, u"rze-ka"},     // a word starting with a digraph
        {u"GĘSINA", 5, u"GĘSI-NA"},   // Polish capitals are lower-cased for the pattern
        {u"aparcz", 5, u"aparcz"},    // no vowel in the rest: no break before it
        {u"tekst", 4, u"tekst"},      // a consonant cluster without a following vowel
        {u"odrzchu", 4, u"od-rzchu"}, // a consonant before two digraphs
        {u"aczrza", 4, u"acz-rza"},   // a digraph followed by a digraph
        {u"ryby", 3, u"ry-by"},       // y is a vowel
        {u"myszy", 3, u"my-szy"},     // also before a digraph
        {u"jeżdżę", 5, u"jeż-dżę"},   // dż is one sound: the break comes before it
    };
    for (const TCase& c : cases)
        EXPECT_EQ(Hyphenate(c.Word, c.Limit), c.Expected) << c.Limit;
}

TEST(ClueLayout, ACluesSecondLineStartsAtASpaceOrASyllableAndATooLongOneEndsInDots)
{
    // A label as wide as `columns` characters of a fixed-pitch font.
    const auto fitsColumns = [](size_t columns) {
        return [columns](std::u16string_view caption) {
            for (size_t start = 0;;) {
                const size_t end = std::min(caption.find(char16_t(13), start), caption.size());
                if (end - start > columns)
                    return false;
                if (end == caption.size())
                    return true;
                start = end + 1;
            }
        };
    };
    struct TCase {
        std::u16string Text;
        size_t Columns;
        std::u16string Expected;
    };
    const std::vector<TCase> cases = {
        {u"stolica Polski", 20, u"stolica Polski"},
        {u"duży pojazd osobowy", 12, u"duży pojazd\rosobowy"},
        {u"szybki samochód osobowy", 12, u"szybki samo-\rchód osobowy"},
        {u"szybki samochód", 8, u"szybki \rsamochód"},
        {u"bardzo długi opis hasła krzyżówki", 12, u"bardzo dłu-\rgi opis h..."},
        {u"stolica", 0, u""}, // a label too narrow for any character shows nothing
    };
    for (const TCase& c : cases)
        EXPECT_EQ(FitClue(c.Text, fitsColumns(c.Columns)), c.Expected) << c.Columns;
}
