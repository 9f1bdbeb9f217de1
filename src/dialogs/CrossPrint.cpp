#include "dialogs/CrossPrint.h"

#include "core/Cp1250.h"
#include "core/Error.h"
#include "core/FileIdentity.h"
#include "core/FileNames.h"
#include "documents/CrossSolution.h"
#include "documents/CrossTXT.h"
#include "documents/FileReplacement.h"

#include <QBuffer>
#include <QCheckBox>
#include <QFileDialog>
#include <QFontMetricsF>
#include <QFormLayout>
#include <QGridLayout>
#include <QLineEdit>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

namespace mz {

namespace {

constexpr double MarginMm = 15;
constexpr double MaxCellMm = 9;
constexpr double TitleGapMm = 5;
constexpr double CluesGapMm = 7;
constexpr double GutterMm = 8;
constexpr double NumberGapMm = 1.2;
constexpr int ClueColumns = 2;
constexpr double StripBoxMm = 7;
constexpr double StripRowGapMm = 2;
constexpr double SolutionCellMm = 6;
// The answer key's grid takes at most this share of the page height.
constexpr double SolutionGridShare = 0.45;

const QString MsgWriteError = QStringLiteral("Wystąpił błąd podczas zapisu pliku %s");

QFont PrintFont(double points, bool bold, bool serif)
{
    QFont font(serif ? QStringLiteral("DejaVu Serif") : QStringLiteral("DejaVu Sans"));
    font.setStyleHint(serif ? QFont::Serif : QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QFont TitleFont()
{
    return PrintFont(15, true, false);
}
QFont SubtitleFont()
{
    return PrintFont(11, false, false);
}
QFont HeadingFont()
{
    return PrintFont(11, true, false);
}
QFont ClueFont()
{
    return PrintFont(9.5, false, true);
}
QFont ClueNumberFont()
{
    return PrintFont(9.5, true, true);
}
QFont FooterFont()
{
    return PrintFont(8, false, false);
}

QString ScreenText(const std::string& cp1250)
{
    return QString::fromStdString(Cp1250ToUtf8(cp1250));
}

[[noreturn]] void ThrowWriteError(const QString& fileName)
{
    throw EMirakolnikError(FormatMessage(MsgWriteError.toStdString(), fileName.toStdString()));
}

} // namespace

QString PrintTitle(const TCrossTXT& doc)
{
    std::string name = FileNamePart(doc.FileName);
    const std::string extension = ExtensionOf(name);
    if (!extension.empty())
        name.resize(name.size() - extension.size() - 1);
    return QString::fromStdString(name);
}

QString PrintTitle(const TCrossTXT& doc, const TPrintOptions& options)
{
    const QString title = options.Title.trimmed();
    return title.isEmpty() ? PrintTitle(doc) : title;
}

TCrossPrintLayout::TCrossPrintLayout(const TCrossTXT& doc, const QString& title, QPaintDevice* device, QSizeF pageSize,
                                     const TPrintOptions& options)
    : FDevice(device), FDpi(device->logicalDpiY()), FPage(pageSize), FNumbered(doc.DocumentKind() == TDocumentKind::CrossWord)
{
    LayOut(doc, title, options, MaxCellMm);
    // Smaller squares, half a millimetre at a time, until the clues end on
    // the first page; when even the smallest do not do it, nothing changes.
    if (options.OnePage && FCluePages > 1) {
        for (double cell = MaxCellMm - 0.5; cell >= MinOnePageCellMm; cell -= 0.5) {
            LayOut(doc, title, options, cell);
            if (FCluePages == 1)
                return;
        }
        LayOut(doc, title, options, MaxCellMm);
    }
}

// Title, subtitle and the line for a name, centred; returns where the grid starts.
double TCrossPrintLayout::LayOutHeader(const QString& title, const TPrintOptions& options)
{
    double top = 0;
    const auto centred = [&](const QString& text, TLineStyle style, const QFont& font) {
        const QFontMetricsF metrics(font, FDevice);
        FLines.push_back(
            {0, QPointF((FPage.width() - metrics.horizontalAdvance(text)) / 2, top + metrics.ascent()), style, text, {}, 0});
        top += metrics.height();
    };
    if (!title.isEmpty())
        centred(title, lsTitle, TitleFont());
    if (const QString subtitle = options.Subtitle.trimmed(); !subtitle.isEmpty())
        centred(subtitle, lsSubtitle, SubtitleFont());
    if (options.NameLine) {
        top += Mm(TitleGapMm) / 2;
        centred(QStringLiteral("Imię i nazwisko: ") + QString(34, u'.') + QStringLiteral("   Data: ")
                    + QString(16, u'.'),
                lsSubtitle, SubtitleFont());
    }
    return top > 0 ? top + Mm(TitleGapMm) : 0;
}

void TCrossPrintLayout::LayOut(const TCrossTXT& doc, const QString& title, const TPrintOptions& options,
                               double maxCellMm)
{
    FLines.clear();
    FStrip.clear();
    FPhrase.clear();
    FSolutionGrid = {};
    FSolutionPage = -1;
    FPageCount = 1;
    const double top = LayOutHeader(title, options);
    if (FNumbered && !doc.Phrase().Empty())
        FPhrase = ScreenText(doc.Phrase().Text);
    LayOutGrid(doc, top, FPhrase.isEmpty() ? 0 : Mm(CluesGapMm) + StripHeight(int(FPhrase.size())), maxCellMm);
    double cluesTop = FGridRect.bottom() + Mm(CluesGapMm);
    if (!FPhrase.isEmpty())
        cluesTop = LayOutStrip(cluesTop) + Mm(CluesGapMm);
    if (FNumbered) {
        const auto blocks = ClueBlocks(doc, false);
        if (!blocks.empty())
            FPageCount = LayOutClues(blocks, 0, cluesTop);
        FCluePages = FPageCount;
        if (options.IncludeSolution && HasAnswers(doc))
            LayOutSolution(doc, title);
    }
    if (FPageCount > 1) {
        const QFontMetricsF metrics(FooterFont(), FDevice);
        for (int page = 0; page < FPageCount; ++page) {
            const QString text = QStringLiteral("%1/%2").arg(page + 1).arg(FPageCount);
            FLines.push_back(
                {page,
                 QPointF((FPage.width() - metrics.horizontalAdvance(text)) / 2, FPage.height() - metrics.descent()),
                 lsFooter,
                 text,
                 {},
                 0});
        }
    }
}

void TCrossPrintLayout::LayOutGrid(const TCrossTXT& doc, double top, double reserved, double maxCellMm)
{
    FFaces = KindOf(doc).Faces(doc);
    FColCount = FFaces.ColCount();
    FRowCount = FFaces.RowCount();
    if (FColCount == 0 || FRowCount == 0) {
        FGridRect = QRectF(FPage.width() / 2, top, 0, 0);
        return;
    }
    const double footer = QFontMetricsF(FooterFont(), FDevice).height() * 1.5;
    const double available = std::max(FPage.height() - top - footer - reserved, 1.0);
    FCell = std::min({Mm(maxCellMm), FPage.width() / FColCount, available / FRowCount});
    const double width = FCell * FColCount;
    FGridRect = QRectF((FPage.width() - width) / 2, top, width, FCell * FRowCount);
}

// The strip is a row of empty boxes, one per letter of the phrase, a box-wide
// gap for each space, wrapped onto further rows when wider than the page.
double TCrossPrintLayout::StripHeight(int boxes) const
{
    const double box = Mm(StripBoxMm);
    const int perRow = std::max(1, int(FPage.width() / box));
    const int rows = (boxes + perRow - 1) / perRow;
    return QFontMetricsF(HeadingFont(), FDevice).lineSpacing() + rows * box + (rows - 1) * Mm(StripRowGapMm);
}

double TCrossPrintLayout::LayOutStrip(double top)
{
    const QFontMetricsF heading(HeadingFont(), FDevice);
    const QString caption = QStringLiteral("Rozwiązanie:");
    FLines.push_back({0,
                      QPointF((FPage.width() - heading.horizontalAdvance(caption)) / 2, top + heading.ascent()),
                      lsHeading,
                      caption,
                      {},
                      0});
    const double box = Mm(StripBoxMm);
    const int perRow = std::max(1, int(FPage.width() / box));
    const int rows = (int(FPhrase.size()) + perRow - 1) / perRow;
    const double boxesTop = top + heading.lineSpacing();
    int number = 0;
    for (int i = 0; i < FPhrase.size(); ++i) {
        const int row = i / perRow;
        const int inRow = std::min(perRow, int(FPhrase.size()) - row * perRow);
        const double left = (FPage.width() - inRow * box) / 2;
        if (FPhrase[i] == u' ')
            continue;
        FStrip.push_back({QRectF(left + (i % perRow) * box, boxesTop + row * (box + Mm(StripRowGapMm)), box, box),
                          QString::number(++number)});
    }
    return boxesTop + rows * box + (rows - 1) * Mm(StripRowGapMm);
}

std::vector<QRectF> TCrossPrintLayout::StripBoxes() const
{
    std::vector<QRectF> boxes;
    for (const TStripBox& box : FStrip)
        boxes.push_back(box.Rect);
    return boxes;
}

void TCrossPrintLayout::LayOutSolution(const TCrossTXT& doc, const QString& title)
{
    const int page = FPageCount;
    FSolutionPage = page;
    const QString heading = title.isEmpty() ? QStringLiteral("Odpowiedzi") : QStringLiteral("Odpowiedzi – ") + title;
    const QFontMetricsF metrics(TitleFont(), FDevice);
    FLines.push_back({page,
                      QPointF((FPage.width() - metrics.horizontalAdvance(heading)) / 2, metrics.ascent()),
                      lsTitle,
                      heading,
                      {},
                      0});
    double top = metrics.height() + Mm(TitleGapMm);
    if (FColCount > 0 && FRowCount > 0) {
        const double cell =
            std::min({Mm(SolutionCellMm), FPage.width() / FColCount, FPage.height() * SolutionGridShare / FRowCount});
        FSolutionGrid = {page, QRectF((FPage.width() - cell * FColCount) / 2, top, cell * FColCount, cell * FRowCount),
                         cell, true};
        top = FSolutionGrid.Rect.bottom() + Mm(CluesGapMm);
    }
    if (!FPhrase.isEmpty()) {
        const QFontMetricsF headingMetrics(HeadingFont(), FDevice);
        FLines.push_back({page,
                          QPointF(0, top + headingMetrics.ascent()),
                          lsHeading,
                          QStringLiteral("Rozwiązanie: ") + FPhrase,
                          {},
                          0});
        top += headingMetrics.lineSpacing() + Mm(CluesGapMm) / 2;
    }
    const auto blocks = ClueBlocks(doc, true);
    FPageCount = blocks.empty() ? page + 1 : LayOutClues(blocks, page, top);
}

QString TCrossPrintLayout::CellLabel(int col, int row) const
{
    const int number = FFaces.At(col, row).Number;
    return FNumbered && number != 0 ? QString::number(number) : QString();
}

// A heading travels with the first clue under it, and a clue keeps its lines
// together, so neither is torn across columns unless it is longer than one.
std::vector<std::vector<TCrossPrintLayout::TClueLine>> TCrossPrintLayout::ClueBlocks(const TCrossTXT& doc,
                                                                                     bool answers) const
{
    const double columnWidth = (FPage.width() - Mm(GutterMm) * (ClueColumns - 1)) / ClueColumns;
    const double numberWidth = QFontMetricsF(ClueNumberFont(), FDevice).horizontalAdvance(QStringLiteral("000."));
    const double textWidth = std::max(columnWidth - numberWidth - Mm(NumberGapMm), Mm(10));

    std::vector<std::vector<TClueLine>> blocks;
    for (const TClueSection& section : KindOf(doc).Clues(doc)) {
        const QString heading = ScreenText(section.Heading);
        bool first = true;
        for (const TNumberedWord& item : section.Words) {
            std::vector<TClueLine> block;
            if (first)
                block.push_back({lsHeading, heading + u':', {}, heading});
            first = false;
            // A clue is one paragraph; line breaks a foreign file may carry become spaces.
            QString text = answers ? (item.Word.Answer.empty() ? QStringLiteral("?") : ScreenText(item.Word.Answer))
                                   : ScreenText(item.Word.Explanation);
            text.replace(u'\r', u' ').replace(u'\n', u' ');
            const QStringList lines = WrapText(text, textWidth);
            for (int i = 0; i < lines.size(); ++i)
                block.push_back({lsClue, lines[i], i == 0 ? QString::number(item.Number) + u'.' : QString(), heading});
            blocks.push_back(std::move(block));
        }
    }
    return blocks;
}

QStringList TCrossPrintLayout::WrapText(const QString& text, double width) const
{
    QTextLayout layout(text, ClueFont(), FDevice);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    if (lines.isEmpty())
        lines << QString();
    return lines;
}

int TCrossPrintLayout::LayOutClues(const std::vector<std::vector<TClueLine>>& blocks, int firstPage, double firstTop)
{
    // Best of all, as newspapers print it: across clues in the left column,
    // down clues in the right one, both under the grid.
    std::vector<TPlacedLine> lines;
    if (FlowClues(blocks, true, firstPage, firstTop, -1, 0, lines) == firstPage + 1) {
        FLines.insert(FLines.end(), lines.begin(), lines.end());
        return firstPage + 1;
    }
    lines.clear();
    const int pages = FlowClues(blocks, false, firstPage, firstTop, -1, 0, lines);
    // Balance the columns of the last page by lowering its bottom as far as
    // the clues still end on it.
    const int last = pages - 1;
    const double top = last == firstPage ? firstTop : 0;
    const double step = QFontMetricsF(ClueFont(), FDevice).lineSpacing() / 2;
    double lowest = top;
    for (const TPlacedLine& line : lines)
        if (line.Page == last)
            lowest = std::max(lowest, line.Baseline.y());
    for (double limit = top + (lowest - top) / ClueColumns; limit < lowest; limit += step) {
        std::vector<TPlacedLine> balanced;
        if (FlowClues(blocks, false, firstPage, firstTop, last, limit, balanced) == pages) {
            lines = std::move(balanced);
            break;
        }
    }
    FLines.insert(FLines.end(), lines.begin(), lines.end());
    return pages;
}

// Pours the clue blocks into the columns: from `firstTop` on page
// `firstPage`, then over whole later pages; page `shortPage` ends at
// `shortBottom`. The down clues may be made to start a new column. Returns the
// index of the last page used plus one.
int TCrossPrintLayout::FlowClues(const std::vector<std::vector<TClueLine>>& blocks, bool headingStartsColumn,
                                 int firstPage, double firstTop, int shortPage, double shortBottom,
                                 std::vector<TPlacedLine>& lines) const
{
    const QFontMetricsF clue(ClueFont(), FDevice);
    const QFontMetricsF heading(HeadingFont(), FDevice);
    const double numberWidth = QFontMetricsF(ClueNumberFont(), FDevice).horizontalAdvance(QStringLiteral("000."));
    const double columnWidth = (FPage.width() - Mm(GutterMm) * (ClueColumns - 1)) / ClueColumns;
    const double bottom = FPage.height() - QFontMetricsF(FooterFont(), FDevice).height() * 1.5;
    auto lineHeight = [&](const TClueLine& line, bool atTop) {
        return line.Style == lsHeading ? heading.lineSpacing() + (atTop ? 0 : clue.lineSpacing() * 0.6)
                                       : clue.lineSpacing();
    };

    int page = firstPage;
    int column = 0;
    double columnTop = firstTop;
    double y = columnTop;
    auto nextColumn = [&] {
        if (++column == ClueColumns) {
            column = 0;
            ++page;
            columnTop = 0;
        }
        y = columnTop;
    };
    // Only a column at the top of a later page is a full one; anything that
    // does not fit there is placed all the same rather than pushed on forever.
    auto fits = [&](double h) {
        return y + h <= (page == shortPage ? shortBottom : bottom)
            || (page > firstPage && y == columnTop && page != shortPage);
    };

    for (const auto& block : blocks) {
        if (headingStartsColumn && block.front().Style == lsHeading && &block != &blocks.front())
            nextColumn();
        double height = 0;
        for (std::size_t i = 0; i < block.size(); ++i)
            height += lineHeight(block[i], i == 0 && y == columnTop);
        if (height <= bottom)
            while (!fits(height))
                nextColumn();
        for (const TClueLine& line : block) {
            while (!fits(lineHeight(line, y == columnTop)))
                nextColumn();
            // A list that goes on over a page gets its heading again at the top.
            if (line.Style == lsClue && page > firstPage && column == 0 && y == columnTop) {
                const QString text = line.Heading + QStringLiteral(" (cd.):");
                const double h = lineHeight({lsHeading, text, {}, line.Heading}, true);
                lines.push_back({page, QPointF(0, y + h - heading.lineSpacing() + heading.ascent()), lsHeading, text,
                                 {}, 0});
                y += h;
            }
            const double h = lineHeight(line, y == columnTop);
            const double left = column * (columnWidth + Mm(GutterMm));
            const QFontMetricsF& metrics = line.Style == lsHeading ? heading : clue;
            TPlacedLine placed{page,        QPointF(left, y + h - metrics.lineSpacing() + metrics.ascent()),
                               line.Style,  line.Text,
                               line.Number, 0};
            if (line.Style == lsClue) {
                placed.Baseline.rx() += numberWidth + Mm(NumberGapMm);
                placed.NumberRight = left + numberWidth;
            }
            lines.push_back(placed);
            y += h;
        }
    }
    return page + 1;
}

QStringList TCrossPrintLayout::PageText(int page) const
{
    QStringList text;
    for (const TPlacedLine& line : FLines)
        if (line.Page == page)
            text << (line.Number.isEmpty() ? line.Text : line.Number + u' ' + line.Text);
    return text;
}

QString TCrossPrintLayout::PhraseLabel(int col, int row) const
{
    const int number = FFaces.At(col, row).PhraseNumber;
    return FNumbered && number != 0 ? QString::number(number) : QString();
}

namespace {

// A number in a corner of a square; one too wide for it gets a smaller type
// rather than overflow.
void DrawSmallNumber(QPainter& painter, const QPaintDevice* device, const QRectF& area, const QFont& font,
                     const QString& text, Qt::Alignment alignment)
{
    const double width = QFontMetricsF(font, device).horizontalAdvance(text);
    QFont used = font;
    if (width > area.width())
        used.setPixelSize(std::max(1, int(font.pixelSize() * area.width() / width)));
    painter.setFont(used);
    painter.drawText(area, alignment, text);
}

QFont SizedFont(double points, bool bold, double pixels)
{
    QFont font = PrintFont(points, bold, false);
    font.setPixelSize(std::max(1, int(pixels)));
    return font;
}

} // namespace

void TCrossPrintLayout::PaintGrid(QPainter& painter, const TPlacedGrid& grid) const
{
    if (FColCount == 0 || FRowCount == 0 || grid.Page < 0)
        return;
    const double size = grid.Cell;
    const QColor ink(Qt::black);
    const QFont numberFont = SizedFont(8, false, size * 0.26);
    const QFont phraseFont = SizedFont(8, true, size * 0.24);
    const QFont letterFont = SizedFont(10, false, size * 0.62);
    const double pad = size * 0.07;
    QPen thin(ink, std::max(1.0, Mm(0.25)));
    for (int col = 1; col <= FColCount; ++col) {
        for (int row = 1; row <= FRowCount; ++row) {
            const TCellFace& face = FFaces.At(col, row);
            if (face.Shape == TCellShape::Missing)
                continue;
            const QRectF cell(grid.Rect.left() + (col - 1) * size, grid.Rect.top() + (row - 1) * size, size, size);
            const bool open = face.Shape == TCellShape::Letter;
            const QString phraseLabel = PhraseLabel(col, row);
            if (face.Shape == TCellShape::Block)
                painter.fillRect(cell, ink);
            // The cells of the "rozwiązanie" (the keyword's column of a krzyżówka z hasłem) stand out.
            if (open && !phraseLabel.isEmpty())
                painter.fillRect(cell, QColor(225, 225, 225));
            painter.setPen(thin);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(cell);
            if (!open)
                continue;
            if (grid.Filled) {
                if (face.Answer != 0) {
                    painter.setFont(letterFont);
                    painter.drawText(cell, Qt::AlignCenter, ScreenText(std::string(1, char(face.Answer))));
                }
                continue;
            }
            const QRectF area = cell.adjusted(pad, pad * 0.6, -pad, -pad);
            if (const QString label = CellLabel(col, row); !label.isEmpty())
                DrawSmallNumber(painter, FDevice, area, numberFont, label, Qt::AlignLeft | Qt::AlignTop);
            if (!phraseLabel.isEmpty())
                DrawSmallNumber(painter, FDevice, cell.adjusted(pad, pad, -pad, -pad * 0.4), phraseFont, phraseLabel,
                                Qt::AlignRight | Qt::AlignBottom);
        }
    }
    // A heavier frame around the whole grid, drawn only along existing squares.
    painter.setPen(QPen(ink, std::max(1.0, Mm(0.7)), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(grid.Rect);
}

void TCrossPrintLayout::PaintStrip(QPainter& painter) const
{
    if (FStrip.empty())
        return;
    const double box = FStrip.front().Rect.width();
    const QFont numberFont = SizedFont(8, true, box * 0.26);
    painter.setPen(QPen(Qt::black, std::max(1.0, Mm(0.35))));
    painter.setBrush(Qt::NoBrush);
    for (const TStripBox& item : FStrip) {
        painter.drawRect(item.Rect);
        const double pad = box * 0.07;
        DrawSmallNumber(painter, FDevice, item.Rect.adjusted(pad, pad, -pad, -pad * 0.4), numberFont, item.Number,
                        Qt::AlignRight | Qt::AlignBottom);
    }
}

void TCrossPrintLayout::PaintPage(QPainter& painter, int page) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (page == 0) {
        PaintGrid(painter, {0, FGridRect, FCell, false});
        PaintStrip(painter);
    }
    if (page == FSolutionGrid.Page)
        PaintGrid(painter, FSolutionGrid);
    painter.setPen(Qt::black);
    for (const TPlacedLine& line : FLines) {
        if (line.Page != page)
            continue;
        switch (line.Style) {
        case lsTitle:
            painter.setFont(TitleFont());
            break;
        case lsSubtitle:
            painter.setFont(SubtitleFont());
            break;
        case lsHeading:
            painter.setFont(HeadingFont());
            break;
        case lsFooter:
            painter.setFont(FooterFont());
            break;
        case lsClue:
            if (!line.Number.isEmpty()) {
                painter.setFont(ClueNumberFont());
                const double width = QFontMetricsF(ClueNumberFont(), FDevice).horizontalAdvance(line.Number);
                painter.drawText(QPointF(line.NumberRight - width, line.Baseline.y()), line.Number);
            }
            painter.setFont(ClueFont());
            break;
        }
        painter.drawText(line.Baseline, line.Text);
    }
    painter.restore();
}

bool PaintCrossWord(const TCrossTXT& doc, QPagedPaintDevice& device, const QString& title, const TPrintOptions& options)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const TCrossPrintLayout layout(doc, title, &device, QSizeF(device.width(), device.height()), options);
    for (int page = 0; page < layout.PageCount(); ++page) {
        if (page > 0)
            device.newPage();
        layout.PaintPage(painter, page);
    }
    return painter.end();
}

namespace {

// "Dołącz rozwiązanie", offered only where there is an answer key to print.
QCheckBox* SolutionCheckBox(const TCrossTXT& doc, const TPrintOptions& options, QWidget* parent)
{
    auto* box = new QCheckBox(QStringLiteral("Dołącz rozwiązanie"), parent);
    box->setObjectName(QStringLiteral("IncludeSolution"));
    const bool available = doc.DocumentKind() == TDocumentKind::CrossWord && HasAnswers(doc);
    box->setEnabled(available);
    box->setChecked(available && options.IncludeSolution);
    box->setToolTip(available ? QStringLiteral("Dodaje stronę z wypełnioną siatką i odpowiedziami")
                              : QStringLiteral("Krzyżówka nie ma zapisanych odpowiedzi"));
    return box;
}

} // namespace

bool PrintCrossWord(const TCrossTXT& doc, QWidget* parent)
{
    TPrintOptions options;
    return PrintCrossWord(doc, parent, options);
}

bool PrintCrossWord(const TCrossTXT& doc, QWidget* parent, TPrintOptions& options)
{
    QPrinter printer(QPrinter::HighResolution);
    return PrintCrossWord(doc, printer, parent, options);
}

bool PrintCrossWord(const TCrossTXT& doc, QPrinter& printer, QWidget* parent)
{
    TPrintOptions options;
    return PrintCrossWord(doc, printer, parent, options);
}

bool PrintCrossWord(const TCrossTXT& doc, QPrinter& printer, QWidget* parent, TPrintOptions& options)
{
    printer.setDocName(PrintTitle(doc));
    printer.setPageMargins(QMarginsF(MarginMm, MarginMm, MarginMm, MarginMm), QPageLayout::Millimeter);
    QPrintDialog dialog(&printer, parent);
    auto* tab = new QWidget;
    tab->setWindowTitle(QStringLiteral("Krzyżówka"));
    auto* layout = new QVBoxLayout(tab);
    auto* fields = new QFormLayout;
    const auto lineEdit = [&](const char* name, const QString& text, const QString& hint) {
        auto* edit = new QLineEdit(text, tab);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setPlaceholderText(hint);
        return edit;
    };
    QLineEdit* title = lineEdit("PrintTitle", options.Title.isEmpty() ? QStringLiteral("Krzyżówka") : options.Title,
                                QStringLiteral("pusty: nazwa pliku"));
    QLineEdit* subtitle = lineEdit("PrintSubtitle", options.Subtitle, QStringLiteral("np. autor, klasa, data"));
    fields->addRow(QStringLiteral("&Tytuł:"), title);
    fields->addRow(QStringLiteral("&Podtytuł lub autor:"), subtitle);
    layout->addLayout(fields);
    const auto checkBox = [&](const char* name, const QString& caption, bool checked) {
        auto* box = new QCheckBox(caption, tab);
        box->setObjectName(QString::fromLatin1(name));
        box->setChecked(checked);
        layout->addWidget(box);
        return box;
    };
    QCheckBox* nameLine = checkBox("NameLine", QStringLiteral("Linia „Imię i nazwisko / data”"), options.NameLine);
    QCheckBox* onePage = checkBox("OnePage", QStringLiteral("Zmieść siatkę i hasła na jednej stronie, jeśli się da"),
                                  options.OnePage);
    QCheckBox* solution = SolutionCheckBox(doc, options, tab);
    layout->addWidget(solution);
    layout->addStretch();
    dialog.setOptionTabs({tab});
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (solution->isEnabled())
        options.IncludeSolution = solution->isChecked();
    options.Title = title->text().trimmed();
    options.Subtitle = subtitle->text().trimmed();
    options.NameLine = nameLine->isChecked();
    options.OnePage = onePage->isChecked();
    TPrintOptions used = options;
    used.IncludeSolution = solution->isChecked();
    if (!PaintCrossWord(doc, printer, PrintTitle(doc, used), used))
        ThrowWriteError(printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName());
    return true;
}

void SaveCrossWordAsPdf(const TCrossTXT& doc, const QString& fileName, const TPrintOptions& options)
{
    // A PDF written over the crossword it shows would destroy it.
    if (!doc.FileName.empty() && IsSameFile(fileName.toStdString(), doc.FileName))
        throw EMirakolnikError("Plik " + fileName.toStdString() + " jest tym samym plikiem co " + doc.FileName
                               + "; niczego nie zapisano");
    // The pages are made in memory and saved as every other file is: through a
    // synced replacement, whose failure says why (no space left, no access...).
    QBuffer pages;
    pages.open(QIODevice::WriteOnly);
    bool painted = false;
    {
        QPdfWriter writer(&pages);
        writer.setTitle(PrintTitle(doc, options));
        writer.setCreator(QStringLiteral("Mirakolnik Zodevidar"));
        writer.setResolution(600);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(MarginMm, MarginMm, MarginMm, MarginMm), QPageLayout::Millimeter));
        painted = PaintCrossWord(doc, writer, PrintTitle(doc, options), options);
    }
    if (!painted)
        ThrowWriteError(fileName);
    WriteExportFile(fileName.toStdString(), [&] { return pages.data().toStdString(); });
}

bool ExportCrossWordAsPdf(const TCrossTXT& doc, QWidget* parent, const QString& directory)
{
    TPrintOptions options;
    return ExportCrossWordAsPdf(doc, parent, directory, options);
}

bool ExportCrossWordAsPdf(const TCrossTXT& doc, QWidget* parent, const QString& directory, TPrintOptions& options)
{
    QFileDialog dialog(parent, QStringLiteral("Zapisz krzyżówkę jako PDF"), directory,
                       QStringLiteral("Pliki PDF (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    // The check box needs the dialog's own widgets: a system dialog takes none.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QCheckBox* solution = SolutionCheckBox(doc, options, &dialog);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(solution, grid->rowCount(), 0, 1, grid->columnCount());
    const QString title = PrintTitle(doc);
    if (!title.isEmpty())
        dialog.selectFile(title + QStringLiteral(".pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    if (solution->isEnabled())
        options.IncludeSolution = solution->isChecked();
    TPrintOptions used = options;
    used.IncludeSolution = solution->isChecked();
    SaveCrossWordAsPdf(doc, dialog.selectedFiles().constFirst(), used);
    return true;
}

QImage RenderCrossWordPage(const TCrossTXT& doc, int page, int dpi, const QPageSize& pageSize,
                           const TPrintOptions& options)
{
    const QSize sheet = pageSize.sizePixels(dpi);
    QImage image(sheet, QImage::Format_RGB32);
    const int dotsPerMeter = int(dpi / 0.0254 + 0.5);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    const double margin = MarginMm * dpi / 25.4;
    const TCrossPrintLayout layout(doc, PrintTitle(doc, options), &image,
                                   QSizeF(sheet.width() - 2 * margin, sheet.height() - 2 * margin), options);
    if (page >= 0 && page < layout.PageCount()) {
        QPainter painter(&image);
        painter.translate(margin, margin);
        layout.PaintPage(painter, page);
    }
    return image;
}

} // namespace mz
