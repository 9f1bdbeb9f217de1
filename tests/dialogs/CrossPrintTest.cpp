#include "dialogs/CrossPrint.h"

#include "core/Cp1250.h"
#include "core/Error.h"
#include "documents/CrossSolution.h"
#include "documents/CrossTXT.h"

#include "DialogTestUtil.h"

#include <QCheckBox>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QTranslator>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include <string>
#include <vector>

using namespace mz;

namespace {

struct TClue {
    int Col;
    int Row;
    bool Horizontal;
    const char* Text; // UTF-8
};

// A crossword from rows of cells ('*' block, anything else an open square)
// and its clues, numbered in the order given.
void Fill(TCrossTXT& doc, const std::vector<std::string>& rows, const std::vector<TClue>& clues)
{
    doc.SetColCount(int(rows.front().size()));
    doc.SetRowCount(int(rows.size()));
    for (int row = 1; row <= int(rows.size()); ++row)
        for (int col = 1; col <= int(rows.front().size()); ++col)
            doc.SetCell(col, row, rows[row - 1][col - 1] == '*' ? '*' : ' ');
    for (const TClue& clue : clues) {
        TExpl expl;
        expl.Col = clue.Col;
        expl.Row = clue.Row;
        expl.Horizontal = clue.Horizontal;
        expl.Explanation = Utf8ToCp1250(clue.Text);
        doc.AddExpl(expl);
    }
}

const std::vector<std::string> SmallGrid = {
    "KOT*A",
    "A*RAK",
    "SOK*T",
    "A*ALE",
};

const std::vector<TClue> SmallClues = {
    {1, 1, true, "Domowy łowca myszy"},
    {3, 2, true, "Skorupiak z nożycami"},
    {1, 3, true, "Napój z owoców"},
    {1, 1, false, "Skrzynia na pieniądze"},
    {5, 1, false, "Dokument urzędowy, źródło wiedzy o sprawie"},
    {3, 2, false, "Żółty kwiat łąk"},
};

// The same crossword with its answers read off SmallGrid.
TCrossTXT Answered()
{
    TCrossTXT doc;
    Fill(doc, SmallGrid, SmallClues);
    for (int n = 1; n <= doc.ExplCount(); ++n) {
        TExpl expl = doc.GetExpl(n);
        for (const TCellPos& cell : WordCells(doc, expl))
            expl.Answer.push_back(SmallGrid[cell.Row - 1][cell.Col - 1]);
        doc.SetExpl(n, expl);
    }
    doc.FileName = "/k/K_0009.krz";
    return doc;
}

QString RunTool(const QString& tool, const QStringList& arguments)
{
    const QString path = QStandardPaths::findExecutable(tool);
    if (path.isEmpty())
        qFatal("%s (poppler-utils) is needed to read the printed PDF", qPrintable(tool));
    QProcess process;
    process.start(path, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        qFatal("%s failed", qPrintable(tool));
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString PdfText(const QString& pdf, int page = 0)
{
    QStringList arguments;
    if (page > 0)
        arguments << "-f" << QString::number(page) << "-l" << QString::number(page);
    arguments << pdf << "-";
    return RunTool(QStringLiteral("pdftotext"), arguments);
}

int PdfPages(const QString& pdf)
{
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(RunTool(QStringLiteral("pdfinfo"), {pdf}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// A white A4 sheet at 100 dpi to paint a layout on.
QImage Sheet()
{
    QImage image(827, 1169, QImage::Format_RGB32);
    image.setDotsPerMeterX(3937);
    image.setDotsPerMeterY(3937);
    image.fill(Qt::white);
    return image;
}

TPrintOptions WithAnswerKey()
{
    TPrintOptions options;
    options.IncludeSolution = true;
    return options;
}

bool AllWhite(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 200)
                return false;
    return true;
}

} // namespace

class TestCrossPrint : public QObject {
    Q_OBJECT
private slots:
    void aPdfPrintoutHoldsEveryClueUnderItsHeadingWithItsNumber();
    void longClueListsContinueOnFurtherPagesWithoutLosingAClue();
    void aTemplatePrintsItsGridAloneWithoutNumbers();
    void wordStartsCarryOneNumberEachInReadingOrder();
    void theGridShowsBlocksFilledAndOpenSquaresEmpty();
    void aGridTooBigForThePageShrinksItsSquaresToFit();
    void aPdfThatCannotBeWrittenRaisesTheWriteError();
    void printingGoesThroughThePrintDialogToTheChosenPrinter();
    void cancellingThePrintDialogPrintsNothing();
    void exportingAsPdfOffersTheCrosswordNameAndWritesTheChosenFile();
    void writingAPdfReplacesAnExistingFile();
    void theTitleIsTheFileNameWithoutDirectoryOrExtension_data();
    void theTitleIsTheFileNameWithoutDirectoryOrExtension();
    void theAnswerKeyFollowsOnAFurtherPageWithTheFilledGridAndTheAnswersByNumber();
    void withoutAnswersOrForATemplateTheOptionChangesNothing();
    void theNumberedCellsAndTheEmptyStripOfTheRozwiazanieArePrinted();
    void thePrintAndPdfDialogsOfferTheAnswerKeyOnlyWhenThereAreAnswers();
    void aTeacherSetsTitleNameLineAndOnePageInThePrintDialog();
};

void TestCrossPrint::aPdfPrintoutHoldsEveryClueUnderItsHeadingWithItsNumber()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    TCrossTXT doc;
    Fill(doc, SmallGrid, SmallClues);
    doc.FileName = "/krzyżówki/K_0007.krz";
    const QString pdf = dir.filePath(QStringLiteral("wydruk.pdf"));
    SaveCrossWordAsPdf(doc, pdf);

    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(5) == "%PDF-");
    QCOMPARE(PdfPages(pdf), 1);

    const QString text = PdfText(pdf).simplified();
    QVERIFY2(text.contains(QStringLiteral("K_0007")), qPrintable(text));
    const qsizetype across = text.indexOf(QStringLiteral("Poziomo:"));
    const qsizetype down = text.indexOf(QStringLiteral("Pionowo:"));
    QVERIFY2(across >= 0 && down > across, qPrintable(text));
    // Across clues come under "Poziomo:", down clues under "Pionowo:", each led by its number.
    const int numbers[] = {1, 3, 4, 1, 2, 3};
    for (int i = 0; i < int(SmallClues.size()); ++i) {
        const QString clue = QString::fromUtf8(SmallClues[i].Text);
        const qsizetype at = text.indexOf(QStringLiteral("%1. %2").arg(numbers[i]).arg(clue));
        QVERIFY2(at >= 0, qPrintable(clue + " in: " + text));
        QVERIFY2(SmallClues[i].Horizontal ? (at > across && at < down) : at > down, qPrintable(clue));
    }
}

void TestCrossPrint::longClueListsContinueOnFurtherPagesWithoutLosingAClue()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    TCrossTXT doc;
    std::vector<std::string> rows(15, std::string(15, ' '));
    Fill(doc, rows, {});
    const int count = 90;
    for (int i = 1; i <= count; ++i) {
        TExpl expl;
        expl.Col = 1 + (i % 15);
        expl.Row = 1 + (i / 15) % 15;
        expl.Horizontal = i <= count / 2;
        expl.Explanation = "znacznik" + std::to_string(i)
            + " objaśnienie długie na tyle, że zawija się w kolumnie na kilka wierszy tekstu, "
              "a potem jeszcze trochę dalej";
        expl.Explanation = Utf8ToCp1250(expl.Explanation);
        doc.AddExpl(expl);
    }

    QImage sheet = Sheet();
    const TCrossPrintLayout layout(doc, QString(), &sheet, QSizeF(709, 1051));
    QVERIFY(layout.PageCount() >= 2);
    // Every clue is printed once, in number order, across all pages.
    QStringList numbers;
    for (int page = 0; page < layout.PageCount(); ++page)
        for (const QString& line : layout.PageText(page)) {
            const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("^(\\d+)\\. znacznik")).match(line);
            if (match.hasMatch())
                numbers << match.captured(1);
        }
    QStringList expected;
    for (int i = 1; i <= count; ++i)
        expected << QString::number(i);
    QCOMPARE(numbers, expected);

