#include "TestFiles.h"

#include "core/Cp1250.h"
#include "core/Random.h"
#include "documents/CrossTXT.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace mz;
using namespace mz::test;

namespace {

class CrossFile : public TTempDirTest { };

// Records of a saved file as (type, data), end record included.
std::vector<std::pair<int, std::string>> RecordsOf(const std::string& name)
{
    std::vector<std::pair<int, std::string>> records;
    ReadRecordFile(name, {}, [&](const TDataFromBuf& r) { records.emplace_back(r.RecType, r.Data); });
    return records;
}

void ExpectSameDocument(const TCrossTXT& a, const TCrossTXT& b)
{
    ASSERT_EQ(a.ColCount(), b.ColCount());
    ASSERT_EQ(a.RowCount(), b.RowCount());
    for (int r = 1; r <= a.RowCount(); ++r)
        for (int c = 1; c <= a.ColCount(); ++c)
            ASSERT_EQ(a.GetCell(c, r), b.GetCell(c, r)) << c << "," << r;
    ASSERT_EQ(a.ExplCount(), b.ExplCount());
}

std::string FileWith(const std::vector<std::pair<int, std::string>>& records)
{
    std::string stream(7, 'f');
    for (const auto& [type, data] : records)
        stream += RecordAt(64 + static_cast<int64_t>(stream.size()), static_cast<uint8_t>(type), data);
    return BuildRecordBytes("", stream);
}

} // namespace

TEST_F(CrossFile, AFourByThreeCrosswordWithoutExplanationsTakes123Bytes)
{
    TCrossTXT doc = Grid(4, 3, "AB*DE F*GHIJ");
    const auto name = PathOf("mala.krz");
    doc.SaveToFile(name);
    const std::string bytes = ReadBytes(name);
    ASSERT_EQ(bytes.size(), 123u);
    EXPECT_EQ(bytes.substr(0, 14), "\x50\x6C\x69\x6B\x20\x6B\x72\x7A\x79\xBF\xF3\x77\x6B\x69");
    EXPECT_EQ(bytes.substr(14, 50), std::string(50, '\0'));
    const std::string plain = PlainStreamOf(bytes);
    const int heads[] = {71, 84, 97};
    const char* rows[] = {"AB*D", "E F*", "GHIJ"};
    for (int i = 0; i < 3; ++i) {
        const size_t at = static_cast<size_t>(heads[i] - 64);
        EXPECT_EQ(plain[at], 16);
        EXPECT_EQ(Int32At(plain, at + 1), heads[i] + 9);
        EXPECT_EQ(Int32At(plain, at + 5), heads[i] + 12);
        EXPECT_EQ(plain.substr(at + 9, 4), rows[i]);
    }
    EXPECT_EQ(plain[110 - 64], 0);
    EXPECT_EQ(Int32At(plain, 110 - 64 + 1), 119);
    EXPECT_EQ(Int32At(plain, 110 - 64 + 5), 118);
    EXPECT_EQ(static_cast<uint32_t>(Int32At(bytes, 119)), XorChecksum(bytes.substr(0, 119)));
}

TEST_F(CrossFile, KindChoosesTheHeaderAndTheReaderIgnoresIt)
{
    TCrossTXT doc = Grid(4, 3);
    const auto cross = PathOf("k.sz");
    const auto pattern = PathOf("s.krz");
    doc.SaveToFile(cross);
    doc.Kind = 1;
    doc.SaveToFile(pattern);
    EXPECT_EQ(ReadBytes(cross).substr(0, 64), std::string(CrossWordHeader) + std::string(50, '\0'));
    EXPECT_EQ(ReadBytes(pattern).substr(0, 64), std::string(PatternHeader) + std::string(29, '\0'));
    EXPECT_EQ(PatternHeader.size(), 35u);
    for (const auto& name : {cross, pattern}) {
        TCrossTXT loaded;
        loaded.LoadFromFile(name);
        EXPECT_EQ(loaded.Kind, 0);
        ExpectSameDocument(loaded, doc);
    }
}

