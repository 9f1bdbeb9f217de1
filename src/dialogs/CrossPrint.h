#pragma once

#include "documents/CrosswordKind.h"

#include <QImage>
#include <QPageSize>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <vector>

class QPagedPaintDevice;
class QPaintDevice;
class QPrinter;
class QPainter;
class QWidget;

namespace mz {

// What a printout holds beyond the crossword itself.
struct TPrintOptions {
    // "Dołącz rozwiązanie": the answer key on a further page. Only a crossword
    // with answers has one; for anything else the option changes nothing.
    bool IncludeSolution = false;
    // The heading of the first page; empty: the file's name (PrintTitle).
    QString Title;
    // A smaller line under the title (author, class, date...); empty: none.
    QString Subtitle;
    // "Imię i nazwisko / data": a line to write on under the title.
    bool NameLine = false;
    // "Zmieść na jednej stronie": the grid is made smaller, down to a
    // readable size, as far as the clues then end on the first page.
    bool OnePage = false;
};

// The title a printout made with these options carries.
QString PrintTitle(const TCrossTXT& doc, const TPrintOptions& options);

// The printed form of a crossword, as a newspaper prints it: the empty grid
// as the crossword's kind describes its cells (blocks filled, open squares
// blank, word starts numbered, the cells of the "rozwiązanie" with their
// small numbers in the lower right corner), the empty strip of the
// "rozwiązanie" under the grid, then the kind's clue lists in two columns
// under their headings ("Poziomo:", "Pionowo:"),
// continued on further pages when long, where the heading is repeated
// ("Poziomo (cd.):"). With the answer key a further page
// follows: the filled grid, smaller, the phrase of the "rozwiązanie", and the
// answers by number under the same two headings. A template (Kind 1) prints
// its grid alone, unnumbered.
//
// The layout copies what it needs from the document, so it stays valid when
// the document changes. All measures are device pixels of the device the
// layout was made for; page coordinates start at the printable area's corner.
class TCrossPrintLayout {
public:
    TCrossPrintLayout(const TCrossTXT& doc, const QString& title, QPaintDevice* device, QSizeF pageSize,
                      const TPrintOptions& options = {});

    // The smallest cell "Zmieść na jednej stronie" makes, in millimetres.
    static constexpr double MinOnePageCellMm = 5;

    int PageCount() const { return FPageCount; }
    void PaintPage(QPainter& painter, int page) const;

    QRectF GridRect() const { return FGridRect; }
    double CellSize() const { return FCell; }
    // The number printed in a cell ("7"), empty for none.
    QString CellLabel(int col, int row) const;
    // The number of the "rozwiązanie" printed in a cell, empty for none.
    QString PhraseLabel(int col, int row) const;
    // The texts printed on a page, line by line (title, headings, clues with their numbers).
    QStringList PageText(int page) const;
    // The page the answer key starts on, -1 without one.
    int SolutionPage() const { return FSolutionPage; }
    QRectF SolutionGridRect() const { return FSolutionGrid.Rect; }
    // The boxes of the empty strip of the "rozwiązanie" (page 0), one per letter.
    std::vector<QRectF> StripBoxes() const;

private:
    enum TLineStyle { lsTitle, lsSubtitle, lsHeading, lsClue, lsFooter };
    struct TPlacedGrid {
        int Page = -1;
        QRectF Rect;
        double Cell = 0;
        bool Filled = false; // letters instead of numbers
    };
    struct TStripBox {
        QRectF Rect;
        QString Number;
    };
    struct TPlacedLine {
        int Page = 0;
        QPointF Baseline; // left end of the text's baseline
        TLineStyle Style = lsClue;
        QString Text;
        QString Number; // printed right-aligned before the text
        double NumberRight = 0;
    };
    struct TClueLine {
        TLineStyle Style;
        QString Text;
        QString Number;
        QString Heading; // of the list the line belongs to
    };

