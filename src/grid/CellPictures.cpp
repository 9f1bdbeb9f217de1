#include "grid/CellPictures.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QStringList>

#include <algorithm>

namespace mz {

namespace {

const QColor Paper(236, 236, 236);
const QColor Frame(165, 165, 165);
const QColor Ink(16, 16, 16);
const QColor Block(40, 40, 40);
const QString BlockedMark = QStringLiteral("\x01");

// The characters in glyph order; an empty string marks a place without a
// character of its own, "\x01" the blocked cell.
const QStringList& GlyphTexts()
{
    static const QStringList texts = [] {
        QStringList t;
        for (char c = 'A'; c <= 'Z'; ++c)
            t << QString(QChar(c));
        for (char c = '0'; c <= '9'; ++c)
            t << QString(QChar(c));
        for (const char* polish : {"Ą", "Ć", "Ę", "Ł", "Ń", "Ó", "Ś", "Ź", "Ż"})
            t << QString::fromUtf8(polish);
        t << QString() << QString() << QString() << QString();
        t << QStringLiteral("?") << QString() << BlockedMark;
        return t;
    }();
    return texts;
}

// The glyphs' family: the DejaVu files are named explicitly so that the
// pictures do not depend on which fonts the platform plugin offers.
QString GlyphFamily()
{
    static const QString family = [] {
        for (const char* path :
             {"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", "/usr/share/fonts/dejavu/DejaVuSans-Bold.ttf"}) {
            if (!QFile::exists(QString::fromLatin1(path)))
                continue;
            const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(path));
            const QStringList families = QFontDatabase::applicationFontFamilies(id);
            if (!families.isEmpty())
                return families.front();
        }
        return QStringLiteral("Sans Serif");
    }();
    return family;
}

QFont GlyphFont(int cellSize)
{
    QFont font(GlyphFamily());
    font.setBold(true);
    // 18 pixels in a 28-pixel cell.
    font.setPixelSize(std::max(1, (cellSize * 18 + DefaultCellSize / 2) / DefaultCellSize));
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

// Every capital stands on the same base line, with its cap height centred in
// the cell, so that the letters of a word line up; accents rise above the
// capitals and the ogonek hangs below.
void DrawGlyph(QPainter& painter, const QRect& cell, const QString& text, const QFont& font)
{
    const QFontMetricsF metrics(font);
    const QRectF bounds = metrics.tightBoundingRect(text);
    const qreal baseLine = cell.top() + (cell.height() + metrics.capHeight()) / 2.0;
    const qreal x = cell.left() + (cell.width() - bounds.width()) / 2.0 - bounds.left();
    painter.setFont(font);
    painter.setPen(Ink);
    painter.drawText(QPointF(qRound(x), qRound(baseLine)), text);
}

} // namespace

bool CellPictureHasGlyph(int index)
{
    const QStringList& texts = GlyphTexts();
    return index >= 0 && index < texts.size() && !texts[index].isEmpty() && texts[index] != BlockedMark;
}

QImage DrawCellPictures(int cellSize)
{
    const QFont font = GlyphFont(cellSize);
    const QStringList& texts = GlyphTexts();
    QImage image(cellSize * CellPictureColumns, cellSize * CellPictureRows, QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (int i = 0; i < texts.size(); ++i) {
        const QRect cell((i % CellPictureColumns) * cellSize, (i / CellPictureColumns) * cellSize, cellSize, cellSize);
        if (texts[i] == BlockedMark) {
            painter.fillRect(cell, Block);
            continue;
        }
        painter.fillRect(cell, Paper);
        painter.setPen(Frame);
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        if (!texts[i].isEmpty())
            DrawGlyph(painter, cell, texts[i], font);
    }
    return image;
}

} // namespace mz
