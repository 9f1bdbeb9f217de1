// Checking, revealing, recovering answers, the "rozwiązanie" and its strip,
// the answer key in the PDF and ipuz in the real window.

#include "../dialogs/DialogTestUtil.h"
#include "WindowBench.h"

#include "core/Cp1250.h"
#include "documents/CrossSolution.h"

#include <QDockWidget>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QTreeWidget>

#include <map>
#include <tuple>

using namespace mz;
using namespace mz::test;

namespace {

// 5 x 3, every row and column word with its answer:
//   K O T E K      across 1 KOTEK, 5 RYBAK
//   A * A * O      down   2 KAR, 3 TAB, 4 KOK
//   R Y B A K
const char* const Solution[3] = {"KOTEK", "A*A*O", "RYBAK"};

TCrossTXT Kotek(bool answers)
{
    TCrossTXT doc = TWindowBench::Blank(5, 3);
    doc.SetCell(2, 2, '*');
    doc.SetCell(4, 2, '*');
    struct {
        int Col, Row;
        bool Horizontal;
        const char* Clue;
        const char* Answer;
    } const words[] = {{1, 1, true, "mały kot", "KOTEK"},
                       {1, 1, false, "kara dawniej", "KAR"},
                       {3, 1, false, "tabulator", "TAB"},
                       {5, 1, false, "fryzura", "KOK"},
                       {1, 3, true, "łowi ryby", "RYBAK"}};
    for (const auto& w : words) {
        TExpl e;
        e.Col = w.Col;
        e.Row = w.Row;
        e.Horizontal = w.Horizontal;
        e.Explanation = Utf8ToCp1250(w.Clue);
        if (answers)
            e.Answer = w.Answer;
        doc.AddExpl(e);
    }
    return doc;
}

QString PdfText(const QString& pdf)
{
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"),
               {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    if (!tool.waitForFinished(30000))
        return QString();
    return QString::fromUtf8(tool.readAllStandardOutput());
}

// Pixels of the cell's picture on the grid close to the colour.
int PixelsLike(TCrossSurface& grid, int col, int row, QColor colour)
{
    const int w = grid.CellImageWidth();
    const int h = grid.CellImageHeight();
    const int b = In(grid).Border();
    int count = 0;
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y) {
            const QColor p = In(grid).GridImage().pixelColor((col - 1) * (w + b) + b + x, (row - 1) * (h + b) + b + y);
            if (std::abs(p.red() - colour.red()) + std::abs(p.green() - colour.green())
                    + std::abs(p.blue() - colour.blue())
                < 60)
                ++count;
        }
    return count;
}

const QColor WrongRed(220, 20, 20);
const QColor RevealedBlue(30, 90, 210);

} // namespace

class MainFormSolutionTest : public QObject {
    Q_OBJECT

    QString SaveKotek(TWindowBench& bench, bool answers, const QString& name = QStringLiteral("kotek.krz"))
    {
        const QString path = bench.Dir + QStringLiteral("Krzyżówki/") + name;
        Kotek(answers).SaveToFile(path.toStdString());
        return path;
    }

    // The window, active, so its shortcuts reach it.
    static std::unique_ptr<TMainForm> Started(TWindowBench& bench)
    {
        auto form = bench.Start();
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form.get()))
            qWarning("the window did not become active");
        return form;
    }

    static void GoTo(TMainForm& form, int col, int row)
    {
        TCrossSurface* grid = Grid(form, "CrossVC");
        const bool across = grid->WriteDir() == TDirection::Across;
        QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
        for (int c = 1; c < col; ++c)
            QTest::keyClick(grid, Qt::Key_Right);
        for (int r = 1; r < row; ++r)
            QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(grid->CurrCol(), col);
        QCOMPARE(grid->CurrRow(), row);
        // The arrows may have turned the direction on the way; the one before is kept where it has a word.
        if (ExplNumberAt(CrossWord(form), col, row, across) != 0)
            Action(form, across ? "WriteHoriz" : "WriteVert")->trigger();
    }

    static QString Row(const TMainForm& form, int row)
    {
        QString text;
        for (int c = 1; c <= CrossWord(form).ColCount(); ++c)
            text += QChar::fromLatin1(static_cast<char>(CrossWord(form).GetCell(c, row)));
        return text;
    }