    void LayOut(const TCrossTXT& doc, const QString& title, const TPrintOptions& options, double maxCellMm);
    double LayOutHeader(const QString& title, const TPrintOptions& options);
    void LayOutGrid(const TCrossTXT& doc, double top, double reserved, double maxCellMm);
    double LayOutStrip(double top);
    void LayOutSolution(const TCrossTXT& doc, const QString& title);
    int LayOutClues(const std::vector<std::vector<TClueLine>>& blocks, int firstPage, double firstTop);
    int FlowClues(const std::vector<std::vector<TClueLine>>& blocks, bool headingStartsColumn, int firstPage,
                  double firstTop, int shortPage, double shortBottom, std::vector<TPlacedLine>& lines) const;
    std::vector<std::vector<TClueLine>> ClueBlocks(const TCrossTXT& doc, bool answers) const;
    QStringList WrapText(const QString& text, double width) const;
    void PaintGrid(QPainter& painter, const TPlacedGrid& grid) const;
    void PaintStrip(QPainter& painter) const;
    double StripHeight(int boxes) const;
    double Mm(double mm) const { return mm * FDpi / 25.4; }

    QPaintDevice* FDevice;
    double FDpi;
    QSizeF FPage;
    int FColCount = 0;
    int FRowCount = 0;
    bool FNumbered = true;
    TCellFaces FFaces;
    QString FPhrase; // the phrase of the "rozwiązanie", empty for none
    QRectF FGridRect;
    double FCell = 0;
    TPlacedGrid FSolutionGrid;
    std::vector<TStripBox> FStrip;
    int FPageCount = 1;
    int FCluePages = 1; // pages of the crossword itself, the answer key not counted
    int FSolutionPage = -1;
    std::vector<TPlacedLine> FLines;
};

// The title a printout carries: the document's file name without its
// directory and extension (empty for a document without a file).
QString PrintTitle(const TCrossTXT& doc);

// Lays the document out for the device and paints every page on it; the
// device must not be painted on yet. Returns false when painting cannot start.
bool PaintCrossWord(const TCrossTXT& doc, QPagedPaintDevice& device, const QString& title,
                    const TPrintOptions& options = {});

// Shows the print dialog over `parent` and prints the document on the chosen
// printer (which may be a PDF file). Returns false when the user cancelled.
// The dialog has an options tab with the check box "Dołącz rozwiązanie"
// (object name "IncludeSolution"), enabled only for a crossword with answers;
// it starts from `options` and the choice is written back to it.
bool PrintCrossWord(const TCrossTXT& doc, QWidget* parent);
bool PrintCrossWord(const TCrossTXT& doc, QWidget* parent, TPrintOptions& options);
// The same on a printer the caller set up (the dialog starts from its settings).
bool PrintCrossWord(const TCrossTXT& doc, QPrinter& printer, QWidget* parent);
bool PrintCrossWord(const TCrossTXT& doc, QPrinter& printer, QWidget* parent, TPrintOptions& options);

// Writes the printout as a PDF file on A4. The file is replaced only when the
// whole new one was written; a failure raises EMirakolnikError with
// "Wystąpił błąd podczas zapisu pliku %s".
void SaveCrossWordAsPdf(const TCrossTXT& doc, const QString& fileName, const TPrintOptions& options = {});

// Asks for a PDF file name (starting in `directory`) and writes it there.
// Returns false when the user cancelled; write failures raise as above. The
// file dialog carries the same check box as the print dialog.
bool ExportCrossWordAsPdf(const TCrossTXT& doc, QWidget* parent, const QString& directory);
bool ExportCrossWordAsPdf(const TCrossTXT& doc, QWidget* parent, const QString& directory, TPrintOptions& options);

// One page of the printout as a picture of a whole sheet with its margins.
QImage RenderCrossWordPage(const TCrossTXT& doc, int page, int dpi,
                           const QPageSize& pageSize = QPageSize(QPageSize::A4), const TPrintOptions& options = {});

} // namespace mz
