// Keyboard and mouse of the grid control, driven by real Qt key and mouse events.

#include "GridTestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QVBoxLayout>

#include <memory>

using namespace mz;
using namespace mz::test;

Q_DECLARE_METATYPE(std::string)

namespace {

const char Aogonek = static_cast<char>(0xA5);
const char Cacute = static_cast<char>(0xC6);
const char Eogonek = static_cast<char>(0xCA);
const char Lstroke = static_cast<char>(0xA3);
const char Nacute = static_cast<char>(0xD1);
const char Oacute = static_cast<char>(0xD3);
const char Sacute = static_cast<char>(0x8C);
const char Zacute = static_cast<char>(0x8F);
const char Zdot = static_cast<char>(0xAF);

// A grid of 20 x 30 cell pictures in a shown window, with its events logged.
struct TGrid {
    QTemporaryDir dir;
    QWidget host;
    TCrossSurface* grid = nullptr;
    QLineEdit* next = nullptr; // the next control in the focus chain
    TEventLog log;

    TGrid(int cols, int rows, const std::vector<std::string>& cells = {})
    {
        auto* layout = new QVBoxLayout(&host);
        grid = new TTestGrid(&host);
        next = new QLineEdit(&host);
        layout->addWidget(grid);
        layout->addWidget(next);
        In(grid).SetColCount(cols);
        In(grid).SetRowCount(rows);
        grid->SetFileName(WriteBitmap(dir, "cells.bmp", PositionCodedStrip(520, 60)));
        FillRows(*grid, cells);
        log.Attach(*grid);
        host.show();
        host.activateWindow();
        if (!QTest::qWaitForWindowActive(&host))
            qFatal("the test window did not become active");
        grid->setFocus();
    }

    void Click(int col, int row) { QTest::mouseClick(grid, Qt::LeftButton, {}, CellCentre(col, row)); }
    QPoint CellCentre(int col, int row) const { return {(col - 1) * 20 + 10, (row - 1) * 30 + 15}; }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(grid, key, modifiers); }
    // Single key events, as the keyboard sends them while a modifier key is held
    // down (QTest's own clicks press and release the modifier keys around every key).
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text = {})
    {
        QTest::simulateEvent(grid, true, key, modifiers, text, false);
    }
    void Release(Qt::Key key, Qt::KeyboardModifiers modifiers = {}, const QString& text = {})
    {
        QTest::simulateEvent(grid, false, key, modifiers, text, false);
    }
    void HeldClick(Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        Press(key, modifiers);
        Release(key, modifiers);
    }
    // Puts the cursor on a cell the way a user would: a click.
    void MoveTo(int col, int row)
    {
        Click(col, row);
        log.Events.clear();
    }
    QPoint Cursor() const { return {grid->CurrCol(), grid->CurrRow()}; }
};

} // namespace

class CrossSurfaceInputTest : public QObject {
    Q_OBJECT

private slots:
    void typingWritesAndAdvancesAndBackspaceTakesTheLettersBack()
    {
        TGrid g(6, 3);
        g.MoveTo(1, 1);
        QTest::keyClicks(g.grid, "kot");
        QCOMPARE(RowText(*g.grid, 1), std::string("KOT   "));
        QCOMPARE(g.Cursor(), QPoint(4, 1));
        g.Key(Qt::Key_Backspace);
        QCOMPARE(RowText(*g.grid, 1), std::string("KO    "));
        QCOMPARE(g.Cursor(), QPoint(3, 1));
        g.Key(Qt::Key_Backspace);
        g.Key(Qt::Key_Backspace);
        QCOMPARE(RowText(*g.grid, 1), std::string("      "));
        QCOMPARE(g.Cursor(), QPoint(1, 1));
        QCOMPARE(g.log.Events,
                 (std::vector<std::string>{"refresh 2,1", "refresh 3,1", "refresh 4,1", "refresh 3,1", "refresh 2,1",
                                           "refresh 1,1"}));
    }

