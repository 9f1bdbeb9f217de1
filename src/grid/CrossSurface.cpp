#include "grid/CrossSurface.h"

#include "core/CellChars.h"
#include "core/Cp1250.h"
#include "documents/CrosswordKind.h"
#include "grid/CrossDocument.h"

#include <QFocusEvent>
#include <QImageReader>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <iterator>
#include <set>

namespace mz {

namespace {

constexpr int GlyphColumns = 26;
constexpr int GlyphRows = 2;
constexpr int BlinkInterval = 500;
constexpr int HighlightStep = 30;
// Solving: the word at the cursor and the cursor's own cell are tinted, and
// the cell gets a solid frame, so the cursor is found without blinking.
const QColor WordTint(175, 210, 255);
const QColor CursorTint(255, 205, 70);
const QColor CursorFrame(0, 45, 150);
const QColor CursorFrameOnBlock(255, 150, 0);
// The letters typed while solving that Undo can take back.
constexpr size_t MaxUndo = 1000;

const char* const MsgRange = "Wartość ColCount nie mieści się w dozwolnym zakresie";
const char* const MsgColumn = "Niewłaściwa kolumna";
const char* const MsgRow = "Niewłaściwy wiersz";
const char* const MsgChar = "Użyto niedozwolonego znaku";
const char* const MsgBorder = "Niewłaściwa szerokość ramki";
const char* const MsgNoCell = "Nie odnaleziono żądanej komórki";

constexpr unsigned char Blank = BlankCell;
constexpr unsigned char Blocked = BlockedCell;

// The CP1250 code of the Polish capital that the typed text stands for (ą or Ą
// give Ą), or 0 when the text is not exactly one of the nine Polish letters.
unsigned char PolishCapitalOfText(const QString& text)
{
    const auto codePoints = text.toUcs4();
    if (codePoints.size() != 1)
        return 0;
    unsigned char byte = 0;
    if (!UnicodeToCp1250(codePoints.front(), byte))
        return 0;
    const unsigned char upper = Cp1250ToUpper(byte);
    const auto* end = std::end(PolishCapitals);
    return std::find(std::begin(PolishCapitals), end, upper) != end ? upper : 0;
}

} // namespace

TCrossSurface::TCrossSurface(QWidget* parent) : QWidget(parent)
{
    FTimer.setInterval(BlinkInterval);
    connect(&FTimer, &QTimer::timeout, this, &TCrossSurface::BlinkStep);
    // Tab reaches the grid; a click takes the focus only when the grid shows a cursor.
    setFocusPolicy(Qt::TabFocus);
    resize(0, 0);
}

TCrossSurface::~TCrossSurface() = default;

TCrossDocument* TCrossSurface::Document() const
{
    return FDocument;
}

void TCrossSurface::SetDocument(TCrossDocument* document)
{
    if (document == FDocument)
        return;
    if (FDocument)
        disconnect(FDocument, nullptr, this, nullptr);
    FDocument = document;
    if (document)
        Connect(*document);
    DocumentReset();
}

void TCrossSurface::Connect(TCrossDocument& document)
{
    connect(&document, &TCrossDocument::CellChanged, this, &TCrossSurface::DocumentCellChanged);
    connect(&document, &TCrossDocument::Resized, this, &TCrossSurface::DocumentResized);
    connect(&document, &TCrossDocument::Reset, this, &TCrossSurface::DocumentReset);
    connect(&document, &TCrossDocument::SolutionChanged, this, &TCrossSurface::RedrawAll);
}

int TCrossSurface::ColCount() const
{
    return FDocument ? FDocument->ColCount() : 0;
}

int TCrossSurface::RowCount() const
{
    return FDocument ? FDocument->RowCount() : 0;
}

TCrossSurface::TCellView* TCrossSurface::FindCell(int ACol, int ARow)
{
    if (ACol < 1 || ARow < 1 || ACol > FColCount || ARow > FRowCount) {
        const auto it = FCells.find({ACol, ARow});
        return it == FCells.end() ? nullptr : &it->second;
    }
    return &FCells[{ACol, ARow}];
}

const TCrossSurface::TCellView* TCrossSurface::FindCell(int ACol, int ARow) const
{
    const auto it = FCells.find({ACol, ARow});
    return it == FCells.end() ? nullptr : &it->second;
}

char TCrossSurface::GetCell(int ACol, int ARow) const
{
    return static_cast<char>(FDocument ? FDocument->GetCell(ACol, ARow) : Blank);
}

void TCrossSurface::SetCell(int ACol, int ARow, char Ch)
{
    if (ACol <= 0 || ARow <= 0)
        return;
    const auto code = static_cast<unsigned char>(Ch);
    if (!IsCellChar(code))
        throw EInvalidCrossSurfaceOperation(MsgChar);
    if (FDocument)
        FDocument->SetCell(ACol, ARow, code);
}

void TCrossSurface::DocumentCellChanged(int ACol, int ARow)
{
    if (TCellView* cell = FindCell(ACol, ARow))
        cell->Wrong = false;
    DrawCell(ACol, ARow);
    update();
}

// The part that stays keeps its pictures: only the cells that come into view are drawn.
void TCrossSurface::DocumentResized()
{
    const int oldCols = FColCount;
    const int oldRows = FRowCount;
    const int cols = ColCount();
    const int rows = RowCount();
    ResizeGridImage(cols * FCellImageWidth, rows * FCellImageHeight);
    if (cols != oldCols)
        resize(Logical(FGridImage.width()), height());
    if (rows != oldRows)
        resize(width(), Logical(FGridImage.height()));
    updateGeometry();
    FColCount = cols;
    FRowCount = rows;
    FCurrCol = std::clamp(FCurrCol, 1, std::max(cols, 1));
    FCurrRow = std::clamp(FCurrRow, 1, std::max(rows, 1));
    DrawCells([&](int c, int r) { return c > oldCols || r > oldRows; });
    update();
}

void TCrossSurface::DocumentReset()
{
    FUndo.clear();
    for (auto& [key, cell] : FCells)
        cell.Wrong = false;
    if (ColCount() != FColCount || RowCount() != FRowCount)
        DocumentResized();
    RedrawAll();
}

void TCrossSurface::ResizeGridImage(int width, int height)
{
    if (FGridImage.width() == width && FGridImage.height() == height)
        return;
    // The part that stays keeps its pictures: only the cells that come into
    // view are drawn afresh.
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(Qt::white);
    if (!FGridImage.isNull() && !image.isNull()) {
        QPainter painter(&image);
        painter.drawImage(0, 0, FGridImage);
    }
    FGridImage = image;
}

void TCrossSurface::SetColCount(int Value)
{
    if (Value < 4)
        throw EInvalidCrossSurfaceOperation(MsgRange);
    if (FDocument)
        FDocument->Resize(Value, RowCount());
}

void TCrossSurface::SetRowCount(int Value)
{
    if (Value < 3)
        throw EInvalidCrossSurfaceOperation(MsgRange);
    if (FDocument)
        FDocument->Resize(ColCount(), Value);
}

void TCrossSurface::SetCellHighlight(int ACol, int ARow, bool On)
{
    if (ACol < 1 || ARow < 1)
        throw EInvalidCrossSurfaceOperation(MsgRange);
    TCellView* cell = FindCell(ACol, ARow);
    if (!cell)
        return;
    cell->Highlight = On;
    DrawCell(ACol, ARow);
}

void TCrossSurface::ClearHighlights()
{
    for (auto& [key, cell] : FCells)
        cell.Highlight = false;
    DrawCells();
}

void TCrossSurface::RedrawAll()
{
    DrawCells();
    update();
}

void TCrossSurface::MarkWrong(int ACol, int ARow)
{
    if (ACol < 1 || ARow < 1 || ACol > FColCount || ARow > FRowCount)
        return;
    FindCell(ACol, ARow)->Wrong = true;
    DrawCell(ACol, ARow);
    update();
}

void TCrossSurface::ClearWrong()
{
    std::set<TCellKey> marked;
    for (auto& [key, cell] : FCells)
        if (std::exchange(cell.Wrong, false))
            marked.insert(key);
    DrawCells([&](int c, int r) { return marked.count({c, r}) != 0; });
    update();
}

void TCrossSurface::ShowFocus(int ACol, int ARow)
{
    if (ACol < 1 || ACol > FColCount)
        throw EInvalidCrossSurfaceOperation(MsgColumn);
    if (ARow < 1 || ARow > FRowCount)
        throw EInvalidCrossSurfaceOperation(MsgRow);
    FCurrCol = ACol;
    FCurrRow = ARow;
    if (!FFocusVisible)
        return;
    TCellView* cell = FindCell(ACol, ARow);
    if (!cell)
        throw EInvalidCrossSurfaceOperation(MsgNoCell);
    if (!cell->FocusDrawn) {
        InvertFocusFrame(ACol, ARow);
        cell->FocusDrawn = true;
    }
}

void TCrossSurface::ShowCursor()
{
    if (FColCount > 0 && FRowCount > 0)
        ShowFocus(FCurrCol, FCurrRow);
}

void TCrossSurface::HideFocus()
{
    if (!FFocusVisible)
        return;
    for (auto& [key, cell] : FCells) {
        if (cell.FocusDrawn) {
            InvertFocusFrame(key.first, key.second);
            cell.FocusDrawn = false;
        }
    }
}

// The focus frame is a dotted one-pixel frame whose pixels are inverted, so
// drawing it a second time at the same place restores the picture. Every
// frame pixel is visited exactly once (the corners too), and pixels outside
// the grid image are left out.
void TCrossSurface::InvertFocusFrame(int ACol, int ARow)
{
    const int w = FCellImageWidth;
    const int h = FCellImageHeight;
    const int b = FBorder;
    const int x0 = (ACol - 1) * (w + b);
    const int y0 = (ARow - 1) * (h + b);
    const int left = x0 + b / 2;
    const int top = y0 + b / 2;
    const int right = x0 + w + b + b / 2; // exclusive
    const int bottom = y0 + h + b + b / 2;
    if (right <= left || bottom <= top || FGridImage.isNull())
        return;

    auto invert = [this](int x, int y) {
        if (x < 0 || y < 0 || x >= FGridImage.width() || y >= FGridImage.height())
            return;
        if ((x + y) % 2 != 0)
            return;
        uchar* p = FGridImage.scanLine(y) + x * 3;
        p[0] = static_cast<uchar>(~p[0]);
        p[1] = static_cast<uchar>(~p[1]);
        p[2] = static_cast<uchar>(~p[2]);
    };
    for (int x = left; x < right; ++x) {
        invert(x, top);
        if (bottom - 1 != top)
            invert(x, bottom - 1);
    }
    for (int y = top + 1; y < bottom - 1; ++y) {
        invert(left, y);
        if (right - 1 != left)
            invert(right - 1, y);
    }
}

int TCrossSurface::GlyphIndex(char Ch)
{
    const auto c = static_cast<unsigned char>(Ch);
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= '0' && c <= '9')
        return 26 + (c - '0');
    for (int i = 0; i < 9; ++i)
        if (PolishCapitals[i] == c)
            return 36 + i;
    switch (c) {
    case '?':
        return 49;
    case Blank:
        return 50;
    case Blocked:
        return 51;
    default:
        return -1;
    }
}