    const QString pdf = dir.filePath(QStringLiteral("długi.pdf"));
    SaveCrossWordAsPdf(doc, pdf);
    const int pages = PdfPages(pdf);
    QVERIFY(pages >= 2);
    QVERIFY(!PdfText(pdf, 1).contains(QStringLiteral("znacznik%1 ").arg(count)));
    QVERIFY(PdfText(pdf, pages).contains(QStringLiteral("znacznik%1 ").arg(count)));
    const QString all = PdfText(pdf);
    for (int i = 1; i <= count; ++i)
        QVERIFY2(all.count(QStringLiteral("znacznik%1 ").arg(i)) == 1, qPrintable(QString::number(i)));
}

void TestCrossPrint::aTemplatePrintsItsGridAloneWithoutNumbers()
{
    TCrossTXT doc;
    Fill(doc, SmallGrid, SmallClues);
    doc.Kind = 1;
    QImage sheet = Sheet();
    const TCrossPrintLayout layout(doc, QStringLiteral("Normal"), &sheet, QSizeF(709, 1051));
    QCOMPARE(layout.PageCount(), 1);
    QCOMPARE(layout.PageText(0), QStringList{QStringLiteral("Normal")});
    QCOMPARE(layout.CellLabel(1, 1), QString());
    QVERIFY(layout.GridRect().width() > 0);
}

