#include "TestFiles.h"

#include "documents/CrossTXT.h"

#include <gtest/gtest.h>

using namespace mz;
using namespace mz::test;

namespace {

std::vector<int32_t> Numbers(const std::vector<TExplList>& list)
{
    std::vector<int32_t> numbers;
    for (const auto& e : list)
        numbers.push_back(e.Number);
    return numbers;
}

} // namespace

TEST(CrossDocument, AFreshDocumentHasOneSpaceCellAndIsClean)
{
    const TCrossTXT doc;
    EXPECT_EQ(doc.ColCount(), 1);
    EXPECT_EQ(doc.RowCount(), 1);
    EXPECT_EQ(doc.GetCell(1, 1), ' ');
    EXPECT_EQ(doc.ExplCount(), 0);
    EXPECT_TRUE(doc.FileName.empty());
    EXPECT_FALSE(doc.Modified);
    EXPECT_EQ(doc.Kind, 0);
}

TEST(CrossDocument, MissingCellsAndExplanationsHaveTheirMessages)
{
    TCrossTXT doc;
    const std::string noCell = "Nie odnaleziono żądanej komórki";
    EXPECT_EQ(MessageOf([&] { doc.GetCell(2, 1); }), noCell);
    EXPECT_EQ(MessageOf([&] { doc.SetCell(1, 2, 'A'); }), noCell);
    EXPECT_EQ(MessageOf([&] { doc.DeleteCell(0, 0); }), noCell);
    const std::string noExpl = "Nie odnaleziono objaśnienia o żądanym numerze";
    EXPECT_EQ(MessageOf([&] { doc.GetExpl(1); }), noExpl);
    EXPECT_EQ(MessageOf([&] { doc.SetExpl(0, {}); }), noExpl);
    EXPECT_FALSE(doc.Modified);
}

TEST(CrossDocument, SetCellMarksTheDocumentOnlyWhenTheLetterChanges)
{
    TCrossTXT doc;
    doc.SetCell(1, 1, ' ');
    EXPECT_FALSE(doc.Modified);
    doc.SetCell(1, 1, 0xA5);
    EXPECT_TRUE(doc.Modified);
    EXPECT_EQ(doc.GetCell(1, 1), 0xA5);
}

TEST(CrossDocument, LookupsTakeTheNewestCellAndDeletingUncoversTheOlderOne)
{
    TCrossTXT doc;
    doc.AddCell(1, 1, 'B');
    EXPECT_EQ(doc.GetCell(1, 1), 'B');
    doc.SetCell(1, 1, 'C');
    doc.DeleteCell(1, 1);
    EXPECT_EQ(doc.GetCell(1, 1), ' ');
    doc.DeleteCell(1, 1);
    EXPECT_FALSE(doc.HasCell(1, 1));
}

TEST(CrossDocument, ResizingRefusesTooSmallGridsAndKeepsEverything)
{
    TCrossTXT doc = Grid(5, 4);
    EXPECT_EQ(MessageOf([&] { doc.SetColCount(3); }), "Niewłaściwa liczba kolumn");
    EXPECT_EQ(MessageOf([&] { doc.SetRowCount(2); }), "Niewłaściwa liczba wierszy");
    EXPECT_EQ(doc.ColCount(), 5);
    EXPECT_EQ(doc.RowCount(), 4);
    EXPECT_FALSE(doc.Modified);
    doc.SetColCount(5);
    doc.SetRowCount(4);
    EXPECT_FALSE(doc.Modified);
}

TEST(CrossDocument, GrowingAndShrinkingKeepsACompleteGrid)
{
    TCrossTXT doc = Grid(4, 3);
    doc.SetCell(2, 2, 'X');
    doc.SetCell(4, 3, 'Y');
    doc.Modified = false;
    doc.SetColCount(7);
    EXPECT_TRUE(doc.Modified);
    doc.SetRowCount(6);
    for (int c = 1; c <= 7; ++c)
        for (int r = 1; r <= 6; ++r)
            EXPECT_EQ(doc.GetCell(c, r), (c == 2 && r == 2) ? 'X' : (c == 4 && r == 3) ? 'Y' : ' ') << c << "," << r;
    doc.SetColCount(4);
    doc.SetRowCount(3);
    EXPECT_FALSE(doc.HasCell(5, 1));
    EXPECT_FALSE(doc.HasCell(1, 4));
    EXPECT_EQ(doc.GetCell(4, 3), 'Y');
}