void TCrossSurface::DrawCells(const std::function<bool(int, int)>& which)
{
    const TCellFaces none;
    const TCellFaces& faces = FDocument ? FDocument->Faces() : none;
    for (int c = 1; c <= FColCount; ++c)
        for (int r = 1; r <= FRowCount; ++r)
            if (!which || which(c, r))
                DrawCell(c, r, faces.At(c, r));
}

void TCrossSurface::DrawCell(int ACol, int ARow)
{
    DrawCell(ACol, ARow, FDocument ? FDocument->Face(ACol, ARow) : TCellFace());
}

void TCrossSurface::DrawCell(int ACol, int ARow, const TCellFace& face)
{
    const int index = GlyphIndex(static_cast<char>(face.Letter));
    if (index < 0)
        throw EInvalidCrossSurfaceOperation(MsgChar);
    const int w = FCellImageWidth;
    const int h = FCellImageHeight;
    const QRect source((index % GlyphColumns) * w, (index / GlyphColumns) * h, w, h);
    const QPoint target((ACol - 1) * (w + FBorder) + FBorder, (ARow - 1) * (h + FBorder) + FBorder);
    TCellView* cell = FindCell(ACol, ARow);
    if (!cell)
        return;
    const QImage& strip = cell->Highlight ? FHighlightImages : FCellImages;
    if (!strip.isNull() && !FGridImage.isNull() && w > 0 && h > 0) {
        // Both images are 24-bit, so the copy is a plain byte copy, clipped to the grid image.
        const int x1 = std::max(target.x(), 0);
        const int y1 = std::max(target.y(), 0);
        const int x2 = std::min(target.x() + w, FGridImage.width());
        const int y2 = std::min(target.y() + h, FGridImage.height());
        for (int y = y1; y < y2; ++y) {
            const uchar* from =
                strip.constScanLine(source.y() + (y - target.y())) + (source.x() + (x1 - target.x())) * 3;
            uchar* to = FGridImage.scanLine(y) + x1 * 3;
            if (x2 > x1)
                std::copy(from, from + (x2 - x1) * 3, to);
        }
    }
    DrawMarks(ACol, ARow, target, face);
    cell->FocusDrawn = false;
    if (FFocusVisible && FTimer.isActive() && ACol == FCurrCol && ARow == FCurrRow)
        ShowFocus(ACol, ARow);
}

