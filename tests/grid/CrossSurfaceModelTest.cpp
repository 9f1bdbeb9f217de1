// The cell model of the grid control: size, cells, current cell, errors, events.

#include "GridTestSupport.h"

#include "core/Cp1250.h"

#include <QApplication>

using namespace mz;
using namespace mz::test;

Q_DECLARE_METATYPE(std::string)

namespace {

// Runs the action and returns the message of the EInvalidCrossSurfaceOperation it
// raised, or an empty string when it raised nothing.
template <typename F> QString ErrorOf(F&& action)
{
    try {
        action();
    } catch (const EInvalidCrossSurfaceOperation& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

} // namespace

class CrossSurfaceModelTest : public QObject {
    Q_OBJECT

private slots:
    void newControlIsABlankFourByThreeGridWithCursorAtTwoTwo()
    {
        TCrossSurface grid;
        QCOMPARE(grid.ColCount(), 4);
        QCOMPARE(grid.RowCount(), 3);
        QCOMPARE(grid.CurrCol(), 2);
        QCOMPARE(grid.CurrRow(), 2);
        QCOMPARE(grid.WriteDir(), TDirection::Across);
        QCOMPARE(grid.Mode(), mSolve);
        QVERIFY(grid.FocusVisible());
        QCOMPARE(grid.Border(), 0);
        QCOMPARE(grid.CellImageWidth(), 0);
        QCOMPARE(grid.CellImageHeight(), 0);
        QCOMPARE(grid.width(), 0);
        QCOMPARE(grid.height(), 0);
        QVERIFY(!grid.BlinkTimerActive());
        for (int c = 1; c <= 4; ++c)
            for (int r = 1; r <= 3; ++r)
                QCOMPARE(grid.GetCell(c, r), ' ');
    }

    void getCellAnswersBlankForAnyPairWithoutARecord()
    {
        TCrossSurface grid;
        QCOMPARE(grid.GetCell(0, 0), ' ');
        QCOMPARE(grid.GetCell(-7, 2), ' ');
        QCOMPARE(grid.GetCell(grid.ColCount() + 1, 1), ' ');
        QCOMPARE(grid.GetCell(1, 1000000), ' ');
    }

    void setCellAcceptsExactlyTheCellAlphabet()
    {
        TCrossSurface grid;
        for (int code = 0; code < 256; ++code) {
            const char ch = static_cast<char>(code);
            grid.SetCell(1, 1, 'K');
            const QString error = ErrorOf([&] { grid.SetCell(1, 1, ch); });
            if (IsCellChar(static_cast<unsigned char>(code))) {
                QVERIFY2(error.isEmpty(), qPrintable(QString::number(code)));
                QCOMPARE(grid.GetCell(1, 1), ch);
            } else {
                QCOMPARE(error, QStringLiteral("Użyto niedozwolonego znaku"));
                QCOMPARE(grid.GetCell(1, 1), 'K');
            }
        }
    }

    void setCellAtColumnOrRowZeroDoesNothing()
    {
        TCrossSurface grid;
        grid.SetCell(0, 5, 'A');
        grid.SetCell(2, 0, 'A');
        grid.SetCell(-1, -1, 'a'); // not even the character is checked
        QCOMPARE(grid.GetCell(0, 5), ' ');
        QCOMPARE(grid.GetCell(2, 0), ' ');
    }

    void cellsBeyondTheGridAreKeptAndShowWhenItGrows()
    {
        TCrossSurface grid;
        grid.SetColCount(10);
        grid.SetCell(12, 1, 'K');
        QCOMPARE(grid.GetCell(12, 1), 'K');
        grid.SetColCount(12);
        QCOMPARE(grid.GetCell(12, 1), 'K');
        QCOMPARE(grid.GetCell(11, 1), ' ');
    }

    void shrinkingAndGrowingBringsBackTheCutOffLetters()
    {
        TCrossSurface grid;
        grid.SetColCount(10);
        FillRows(grid, {"ABCDEFGHIJ", "KLMNOPQRST", "UVWXYZ*?01"});
        grid.SetColCount(5);
        QCOMPARE(grid.GetCell(8, 2), 'R'); // the record stays behind
        grid.SetColCount(10);
        QCOMPARE(RowText(grid, 1), std::string("ABCDEFGHIJ"));
        QCOMPARE(RowText(grid, 2), std::string("KLMNOPQRST"));
        QCOMPARE(RowText(grid, 3), std::string("UVWXYZ*?01"));
        grid.SetColCount(11);
        QCOMPARE(grid.GetCell(11, 1), ' ');

        grid.SetRowCount(5);
        grid.SetCell(3, 5, 'Z');
        grid.SetRowCount(3);
        grid.SetRowCount(6);
        QCOMPARE(grid.GetCell(3, 5), 'Z');
        QCOMPARE(grid.GetCell(3, 6), ' ');
    }

    void sizeSettersRejectTooSmallGridsAndChangeNothing_data()
    {
        QTest::addColumn<bool>("columns");
        QTest::addColumn<int>("value");
        QTest::newRow("three columns") << true << 3;
        QTest::newRow("no columns") << true << 0;
        QTest::newRow("negative columns") << true << -4;
        QTest::newRow("two rows") << false << 2;
        QTest::newRow("no rows") << false << 0;
    }
    void sizeSettersRejectTooSmallGridsAndChangeNothing()
    {
        QFETCH(bool, columns);
        QFETCH(int, value);
        TCrossSurface grid;
        grid.SetColCount(7);
        grid.SetRowCount(6);
        const QString error = ErrorOf([&] { columns ? grid.SetColCount(value) : grid.SetRowCount(value); });
        QCOMPARE(error, QStringLiteral("Wartość ColCount nie mieści się w dozwolnym zakresie"));
        QCOMPARE(grid.ColCount(), 7);
        QCOMPARE(grid.RowCount(), 6);
    }

    void smallestGridIsFourByThree()
    {
        TCrossSurface grid;
        grid.SetColCount(9);
        grid.SetRowCount(9);
        grid.SetColCount(4);
        grid.SetRowCount(3);
        QCOMPARE(grid.ColCount(), 4);
        QCOMPARE(grid.RowCount(), 3);
    }

    void shrinkingBelowTheCurrentCellMovesItToTheNewEdge()
    {
        TCrossSurface grid;
        grid.SetColCount(10);
        grid.SetRowCount(10);
        grid.ShowFocus(9, 8);
        grid.SetColCount(6);
        QCOMPARE(grid.CurrCol(), 6);
        QCOMPARE(grid.CurrRow(), 8);
        grid.SetRowCount(4);
        QCOMPARE(grid.CurrRow(), 4);
        grid.SetColCount(8); // growing leaves the cursor alone
        QCOMPARE(grid.CurrCol(), 6);
    }

    void showFocusChecksTheColumnBeforeTheRow_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("message");
        QTest::newRow("column 0") << 0 << 1 << QStringLiteral("Niewłaściwa kolumna");
        QTest::newRow("column past the end") << 5 << 1 << QStringLiteral("Niewłaściwa kolumna");
        QTest::newRow("both wrong") << 5 << 9 << QStringLiteral("Niewłaściwa kolumna");
        QTest::newRow("row 0") << 1 << 0 << QStringLiteral("Niewłaściwy wiersz");
        QTest::newRow("row past the end") << 4 << 4 << QStringLiteral("Niewłaściwy wiersz");
        QTest::newRow("last cell") << 4 << 3 << QString();
    }
    void showFocusChecksTheColumnBeforeTheRow()
    {
        QFETCH(int, col);
        QFETCH(int, row);
        QFETCH(QString, message);
        TCrossSurface grid;
        QCOMPARE(ErrorOf([&] { grid.ShowFocus(col, row); }), message);
        QCOMPARE(grid.CurrCol(), message.isEmpty() ? col : 2);
        QCOMPARE(grid.CurrRow(), message.isEmpty() ? row : 2);
    }

    void highlightNeedsAPositivePairAndIgnoresMissingCells()
    {
        TCrossSurface grid;
        QCOMPARE(ErrorOf([&] { grid.SetCellHighlight(0, 1, true); }),
                 QStringLiteral("Wartość ColCount nie mieści się w dozwolnym zakresie"));
        QCOMPARE(ErrorOf([&] { grid.SetCellHighlight(1, -1, true); }),
                 QStringLiteral("Wartość ColCount nie mieści się w dozwolnym zakresie"));
        grid.SetCellHighlight(20, 20, true); // no record there: nothing happens
        QVERIFY(!grid.CellHighlighted(20, 20));
        QCOMPARE(grid.GetCell(20, 20), ' ');

        grid.SetCellHighlight(2, 3, true);
        grid.SetCellHighlight(3, 3, true);
        QVERIFY(grid.CellHighlighted(2, 3));
        grid.SetCellHighlight(3, 3, false);
        QVERIFY(!grid.CellHighlighted(3, 3));
        grid.SetCellHighlight(4, 1, true);
        grid.ClearHighlights();
        QVERIFY(!grid.CellHighlighted(2, 3));
        QVERIFY(!grid.CellHighlighted(4, 1));
    }

    void negativeBorderIsRefusedAndBorderWidensTheImageSize()
    {
        TCrossSurface grid;
        QCOMPARE(ErrorOf([&] { grid.SetBorder(-1); }), QStringLiteral("Niewłaściwa szerokość ramki"));
        QCOMPARE(grid.Border(), 0);
        grid.SetBorder(2);
        QCOMPARE(grid.Border(), 2);
        QCOMPARE(grid.ImageWidth(), 2 * 4);
        QCOMPARE(grid.ImageHeight(), 2 * 3);
    }

    void settingTheWriteDirectionReportsTheUnchangedCurrentCell()
    {
        TCrossSurface grid;
        TEventLog log;
        log.Attach(grid);
        grid.SetWriteDir(TDirection::Across);
        grid.SetWriteDir(TDirection::Down);
        QCOMPARE(grid.WriteDir(), TDirection::Down);
        QCOMPARE(log.Events, (std::vector<std::string>{"refresh 2,2", "refresh 2,2"}));
    }

    void settingVisibleShowsOrHidesAndAlwaysReports()
    {
        QWidget host;
        auto* grid = new TCrossSurface(&host);
        TEventLog log;
        log.Attach(*grid);
        host.show();
        grid->setVisible(false);
        QVERIFY(grid->isHidden());
        QVERIFY(!grid->isVisible());
        grid->setVisible(true);
        grid->show();
        QVERIFY(grid->isVisible());
        QCOMPARE(log.Events, (std::vector<std::string>{"visibility", "visibility", "visibility"}));
    }
};

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CrossSurfaceModelTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "CrossSurfaceModelTest.moc"