private slots:
    void checkingMarksTheWrongLettersUntilTheUserTypesThere()
    {
        TWindowBench bench;
        auto form = Started(bench);
        form->OpenFile(SaveKotek(bench, true));
        TCrossSurface* grid = Grid(*form, "CrossVC");
        GoTo(*form, 1, 1);
        QTest::keyClicks(grid, QStringLiteral("kitak"));
        TMessageLog boxes([](const QString&) { return QStringLiteral("OK"); });

        // The word under the cursor: I and A are wrong; the down words are not checked yet.
        GoTo(*form, 1, 3);
        QTest::keyClicks(grid, QStringLiteral("rubak"));
        GoTo(*form, 1, 1);
        // The last letter of RYBAK took the cursor on to the down words.
        Action(*form, "WriteHoriz")->trigger();
        QTest::keyClick(grid, Qt::Key_F5);
        QVERIFY(In(grid).CellMarkedWrong(2, 1) && In(grid).CellMarkedWrong(4, 1));
        QVERIFY(!In(grid).CellMarkedWrong(1, 1) && !In(grid).CellMarkedWrong(2, 3));
        QVERIFY(PixelsLike(*grid, 2, 1, WrongRed) > 3);
        QCOMPARE(PixelsLike(*grid, 1, 1, WrongRed), 0);

        Action(*form, "Solution_CheckAll")->trigger();
        QVERIFY(In(grid).CellMarkedWrong(2, 3));
        // Typing there again takes the mark away, even the same wrong letter.
        GoTo(*form, 2, 1);
        QTest::keyClicks(grid, QStringLiteral("i"));
        QVERIFY(!In(grid).CellMarkedWrong(2, 1));
        QCOMPARE(PixelsLike(*grid, 2, 1, WrongRed), 0);
        QVERIFY(In(grid).CellMarkedWrong(4, 1));
        QVERIFY(boxes.Texts.isEmpty());

        // A word without wrong letters says so.
        GoTo(*form, 1, 3);
        QTest::keyClicks(grid, QStringLiteral("rybak"));
        GoTo(*form, 1, 3);
        Action(*form, "Solution_CheckWord")->trigger();
        QTRY_COMPARE(boxes.Texts, QStringList({QStringLiteral("W tym haśle nie ma błędnych liter.")}));
    }

    void revealedLettersAreDrawnApartAndSavedAsOrdinaryLetters()
    {
        TWindowBench bench;
        auto form = Started(bench);
        const QString path = SaveKotek(bench, true);
        form->OpenFile(path);
        TCrossSurface* grid = Grid(*form, "CrossVC");
        GoTo(*form, 3, 3);
        QTest::keyClick(grid, Qt::Key_F6);
        QCOMPARE(Row(*form, 3), QStringLiteral("  B  "));
        QVERIFY(CrossWord(*form).IsRevealed(3, 3));
        QVERIFY(PixelsLike(*grid, 3, 3, RevealedBlue) > 3);
        QCOMPARE(PixelsLike(*grid, 2, 3, RevealedBlue), 0);

        // The word under the cursor in the writing direction, then the other one.
        Action(*form, "Solution_RevealWord")->trigger();
        QCOMPARE(Row(*form, 3), QStringLiteral("RYBAK"));
        Action(*form, "WriteVert")->trigger();
        GoTo(*form, 5, 1);
        Action(*form, "Solution_RevealWord")->trigger();
        QCOMPARE(Row(*form, 1), QStringLiteral("    K"));
        QCOMPARE(Row(*form, 2), QStringLiteral(" * *O"));

        // "Pokaż rozwiązanie" asks first; No changes nothing.
        QStringList answers{QStringLiteral("No"), QStringLiteral("Yes")};
        TMessageLog boxes([&](const QString&) { return answers.takeFirst(); });
        Action(*form, "Solution_ShowAll")->trigger();
        QCOMPARE(Row(*form, 1), QStringLiteral("    K"));
        Action(*form, "Solution_ShowAll")->trigger();
        QCOMPARE(boxes.Texts.size(), 2);
        QVERIFY(boxes.Texts[0].startsWith(QStringLiteral("Czy pokazać całe rozwiązanie?")));
        for (int r = 1; r <= 3; ++r)
            QCOMPARE(Row(*form, r), QString::fromLatin1(Solution[r - 1]));
        // Revealing all is no reason for congratulations.
        QTest::qWait(20);
        QCOMPARE(boxes.Texts.size(), 2);

        Action(*form, "CrossWord_Save")->trigger();
        TCrossTXT saved;
        saved.LoadFromFile(path.toStdString());
        QCOMPARE(saved.GetCell(2, 1), static_cast<unsigned char>('O'));
        QVERIFY(saved.RevealedCells().empty());
    }

    void typingTheLastCorrectLetterCongratulates()
    {
        TWindowBench bench;
        auto form = Started(bench);
        form->OpenFile(SaveKotek(bench, true));
        TCrossSurface* grid = Grid(*form, "CrossVC");
        TMessageLog boxes([](const QString&) { return QStringLiteral("OK"); });
        GoTo(*form, 1, 1);
        QTest::keyClicks(grid, QStringLiteral("kotek"));
        GoTo(*form, 1, 3);
        QTest::keyClicks(grid, QStringLiteral("rybak"));
        GoTo(*form, 1, 2);
        QTest::keyClicks(grid, QStringLiteral("a"));
        GoTo(*form, 3, 2);
        QTest::keyClicks(grid, QStringLiteral("a"));
        QTest::qWait(20);
        QVERIFY(boxes.Texts.isEmpty());
        GoTo(*form, 5, 2);
        QTest::keyClicks(grid, QStringLiteral("o"));
        QTRY_COMPARE(boxes.Texts, QStringList({QStringLiteral("Gratulacje! Krzyżówka rozwiązana bezbłędnie.")}));
    }

    // A solver's walk through the clue list beside the grid and the cursor.
    void solvingThroughTheClueListAndTheCursor()
    {
        TWindowBench bench;
        auto form = Started(bench);
        form->OpenFile(SaveKotek(bench, true));
        TCrossSurface* grid = Grid(*form, "CrossVC");
        auto* dock = Part<QDockWidget>(*form, "ClueDock");
        auto* tree = Part<QTreeWidget>(*form, "ClueTree");
        QVERIFY(dock->isVisible());
        auto texts = [tree](int heading) {
            QStringList list;
            for (int i = 0; i < tree->topLevelItem(heading)->childCount(); ++i)
                list << tree->topLevelItem(heading)->child(i)->text(0);
            return list;
        };
        QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("Poziomo"));
        QCOMPARE(texts(0), QStringList({QStringLiteral("1. mały kot (5)"), QStringLiteral("4. łowi ryby (5)")}));
        QCOMPARE(tree->topLevelItem(1)->text(0), QStringLiteral("Pionowo"));
        QCOMPARE(texts(1),
                 QStringList({QStringLiteral("1. kara dawniej (3)"), QStringLiteral("2. tabulator (3)"),
                              QStringLiteral("3. fryzura (3)")}));
        QTreeWidgetItem* rybak = tree->topLevelItem(0)->child(1);
        QTreeWidgetItem* kar = tree->topLevelItem(1)->child(0);
        const QColor current(255, 205, 70);

        // A click on a clue puts the cursor on its word, ready to type.
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(rybak).center());
        QCOMPARE(QPoint(grid->CurrCol(), grid->CurrRow()), QPoint(1, 3));
        QCOMPARE(grid->WriteDir(), TDirection::Across);
        QVERIFY(grid->hasFocus());
        QCOMPARE(rybak->background(0).color(), current);
        QVERIFY(Action(*form, "Clue_Play")->isEnabled());
        QVERIFY(!rybak->icon(0).isNull());

        // The cursor's cell is solid and the word around it tinted, without blinking.
        const QImage shot = grid->grab().toImage();
        const int cell = grid->CellImageWidth();
        auto near = [](QColor a, QColor b) {
            return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) < 40;
        };
        QVERIFY(near(shot.pixelColor(QPoint(cell / 2, 2 * cell + 4) * grid->devicePixelRatio()), current));
        QVERIFY(near(shot.pixelColor(QPoint(3 * cell + 4, 2 * cell + 4) * grid->devicePixelRatio()),
                     QColor(175, 210, 255)));
        QCOMPARE(shot.pixelColor(QPoint(1, 2 * cell + cell / 2) * grid->devicePixelRatio()), QColor(0, 45, 150));

        // After the word's last letter the cursor goes on to the next word with an empty cell, down.
        QTest::keyClicks(grid, QStringLiteral("rybak"));
        QCOMPARE(Row(*form, 3), QStringLiteral("RYBAK"));
        QCOMPARE(QPoint(grid->CurrCol(), grid->CurrRow()), QPoint(1, 1));
        QCOMPARE(grid->WriteDir(), TDirection::Down);
        QVERIFY(Action(*form, "WriteVert")->isChecked());
        QCOMPARE(kar->background(0).color(), current);
        QTRY_COMPARE(rybak->foreground(0).color(), QColor(120, 120, 120));
        QCOMPARE(form->windowTitle(), QStringLiteral("kotek.krz* - Mirakolnik Zodevidar"));
        QTest::keyClicks(grid, QStringLiteral("ka"));
        QCOMPARE(QPoint(grid->CurrCol(), grid->CurrRow()), QPoint(1, 3));

        // Alt+Backspace takes the letters back one by one (Ctrl+Z types Ż).
        QTest::keyClick(grid, Qt::Key_Backspace, Qt::AltModifier);
        QCOMPARE(CrossWord(*form).GetCell(1, 2), ' ');
        QCOMPARE(QPoint(grid->CurrCol(), grid->CurrRow()), QPoint(1, 2));
        QCOMPARE(Action(*form, "Solution_Undo")->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Backspace));

        // A cell of an across word only turns the direction; a second click on a crossing cell turns it back.
        auto click = [grid, cell](int col, int row) {
            QTest::mouseClick(grid, Qt::LeftButton, {},
                              QPoint((col - 1) * cell + cell / 2, (row - 1) * cell + cell / 2));
        };
        click(2, 1);
        QCOMPARE(grid->WriteDir(), TDirection::Across);
        QCOMPARE(tree->topLevelItem(0)->child(0)->background(0).color(), current);
        click(2, 1);
        QCOMPARE(grid->WriteDir(), TDirection::Across);
        click(3, 1);
        QCOMPARE(grid->WriteDir(), TDirection::Across);
        click(3, 1);
        QCOMPARE(grid->WriteDir(), TDirection::Down);
        QCOMPARE(tree->topLevelItem(1)->child(1)->background(0).color(), current);

        // "Pokaż rozwiązanie", then a letter taken out and typed again: no congratulation.
        {
            TMessageLog boxes([](const QString&) { return QStringLiteral("Yes"); });
            Action(*form, "Solution_ShowAll")->trigger();
            QTRY_COMPARE(boxes.Texts.size(), 1);
            QTest::keyClick(grid, Qt::Key_Delete);
            QTest::keyClicks(grid, QStringLiteral("t"));
            QTest::qWait(50);
            QCOMPARE(boxes.Texts.size(), 1);
        }

        // The list follows the zoom, and can be hidden; the window remembers it.
        const int plainWidth = dock->width();
        Action(*form, "ZoomIn")->trigger();
        QVERIFY(tree->font().pointSizeF() > QApplication::font().pointSizeF());
        QTRY_VERIFY(dock->width() > plainWidth);
        const int withList = form->width();
        Action(*form, "ClueListShown")->trigger();
        QVERIFY(dock->isHidden());
        QTRY_VERIFY(form->width() < withList);
        CrossWordDoc(*form).SetModified(false);
        form.reset();
        QCOMPARE(bench.StoredSetting(QStringLiteral("ClueListShown")), QStringLiteral("0"));
        form = Started(bench);
        QVERIFY(Part<QDockWidget>(*form, "ClueDock")->isHidden());
        QVERIFY(!Action(*form, "ClueListShown")->isChecked());

        // With MZ_PICTURES_DIR set, pictures of the shipped crossword being solved are left there.
        if (const QString pictures = qEnvironmentVariable("MZ_PICTURES_DIR"); !pictures.isEmpty()) {
            Action(*form, "ClueListShown")->trigger();
            form->OpenFile(BuiltProgramDir + QStringLiteral("Krzyżówki/K_0231.krz"));
            auto* list = Part<QTreeWidget>(*form, "ClueTree");
            QTreeWidgetItem* clue = list->topLevelItem(0)->child(3);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(clue).center());
            QTest::keyClicks(Grid(*form, "CrossVC"), QStringLiteral("ka"));
            QVERIFY(form->grab().save(pictures + QStringLiteral("/clue-list.png"), "PNG"));
            QVERIFY(Grid(*form, "CrossVC")->grab().save(pictures + QStringLiteral("/cursor.png"), "PNG"));
        }
    }

    void withoutAnswersTheCommandsAreDisabledWithTheReason()
    {
        TWindowBench bench;
        auto form = Started(bench);
        form->OpenFile(SaveKotek(bench, false));
        for (const char* name : {"Solution_CheckWord", "Solution_CheckAll", "Solution_RevealLetter",
                                 "Solution_RevealWord", "Solution_ShowAll", "Solution_CreatePhrase"}) {
            QVERIFY2(!Action(*form, name)->isEnabled(), name);
            QVERIFY(Action(*form, name)->toolTip().contains(QStringLiteral("nie ma zapisanych odpowiedzi")));
            QCOMPARE(Action(*form, name)->statusTip(), Action(*form, name)->toolTip());
        }
        QVERIFY(Action(*form, "Solution_Recover")->isEnabled());
        // The shortcut of a disabled command does nothing.
        QTest::keyClick(Grid(*form, "CrossVC"), Qt::Key_F6);
        QCOMPARE(Row(*form, 1), QStringLiteral("     "));

        form->OpenFile(SaveKotek(bench, true, QStringLiteral("z.krz")));
        QVERIFY(Action(*form, "Solution_CheckAll")->isEnabled());
        QCOMPARE(Action(*form, "Solution_CheckAll")->toolTip(),
                 QStringLiteral("Zaznacza błędne litery całej krzyżówki"));
        QVERIFY(!Action(*form, "Solution_Recover")->isEnabled());
        QCOMPARE(Action(*form, "Solution_Recover")->toolTip(),
                 QStringLiteral("Wszystkie odpowiedzi krzyżówki są znane."));
        // The shortcuts leave Ctrl with a letter to the Polish letters.
        for (QAction* a : Menu(*form, "Solution")->actions())
            QVERIFY(!(a->shortcut()[0].keyboardModifiers() & Qt::ControlModifier));
    }

    void answersComeBackFromTheWordDatabase()
    {
        TWindowBench bench;
        auto form = Started(bench);
        TMessageLog boxes([](const QString& text) {
            return text.startsWith(QStringLiteral("Odtworzono")) ? QStringLiteral("OK") : QStringLiteral("Yes");
        });
        Action(*form, "CrossWord_New")->trigger();
        QVERIFY(TWindowBench::WaitIdle(*form));
        const TCrossTXT composed = CrossWord(*form);
        QVERIFY(composed.ExplCount() > 0 && HasAnswers(composed));

        TCrossTXT stripped = composed;
        for (int n = 1; n <= stripped.ExplCount(); ++n) {
            TExpl e = stripped.GetExpl(n);
            e.Answer.clear();
            stripped.SetExpl(n, e);
        }
        const QString path = bench.Dir + QStringLiteral("bez.krz");
        stripped.SaveToFile(path.toStdString());
        form->OpenFile(path);
        QVERIFY(!Action(*form, "Solution_CheckAll")->isEnabled());
        QVERIFY(Action(*form, "Solution_Recover")->isEnabled());
        Action(*form, "Solution_Recover")->trigger();
        QVERIFY2(!boxes.Texts.isEmpty(), qPrintable(QString::number(CrossWord(*form).ExplCount())));
        QCOMPARE(boxes.Texts.last(),
                 QStringLiteral("Odtworzono odpowiedzi: %1 z %1 brakujących.").arg(composed.ExplCount()));
        // Numbers may change on saving; the words are told by their first cell and direction.
        std::map<std::tuple<int, int, bool>, std::string> expected;
        for (int n = 1; n <= composed.ExplCount(); ++n) {
            const TExpl e = composed.GetExpl(n);
            expected[std::make_tuple(e.Col, e.Row, e.Horizontal)] = e.Answer;
        }
        for (int n = 1; n <= CrossWord(*form).ExplCount(); ++n) {
            const TExpl e = CrossWord(*form).GetExpl(n);
            QCOMPARE(e.Answer, expected[std::make_tuple(e.Col, e.Row, e.Horizontal)]);
        }
        QVERIFY(Action(*form, "Solution_CheckAll")->isEnabled());
        QVERIFY(CrossWord(*form).Modified);
    }

    void thePhraseNumbersItsCellsAndTheStripFillsAsTheUserTypes()
    {
        TWindowBench bench;
        auto form = Started(bench);
        const QString path = SaveKotek(bench, true);
        form->OpenFile(path);
        TCrossSurface* grid = Grid(*form, "CrossVC");
        QLabel* strip = Label(*form, "PhraseStrip");
        QVERIFY(!strip->isVisible());
        const int heightBefore = Client(*form)->height();

        // A phrase the crossword cannot spell: the core's message, nothing changes.
        TMessageLog boxes([](const QString&) { return QStringLiteral("OK"); });
        auto type = [&](const QString& phrase) {
            WhenModalOpens([phrase](QWidget* modal) {
                Child<QLineEdit>(*modal, "PhraseEdit")->setText(phrase);
                Child<QPushButton>(*modal, "PhraseOk")->click();
            });
            Action(*form, "Solution_CreatePhrase")->trigger();
        };
        type(QStringLiteral("żaba"));
        QCOMPARE(boxes.Texts.size(), 1);
        QVERIFY(boxes.Texts[0].startsWith(QStringLiteral("Nie można ułożyć rozwiązania „ŻABA”")));
        // The long message is wrapped into lines a box can show.
        const QStringList lines = boxes.Texts[0].split(QLatin1Char('\n'));
        QVERIFY(lines.size() > 1);
        for (const QString& line : lines)
            QVERIFY2(line.size() <= 60, qPrintable(line));
        QVERIFY(CrossWord(*form).Phrase().Cells.empty());
        QVERIFY(!CrossWord(*form).Modified);

        type(QStringLiteral("  brak "));
        QCOMPARE(QString::fromStdString(CrossWord(*form).Phrase().Text), QStringLiteral("BRAK"));
        QCOMPARE(CrossWord(*form).Phrase().Cells.size(), size_t(4));
        QCOMPARE(strip->text(), QStringLiteral("Rozwiązanie: _ _ _ _"));
        QVERIFY(strip->isVisible());
        QCOMPARE(Client(*form)->height(), heightBefore + 24);
        QVERIFY(OnClient(*form, strip).top() >= grid->geometry().bottom());
        QVERIFY(OnClient(*form, Label(*form, "Expl_Label")).top() >= OnClient(*form, strip).bottom());

        // Every numbered cell shows its number; typing its letter fills the strip.
        const TCellPos b = CrossWord(*form).Phrase().Cells[0];
        QCOMPARE(PhraseNumberAt(CrossWord(*form), b.Col, b.Row), 1);
        const QImage before = In(grid).GridImage().copy();
        CrossWordDoc(*form).SetCell(b.Col, b.Row, 'B');
        QCOMPARE(strip->text(), QStringLiteral("Rozwiązanie: B _ _ _"));
        const TCellPos k = CrossWord(*form).Phrase().Cells[3];
        GoTo(*form, k.Col, k.Row);
        QTest::keyClicks(grid, QStringLiteral("k"));
        QCOMPARE(strip->text(), QStringLiteral("Rozwiązanie: B _ _ K"));
        Q_UNUSED(before);

        // Saved with the crossword, shown again when it is opened.
        Action(*form, "CrossWord_Save")->trigger();
        form->OpenFile(SaveKotek(bench, true, QStringLiteral("inna.krz")));
        QVERIFY(!strip->isVisible());
        QCOMPARE(Client(*form)->height(), heightBefore);
        form->OpenFile(path);
        QCOMPARE(strip->text(), QStringLiteral("Rozwiązanie: B _ _ K"));
        QVERIFY(strip->isVisible());
    }

    void theProgramPicksAWordOfSixToTwelveLetters()
    {
        TWindowBench bench;
        auto form = Started(bench);
        TMessageLog boxes([](const QString&) { return QStringLiteral("Yes"); });
        Action(*form, "CrossWord_New")->trigger();
        QVERIFY(TWindowBench::WaitIdle(*form));
        QString picked;
        WhenModalOpens([&](QWidget* modal) {
            Child<QPushButton>(*modal, "PickPhraseWord")->click();
            picked = Child<QLineEdit>(*modal, "PhraseEdit")->text();
            Child<QPushButton>(*modal, "PhraseOk")->click();
        });
        Action(*form, "Solution_CreatePhrase")->trigger();
        QVERIFY2(picked.size() >= 6 && picked.size() <= 12, qPrintable(picked));
        QCOMPARE(QString::fromStdString(Cp1250ToUtf8(CrossWord(*form).Phrase().Text)), picked);
        QCOMPARE(CrossWord(*form).Phrase().Cells.size(), size_t(picked.size()));
    }

    void afterComposingThePhraseIsOfferedWhenAskedFor()
    {
        TWindowBench bench;
        auto form = Started(bench);
        TMessageLog boxes([](const QString&) { return QStringLiteral("Yes"); });
        Action(*form, "Solution_PhraseAfterCompose")->setChecked(true);
        // The phrase dialog, answered when it opens.
        bool offered = false;
        QTimer watch;
        watch.setInterval(5);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (offered || !modal || modal->objectName() != QStringLiteral("PhraseDialog"))
                return;
            offered = true;
            Child<QPushButton>(*modal, "PickPhraseWord")->click();
            Child<QPushButton>(*modal, "PhraseOk")->click();
        });
        watch.start();
        Action(*form, "CrossWord_New")->trigger();
        QVERIFY(TWindowBench::WaitIdle(*form));
        QTRY_VERIFY(offered);
        QTRY_VERIFY(!CrossWord(*form).Phrase().Cells.empty());
        QVERIFY(Label(*form, "PhraseStrip")->isVisible());
    }

    void thePdfCarriesTheAnswerKeyWhenAskedFor()
    {
        TWindowBench bench;
        auto form = Started(bench);
        form->OpenFile(SaveKotek(bench, true));
        const QString pdf = bench.Dir + QStringLiteral("kotek.pdf");
        bool offered = false;
        form->SetFileDialogHook([&](TFileDialogRequest& request) {
            offered = request.Option == QStringLiteral("Dołącz rozwiązanie");
            request.OptionChecked = true;
            return pdf;
        });
        Action(*form, "CrossWord_ExportAsPdf")->trigger();
        QVERIFY(offered);
        const QString withKey = PdfText(pdf);
        QVERIFY2(withKey.contains(QStringLiteral("Odpowiedzi")) && withKey.contains(QStringLiteral("RYBAK")),
                 qPrintable(withKey));

        // The choice is kept for the next time; without answers nothing is offered.
        bool keptChecked = false;
        form->SetFileDialogHook([&](TFileDialogRequest& request) {
            keptChecked = request.OptionChecked;
            request.OptionChecked = false;
            return pdf;
        });
        Action(*form, "CrossWord_ExportAsPdf")->trigger();
        QVERIFY(keptChecked);
        QVERIFY(!PdfText(pdf).contains(QStringLiteral("RYBAK")));
        form->OpenFile(SaveKotek(bench, false, QStringLiteral("bez.krz")));
        form->SetFileDialogHook([&](TFileDialogRequest& request) {
            offered = !request.Option.isEmpty();
            return pdf;
        });
        Action(*form, "CrossWord_ExportAsPdf")->trigger();
        QVERIFY(!offered);
    }

    void ipuzIsExportedOpenedAndRefusedWithTheReason()
    {
        TWindowBench bench;
        auto form = Started(bench);
        TCrossTXT withPhrase = Kotek(true);
        withPhrase.SetPhrase(TPhrase{"BRAK", {{3, 3}, {1, 3}, {4, 3}, {5, 3}}});
        const QString krz = bench.Dir + QStringLiteral("Krzyżówki/fraza.krz");
        withPhrase.SaveToFile(krz.toStdString());
        form->OpenFile(krz);

        const QString ipuz = bench.Dir + QStringLiteral("kotek.ipuz");
        QString filter;
        form->SetFileDialogHook([&](TFileDialogRequest& request) {
            filter = request.Filter;
            return ipuz;
        });
        Action(*form, "CrossWord_ExportAsIpuz")->trigger();
        QVERIFY(filter.startsWith(QStringLiteral("Pliki ipuz|*.ipuz")));
        QFile file(ipuz);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("\"Across\": ["));

        // Opened again (dialog, then dropped) it is the same crossword, phrase and all.
        form->OpenFile(bench.CrossPath());
        form->SetFileDialogHook([&](TFileDialogRequest& request) {
            filter = request.Filter;
            return ipuz;
        });
        Action(*form, "CrossWord_Open")->trigger();
        QVERIFY(filter.contains(QStringLiteral("Pliki ipuz|*.ipuz")));
        QCOMPARE(CrossWord(*form).ColCount(), 5);
        QCOMPARE(CrossWord(*form).ExplCount(), 5);
        QCOMPARE(CrossWord(*form).GetExpl(ExplNumberAt(CrossWord(*form), 1, 3, true)).Answer, std::string("RYBAK"));
        QCOMPARE(CrossWord(*form).Phrase(), withPhrase.Phrase());
        QVERIFY(Label(*form, "PhraseStrip")->isVisible());

        form->OpenFile(bench.CrossPath());
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(ipuz)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Client(*form), &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Client(*form), &drop);
        QCOMPARE(QString::fromStdString(CrossWord(*form).FileName), ipuz);

        // A kind the program cannot show: the reason, and the crossword on screen stays.
        const QString sudoku = bench.Dir + QStringLiteral("inne.ipuz");
        QFile bad(sudoku);
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("{\"version\":\"http://ipuz.org/v2\",\"kind\":[\"http://ipuz.org/sudoku#1\"],"
                  "\"dimensions\":{\"width\":4,\"height\":4},"
                  "\"puzzle\":[[0,0,0,0],[0,0,0,0],[0,0,0,0],[0,0,0,0]]}");
        bad.close();
        TMessageLog boxes([](const QString&) { return QStringLiteral("OK"); });
        form->OpenFile(sudoku);
        QCOMPARE(boxes.Texts.size(), 1);
        QVERIFY2(!boxes.Texts[0].startsWith(QStringLiteral("Wystąpił błąd podczas ładowania")),
                 qPrintable(boxes.Texts[0]));
        QVERIFY2(boxes.Texts[0].contains(QStringLiteral("http://ipuz.org/sudoku#1")), qPrintable(boxes.Texts[0]));
        QCOMPARE(QString::fromStdString(CrossWord(*form).FileName), ipuz);
    }
    // The web page: the sounds offered with their size and embedded only on request, never over the crossword.
    void webPageIsExportedWithItsSoundsOnRequestAndNeverOverTheCrossword()
    {
        TWindowBench bench;
        auto form = Started(bench);
        QFile sound(bench.Dir + QStringLiteral("Audio/kot.wav"));
        QVERIFY(sound.open(QIODevice::WriteOnly));
        sound.write(QByteArray(3000, 'x'));
        sound.close();
        TCrossTXT doc = Kotek(true);
        for (int n = 1; n <= doc.ExplCount(); ++n) {
            TExpl expl = doc.GetExpl(n);
            expl.Audio = "kot.wav";
            doc.SetExpl(n, expl);
        }
        const QString krz = bench.Dir + QStringLiteral("Krzyżówki/głos.krz");
        doc.SaveToFile(krz.toStdString());
        form->OpenFile(krz);

        const QString html = bench.Dir + QStringLiteral("głos.html");
        const auto exported = [&](bool withSounds, const QString& target) {
            TFileDialogRequest asked;
            form->SetFileDialogHook([&](TFileDialogRequest& request) {
                asked = request;
                request.OptionChecked = withSounds;
                return target;
            });
            Action(*form, "CrossWord_ExportAsWebPage")->trigger();
            return asked;
        };
        const auto page = [&] {
            QFile file(html);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const TFileDialogRequest asked = exported(true, html);
        QCOMPARE(asked.Filter, QStringLiteral("Strony WWW|*.html|Wszystkie pliki|*.*"));
        QCOMPARE(asked.FileName, QStringLiteral("głos"));
        QCOMPARE(asked.Option, QStringLiteral("Dołącz dźwięki haseł (1 plik, 4 kB)"));
        QVERIFY(page().startsWith("<!DOCTYPE html>"));
        QCOMPARE(page().count("data:audio/wav;base64,"), 1);
        exported(false, html);
        QVERIFY(page().contains("\"across\""));
        QVERIFY(!page().contains("data:audio"));

        QFile original(krz);
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray before = original.readAll();
        original.close();
        TMessageLog boxes([](const QString&) { return QStringLiteral("OK"); });
        exported(false, krz);
        QCOMPARE(boxes.Texts.size(), 1);
        QVERIFY2(boxes.Texts[0].contains(QStringLiteral("tym samym plikiem")), qPrintable(boxes.Texts[0]));
        QVERIFY(original.open(QIODevice::ReadOnly));
        QCOMPARE(original.readAll(), before);
    }
};

QTEST_MAIN(MainFormSolutionTest)
#include "MainFormSolutionTest.moc"