TEST_F(CrossFile, ExplanationsRoundTripWithReversedChainAndFileOrderNumbers)
{
    TCrossTXT doc = Grid(5, 4, "KOT**A    ");
    doc.AddExpl({1, 1, "Zwierzę domowe", "kot.wav", true});
    doc.AddExpl({1, 1, "", "", false});
    doc.AddExpl({3, 2, "Ma\xB3y", "", true});
    const auto name = PathOf("slowa.KRZ");
    doc.SaveToFile(name);
    // Chain order (3, 2, 1) on disk; no sound record for empty sounds.
    const std::vector<std::pair<int, std::string>> expected = {{16, "KOT**"},         {16, "A    "},  {16, "     "},
                                                               {16, "     "},         {17, "H,3,2"},  {2, "Ma\xB3y"},
                                                               {17, "V,1,1"},         {2, ""},        {17, "H,1,1"},
                                                               {2, "Zwierzę domowe"}, {3, "kot.wav"}, {0, ""}};
    EXPECT_EQ(RecordsOf(name), expected);

    TCrossTXT loaded;
    loaded.Modified = true;
    loaded.LoadFromFile(name);
    EXPECT_FALSE(loaded.Modified);
    EXPECT_EQ(loaded.FileName, name);
    ExpectSameDocument(loaded, doc);
    // File order gives the numbers, so the old number 3 is now 1.
    EXPECT_EQ(loaded.GetExpl(1), doc.GetExpl(3));
    EXPECT_EQ(loaded.GetExpl(2), doc.GetExpl(2));
    EXPECT_EQ(loaded.GetExpl(3), doc.GetExpl(1));

    // Every load-and-save reverses the explanation records; two restore them.
    loaded.SaveToFile(name);
    auto once = RecordsOf(name);
    EXPECT_EQ(once[4], (std::pair<int, std::string>{17, "H,1,1"}));
    EXPECT_EQ(once[6], (std::pair<int, std::string>{3, "kot.wav"}));
    TCrossTXT again;
    again.LoadFromFile(name);
    again.SaveToFile(name);
    EXPECT_EQ(RecordsOf(name), expected);
}

TEST_F(CrossFile, FourHundredExplanationsCrossManyBuffersAndComeBackIdentical)
{
    TCrossTXT doc = Grid(20, 20);
    for (int i = 1; i <= 400; ++i)
        doc.AddExpl({1 + i % 20, 1 + (i / 20) % 20, "Objaśnienie numer " + std::to_string(i) + std::string(i % 37, 'x'),
                     i % 3 ? "dzwiek" + std::to_string(i) + ".wav" : "", i % 2 == 0});
    const auto name = PathOf("duza.krz");
    doc.SaveToFile(name);
    EXPECT_GT(ReadBytes(name).size(), 5u * 4096);
    TCrossTXT loaded;
    loaded.LoadFromFile(name);
    ExpectSameDocument(loaded, doc);
    for (int n = 1; n <= 400; ++n)
        ASSERT_EQ(loaded.GetExpl(n), doc.GetExpl(401 - n)) << n;
}

TEST_F(CrossFile, RowsOfDifferentLengthLoadWithTheLongestWidthAndGaps)
{
    const auto name = PathOf("nierowna.krz");
    WriteBytes(name, FileWith({{16, "ABCDE"}, {16, "FG"}, {1, "ignored"}, {99, "x"}, {0, ""}}));
    TCrossTXT doc;
    doc.LoadFromFile(name);
    EXPECT_EQ(doc.ColCount(), 5);
    EXPECT_EQ(doc.RowCount(), 2);
    EXPECT_EQ(doc.GetCell(5, 1), 'E');
    EXPECT_EQ(doc.GetCell(2, 2), 'G');
    EXPECT_FALSE(doc.HasCell(3, 2));
}