// The marks drawn over a cell's picture: the red frame of a wrong letter, the
// blue corner of a revealed one, the small number of a cell of the "rozwiązanie".
void TCrossSurface::DrawMarks(int ACol, int ARow, QPoint target, const TCellFace& face)
{
    if (!FDocument)
        return;
    const TCellView* cell = FindCell(ACol, ARow);
    const bool wrong = cell && cell->Wrong;
    const bool revealed = face.Revealed;
    const int number = face.PhraseNumber;
    const int w = FCellImageWidth;
    const int h = FCellImageHeight;
    if ((!wrong && !revealed && number == 0) || FGridImage.isNull() || w <= 0 || h <= 0)
        return;
    QPainter painter(&FGridImage);
    painter.setClipRect(QRect(target, QSize(w, h)));
    if (revealed) {
        const int side = std::max(4, w / 3);
        const QPoint corner = target + QPoint(w, 0);
        const QPoint triangle[3] = {corner, corner - QPoint(side, 0), corner + QPoint(0, side)};
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(30, 90, 210));
        painter.drawPolygon(triangle, 3);
    }
    if (wrong) {
        // A frame along the cell's edge and a corner, never across the letter:
        // the bar of Ł and the accent of Ń stay readable under the mark.
        const int pen = std::max(2, w / 12);
        const QColor red(220, 20, 20);
        painter.setPen(QPen(red, pen, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(target, QSize(w, h)).adjusted(pen / 2 + 1, pen / 2 + 1, -(pen + 1) / 2 - 1,
                                                              -(pen + 1) / 2 - 1));
        const int side = std::max(4, w / 4);
        const QPoint corner = target + QPoint(0, h);
        const QPoint triangle[3] = {corner, corner - QPoint(0, side), corner + QPoint(side, 0)};
        painter.setPen(Qt::NoPen);
        painter.setBrush(red);
        painter.drawPolygon(triangle, 3);
    }
    if (number > 0) {
        // A light tint marks the cells (the keyword's column of a krzyżówka z hasłem); letters stay dark.
        painter.setCompositionMode(QPainter::CompositionMode_Multiply);
        painter.fillRect(QRect(target, QSize(w, h)), QColor(255, 238, 170));
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        QFont font = painter.font();
        font.setPixelSize(std::max(6, h / 3));
        painter.setFont(font);
        painter.setPen(QColor(160, 0, 0));
        painter.drawText(QRect(target, QSize(w - 1, h - 1)), Qt::AlignRight | Qt::AlignBottom, QString::number(number));
    }
}

