// The window's document: cells kept aside beyond the size, whole-document
// replacement, the change signals and the modified flag.

#include "grid/CrossDocument.h"
#include "CrossSurfaceTestAccess.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace mz;
using mz::test::In;

namespace {

TCrossTXT Blank(int cols, int rows)
{
    TCrossTXT doc;
    doc.SetColCount(cols);
    doc.SetRowCount(rows);
    return doc;
}

std::string Row(const TCrossDocument& doc, int row, int cols)
{
    std::string text;
    for (int c = 1; c <= cols; ++c)
        text += static_cast<char>(doc.GetCell(c, row));
    return text;
}

} // namespace

class CrossDocumentTest : public QObject {
    Q_OBJECT

private slots:
    void aNewDocumentIsABlankFourByThreeGridNotModified()
    {
        TCrossDocument doc(TDocumentKind::Template);
        QCOMPARE(doc.ColCount(), 4);
        QCOMPARE(doc.RowCount(), 3);
        QCOMPARE(Row(doc, 3, 4), std::string("    "));
        QVERIFY(!doc.Modified());
        QCOMPARE(doc.Document().Kind, uint8_t(1));
    }

    void cellsCutOffByShrinkingComeBackWhenItGrowsAgain()
    {
        TCrossDocument doc;
        doc.Resize(6, 3);
        doc.SetCell(5, 1, 'A');
        doc.SetCell(6, 3, '*');
        doc.Resize(4, 3);
        // The document itself holds only its size, so a save writes what is shown.
        QVERIFY(!doc.Document().HasCell(5, 1));
        QCOMPARE(doc.GetCell(5, 1), 'A');
        doc.SetCell(5, 2, 'B'); // beyond the size: kept aside as well
        doc.Resize(6, 3);
        QCOMPARE(Row(doc, 1, 6), std::string("    A "));
        QCOMPARE(Row(doc, 2, 6), std::string("    B "));
        QCOMPARE(Row(doc, 3, 6), std::string("     *"));
        QCOMPARE(doc.GetCell(0, 1), ' ');
    }

    void aSmallerDocumentTakenOverALargerOneKeepsTheCutOffCells()
    {
        TCrossDocument doc;
        TCrossTXT large = Blank(6, 4);
        large.SetCell(6, 4, 'Z');
        large.SetCell(1, 1, 'Q');
        doc.Assign(large);
        doc.Assign(Blank(4, 3));
        QCOMPARE(doc.GetCell(1, 1), ' ');
        doc.Resize(6, 4);
        QCOMPARE(doc.GetCell(6, 4), 'Z');
        // A cell inside the new content's size is the new content's.
        QCOMPARE(doc.GetCell(1, 1), ' ');
    }

    void changesAreSignalledOncePerRealChange()
    {
        TCrossDocument doc;
        QSignalSpy cells(&doc, &TCrossDocument::CellChanged);
        QSignalSpy modified(&doc, &TCrossDocument::ModifiedChanged);
        QSignalSpy resized(&doc, &TCrossDocument::Resized);
        QSignalSpy reset(&doc, &TCrossDocument::Reset);
        doc.SetCell(2, 2, 'K');
        doc.SetCell(2, 2, 'K');
        doc.SetCell(9, 9, 'K');
        QCOMPARE(cells.size(), 1);
        QCOMPARE(cells[0][0].toInt(), 2);
        QCOMPARE(modified.size(), 1);
        QVERIFY(doc.Modified());
        doc.Resize(5, 3);
        doc.Resize(5, 3);
        QCOMPARE(resized.size(), 1);
        QCOMPARE(resized[0][0].toInt(), 4);
        // The document taken over brings its own modified flag.
        TCrossTXT loaded = Blank(4, 3);
        loaded.Modified = false;
        doc.Assign(loaded);
        QCOMPARE(reset.size(), 1);
        QVERIFY(!doc.Modified());
        QCOMPARE(modified.size(), 2);
    }

    void aFailedSaveKeepsTheDocumentModifiedAndASavedOneIsNot()
    {
        QTemporaryDir dir;
        TCrossDocument doc;
        doc.SetCell(1, 1, 'A');
        doc.SetModified(false);
        QVERIFY_THROWS_EXCEPTION(std::exception, doc.SaveToFile(dir.filePath("brak/x.krz").toStdString()));
        QVERIFY(doc.Modified());
        doc.SaveToFile(dir.filePath("x.krz").toStdString());
        QVERIFY(!doc.Modified());
        TCrossTXT saved;
        saved.LoadFromFile(dir.filePath("x.krz").toStdString());
        QCOMPARE(saved.GetCell(1, 1), 'A');
    }

    void aViewShowsItsDocumentAndTurnsKeysIntoEditsOfIt()
    {
        TCrossDocument doc;
        TCrossSurface view;
        view.SetDocument(&doc);
        doc.Resize(7, 5);
        QCOMPARE(view.ColCount(), 7);
        QCOMPARE(view.RowCount(), 5);
        doc.SetCell(7, 5, 'Z');
        QCOMPARE(In(view).GetCell(7, 5), 'Z');
        QTest::keyClick(&view, Qt::Key_K); // the cursor starts at (2,2)
        QCOMPARE(doc.GetCell(2, 2), 'K');
        QVERIFY(doc.Modified());
        // Without a document the view has no cells and leaves keys alone.
        view.SetDocument(nullptr);
        QCOMPARE(view.ColCount(), 0);
        QTest::keyClick(&view, Qt::Key_L);
        QCOMPARE(doc.GetCell(2, 2), 'K');
    }
};

QTEST_MAIN(CrossDocumentTest)
#include "CrossDocumentTest.moc"