TEST_F(CrossFile, AFileWithoutRowsLoadsAsAnEmptyDocument)
{
    const auto name = PathOf("pusta.sz");
    WriteBytes(name, FileWith({{0, ""}}));
    TCrossTXT doc;
    doc.LoadFromFile(name);
    EXPECT_EQ(doc.ColCount(), 0);
    EXPECT_EQ(doc.RowCount(), 0);
    doc.SaveToFile(name);
    EXPECT_EQ(RecordsOf(name), (std::vector<std::pair<int, std::string>>{{0, ""}}));
}

TEST_F(CrossFile, AnExplanationWithoutClueStaysUnnumberedButIsKept)
{
    const auto name = PathOf("bez.krz");
    WriteBytes(name, FileWith({{16, "ABCD"}, {17, "V,2,1"}, {17, "H,1,1"}, {2, "jeden"}, {0, ""}}));
    TCrossTXT doc;
    doc.LoadFromFile(name);
    EXPECT_EQ(doc.ExplCount(), 1);
    EXPECT_EQ(doc.GetExpl(1).Col, 1);
    EXPECT_EQ(doc.ExplsInChainOrder().size(), 2u);
    EXPECT_EQ(doc.ExplsInChainOrder()[1].Number, 0);
}

// Every broken place or an orphaned clue ends in the one opening message.
TEST_F(CrossFile, MalformedRecordsFailWithTheOpeningMessage)
{
    // One row of four cells holds at most eight words.
    std::vector<std::pair<int, std::string>> nine = {{16, "ABCD"}};
    for (int i = 0; i < 9; ++i)
        nine.insert(nine.end(), {{17, "H,1,1"}, {2, "x"}});
    nine.push_back({0, ""});
    std::vector<std::vector<std::pair<int, std::string>>> files = {
        {{17, "H,1"}, {0, ""}},            // shorter than five characters
        {{17, "X,1,1"}, {2, ""}, {0, ""}}, // orientation
        {{17, "h,1,1"}, {0, ""}},
        {{17, "H,11,"}, {0, ""}},
        {{17, "H,1;1"}, {0, ""}},
        {{17, "H,a,1"}, {0, ""}},
        {{17, "H,1,1x"}, {0, ""}},
        {{17, "H,1,99999999999"}, {0, ""}},
        {{2, "sierota"}, {17, "H,1,1"}, {0, ""}},
        {{3, "a.wav"}, {0, ""}},
        {{16, "ABCD"}}, // no end record
    };
    // Each after a row, so that the grid holds its words and only the damage counts.
    for (auto& records : files)
        records.insert(records.begin(), {16, "ABCD"});
    files.push_back(nine);
    files.push_back({{17, "H,1,1"}, {2, "x"}, {0, ""}}); // a word before any cell
    for (const auto& records : files) {
        const auto name = PathOf("zly.krz");
        WriteBytes(name, FileWith(records));
        TCrossTXT doc;
        EXPECT_EQ(MessageOf([&] { doc.LoadFromFile(name); }), "Wystąpił błąd podczas otwarcia pliku " + name)
            << records.front().second;
        EXPECT_EQ(doc.FileName, name);
    }
    TCrossTXT doc;
    const auto missing = PathOf("nie_ma.sz");
    EXPECT_EQ(MessageOf([&] { doc.LoadFromFile(missing); }),
              "Wystąpił błąd podczas otwarcia pliku " + missing + ": Plik nie istnieje");
    nine.erase(nine.end() - 3, nine.end() - 1);
    WriteBytes(PathOf("osiem.krz"), FileWith(nine));
    doc.LoadFromFile(PathOf("osiem.krz"));
    EXPECT_EQ(doc.ExplsInChainOrder().size(), 8u);
}

TEST_F(CrossFile, SignedAndPlainNumbersAreAcceptedInPlaces)
{
    const auto name = PathOf("liczby.krz");
    WriteBytes(name, FileWith({{16, "ABCD"}, {17, "V,+12,-3"}, {2, "a"}, {0, ""}}));
    TCrossTXT doc;
    doc.LoadFromFile(name);
    EXPECT_EQ(doc.GetExpl(1), (TExpl{12, -3, "a", "", false}));
}