void TCrossSurface::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // On a high-density screen the image's pixels are the screen's own.
    painter.drawImage(QRectF(0, 0, FGridImage.width() / FPixelRatio, FGridImage.height() / FPixelRatio), FGridImage);
    if (FMode == mSolve && FFocusVisible && isEnabled() && FCellImageWidth > 0 && FCellImageHeight > 0)
        DrawCursor(painter);
}

// Drawn over the grid image, never into it: the picture of every cell stays
// what the document and the marks make it.
void TCrossSurface::DrawCursor(QPainter& painter) const
{
    const qreal w = FCellImageWidth / FPixelRatio;
    const qreal h = FCellImageHeight / FPixelRatio;
    const qreal b = FBorder / FPixelRatio;
    auto cellRect = [&](int col, int row) { return QRectF((col - 1) * (w + b) + b, (row - 1) * (h + b) + b, w, h); };
    painter.setCompositionMode(QPainter::CompositionMode_Multiply);
    for (const auto& [key, cell] : FCells)
        if (cell.Highlight && key.first <= FColCount && key.second <= FRowCount
            && (key.first != FCurrCol || key.second != FCurrRow))
            painter.fillRect(cellRect(key.first, key.second), WordTint);
    const QRectF current = cellRect(FCurrCol, FCurrRow);
    painter.fillRect(current, CursorTint);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const qreal frame = std::max<qreal>(2, std::round(w / 10));
    const bool block = static_cast<unsigned char>(GetCell(FCurrCol, FCurrRow)) == Blocked;
    painter.setPen(QPen(block ? CursorFrameOnBlock : CursorFrame, frame, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(current.adjusted(frame / 2, frame / 2, -frame / 2, -frame / 2));
}

QSize TCrossSurface::sizeHint() const
{
    return QSize(Logical(FGridImage.width()), Logical(FGridImage.height()));
}

QImage TCrossSurface::Lightened(const QImage& source)
{
    QImage image = source.convertToFormat(QImage::Format_RGB888);
    const int bytes = image.width() * 3;
    for (int y = 0; y < image.height(); ++y) {
        uchar* line = image.scanLine(y);
        for (int i = 0; i < bytes; ++i)
            line[i] = static_cast<uchar>(std::min(line[i] + HighlightStep, 255));
    }
    return image;
}

void TCrossSurface::SetFileName(const QString& Value)
{
    // The file is read before anything changes, so a bad file leaves the control as it was.
    QImageReader reader(Value);
    reader.setAutoTransform(false);
    const QImage loaded = reader.read();
    if (loaded.isNull())
        throw EInvalidCrossSurfaceOperation(reader.errorString().toStdString());
    SetCellPictures(loaded);
}

void TCrossSurface::SetCellPictures(const QImage& pictures)
{
    const bool wasRunning = FTimer.isActive();
    FTimer.stop();
    if (FFocusVisible && isEnabled())
        HideFocus();
    FCellImages = pictures.convertToFormat(QImage::Format_RGB888);
    FPixelRatio = pictures.devicePixelRatio() > 0 ? pictures.devicePixelRatio() : 1;
    FCellImages.setDevicePixelRatio(1);
    FHighlightImages = Lightened(FCellImages);
    FCellImageHeight = FHighlightImages.height() / GlyphRows;
    FCellImageWidth = FHighlightImages.width() / GlyphColumns;
    ResizeGridImage(FCellImageWidth * FColCount, FCellImageHeight * FRowCount);
    if (width() == 0 || height() == 0)
        resize(sizeHint());
    updateGeometry();
    if (wasRunning && FFocusVisible)
        ShowCursor();
    if (wasRunning)
        FTimer.start();
    DrawCells();
}

void TCrossSurface::SetBorder(int Value)
{
    if (Value < 0)
        throw EInvalidCrossSurfaceOperation(MsgBorder);
    FBorder = Value;
}

void TCrossSurface::setVisible(bool visible)
{
    // A parent shown for the first time shows its never hidden children
    // through this call too; that is no change of the grid's own.
    const bool byParent = visible && !testAttribute(Qt::WA_WState_ExplicitShowHide);
    QWidget::setVisible(visible);
    if (!byParent)
        emit VisibilityChanged(visible);
}

void TCrossSurface::SetWriteDir(TDirection Value)
{
    ChangeWriteDir(Value);
    FireExplRefresh();
}

void TCrossSurface::ChangeWriteDir(TDirection dir)
{
    if (dir == FWriteDir)
        return;
    FWriteDir = dir;
    update();
    emit WriteDirChanged(dir);
}

bool TCrossSurface::HasWord(int ACol, int ARow, TDirection dir) const
{
    return FDocument && FDocument->CrosswordKind().WordAt(FDocument->Document(), {ACol, ARow}, dir) != 0;
}

void TCrossSurface::FollowWord()
{
    if (FMode != mSolve)
        return;
    const TDirection other = FWriteDir == TDirection::Across ? TDirection::Down : TDirection::Across;
    if (!HasWord(FCurrCol, FCurrRow, FWriteDir) && HasWord(FCurrCol, FCurrRow, other))
        ChangeWriteDir(other);
}

void TCrossSurface::MoveCursor(int ACol, int ARow, TDirection dir)
{
    HideFocus();
    ShowFocus(std::clamp(ACol, 1, FColCount), std::clamp(ARow, 1, FRowCount));
    ChangeWriteDir(dir);
    update();
    FireExplRefresh();
}

bool TCrossSurface::Undo()
{
    while (!FUndo.empty()) {
        const TTypedCell typed = FUndo.back();
        FUndo.pop_back();
        // A cell changed since (revealed, or typed over and taken back) is passed over.
        if (static_cast<unsigned char>(GetCell(typed.Col, typed.Row)) != typed.After)
            continue;
        SetCell(typed.Col, typed.Row, static_cast<char>(typed.Before));
        HideFocus();
        ShowFocus(std::clamp(typed.Col, 1, FColCount), std::clamp(typed.Row, 1, FRowCount));
        update();
        FireExplRefresh();
        return true;
    }
    return false;
}

void TCrossSurface::FireExplRefresh()
{
    emit CursorMoved(FCurrCol, FCurrRow);
}

// The drawing step still sees the old value: switching the cursor on draws
// nothing now (a later blink shows it), switching it off removes it at once.
void TCrossSurface::SetFocusVisible(bool Value)
{
    if (Value)
        FTimer.start();
    else
        FTimer.stop();
    if (Value)
        ShowCursor();
    else
        HideFocus();
    FFocusVisible = Value;
}

void TCrossSurface::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && FFocusVisible && hasFocus()) {
        if (isEnabled()) {
            ShowCursor();
            FTimer.start();
        } else {
            HideFocus();
            FTimer.stop();
        }
        update();
    }
    QWidget::changeEvent(event);
}