    void typingVerticallyGoesDownTheColumn()
    {
        TGrid g(4, 5);
        g.grid->SetWriteDir(TDirection::Down);
        g.MoveTo(3, 2);
        QTest::keyClicks(g.grid, "LAS");
        QCOMPARE(In(g.grid).GetCell(3, 2), 'L');
        QCOMPARE(In(g.grid).GetCell(3, 3), 'A');
        QCOMPARE(In(g.grid).GetCell(3, 4), 'S');
        QCOMPARE(g.Cursor(), QPoint(3, 5));
        g.Key(Qt::Key_Backspace); // (3, 5) is empty: the S before it goes
        QCOMPARE(In(g.grid).GetCell(3, 4), ' ');
        QCOMPARE(g.Cursor(), QPoint(3, 4));
    }

    void backspaceOnALetterClearsItInPlace()
    {
        TGrid g(5, 3, {"ABCDE"});
        g.MoveTo(3, 1);
        g.Key(Qt::Key_Backspace);
        QCOMPARE(RowText(*g.grid, 1), std::string("AB DE"));
        QCOMPARE(g.Cursor(), QPoint(3, 1));
    }

    void backspaceInTheFirstColumnOnAnEmptyCellChangesNothing()
    {
        TGrid g(5, 3, {" BC  "});
        g.MoveTo(1, 1);
        g.Key(Qt::Key_Backspace);
        QCOMPARE(RowText(*g.grid, 1), std::string(" BC  "));
        QCOMPARE(g.Cursor(), QPoint(1, 1));
        QCOMPARE(g.log.Events, (std::vector<std::string>{"refresh 1,1"}));
    }

    void typingInTheLastColumnWritesAndStays()
    {
        TGrid g(4, 3);
        g.MoveTo(4, 3);
        g.Key(Qt::Key_X);
        g.Key(Qt::Key_Y);
        QCOMPARE(In(g.grid).GetCell(4, 3), 'Y');
        QCOMPARE(g.Cursor(), QPoint(4, 3));
        g.grid->SetWriteDir(TDirection::Down);
        g.Key(Qt::Key_Q);
        QCOMPARE(In(g.grid).GetCell(4, 3), 'Q');
        QCOMPARE(g.Cursor(), QPoint(4, 3));
    }

    void solvingNeitherWritesNorClearsBlockedCells()
    {
        TGrid g(5, 3, {"A*B*C"});
        g.MoveTo(2, 1);
        g.Key(Qt::Key_K); // the cursor moves over the block
        QCOMPARE(RowText(*g.grid, 1), std::string("A*B*C"));
        QCOMPARE(g.Cursor(), QPoint(3, 1));
        g.MoveTo(4, 1);
        g.Key(Qt::Key_Delete);
        QCOMPARE(g.Cursor(), QPoint(4, 1));
        g.Key(Qt::Key_Space);
        QCOMPARE(g.Cursor(), QPoint(5, 1));
        QCOMPARE(RowText(*g.grid, 1), std::string("A*B*C"));
        g.MoveTo(2, 1);
        g.Key(Qt::Key_Backspace); // on a block: steps back and clears the letter before it
        QCOMPARE(RowText(*g.grid, 1), std::string(" *B*C"));
        QCOMPARE(g.Cursor(), QPoint(1, 1));
    }

    // Solving: the cursor never ends on a block after a letter or a Backspace,
    // and Alt+Backspace takes typed letters back ('<' Backspace, '^' Alt+Backspace).
    void solvingKeepsTheCursorInTheWordAndUndoesLetters_data()
    {
        QTest::addColumn<std::string>("before");
        QTest::addColumn<QPoint>("start");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<std::string>("after");
        QTest::addColumn<QPoint>("cursor");
        QTest::newRow("last letter stays")
            << std::string("AB*DE") << QPoint(2, 1) << "x" << std::string("AX*DE") << QPoint(2, 1);
        QTest::newRow("backspace at a word's start")
            << std::string("AB* E") << QPoint(4, 1) << "<" << std::string("AB* E") << QPoint(4, 1);
        QTest::newRow("undo one") << std::string("AB*DE") << QPoint(1, 1) << "xy^" << std::string("XB*DE")
                                  << QPoint(2, 1);
        QTest::newRow("undo all") << std::string("AB*DE") << QPoint(1, 1) << "xy^^^" << std::string("AB*DE")
                                  << QPoint(1, 1);
        QTest::newRow("undo a clear") << std::string("AB*DE") << QPoint(5, 1) << "<^" << std::string("AB*DE")
                                      << QPoint(5, 1);
    }
    void solvingKeepsTheCursorInTheWordAndUndoesLetters()
    {
        QFETCH(std::string, before);
        QFETCH(QPoint, start);
        QFETCH(QString, keys);
        QFETCH(std::string, after);
        QFETCH(QPoint, cursor);
        TGrid g(5, 3, {before});
        g.MoveTo(start.x(), start.y());
        for (const QChar key : keys) {
            if (key == QLatin1Char('<'))
                g.Key(Qt::Key_Backspace);
            else if (key == QLatin1Char('^'))
                g.Key(Qt::Key_Backspace, Qt::AltModifier);
            else
                QTest::keyClicks(g.grid, QString(key));
        }
        QCOMPARE(RowText(*g.grid, 1), after);
        QCOMPARE(g.Cursor(), cursor);
    }