TEST_F(CrossFile, ATooWideRowIsRefusedAndTheOldFileStays)
{
    const auto name = PathOf("szeroka.krz");
    TCrossTXT small = Grid(4, 3);
    small.SaveToFile(name);
    const std::string before = ReadBytes(name);

    TCrossTXT wide = Grid(256, 3);
    wide.Modified = true;
    EXPECT_EQ(MessageOf([&] { wide.SaveToFile(name); }), "Za długi wiersz");
    EXPECT_TRUE(wide.Modified);
    EXPECT_EQ(ReadBytes(name), before);
    TCrossTXT tall = Grid(4, 256);
    EXPECT_EQ(MessageOf([&] { tall.SaveToFile(name); }), "Za dużo wierszy");
    EXPECT_EQ(ReadBytes(name), before);

    TCrossTXT largest = Grid(255, 255);
    largest.SaveToFile(name);
    TCrossTXT loaded;
    loaded.LoadFromFile(name);
    EXPECT_EQ(loaded.ColCount(), 255);
    EXPECT_EQ(loaded.RowCount(), 255);
}

// A record file never goes over a file of a format it is not: the ipuz or XWD
// original stays, whatever the caller asked.
TEST_F(CrossFile, ARecordFileIsNeverWrittenOverAnIpuzOrXwdName)
{
    TCrossTXT doc = Grid(4, 3);
    for (const char* file : {"t2.ipuz", "Lekcja 12.05.XWD"}) {
        const auto name = PathOf(file);
        std::ofstream(name) << "oryginał";
        EXPECT_NE(MessageOf([&] { doc.SaveToFile(name); }).find("zapisz krzyżówkę jako .krz"), std::string::npos);
        EXPECT_EQ(ReadBytes(name), "oryginał");
        EXPECT_NE(doc.FileName, name);
    }
}

// A file claiming a larger grid than any the program makes is damage: it is
// refused at the first row beyond the bounds, before its cells are made.
TEST_F(CrossFile, AGridBeyondTwoHundredFiftyFiveIsRefusedWhileReading)
{
    const auto name = PathOf("duza.krz");
    const std::vector<std::pair<int, std::string>> wideRow = {{16, std::string(256, ' ')}, {0, ""}};
    std::vector<std::pair<int, std::string>> manyRows(256, {16, "    "});
    manyRows.emplace_back(0, "");
    for (const auto& records : {wideRow, manyRows}) {
        WriteBytes(name, FileWith(records));
        TCrossTXT doc;
        EXPECT_EQ(MessageOf([&] { doc.LoadFromFile(name); }), "Wystąpił błąd podczas otwarcia pliku " + name);
    }
    manyRows.erase(manyRows.begin());
    WriteBytes(name, FileWith(manyRows));
    TCrossTXT doc;
    doc.LoadFromFile(name);
    EXPECT_EQ(doc.RowCount(), 255);
}

// A sound name is joined to the audio directory, so only a plain file name is
// taken from a file; the explanation keeps its clue either way.
TEST_F(CrossFile, SoundNamesThatAreNoPlainFileNamesAreDroppedAndCounted)
{
    TCrossTXT doc;
    doc.LoadFromData(FileWith({{16, "ABCD"},
                               {17, "H,1,1"},
                               {2, "pierwsze"},
                               {3, "../../secret/notes.txt"},
                               {17, "V,1,1"},
                               {2, "drugie"},
                               {3, "KOT.wav"},
                               {17, "V,2,1"},
                               {2, "trzecie"},
                               {3, "C:\\x.wav"},
                               {17, "V,3,1"},
                               {2, "czwarte"},
                               {3, "a\x1b.wav"},
                               {0, ""}}),
                     "dzwieki.krz");
    EXPECT_EQ(doc.RefusedSounds, 3);
    EXPECT_EQ(doc.GetExpl(1), (TExpl{1, 1, "pierwsze", "", true}));
    EXPECT_EQ(doc.GetExpl(2), (TExpl{1, 1, "drugie", "KOT.wav", false}));
    EXPECT_EQ(doc.GetExpl(3).Audio, "");
    EXPECT_EQ(doc.GetExpl(4).Explanation, "czwarte");
    doc.LoadFromData(FileWith({{16, "ABCD"}, {0, ""}}), "czysta.krz");
    EXPECT_EQ(doc.RefusedSounds, 0);
}