void TestCrossPrint::wordStartsCarryOneNumberEachInReadingOrder()
{
    TCrossTXT doc;
    std::vector<TClue> clues = SmallClues;
    clues.push_back({9, 9, true, "poza siatką"});
    Fill(doc, SmallGrid, clues);
    QImage sheet = Sheet();
    const TCrossPrintLayout layout(doc, QString(), &sheet, QSizeF(709, 1051));
    QCOMPARE(layout.CellLabel(1, 1), QStringLiteral("1"));
    QCOMPARE(layout.CellLabel(5, 1), QStringLiteral("2"));
    QCOMPARE(layout.CellLabel(3, 2), QStringLiteral("3"));
    QCOMPARE(layout.CellLabel(1, 3), QStringLiteral("4"));
    QCOMPARE(layout.CellLabel(2, 1), QString());
    // The clues follow the numbers, not the order of the explanations; a word
    // outside the grid has no square to be solved in and is not printed.
    const QStringList text = layout.PageText(0);
    QCOMPARE(text.mid(text.indexOf(QStringLiteral("Poziomo:")), 4),
             QStringList({"Poziomo:", "1. Domowy łowca myszy", "3. Skorupiak z nożycami", "4. Napój z owoców"}));
    QVERIFY(!text.join(u' ').contains(QStringLiteral("poza siatką")));
}

void TestCrossPrint::theGridShowsBlocksFilledAndOpenSquaresEmpty()
{
    TCrossTXT doc;
    Fill(doc, SmallGrid, SmallClues);
    doc.SetCell(2, 1, 'O'); // a letter the solver typed is not printed
    QImage sheet = Sheet();
    const TCrossPrintLayout layout(doc, QString(), &sheet, QSizeF(sheet.size()));
    {
        QPainter painter(&sheet);
        layout.PaintPage(painter, 0);
    }
    const double cell = layout.CellSize();
    QVERIFY(cell > 20);
    for (int row = 1; row <= int(SmallGrid.size()); ++row) {
        for (int col = 1; col <= int(SmallGrid[0].size()); ++col) {
            const QPointF corner = layout.GridRect().topLeft() + QPointF((col - 1) * cell, (row - 1) * cell);
            // The lower right part of a square holds neither its frame nor its number.
            const QRect inner =
                QRectF(corner + QPointF(cell * 0.45, cell * 0.45), QSizeF(cell * 0.4, cell * 0.4)).toRect();
            if (SmallGrid[row - 1][col - 1] == '*')
                QVERIFY2(qGray(sheet.pixel(inner.center())) < 60,
                         qPrintable(QStringLiteral("%1,%2").arg(col).arg(row)));
            else
                QVERIFY2(AllWhite(sheet, inner), qPrintable(QStringLiteral("%1,%2").arg(col).arg(row)));
        }
    }
    // A numbered square shows ink in its upper left corner, an unnumbered one does not.
    auto corner = [&](int col, int row) {
        const QPointF at = layout.GridRect().topLeft() + QPointF((col - 1) * cell, (row - 1) * cell);
        return QRectF(at + QPointF(cell * 0.08, cell * 0.08), QSizeF(cell * 0.3, cell * 0.25)).toRect();
    };
    QVERIFY(!AllWhite(sheet, corner(1, 3)));
    QVERIFY(AllWhite(sheet, corner(2, 1)));
}