void TCrossSurface::BlinkStep()
{
    if (!FFocusVisible)
        return;
    if (FBlinkPhase)
        ShowCursor();
    else
        HideFocus();
    FBlinkPhase = !FBlinkPhase;
    update();
}

void TCrossSurface::focusInEvent(QFocusEvent*)
{
    if (FFocusVisible)
        FTimer.start();
}

void TCrossSurface::focusOutEvent(QFocusEvent*)
{
    FTimer.stop();
    HideFocus();
    update();
}

void TCrossSurface::Advance()
{
    if (FWriteDir == TDirection::Across) {
        if (FCurrCol < FColCount)
            ++FCurrCol;
    } else if (FCurrRow < FRowCount) {
        ++FCurrRow;
    }
}

// Solving: where the crossword's kind sends typing after a letter.
void TCrossSurface::AdvanceInWord()
{
    if (FMode == mEdit) {
        Advance();
        return;
    }
    if (!FDocument)
        return;
    const TCrosswordKind& kind = FDocument->CrosswordKind();
    if (const auto place = kind.PlaceAfter(FDocument->Document(), {FCurrCol, FCurrRow}, FWriteDir)) {
        FCurrCol = place->Cell.Col;
        FCurrRow = place->Cell.Row;
        ChangeWriteDir(DirectionOf(place->Horizontal));
    }
}

