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
        TTestGrid grid;
        QCOMPARE(grid.ColCount(), 4);
        QCOMPARE(grid.RowCount(), 3);
        QCOMPARE(grid.CurrCol(), 2);
        QCOMPARE(grid.CurrRow(), 2);
        QCOMPARE(grid.WriteDir(), TDirection::Across);
        QCOMPARE(In(grid).Mode(), mSolve);
        QVERIFY(In(grid).FocusVisible());
        QCOMPARE(In(grid).Border(), 0);
        QCOMPARE(grid.CellImageWidth(), 0);
        QCOMPARE(grid.CellImageHeight(), 0);
        QCOMPARE(grid.width(), 0);
        QCOMPARE(grid.height(), 0);
        QVERIFY(!In(grid).BlinkTimerActive());
        for (int c = 1; c <= 4; ++c)
            for (int r = 1; r <= 3; ++r)
                QCOMPARE(In(grid).GetCell(c, r), ' ');
    }

    void setCellAcceptsExactlyTheCellAlphabet()
    {
        TTestGrid grid;
        for (int code = 0; code < 256; ++code) {
            const char ch = static_cast<char>(code);
            In(grid).SetCell(1, 1, 'K');
            const QString error = ErrorOf([&] { In(grid).SetCell(1, 1, ch); });
            if (IsCellChar(static_cast<unsigned char>(code))) {
                QVERIFY2(error.isEmpty(), qPrintable(QString::number(code)));
                QCOMPARE(In(grid).GetCell(1, 1), ch);
            } else {
                QCOMPARE(error, QStringLiteral("Użyto niedozwolonego znaku"));
                QCOMPARE(In(grid).GetCell(1, 1), 'K');
            }
        }
    }

    void pairsBelowOneAreIgnoredAndAnswerBlank()
    {
        TTestGrid grid;
        In(grid).SetCell(0, 5, 'A');
        In(grid).SetCell(2, 0, 'A');
        In(grid).SetCell(-1, -1, 'a'); // not even the character is checked
        QCOMPARE(In(grid).GetCell(0, 5), ' ');
        QCOMPARE(In(grid).GetCell(2, 0), ' ');
        QCOMPARE(In(grid).GetCell(-7, 2), ' ');
        QCOMPARE(In(grid).GetCell(1, 1000000), ' ');
    }

    void shrinkingAndGrowingBringsBackTheCutOffLetters()
    {
        TTestGrid grid;
        In(grid).SetColCount(10);
        FillRows(grid, {"ABCDEFGHIJ", "KLMNOPQRST", "UVWXYZ*?01"});
        In(grid).SetColCount(5);
        QCOMPARE(In(grid).GetCell(8, 2), 'R'); // the record stays behind
        In(grid).SetColCount(10);
        QCOMPARE(RowText(grid, 1), std::string("ABCDEFGHIJ"));
        QCOMPARE(RowText(grid, 2), std::string("KLMNOPQRST"));
        QCOMPARE(RowText(grid, 3), std::string("UVWXYZ*?01"));
        In(grid).SetCell(12, 1, 'K'); // beyond the grid: kept until it grows
        QCOMPARE(In(grid).GetCell(11, 1), ' ');
        In(grid).SetColCount(12);
        QCOMPARE(RowText(grid, 1), std::string("ABCDEFGHIJ K"));

        In(grid).SetRowCount(5);
        In(grid).SetCell(3, 5, 'Z');
        In(grid).SetRowCount(3);
        In(grid).SetRowCount(6);
        QCOMPARE(In(grid).GetCell(3, 5), 'Z');
        QCOMPARE(In(grid).GetCell(3, 6), ' ');
    }

    void sizeSettersTakeFourByThreeAndRefuseLessChangingNothing_data()
    {
        QTest::addColumn<bool>("columns");
        QTest::addColumn<int>("value");
        QTest::addColumn<QSize>("size");
        QTest::newRow("four columns") << true << 4 << QSize(4, 6);
        QTest::newRow("three columns") << true << 3 << QSize(7, 6);
        QTest::newRow("no columns") << true << 0 << QSize(7, 6);
        QTest::newRow("negative columns") << true << -4 << QSize(7, 6);
        QTest::newRow("three rows") << false << 3 << QSize(7, 3);
        QTest::newRow("two rows") << false << 2 << QSize(7, 6);
        QTest::newRow("no rows") << false << 0 << QSize(7, 6);
    }
    void sizeSettersTakeFourByThreeAndRefuseLessChangingNothing()
    {
        QFETCH(bool, columns);
        QFETCH(int, value);
        QFETCH(QSize, size);
        TTestGrid grid;
        In(grid).SetColCount(7);
        In(grid).SetRowCount(6);
        const QString error = ErrorOf([&] { columns ? In(grid).SetColCount(value) : In(grid).SetRowCount(value); });
        QCOMPARE(error.isEmpty(), size != QSize(7, 6));
        if (!error.isEmpty())
            QCOMPARE(error, QStringLiteral("Wartość ColCount nie mieści się w dozwolnym zakresie"));
        QCOMPARE(QSize(grid.ColCount(), grid.RowCount()), size);
    }

    void shrinkingBelowTheCurrentCellMovesItToTheNewEdge()
    {
        TTestGrid grid;
        In(grid).SetColCount(10);
        In(grid).SetRowCount(10);
        In(grid).ShowFocus(9, 8);
        In(grid).SetColCount(6);
        QCOMPARE(grid.CurrCol(), 6);
        QCOMPARE(grid.CurrRow(), 8);
        In(grid).SetRowCount(4);
        QCOMPARE(grid.CurrRow(), 4);
        In(grid).SetColCount(8); // growing leaves the cursor alone
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
        TTestGrid grid;
        QCOMPARE(ErrorOf([&] { In(grid).ShowFocus(col, row); }), message);
        QCOMPARE(grid.CurrCol(), message.isEmpty() ? col : 2);
        QCOMPARE(grid.CurrRow(), message.isEmpty() ? row : 2);
    }

    void highlightNeedsAPositivePairAndIgnoresMissingCells()
    {
        TTestGrid grid;
        QCOMPARE(ErrorOf([&] { grid.SetCellHighlight(0, 1, true); }),
                 QStringLiteral("Wartość ColCount nie mieści się w dozwolnym zakresie"));
        QCOMPARE(ErrorOf([&] { grid.SetCellHighlight(1, -1, true); }),
                 QStringLiteral("Wartość ColCount nie mieści się w dozwolnym zakresie"));
        grid.SetCellHighlight(20, 20, true); // no record there: nothing happens
        QVERIFY(!In(grid).CellHighlighted(20, 20));
        QCOMPARE(In(grid).GetCell(20, 20), ' ');

        grid.SetCellHighlight(2, 3, true);
        grid.SetCellHighlight(3, 3, true);
        QVERIFY(In(grid).CellHighlighted(2, 3));
        grid.SetCellHighlight(3, 3, false);
        QVERIFY(!In(grid).CellHighlighted(3, 3));
        grid.SetCellHighlight(4, 1, true);
        grid.ClearHighlights();
        QVERIFY(!In(grid).CellHighlighted(2, 3));
        QVERIFY(!In(grid).CellHighlighted(4, 1));
    }

    void negativeBorderIsRefusedAndBorderWidensTheImageSize()
    {
        TTestGrid grid;
        QCOMPARE(ErrorOf([&] { In(grid).SetBorder(-1); }), QStringLiteral("Niewłaściwa szerokość ramki"));
        QCOMPARE(In(grid).Border(), 0);
        In(grid).SetBorder(2);
        QCOMPARE(In(grid).Border(), 2);
        QCOMPARE(grid.ImageWidth(), 2 * 4);
        QCOMPARE(grid.ImageHeight(), 2 * 3);
    }

    void settingTheWriteDirectionReportsTheUnchangedCurrentCell()
    {
        TTestGrid grid;
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
        auto* grid = new TTestGrid(&host);
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