void TestCrossPrint::aGridTooBigForThePageShrinksItsSquaresToFit()
{
    TCrossTXT doc;
    Fill(doc, std::vector<std::string>(90, std::string(40, ' ')), {});
    doc.Kind = 1;
    QImage sheet = Sheet();
    const QSizeF page(709, 1051);
    const TCrossPrintLayout layout(doc, QStringLiteral("Duży"), &sheet, page);
    QCOMPARE(layout.PageCount(), 1);
    QVERIFY(QRectF(QPointF(0, 0), page).contains(layout.GridRect()));
    QVERIFY(layout.CellSize() < 9 * 100 / 25.4);
    QVERIFY(layout.GridRect().height() > page.height() * 0.8);
}

void TestCrossPrint::aPdfThatCannotBeWrittenRaisesTheWriteError()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    TCrossTXT doc;
    Fill(doc, SmallGrid, SmallClues);
    const QString pdf = dir.filePath(QStringLiteral("brak/wydruk.pdf"));
    try {
        SaveCrossWordAsPdf(doc, pdf);
        QFAIL("no error raised");
    } catch (const EMirakolnikError& error) {
        // The reason comes after the program's message.
        QCOMPARE(QString::fromStdString(error.Message()),
                 QStringLiteral("Wystąpił błąd podczas zapisu pliku ") + pdf
                     + QStringLiteral(": Nie ma takiego pliku ani katalogu"));
    }
    QVERIFY(!QFile::exists(pdf));

    // Nor is a PDF written over the crossword it shows.
    const QString own = dir.filePath(QStringLiteral("K.krz"));
    doc.SaveToFile(own.toStdString());
    QFile saved(own);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    saved.close();
    try {
        SaveCrossWordAsPdf(doc, own);
        QFAIL("no error raised");
    } catch (const EMirakolnikError& error) {
        QVERIFY(QString::fromStdString(error.Message()).endsWith(QStringLiteral("; niczego nie zapisano")));
    }
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), bytes);
}

void TestCrossPrint::printingGoesThroughThePrintDialogToTheChosenPrinter()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    TCrossTXT doc;
    Fill(doc, SmallGrid, SmallClues);
    const QString pdf = dir.filePath(QStringLiteral("drukarka.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    bool dialogShown = false;
    test::WhenModalOpens([&](QWidget* modal) {
        dialogShown = qobject_cast<QPrintDialog*>(modal) != nullptr;
        static_cast<QDialog*>(modal)->accept();
    });
    QVERIFY(PrintCrossWord(doc, printer, nullptr));
    QVERIFY(dialogShown);
    QVERIFY(PdfText(pdf).contains(QStringLiteral("Napój z owoców")));
}

void TestCrossPrint::cancellingThePrintDialogPrintsNothing()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    TCrossTXT doc;
    Fill(doc, SmallGrid, SmallClues);
    const QString pdf = dir.filePath(QStringLiteral("nic.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    test::WhenModalOpens([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    QVERIFY(!PrintCrossWord(doc, printer, nullptr));
    QVERIFY(!QFile::exists(pdf));
}

void TestCrossPrint::exportingAsPdfOffersTheCrosswordNameAndWritesTheChosenFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    TCrossTXT doc;
    Fill(doc, SmallGrid, SmallClues);
    doc.FileName = "/k/K_0042.krz";
    QString offered;
    test::WhenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog)
            qFatal("no file dialog");
        offered = QFileInfo(dialog->selectedFiles().value(0)).fileName();
        dialog->selectFile(dir.filePath(QStringLiteral("eksport")));
        static_cast<QDialog*>(dialog)->accept();
    });
    QVERIFY(ExportCrossWordAsPdf(doc, nullptr, dir.path()));
    QCOMPARE(offered, QStringLiteral("K_0042.pdf"));
    // The extension is added to a name typed without one.
    QVERIFY(PdfText(dir.filePath(QStringLiteral("eksport.pdf"))).contains(QStringLiteral("Żółty kwiat łąk")));

    test::WhenModalOpens([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    QVERIFY(!ExportCrossWordAsPdf(doc, nullptr, dir.path()));
}

void TestCrossPrint::writingAPdfReplacesAnExistingFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString pdf = dir.filePath(QStringLiteral("wydruk.pdf"));
    QFile old(pdf);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("stara treść");
    old.close();
    TCrossTXT doc;
    Fill(doc, SmallGrid, SmallClues);
    SaveCrossWordAsPdf(doc, pdf);
    QVERIFY(PdfText(pdf).contains(QStringLiteral("Skorupiak z nożycami")));
}