void TCrossSurface::Clear()
{
    const auto before = static_cast<unsigned char>(GetCell(FCurrCol, FCurrRow));
    if (FMode == mEdit || before != Blocked)
        SetCell(FCurrCol, FCurrRow, static_cast<char>(Blank));
    const auto after = static_cast<unsigned char>(GetCell(FCurrCol, FCurrRow));
    if (FMode == mSolve && after != before) {
        FUndo.push_back({FCurrCol, FCurrRow, before, after});
        if (FUndo.size() > MaxUndo)
            FUndo.erase(FUndo.begin());
    }
}

// Writing skips blocked cells in solving, but the cursor moves on all the same.
void TCrossSurface::TypeChar(unsigned char ch)
{
    // Typing again in a cell marked wrong takes the mark away, even the same letter.
    if (TCellView* cell = FindCell(FCurrCol, FCurrRow); cell && cell->Wrong) {
        cell->Wrong = false;
        DrawCell(FCurrCol, FCurrRow);
    }
    const auto before = static_cast<unsigned char>(GetCell(FCurrCol, FCurrRow));
    if (FMode == mEdit || before != Blocked)
        SetCell(FCurrCol, FCurrRow, static_cast<char>(ch));
    const auto after = static_cast<unsigned char>(GetCell(FCurrCol, FCurrRow));
    if (FMode == mSolve && after != before) {
        FUndo.push_back({FCurrCol, FCurrRow, before, after});
        if (FUndo.size() > MaxUndo)
            FUndo.erase(FUndo.begin());
    }
    AdvanceInWord();
}