    void spaceAndDeleteClearLettersInBothModes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("key");
        QTest::addColumn<std::string>("after");
        QTest::addColumn<QPoint>("cursor");
        QTest::newRow("space, solving") << int(mSolve) << int(Qt::Key_Space) << std::string("A C*E") << QPoint(3, 1);
        QTest::newRow("delete, solving") << int(mSolve) << int(Qt::Key_Delete) << std::string("A C*E") << QPoint(2, 1);
        QTest::newRow("space, editing") << int(mEdit) << int(Qt::Key_Space) << std::string("A C*E") << QPoint(3, 1);
        QTest::newRow("delete, editing") << int(mEdit) << int(Qt::Key_Delete) << std::string("A C*E") << QPoint(2, 1);
    }
    void spaceAndDeleteClearLettersInBothModes()
    {
        QFETCH(int, mode);
        QFETCH(int, key);
        QFETCH(std::string, after);
        QFETCH(QPoint, cursor);
        TGrid g(5, 3, {"ABC*E"});
        g.grid->SetMode(static_cast<TMode>(mode));
        g.MoveTo(2, 1);
        g.Key(static_cast<Qt::Key>(key));
        QCOMPARE(RowText(*g.grid, 1), after);
        QCOMPARE(g.Cursor(), cursor);
    }

    void editingBlocksWithEnterAndOpensWithSpace()
    {
        TGrid g(6, 4);
        g.grid->SetMode(mEdit);
        g.grid->SetWriteDir(TDirection::Down);
        g.MoveTo(5, 2);
        g.Key(Qt::Key_Return);
        QCOMPARE(In(g.grid).GetCell(5, 2), '*');
        QCOMPARE(g.Cursor(), QPoint(5, 3));
        QCOMPARE(g.log.Events, (std::vector<std::string>{"refresh 5,3"}));
        g.MoveTo(5, 2);
        g.Key(Qt::Key_Space);
        QCOMPARE(In(g.grid).GetCell(5, 2), ' ');
        QCOMPARE(g.Cursor(), QPoint(5, 3));
        g.MoveTo(5, 4);
        g.Key(Qt::Key_Enter); // the keypad Enter too
        QCOMPARE(In(g.grid).GetCell(5, 4), '*');
        QCOMPARE(g.Cursor(), QPoint(5, 4));
    }

    void editingWritesOverBlockedCells()
    {
        TGrid g(5, 3, {"*****"});
        g.grid->SetMode(mEdit);
        g.MoveTo(1, 1);
        QTest::keyClicks(g.grid, "ab");
        g.Key(Qt::Key_Delete);
        QCOMPARE(RowText(*g.grid, 1), std::string("AB **"));
        g.Key(Qt::Key_Backspace); // an open cell: back to B and clear it
        QCOMPARE(RowText(*g.grid, 1), std::string("A  **"));
        QCOMPARE(g.Cursor(), QPoint(2, 1));
    }

    void enterWhileSolvingReportsEnterAndDoesNotMove()
    {
        TGrid g(5, 3, {"AB*DE"});
        g.MoveTo(3, 1);
        g.Key(Qt::Key_Return);
        QCOMPARE(g.Cursor(), QPoint(3, 1));
        QCOMPARE(RowText(*g.grid, 1), std::string("AB*DE"));
        QCOMPARE(g.log.Events, (std::vector<std::string>{"enter", "refresh 3,1"}));
    }

    void homeAndEndMoveAlongTheWritingDirectionOrToTheCorners_data()
    {
        QTest::addColumn<int>("dir");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QPoint>("cursor");
        const int none = Qt::NoModifier;
        const int ctrl = Qt::ControlModifier;
        const int ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
        QTest::newRow("End, horizontal") << int(TDirection::Across) << int(Qt::Key_End) << none << QPoint(7, 3);
        QTest::newRow("End, vertical") << int(TDirection::Down) << int(Qt::Key_End) << none << QPoint(4, 5);
        QTest::newRow("Ctrl+End") << int(TDirection::Down) << int(Qt::Key_End) << ctrl << QPoint(7, 5);
        QTest::newRow("Ctrl+Shift+End") << int(TDirection::Across) << int(Qt::Key_End) << ctrlShift << QPoint(7, 3);
        QTest::newRow("Home, horizontal") << int(TDirection::Across) << int(Qt::Key_Home) << none << QPoint(1, 3);
        QTest::newRow("Home, vertical") << int(TDirection::Down) << int(Qt::Key_Home) << none << QPoint(4, 1);
        QTest::newRow("Ctrl+Home") << int(TDirection::Across) << int(Qt::Key_Home) << ctrl << QPoint(1, 1);
        QTest::newRow("Shift+Home") << int(TDirection::Down) << int(Qt::Key_Home) << int(Qt::ShiftModifier) << QPoint(4, 1);
    }
    void homeAndEndMoveAlongTheWritingDirectionOrToTheCorners()
    {
        QFETCH(int, dir);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QPoint, cursor);
        TGrid g(7, 5);
        g.grid->SetWriteDir(static_cast<TDirection>(dir));
        g.MoveTo(4, 3);
        g.Key(static_cast<Qt::Key>(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(g.Cursor(), cursor);
        QCOMPARE(g.grid->WriteDir(), static_cast<TDirection>(dir));
    }

    void arrowsMoveOneCellAndStopAtTheEdges()
    {
        TGrid g(4, 3);
        g.MoveTo(1, 1);
        g.Key(Qt::Key_Left);
        g.Key(Qt::Key_Up);
        QCOMPARE(g.Cursor(), QPoint(1, 1));
        g.Key(Qt::Key_Right);
        g.Key(Qt::Key_Down);
        QCOMPARE(g.Cursor(), QPoint(2, 2));
        for (int i = 0; i < 5; ++i) {
            g.Key(Qt::Key_Right, Qt::ShiftModifier);
            g.Key(Qt::Key_Down, Qt::AltModifier);
        }
        QCOMPARE(g.Cursor(), QPoint(4, 3));
        // Every key counts, also those that could not move.
        QCOMPARE(g.log.Events.size(), size_t(14));
        QCOMPARE(g.log.Events.back(), std::string("refresh 4,3"));
        QCOMPARE(g.grid->WriteDir(), TDirection::Across);
    }

    void ctrlArrowsJumpWordWise_data()
    {
        QTest::addColumn<std::string>("line");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("end");
        const int left = Qt::Key_Left;
        const int right = Qt::Key_Right;
        QTest::newRow("left: to the start of the word") << std::string("*KOT*") << 4 << left << 2;
        QTest::newRow("left: at the start of a word stays") << std::string("*KOT*") << 2 << left << 2;
        QTest::newRow("left: from blocks to the word before") << std::string("AB**CD") << 4 << left << 1;
        QTest::newRow("left: open cells belong to the word") << std::string("*A  B*C") << 5 << left << 2;
        QTest::newRow("left: only blocks before") << std::string("***ABC") << 3 << left << 1;
        QTest::newRow("left: word at the grid edge") << std::string("ABC*DE") << 3 << left << 1;
        QTest::newRow("right: to the next word") << std::string("AB*CD*") << 1 << right << 4;
        QTest::newRow("right: over several blocks") << std::string("A***BC") << 1 << right << 5;
        QTest::newRow("right: from a block") << std::string("AB**CD") << 3 << right << 5;
        QTest::newRow("right: last word ends in the last column") << std::string("*AB*KOTEK") << 6 << right << 9;
        QTest::newRow("right: only blocks after") << std::string("ABC***") << 2 << right << 6;
        QTest::newRow("right: open cells belong to the word") << std::string("A  B*C") << 1 << right << 6;
    }
    void ctrlArrowsJumpWordWise()
    {
        QFETCH(std::string, line);
        QFETCH(int, start);
        QFETCH(int, key);
        QFETCH(int, end);
        const int n = static_cast<int>(line.size());

        // Along a row with Left and Right ...
        TGrid g(n, 4, {std::string(n, ' '), line});
        g.MoveTo(start, 2);
        g.Key(static_cast<Qt::Key>(key), Qt::ControlModifier);
        QCOMPARE(g.Cursor(), QPoint(end, 2));

        // ... and the same down a column with Up and Down.
        TGrid v(4, n);
        for (int i = 0; i < n; ++i)
            In(v.grid).SetCell(3, i + 1, line[i]);
        v.MoveTo(3, start);
        v.Key(key == Qt::Key_Left ? Qt::Key_Up : Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(v.Cursor(), QPoint(3, end));
    }

    void ctrlWithShiftMovesOneCellNotOneWord()
    {
        TGrid g(5, 3, {"*KOT*"});
        g.MoveTo(4, 1);
        g.Key(Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(g.Cursor(), QPoint(3, 1));
        g.Key(Qt::Key_Right, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(g.Cursor(), QPoint(4, 1));
    }

    void heldCtrlTypesTheNinePolishLetters_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("letter");
        QTest::newRow("A") << int(Qt::Key_A) << int(0xA5);
        QTest::newRow("C") << int(Qt::Key_C) << int(0xC6);
        QTest::newRow("E") << int(Qt::Key_E) << int(0xCA);
        QTest::newRow("L") << int(Qt::Key_L) << int(0xA3);
        QTest::newRow("N") << int(Qt::Key_N) << int(0xD1);
        QTest::newRow("O") << int(Qt::Key_O) << int(0xD3);
        QTest::newRow("S") << int(Qt::Key_S) << int(0x8C);
        QTest::newRow("X") << int(Qt::Key_X) << int(0x8F);
        QTest::newRow("Z") << int(Qt::Key_Z) << int(0xAF);
    }
    void heldCtrlTypesTheNinePolishLetters()
    {
        QFETCH(int, key);
        QFETCH(int, letter);
        TGrid g(5, 3);
        g.MoveTo(1, 1);
        g.Press(Qt::Key_Control, Qt::ControlModifier);
        g.HeldClick(static_cast<Qt::Key>(key), Qt::ControlModifier);
        // Holding Ctrl down repeats its press and release; the letters stay Polish.
        QTest::simulateEvent(g.grid, false, Qt::Key_Control, Qt::ControlModifier, QString(), true);
        QTest::simulateEvent(g.grid, true, Qt::Key_Control, Qt::ControlModifier, QString(), true);
        g.HeldClick(static_cast<Qt::Key>(key), Qt::ControlModifier | Qt::ShiftModifier);
        g.Release(Qt::Key_Control);
        g.Key(static_cast<Qt::Key>(key));
        QCOMPARE(In(g.grid).GetCell(1, 1), static_cast<char>(letter));
        QCOMPARE(In(g.grid).GetCell(2, 1), static_cast<char>(letter));
        QCOMPARE(In(g.grid).GetCell(3, 1), static_cast<char>(key)); // the Latin letter again
        QCOMPARE(g.Cursor(), QPoint(4, 1));
    }

    void heldCtrlMakesOtherLettersDoNothingAtAll()
    {
        TGrid g(5, 3);
        g.MoveTo(1, 1);
        g.Press(Qt::Key_Control, Qt::ControlModifier);
        QVERIFY(g.log.Events.empty()); // the Ctrl key itself is not handled
        for (Qt::Key key : {Qt::Key_L, Qt::Key_X, Qt::Key_Z, Qt::Key_B, Qt::Key_Q})
            g.HeldClick(key, Qt::ControlModifier);
        QCOMPARE(RowText(*g.grid, 1), (std::string{Lstroke, Zacute, Zdot, ' ', ' '}));
        QCOMPARE(g.Cursor(), QPoint(4, 1));
        QCOMPARE(g.log.Events, (std::vector<std::string>{"refresh 2,1", "refresh 3,1", "refresh 4,1"}));
        // Ctrl's arrows keep their word meaning while the mode is on.
        g.HeldClick(Qt::Key_Left, Qt::ControlModifier);
        QCOMPARE(g.Cursor(), QPoint(1, 1));
        g.Release(Qt::Key_Control);
        g.Key(Qt::Key_L);
        QCOMPARE(In(g.grid).GetCell(1, 1), 'L');
    }

    void polishLettersArrivingAsTextAreTypedAsCapitals_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("letter");
        const char* small[9] = {"ą", "ć", "ę", "ł", "ń", "ó", "ś", "ź", "ż"};
        const char* capital[9] = {"Ą", "Ć", "Ę", "Ł", "Ń", "Ó", "Ś", "Ź", "Ż"};
        const int codes[9] = {0xA5, 0xC6, 0xCA, 0xA3, 0xD1, 0xD3, 0x8C, 0x8F, 0xAF};
        for (int i = 0; i < 9; ++i) {
            QTest::newRow(small[i]) << QString::fromUtf8(small[i]) << codes[i];
            QTest::newRow(capital[i]) << QString::fromUtf8(capital[i]) << codes[i];
        }
    }
    void polishLettersArrivingAsTextAreTypedAsCapitals()
    {
        QFETCH(QString, text);
        QFETCH(int, letter);
        TGrid g(5, 3, {"     "});
        g.MoveTo(2, 1);
        // AltGr layouts send the letter as text with a key code of their own.
        const auto key = static_cast<Qt::Key>(text.toUpper().at(0).unicode());
        QTest::sendKeyEvent(QTest::Click, g.grid, key, text, Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Click, g.grid, key, text, Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Click, g.grid, key, text, Qt::ControlModifier | Qt::AltModifier);
        const auto ch = static_cast<char>(letter);
        QCOMPARE(RowText(*g.grid, 1), (std::string{' ', ch, ch, ch, ' '}));
        QCOMPARE(g.Cursor(), QPoint(5, 1));
        QCOMPARE(g.log.Events.size(), size_t(3));
    }

    void altWithALetterIsHandledButDoesNothing()
    {
        TGrid g(5, 3);
        g.MoveTo(2, 2);
        g.Key(Qt::Key_A, Qt::AltModifier);
        QCOMPARE(In(g.grid).GetCell(2, 2), ' ');
        QCOMPARE(g.Cursor(), QPoint(2, 2));
        QCOMPARE(g.log.Events, (std::vector<std::string>{"refresh 2,2"}));
        g.Key(Qt::Key_A, Qt::AltModifier | Qt::ShiftModifier); // not Alt alone: typed
        QCOMPARE(In(g.grid).GetCell(2, 2), 'A');
    }

    void unhandledKeysChangeNothingAndReportNothing()
    {
        TGrid g(5, 3, {"ABCDE"});
        g.MoveTo(3, 1);
        for (Qt::Key key :
             {Qt::Key_F5, Qt::Key_Escape, Qt::Key_PageDown, Qt::Key_Insert, Qt::Key_1, Qt::Key_Shift, Qt::Key_Alt})
            g.Key(key);
        QCOMPARE(RowText(*g.grid, 1), std::string("ABCDE"));
        QCOMPARE(g.Cursor(), QPoint(3, 1));
        QVERIFY(g.log.Events.empty());
    }

    void eachHandledKeyLeavesTheCursorFrameOnlyOnTheNewCell()
    {
        TGrid g(6, 3);
        g.MoveTo(1, 1);
        QVERIFY(In(g.grid).FocusDrawn(1, 1));
        QTest::keyClicks(g.grid, "ab");
        QVERIFY(!In(g.grid).FocusDrawn(1, 1));
        QVERIFY(!In(g.grid).FocusDrawn(2, 1));
        QVERIFY(In(g.grid).FocusDrawn(3, 1));
        g.Key(Qt::Key_Down);
        QVERIFY(!In(g.grid).FocusDrawn(3, 1));
        QVERIFY(In(g.grid).FocusDrawn(3, 2));
    }

    void clickSelectsTheCellUnderTheMouse()
    {
        TGrid g(6, 4);
        QTest::mouseClick(g.grid, Qt::LeftButton, {}, QPoint(45, 61)); // column 3, row 3
        QCOMPARE(g.Cursor(), QPoint(3, 3));
        QVERIFY(g.grid->hasFocus());
        QVERIFY(In(g.grid).BlinkTimerActive());
        QVERIFY(In(g.grid).FocusDrawn(3, 3));
        QCOMPARE(g.log.Events, (std::vector<std::string>{"refresh 3,3"}));
        QTest::mouseClick(g.grid, Qt::LeftButton, {}, QPoint(1, 1));
        QCOMPARE(g.Cursor(), QPoint(1, 1));
        QVERIFY(!In(g.grid).FocusDrawn(3, 3));
        QTest::mouseClick(g.grid, Qt::RightButton, {}, QPoint(100, 80));
        QCOMPARE(g.Cursor(), QPoint(1, 1));
    }

    void clickBeyondTheLastCellSelectsTheLastColumnOrRow()
    {
        TGrid g(4, 3);
        g.grid->setMinimumSize(300, 300);
        g.host.adjustSize();
        QTRY_VERIFY(g.grid->width() >= 300);
        QTest::mouseClick(g.grid, Qt::LeftButton, {}, QPoint(250, 20));
        QCOMPARE(g.Cursor(), QPoint(4, 1));
        QTest::mouseClick(g.grid, Qt::LeftButton, {}, QPoint(30, 280));
        QCOMPARE(g.Cursor(), QPoint(2, 3));
        QTest::mouseClick(g.grid, Qt::LeftButton, {}, QPoint(299, 299));
        QCOMPARE(g.Cursor(), QPoint(4, 3));
    }

    void doubleClickSelectsTheCellAndReportsTheDoubleClick()
    {
        TGrid g(6, 4);
        // The platform sends press, release, double click, release.
        QTest::mouseClick(g.grid, Qt::LeftButton, {}, g.CellCentre(5, 2));
        QTest::mouseDClick(g.grid, Qt::LeftButton, {}, g.CellCentre(5, 2));
        QTest::mouseRelease(g.grid, Qt::LeftButton, {}, g.CellCentre(5, 2));
        QCOMPARE(g.Cursor(), QPoint(5, 2));
        QVERIFY(!g.log.Events.empty());
        QCOMPARE(g.log.Events, (std::vector<std::string>{"refresh 5,2", "dblclick"}));
    }

    void clickOnAGridWithoutCellPicturesTakesTheFocusButMovesNothing()
    {
        QWidget host;
        auto* grid = new TTestGrid(&host);
        grid->resize(100, 100);
        TEventLog log;
        log.Attach(*grid);
        host.show();
        host.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&host));
        QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(70, 50));
        QVERIFY(grid->hasFocus());
        QCOMPARE(grid->CurrCol(), 2);
        QCOMPARE(grid->CurrRow(), 2);
        QVERIFY(log.Events.empty());
    }

    void previewGridIgnoresClicks()
    {
        TGrid g(6, 4);
        g.grid->SetFocusVisible(false);
        g.next->setFocus();
        const QImage before = In(g.grid).GridImage();
        g.Click(5, 3);
        QCOMPARE(g.Cursor(), QPoint(2, 2));
        QVERIFY(!g.grid->hasFocus());
        QVERIFY(g.log.Events.empty());
        QCOMPARE(In(g.grid).GridImage(), before);
    }

    void tabLeavesTheGrid()
    {
        TGrid g(6, 4);
        QVERIFY(g.grid->hasFocus());
        g.Key(Qt::Key_Tab);
        QVERIFY(g.next->hasFocus());
        QVERIFY(!In(g.grid).BlinkTimerActive());
        QVERIFY(g.log.Events.empty());
        QTest::keyClick(g.next, Qt::Key_Tab); // the focus chain comes back to the grid
        QVERIFY(g.grid->hasFocus());
        QTest::keyClick(g.grid, Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(g.next->hasFocus());
    }
};

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CrossSurfaceInputTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "CrossSurfaceInputTest.moc"