void TestCrossPrint::theTitleIsTheFileNameWithoutDirectoryOrExtension_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("title");
    QTest::newRow("crossword") << "/dom/Krzyżówki/Nowe/K_0001.krz"
                               << "K_0001";
    QTest::newRow("last dot starts the extension") << "/x/Lekcja 12.05.krz"
                                                   << "Lekcja 12.05";
    QTest::newRow("no extension") << "/x/Zagadka"
                                  << "Zagadka";
    QTest::newRow("no file") << ""
                             << "";
}

void TestCrossPrint::theTitleIsTheFileNameWithoutDirectoryOrExtension()
{
    QFETCH(QString, fileName);
    QFETCH(QString, title);
    TCrossTXT doc;
    doc.FileName = fileName.toStdString();
    QCOMPARE(PrintTitle(doc), title);
}

void TestCrossPrint::theAnswerKeyFollowsOnAFurtherPageWithTheFilledGridAndTheAnswersByNumber()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    TCrossTXT doc = Answered();
    doc.SetPhrase({"KOT", {{1, 1}, {2, 3}, {3, 1}}});
    const QString pdf = dir.filePath(QStringLiteral("klucz.pdf"));
    SaveCrossWordAsPdf(doc, pdf, WithAnswerKey());
    QCOMPARE(PdfPages(pdf), 2);
    // The crossword page gives nothing away.
    const QString first = PdfText(pdf, 1).simplified();
    QVERIFY2(!first.contains(QStringLiteral("Odpowiedzi")) && !first.contains(QStringLiteral("SOK")),
             qPrintable(first));
    const QString key = PdfText(pdf, 2).simplified();
    QVERIFY2(key.contains(QStringLiteral("Odpowiedzi – K_0009")), qPrintable(key));
    QVERIFY2(key.contains(QStringLiteral("Rozwiązanie: KOT")), qPrintable(key));
    const QStringList answers = {"1. KOT", "3. RAK", "4. SOK", "1. KASA", "2. AKTE", "3. RKA"};
    for (const QString& answer : answers)
        QVERIFY2(key.contains(answer), qPrintable(answer + " in: " + key));

    // The filled grid is smaller than the crossword's and shows the letters.
    QImage sheet = Sheet();
    const TCrossPrintLayout layout(doc, PrintTitle(doc), &sheet, QSizeF(709, 1051), WithAnswerKey());
    QCOMPARE(layout.SolutionPage(), 1);
    // Across answers under "Poziomo:", down answers under "Pionowo:", by number.
    QCOMPARE(layout.PageText(1),
             QStringList({"Odpowiedzi – K_0009", "Rozwiązanie: KOT", "Poziomo:", "1. KOT", "3. RAK", "4. SOK",
                          "Pionowo:", "1. KASA", "2. AKTE", "3. RKA", "2/2"}));
    QVERIFY(layout.SolutionGridRect().width() < layout.GridRect().width());
    {
        QPainter painter(&sheet);
        layout.PaintPage(painter, 1);
    }
    const double cell = layout.SolutionGridRect().width() / 5;
    const QRectF kCell(layout.SolutionGridRect().topLeft() + QPointF(cell * 0.2, cell * 0.2),
                       QSizeF(cell * 0.6, cell * 0.6));
    QVERIFY(!AllWhite(sheet, kCell.toRect()));
}