TEST(CrossDocument, ShrinkingDropsTheLettersOfTheRemovedCells)
{
    TCrossTXT doc = Grid(5, 4);
    doc.SetCell(5, 2, 'Q');
    doc.SetCell(3, 4, 'R');
    doc.SetColCount(4);
    doc.SetRowCount(3);
    doc.SetColCount(5);
    doc.SetRowCount(4);
    EXPECT_EQ(doc.GetCell(5, 2), ' ');
    EXPECT_EQ(doc.GetCell(3, 4), ' ');
}

TEST(CrossDocument, ExplanationsAreNumberedInOrderAndTheChainShowsTheNewestFirst)
{
    TCrossTXT doc;
    for (int i = 1; i <= 3; ++i)
        doc.AddExpl({i, 1, "clue" + std::to_string(i), "", i != 2});
    EXPECT_FALSE(doc.Modified);
    EXPECT_EQ(doc.ExplCount(), 3);
    EXPECT_EQ(Numbers(doc.ExplsInChainOrder()), (std::vector<int32_t>{3, 2, 1}));
    EXPECT_EQ(Numbers(doc.ExplsInNumberOrder()), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(doc.GetExpl(2).Explanation, "clue2");
    EXPECT_FALSE(doc.GetExpl(2).Horizontal);
}

TEST(CrossDocument, SetExplMarksTheDocumentOnlyWhenAFieldDiffers)
{
    const TExpl base{2, 3, "Rzeka", "rzeka.wav", true};
    TExpl changes[5] = {base, base, base, base, base};
    changes[0].Col = 4;
    changes[1].Row = 9;
    changes[2].Explanation = "Rzeka ";
    changes[3].Audio = "";
    changes[4].Horizontal = false;
    for (const auto& changed : changes) {
        TCrossTXT doc;
        doc.AddExpl(base);
        doc.SetExpl(1, base);
        EXPECT_FALSE(doc.Modified);
        doc.SetExpl(1, changed);
        EXPECT_TRUE(doc.Modified);
        EXPECT_EQ(doc.GetExpl(1), changed);
    }
}

TEST(CrossDocument, ClearKeepsOnlyTheKind)
{
    TCrossTXT doc = Grid(4, 3);
    doc.AddExpl({1, 1, "a", "", true});
    doc.FileName = "/tmp/a.krz";
    doc.Kind = 1;
    doc.Modified = true;
    doc.Clear();
    EXPECT_EQ(doc.ColCount(), 0);
    EXPECT_EQ(doc.RowCount(), 0);
    EXPECT_EQ(doc.ExplCount(), 0);
    EXPECT_TRUE(doc.ExplsInChainOrder().empty());
    EXPECT_FALSE(doc.HasCell(1, 1));
    EXPECT_TRUE(doc.FileName.empty());
    EXPECT_FALSE(doc.Modified);
    EXPECT_EQ(doc.Kind, 1);
}

TEST(CrossDocument, AnUnsupportedExtensionNamesTheWholePathAndLeavesTheDocument)
{
    TCrossTXT doc = Grid(4, 3);
    doc.FileName = "stary.krz";
    for (const std::string name : {"/katalog/plik.txt", "bez_kropki", "a.krz.bak", "a.xwd2", "C:a.krz.b"})
        EXPECT_EQ(MessageOf([&] { doc.LoadFromFile(name); }),
                  name + " - nie jest obsługiwany przez Mirakolnika Zodevidar.");
    EXPECT_EQ(doc.FileName, "stary.krz");
    EXPECT_EQ(doc.ColCount(), 4);
}