// Ctrl held with A, C, E, L, N, O, S, X or Z types the Polish letter of that
// key (the only way on a keyboard without a Polish layout); with other letters
// it does nothing.
bool TCrossSurface::HandleKey(int key, Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers held = modifiers & (Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier);
    const bool ctrlAlone = held == Qt::ControlModifier;
    const bool altAlone = held == Qt::AltModifier;
    // Ctrl with an arrow: to the start of a word, as the crossword's kind finds words.
    auto byWord = [this](bool forward, TDirection dir) {
        const TCrosswordKind& kind = FDocument->CrosswordKind();
        const TCellPos to = forward ? kind.NextWordStart(FDocument->Document(), {FCurrCol, FCurrRow}, dir)
                                    : kind.WordStartBefore(FDocument->Document(), {FCurrCol, FCurrRow}, dir);
        FCurrCol = to.Col;
        FCurrRow = to.Row;
    };

    switch (key) {
    case Qt::Key_Backspace: {
        // Alt with Backspace is the undo key (Ctrl with Z types Ż).
        if (altAlone) {
            if (FMode == mSolve)
                Undo();
            return true;
        }
        const auto here = static_cast<unsigned char>(GetCell(FCurrCol, FCurrRow));
        if (here == Blank || here == Blocked) {
            const bool across = FWriteDir == TDirection::Across;
            const int col = FCurrCol - (across ? 1 : 0);
            const int row = FCurrRow - (across ? 0 : 1);
            // Solving never steps back onto a block: at a word's first cell Backspace stays.
            const bool ontoBlock = FMode == mSolve && here != Blocked && col >= 1 && row >= 1
                && static_cast<unsigned char>(GetCell(col, row)) == Blocked;
            if (col >= 1 && row >= 1 && !ontoBlock) {
                FCurrCol = col;
                FCurrRow = row;
            }
        }
        Clear();
        break;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (FMode == mEdit) {
            SetCell(FCurrCol, FCurrRow, static_cast<char>(Blocked));
            Advance();
        } else {
            emit EnterPressed();
        }
        break;
    case Qt::Key_Space:
        Clear();
        Advance();
        break;
    case Qt::Key_End:
        if (ctrlAlone) {
            FCurrCol = FColCount;
            FCurrRow = FRowCount;
        } else if (FWriteDir == TDirection::Across) {
            FCurrCol = FColCount;
        } else {
            FCurrRow = FRowCount;
        }
        break;
    case Qt::Key_Home:
        if (ctrlAlone) {
            FCurrCol = 1;
            FCurrRow = 1;
        } else if (FWriteDir == TDirection::Across) {
            FCurrCol = 1;
        } else {
            FCurrRow = 1;
        }
        break;
    case Qt::Key_Left:
        if (ctrlAlone)
            byWord(false, TDirection::Across);
        else if (FCurrCol > 1)
            --FCurrCol;
        break;
    case Qt::Key_Up:
        if (ctrlAlone)
            byWord(false, TDirection::Down);
        else if (FCurrRow > 1)
            --FCurrRow;
        break;
    case Qt::Key_Right:
        if (ctrlAlone)
            byWord(true, TDirection::Across);
        else if (FCurrCol < FColCount)
            ++FCurrCol;
        break;
    case Qt::Key_Down:
        if (ctrlAlone)
            byWord(true, TDirection::Down);
        else if (FCurrRow < FRowCount)
            ++FCurrRow;
        break;
    case Qt::Key_Delete:
        Clear();
        break;
    default:
        if (key >= Qt::Key_A && key <= Qt::Key_Z) {
            if (altAlone)
                break;
            unsigned char ch = static_cast<unsigned char>(key);
            if (modifiers & Qt::ControlModifier) {
                // The keys of Ą Ć Ę Ł Ń Ó Ś Ź Ż, in the order of PolishCapitals.
                static constexpr char latin[9] = {'A', 'C', 'E', 'L', 'N', 'O', 'S', 'X', 'Z'};
                ch = 0;
                for (int i = 0; i < 9; ++i)
                    if (latin[i] == key)
                        ch = PolishCapitals[i];
                if (ch == 0)
                    return false;
            }
            TypeChar(ch);
            break;
        }
        return false;
    }
    AfterHandledKey();
    return true;
}

void TCrossSurface::AfterHandledKey()
{
    FollowWord();
    HideFocus();
    ShowCursor();
    update();
    FireExplRefresh();
}

void TCrossSurface::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    if (!FDocument)
        return;
    // AltGr layouts deliver the Polish letters as text; they are typed as Ctrl
    // with the Latin letter would type them.
    if (const unsigned char polish = PolishCapitalOfText(event->text())) {
        TypeChar(polish);
        AfterHandledKey();
        return;
    }
    HandleKey(event->key(), event->modifiers());
}