void TestCrossPrint::withoutAnswersOrForATemplateTheOptionChangesNothing()
{
    QImage sheet = Sheet();
    TCrossTXT bare;
    Fill(bare, SmallGrid, SmallClues);
    const TCrossPrintLayout without(bare, QString(), &sheet, QSizeF(709, 1051), WithAnswerKey());
    QCOMPARE(without.PageCount(), 1);
    QCOMPARE(without.SolutionPage(), -1);

    TCrossTXT pattern = Answered();
    pattern.Kind = 1;
    const TCrossPrintLayout plain(pattern, QStringLiteral("Normal"), &sheet, QSizeF(709, 1051));
    const TCrossPrintLayout asked(pattern, QStringLiteral("Normal"), &sheet, QSizeF(709, 1051), WithAnswerKey());
    QCOMPARE(asked.PageCount(), 1);
    QCOMPARE(asked.PageText(0), plain.PageText(0));
    QCOMPARE(asked.GridRect(), plain.GridRect());
}

void TestCrossPrint::theNumberedCellsAndTheEmptyStripOfTheRozwiazanieArePrinted()
{
    TCrossTXT doc = Answered();
    doc.SetPhrase({"KOT SOK", {{1, 1}, {2, 1}, {3, 1}, {1, 3}, {2, 3}, {3, 3}}});
    QImage sheet = Sheet();
    const TCrossPrintLayout layout(doc, QString(), &sheet, QSizeF(709, 1051));
    QCOMPARE(layout.PhraseLabel(2, 3), QStringLiteral("5"));
    QCOMPARE(layout.PhraseLabel(5, 1), QString());
    QVERIFY(layout.PageText(0).contains(QStringLiteral("Rozwiązanie:")));
    const std::vector<QRectF> boxes = layout.StripBoxes();
    QCOMPARE(int(boxes.size()), 6);
    // One row of boxes under the grid, above the clues, with a gap for the space.
    QVERIFY(boxes.front().top() > layout.GridRect().bottom());
    QCOMPARE(boxes[3].left() - boxes[2].right(), boxes[0].width());
    {
        QPainter painter(&sheet);
        layout.PaintPage(painter, 0);
    }
    // An empty box: its middle is white, its frame is not.
    const QRectF box = boxes[0];
    QVERIFY(AllWhite(sheet, QRectF(box.center() - QPointF(3, 3), QSizeF(4, 4)).toRect()));
    QVERIFY(!AllWhite(sheet, QRectF(box.topLeft(), QSizeF(box.width(), 2)).toRect()));
    // The cell number sits in the lower right corner of its square.
    const double cell = layout.CellSize();
    const QPointF corner = layout.GridRect().topLeft() + QPointF(1 * cell, 2 * cell);
    QVERIFY(
        !AllWhite(sheet, QRectF(corner + QPointF(cell * 0.6, cell * 0.6), QSizeF(cell * 0.35, cell * 0.35)).toRect()));
}

void TestCrossPrint::thePrintAndPdfDialogsOfferTheAnswerKeyOnlyWhenThereAreAnswers()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const TCrossTXT doc = Answered();
    const QString pdf = dir.filePath(QStringLiteral("drukarka.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    bool enabled = false;
    test::WhenModalOpens([&](QWidget* modal) {
        auto* box = test::Child<QCheckBox>(*modal, "IncludeSolution");
        QCOMPARE(box->text(), QStringLiteral("Dołącz rozwiązanie"));
        enabled = box->isEnabled();
        box->setChecked(true);
        static_cast<QDialog*>(modal)->accept();
    });
    TPrintOptions options;
    QVERIFY(PrintCrossWord(doc, printer, nullptr, options));
    QVERIFY(enabled);
    QVERIFY(options.IncludeSolution);
    QCOMPARE(PdfPages(pdf), 2);

    TCrossTXT bare;
    Fill(bare, SmallGrid, SmallClues);
    test::WhenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog)
            qFatal("no file dialog");
        enabled = test::Child<QCheckBox>(*modal, "IncludeSolution")->isEnabled();
        dialog->selectFile(dir.filePath(QStringLiteral("bez.pdf")));
        static_cast<QDialog*>(dialog)->accept();
    });
    QVERIFY(ExportCrossWordAsPdf(bare, nullptr, dir.path(), options));
    QVERIFY(!enabled);
    QCOMPARE(PdfPages(dir.filePath(QStringLiteral("bez.pdf"))), 1);
    QVERIFY(options.IncludeSolution); // a crossword without answers does not undo the choice

    test::WhenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(test::Child<QCheckBox>(*modal, "IncludeSolution")->isChecked());
        dialog->selectFile(dir.filePath(QStringLiteral("z.pdf")));
        static_cast<QDialog*>(dialog)->accept();
    });
    QVERIFY(ExportCrossWordAsPdf(doc, nullptr, dir.path(), options));
    QVERIFY(PdfText(dir.filePath(QStringLiteral("z.pdf")), 2).contains(QStringLiteral("1. KASA")));
}

