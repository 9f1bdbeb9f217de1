#pragma once

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

class TCrossTXT;

// The printed form of a crossword, as a newspaper prints it: the empty grid
// (blocks filled, open squares blank, word starts numbered with their
// explanation numbers), then the clues in two columns under "Poziomo:" and
// "Pionowo:", continued on further pages when long. A template (Kind 1)
// prints its grid alone, unnumbered.
//
// The layout copies what it needs from the document, so it stays valid when
// the document changes. All measures are device pixels of the device the
// layout was made for; page coordinates start at the printable area's corner.
class TCrossPrintLayout {
public:
    TCrossPrintLayout(const TCrossTXT& doc, const QString& title, QPaintDevice* device, QSizeF pageSize);

    int PageCount() const { return FPageCount; }
    void PaintPage(QPainter& painter, int page) const;

    QRectF GridRect() const { return FGridRect; }
    double CellSize() const { return FCell; }
    // The numbers printed in a cell ("7", or "3,17" where two words start), empty for none.
    QString CellLabel(int col, int row) const;
    // The texts printed on a page, line by line (title, headings, clues with their numbers).
    QStringList PageText(int page) const;

private:
    enum TLineStyle { lsTitle, lsHeading, lsClue, lsFooter };
    struct TPlacedLine {
        int Page = 0;
        QPointF Baseline;    // left end of the text's baseline
        TLineStyle Style = lsClue;
        QString Text;
        QString Number;      // printed right-aligned before the text
        double NumberRight = 0;
    };
    struct TClueLine {
        TLineStyle Style;
        QString Text;
        QString Number;
    };

    void LayOutGrid(const TCrossTXT& doc, double top);
    void LayOutClues(const TCrossTXT& doc);
    int FlowClues(const std::vector<std::vector<TClueLine>>& blocks, bool headingStartsColumn, int shortPage,
                  double shortBottom, std::vector<TPlacedLine>& lines) const;
    std::vector<std::vector<TClueLine>> ClueBlocks(const TCrossTXT& doc) const;
    QStringList WrapText(const QString& text, double width) const;
    void PaintGrid(QPainter& painter) const;
    double Mm(double mm) const { return mm * FDpi / 25.4; }

    QPaintDevice* FDevice;
    double FDpi;
    QSizeF FPage;
    int FColCount = 0;
    int FRowCount = 0;
    bool FNumbered = true;
    std::vector<char> FBlocks;       // 1 block, 0 open square, 2 no cell at all
    std::vector<QString> FLabels;    // per cell, column-major from (1,1)
    QRectF FGridRect;
    double FCell = 0;
    int FPageCount = 1;
    std::vector<TPlacedLine> FLines;
};

// The title a printout carries: the document's file name without its
// directory and extension (empty for a document without a file).
QString PrintTitle(const TCrossTXT& doc);

// Lays the document out for the device and paints every page on it; the
// device must not be painted on yet. Returns false when painting cannot start.
bool PaintCrossWord(const TCrossTXT& doc, QPagedPaintDevice& device, const QString& title);

// Shows the print dialog over `parent` and prints the document on the chosen
// printer (which may be a PDF file). Returns false when the user cancelled.
bool PrintCrossWord(const TCrossTXT& doc, QWidget* parent);
// The same on a printer the caller set up (the dialog starts from its settings).
bool PrintCrossWord(const TCrossTXT& doc, QPrinter& printer, QWidget* parent);

// Writes the printout as a PDF file on A4. The file is replaced only when the
// whole new one was written; a failure raises EMirakolnikError with
// "Wystąpił błąd podczas zapisu pliku %s".
void SaveCrossWordAsPdf(const TCrossTXT& doc, const QString& fileName);

// Asks for a PDF file name (starting in `directory`) and writes it there.
// Returns false when the user cancelled; write failures raise as above.
bool ExportCrossWordAsPdf(const TCrossTXT& doc, QWidget* parent, const QString& directory);

// One page of the printout as a picture of a whole sheet with its margins.
QImage RenderCrossWordPage(const TCrossTXT& doc, int page, int dpi, const QPageSize& pageSize = QPageSize(QPageSize::A4));

} // namespace mz