void TCrossSurface::mousePressEvent(QMouseEvent* event)
{
    // Only the left button belongs to the grid; the others go the usual way
    // (a context menu of the window, for instance).
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    if (!FFocusVisible)
        return;
    const bool hadFocus = hasFocus();
    setFocus(Qt::MouseFocusReason);
    // Without cells or their pictures there is no cell to place the click on.
    if (FCellImageWidth <= 0 || FCellImageHeight <= 0 || FColCount <= 0 || FRowCount <= 0)
        return;
    const QPointF pos = event->position() * FPixelRatio;
    const int col = std::clamp(static_cast<int>(pos.x()) / FCellImageWidth + 1, 1, FColCount);
    const int row = std::clamp(static_cast<int>(pos.y()) / FCellImageHeight + 1, 1, FRowCount);
    // Solving: a second click on the cursor's cell turns the writing direction
    // where a word of the other direction passes through it.
    if (FMode == mSolve && hadFocus && col == FCurrCol && row == FCurrRow) {
        const TDirection other = FWriteDir == TDirection::Across ? TDirection::Down : TDirection::Across;
        if (HasWord(col, row, other))
            ChangeWriteDir(other);
    }
    FTimer.stop();
    HideFocus();
    ShowFocus(col, row);
    FollowWord();
    update();
    FTimer.setInterval(BlinkInterval);
    FTimer.start();
    FireExplRefresh();
}

void TCrossSurface::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        event->accept();
    else
        QWidget::mouseReleaseEvent(event);
}

void TCrossSurface::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        emit DoubleClicked();
}

} // namespace mz