// A second clue record numbers its explanation again: the first number is gone.
TEST_F(CrossFile, ASecondClueRenumbersItsExplanation)
{
    TCrossTXT doc;
    doc.LoadFromData(FileWith({{16, "ABCD"}, {17, "H,1,1"}, {2, "a"}, {2, "b"}, {17, "V,2,1"}, {2, "c"}, {0, ""}}),
                     "dwa.krz");
    EXPECT_EQ(doc.ExplCount(), 3);
    EXPECT_EQ(MessageOf([&] { doc.GetExpl(1); }), "Nie odnaleziono objaśnienia o żądanym numerze");
    EXPECT_EQ(doc.GetExpl(2).Explanation, "b");
    EXPECT_EQ(doc.GetExpl(3).Explanation, "c");
    const auto numbered = doc.ExplsInNumberOrder();
    ASSERT_EQ(numbered.size(), 2u);
    EXPECT_EQ(numbered[0].Number, 2);
    EXPECT_EQ(numbered[1].Number, 3);
}

TEST_F(CrossFile, ATooLongClueIsASaveErrorAndTheOldFileStays)
{
    const auto name = PathOf("dluga.krz");
    TCrossTXT doc = Grid(4, 3);
    doc.SaveToFile(name);
    const std::string before = ReadBytes(name);
    for (const TExpl& expl : {TExpl{1, 1, std::string(MaxRecordData + 1, 'a'), "", true},
                              TExpl{1, 1, "a", std::string(MaxRecordData + 1, 'b'), true}}) {
        TCrossTXT bad = Grid(4, 3);
        bad.AddExpl(expl);
        bad.Modified = true;
        EXPECT_EQ(MessageOf([&] { bad.SaveToFile(name); }), "Wystąpił błąd podczas zapisu pliku " + name);
        EXPECT_TRUE(bad.Modified);
        EXPECT_EQ(ReadBytes(name), before);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir), {}), 1);
}

TEST_F(CrossFile, AnIncompleteGridCannotBeSavedAndNothingIsWritten)
{
    const auto name = PathOf("dziura.krz");
    TCrossTXT doc = Grid(4, 3);
    doc.DeleteCell(2, 2);
    EXPECT_EQ(MessageOf([&] { doc.SaveToFile(name); }), "Nie odnaleziono żądanej komórki");
    EXPECT_FALSE(std::filesystem::exists(name));
}

TEST_F(CrossFile, EverySaveReseedsTheGeneratorFromTheClockAlsoWhenItFails)
{
    // A clock seed counts the milliseconds of one day, so it stays below this.
    constexpr uint32_t DayMilliseconds = 24u * 60u * 60u * 1000u;
    TCrossTXT holed = Grid(4, 3);
    holed.DeleteCell(2, 2);
    TCrossTXT wide = Grid(MaxRecordData + 1, 3);
    for (TCrossTXT* doc : {&holed, &wide}) {
        GlobalRandom().Seed(0xFFFFFFFFu);
        EXPECT_NE(MessageOf([&] { doc->SaveToFile(PathOf("nieudana.krz")); }), "(no error)");
        EXPECT_LT(GlobalRandom().GetState(), DayMilliseconds);
    }
}

TEST_F(CrossFile, SavingMakesTheDocumentCleanAndTakesTheName)
{
    const auto name = PathOf("nowa.krz");
    TCrossTXT doc = Grid(4, 3);
    doc.Modified = true;
    doc.SaveToFile(name);
    EXPECT_FALSE(doc.Modified);
    EXPECT_EQ(doc.FileName, name);
}
