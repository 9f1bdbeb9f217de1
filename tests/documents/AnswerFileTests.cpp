#include "TestFiles.h"

#include "documents/CrossTXT.h"

#include <gtest/gtest.h>

using namespace mz;
using namespace mz::test;

namespace {

class AnswerFile : public TTempDirTest { };

using TRecords = std::vector<std::pair<int, std::string>>;

TRecords RecordsOf(const std::string& name)
{
    TRecords records;
    ReadRecordFile(name, {}, [&](const TDataFromBuf& r) { records.emplace_back(r.RecType, r.Data); });
    return records;
}

std::string FileWith(const TRecords& records)
{
    std::string stream(7, 'f');
    for (const auto& [type, data] : records)
        stream += RecordAt(64 + static_cast<int64_t>(stream.size()), static_cast<uint8_t>(type), data);
    return BuildRecordBytes("", stream);
}

// KOTY across row 1, SOKI across row 3, KAS down column 1, YSI down column 4.
TCrossTXT Solved()
{
    TCrossTXT doc = Grid(4, 3, "     **     ");
    doc.AddExpl({1, 1, "Mrucza", "koty.wav", true, "KOTY"});
    doc.AddExpl({1, 3, "Napoje", "", true, "SOKI"});
    doc.AddExpl({1, 1, "Dawne pieniadze", "", false, ""});
    doc.AddExpl({4, 1, "Mlode psy", "", false, "YSI"});
    doc.SetPhrase({"KOSY", {{1, 1}, {2, 1}, {4, 2}, {4, 1}}});
    doc.Modified = false;
    return doc;
}

} // namespace

TEST_F(AnswerFile, AnswersFollowTheClueAndSoundOfTheirExplanationAndThePhraseEndsTheStream)
{
    TCrossTXT doc = Solved();
    const auto name = PathOf("odp.krz");
    doc.SaveToFile(name);
    const TRecords expected = {{16, "    "},     {16, " ** "},    {16, "    "},  {17, "V,4,1"},
                               {2, "Mlode psy"}, {18, "YSI"},     {17, "V,1,1"}, {2, "Dawne pieniadze"},
                               {17, "H,1,3"},    {2, "Napoje"},   {18, "SOKI"},  {17, "H,1,1"},
                               {2, "Mrucza"},    {3, "koty.wav"}, {18, "KOTY"},  {19, "KOSY;1,1;2,1;4,2;4,1"},
                               {0, ""}};
    EXPECT_EQ(RecordsOf(name), expected);
}

TEST_F(AnswerFile, AnswersAndThePhraseTravelWithTheirExplanationsThroughLoadAndSave)
{
    const TCrossTXT doc = Solved();
    const auto name = PathOf("odp.krz");
    TCrossTXT(doc).SaveToFile(name);

    TCrossTXT loaded;
    loaded.LoadFromFile(name);
    EXPECT_FALSE(loaded.Modified);
    EXPECT_EQ(loaded.Phrase(), doc.Phrase());
    // The file order numbers them anew: 4 3 2 1.
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(loaded.GetExpl(n), doc.GetExpl(5 - n)) << n;

    // Saving the loaded document reverses the explanation records; each answer stays with its own.
    loaded.SaveToFile(name);
    const TRecords once = RecordsOf(name);
    const TRecords head(once.begin() + 3, once.begin() + 8);
    EXPECT_EQ(head, (TRecords{{17, "H,1,1"}, {2, "Mrucza"}, {3, "koty.wav"}, {18, "KOTY"}, {17, "H,1,3"}}));
    TCrossTXT again;
    again.LoadFromFile(name);
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(again.GetExpl(n), doc.GetExpl(n)) << n;
    EXPECT_EQ(again.Phrase(), doc.Phrase());
}

TEST_F(AnswerFile, MisplacedOrMalformedAnswerAndPhraseRecordsMakeTheFileFailToOpen)
{
    const std::vector<TRecords> bad = {
        {{16, "AB  "}, {18, "KOT"}, {0, ""}},                                  // answer before any explanation
        {{16, "AB  "}, {17, "H,1,1"}, {2, "x"}, {19, "KOT;1,1;2,1"}, {0, ""}}, // three letters, two cells
        {{16, "AB  "}, {17, "H,1,1"}, {2, "x"}, {19, "KO;1,1;2"}, {0, ""}},    // a cell without a row
        {{16, "AB  "}, {17, "H,1,1"}, {2, "x"}, {19, "KO;1,1;b,1"}, {0, ""}},  // not a number
        {{16, "AB  "}, {17, "H,1,1"}, {2, "x"}, {19, ""}, {0, ""}},            // no phrase at all
    };
    for (size_t i = 0; i < bad.size(); ++i) {
        const auto name = PathOf("zly" + std::to_string(i) + ".krz");
        WriteBytes(name, FileWith(bad[i]));
        TCrossTXT doc;
        EXPECT_EQ(MessageOf([&] { doc.LoadFromFile(name); }), "Wystąpił błąd podczas otwarcia pliku " + name) << i;
    }
}

TEST_F(AnswerFile, TheTextExportIgnoresAnswersAndThePhrase)
{
    const TCrossTXT doc = Solved();
    TCrossTXT bare = Grid(4, 3, "     **     ");
    for (int n = 1; n <= doc.ExplCount(); ++n) {
        TExpl expl = doc.GetExpl(n);
        expl.Answer.clear();
        bare.AddExpl(expl);
    }
    EXPECT_EQ(doc.TextExport("k.txt"), bare.TextExport("k.txt"));
}

TEST(RevealedCells, AMarkLastsUntilTheCellGetsAnotherLetterAndIsNeverSaved)
{
    TCrossTXT doc = Grid(4, 3);
    doc.SetCell(2, 2, 'A');
    doc.MarkRevealed(2, 2);
    EXPECT_TRUE(doc.IsRevealed(2, 2));
    doc.SetCell(2, 2, 'A'); // the same letter pulled back from the grid keeps the mark
    EXPECT_TRUE(doc.IsRevealed(2, 2));
    doc.SetCell(2, 2, 'B');
    EXPECT_FALSE(doc.IsRevealed(2, 2));

    doc.MarkRevealed(1, 1);
    doc.SetColCount(5);
    EXPECT_TRUE(doc.IsRevealed(1, 1));
    doc.Clear();
    EXPECT_TRUE(doc.RevealedCells().empty());
    EXPECT_EQ(MessageOf([&] { doc.MarkRevealed(1, 1); }), "Nie odnaleziono żądanej komórki");
}