// A 15 x 15 crossword with `count` one-line clues, half across, half down.
TCrossTXT ManyShortClues(int count)
{
    TCrossTXT doc;
    Fill(doc, std::vector<std::string>(15, std::string(15, ' ')), {});
    for (int i = 0; i < count; ++i)
        doc.AddExpl({1 + i % 15, 1 + i / 15 % 15, "krotkie " + std::to_string(i + 1), "", i < count / 2});
    doc.FileName = "/k/K_0042.krz";
    return doc;
}

// The print dialog in Polish (Qt's own words translated), the title and the
// name line set there, the clues first over two pages with their heading
// repeated, then on one page with smaller squares.
void TestCrossPrint::aTeacherSetsTitleNameLineAndOnePageInThePrintDialog()
{
    QTranslator qt;
    QVERIFY(qt.load(QLocale(QLocale::Polish, QLocale::Poland), QStringLiteral("qtbase"), QStringLiteral("_"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    QCoreApplication::installTranslator(&qt);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const TCrossTXT doc = ManyShortClues(64);
    QImage sheet = Sheet();
    const TCrossPrintLayout twoPages(doc, QStringLiteral("T"), &sheet, QSizeF(709, 1051));
    QCOMPARE(twoPages.PageCount(), 2);
    QCOMPARE(twoPages.PageText(1).first(), QStringLiteral("Pionowo (cd.):"));

    const QString pdf = dir.filePath(QStringLiteral("klasa.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    QStringList english;
    test::WhenModalOpens([&](QWidget* modal) {
        // Captions of buttons, labels, boxes and tabs, none in English.
        QStringList captions;
        for (QWidget* widget : modal->findChildren<QWidget*>())
            if (widget->isVisibleTo(modal))
                captions << widget->property("text").toString() << widget->property("title").toString();
        for (QTabBar* tabs : modal->findChildren<QTabBar*>())
            for (int i = 0; i < tabs->count(); ++i)
                captions << tabs->tabText(i);
        english = captions.filter(QRegularExpression(QStringLiteral("\\b(Pages|Page|Copies|Options|Print|Cancel)\\b")));
        QCOMPARE(test::Child<QLineEdit>(*modal, "PrintTitle")->text(), QStringLiteral("Krzyżówka"));
        test::Child<QLineEdit>(*modal, "PrintTitle")->setText(QStringLiteral("Sprawdzian z przyrody"));
        test::Child<QLineEdit>(*modal, "PrintSubtitle")->setText(QStringLiteral("Klasa 5b"));
        test::Child<QCheckBox>(*modal, "NameLine")->setChecked(true);
        test::Child<QCheckBox>(*modal, "OnePage")->setChecked(true);
        static_cast<QDialog*>(modal)->accept();
    });
    TPrintOptions options;
    QVERIFY(PrintCrossWord(doc, printer, nullptr, options));
    QCoreApplication::removeTranslator(&qt);
    QVERIFY2(english.isEmpty(), qPrintable(english.join(QStringLiteral(" | "))));
    QCOMPARE(PdfPages(pdf), 1);
    const QString text = PdfText(pdf);
    for (const QString& line : {QStringLiteral("Sprawdzian z przyrody"), QStringLiteral("Klasa 5b"),
                                QStringLiteral("Imię i nazwisko:"), QStringLiteral("krotkie 64")})
        QVERIFY2(text.contains(line), qPrintable(line));
    QVERIFY(!text.contains(QStringLiteral("K_0042")));
    // The same options go to the PDF export.
    QCOMPARE(options.Title, QStringLiteral("Sprawdzian z przyrody"));
    QVERIFY(options.NameLine && options.OnePage);
}

QTEST_MAIN(TestCrossPrint)
#include "CrossPrintTest.moc"
