// Draws the cell pictures of the grid, "tekst.bmp": 26 x 2 square cells in the
// order the grid control cuts them out (A-Z; 0-9, Ą Ć Ę Ł Ń Ó Ś Ź Ż, four
// unused places, "?", the open cell, the blocked cell), 24 bits per pixel.
//
// The pictures imitate a printed crossword: dark bold capitals on a light
// square with a thin grey frame, and solid dark blocked cells. The letter
// squares are a very light grey rather than pure white, because the grid
// marks the word under the cursor by adding 30 to every colour byte; on pure
// white that marking would not show.

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStringList>

#include <cstdio>
#include <set>
#include <vector>

namespace {

constexpr int CellSize = 28;
constexpr int Columns = 26;
constexpr int Rows = 2;

const QColor Paper(236, 236, 236);
const QColor Frame(165, 165, 165);
const QColor Ink(16, 16, 16);
const QColor Block(40, 40, 40);

// The characters in glyph order; an empty string marks a place without a
// character of its own, "\x01" the blocked cell.
QStringList GlyphTexts()
{
    QStringList texts;
    for (char c = 'A'; c <= 'Z'; ++c)
        texts << QString(QChar(c));
    for (char c = '0'; c <= '9'; ++c)
        texts << QString(QChar(c));
    for (const char* polish : {"Ą", "Ć", "Ę", "Ł", "Ń", "Ó", "Ś", "Ź", "Ż"})
        texts << QString::fromUtf8(polish);
    texts << QString() << QString() << QString() << QString();
    texts << QStringLiteral("?") << QString() << QStringLiteral("\x01");
    return texts;
}

QFont GlyphFont()
{
    // The DejaVu files are named explicitly so that the picture does not depend on
    // which fonts the platform plugin happens to offer (the build runs offscreen).
    QString family;
    for (const char* path : {"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
                             "/usr/share/fonts/dejavu/DejaVuSans-Bold.ttf"}) {
        if (!QFile::exists(QString::fromLatin1(path)))
            continue;
        const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(path));
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (!families.isEmpty()) {
            family = families.front();
            break;
        }
    }
    QFont font(family.isEmpty() ? QStringLiteral("Sans Serif") : family);
    font.setBold(true);
    font.setPixelSize(18);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

void DrawOpenCell(QPainter& painter, const QRect& cell)
{
    painter.fillRect(cell, Paper);
    painter.setPen(Frame);
    painter.drawRect(cell.adjusted(0, 0, -1, -1));
}

void DrawBlockedCell(QPainter& painter, const QRect& cell)
{
    painter.fillRect(cell, Block);
}

// Every capital stands on the same base line, with its cap height centred in
// the cell, so that the letters of a word line up; accents rise above the
// capitals and the ogonek hangs below.
void DrawGlyph(QPainter& painter, const QRect& cell, const QString& text, const QFont& font)
{
    const QFontMetricsF metrics(font);
    const QRectF bounds = metrics.tightBoundingRect(text);
    const qreal capHeight = metrics.capHeight();
    const qreal baseLine = cell.top() + (cell.height() + capHeight) / 2.0;
    const qreal x = cell.left() + (cell.width() - bounds.width()) / 2.0 - bounds.left();
    painter.setFont(font);
    painter.setPen(Ink);
    painter.drawText(QPointF(qRound(x), qRound(baseLine)), text);
}

// A cell picture counts as drawn when it has dark pixels inside the frame.
int InkPixels(const QImage& image, const QRect& cell)
{
    int count = 0;
    for (int y = cell.top() + 1; y < cell.bottom(); ++y)
        for (int x = cell.left() + 1; x < cell.right(); ++x)
            if (qGray(image.pixel(x, y)) < 100)
                ++count;
    return count;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output.bmp>\n", argv[0]);
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    const QFont font = GlyphFont();
    const QStringList texts = GlyphTexts();

    QImage image(CellSize * Columns, CellSize * Rows, QImage::Format_RGB888);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        for (int i = 0; i < texts.size(); ++i) {
            const QRect cell((i % Columns) * CellSize, (i / Columns) * CellSize, CellSize, CellSize);
            if (texts[i] == QStringLiteral("\x01")) {
                DrawBlockedCell(painter, cell);
                continue;
            }
            DrawOpenCell(painter, cell);
            if (!texts[i].isEmpty())
                DrawGlyph(painter, cell, texts[i], font);
        }
    }

    // Refuse to install a picture without real glyphs: a missing font would
    // leave empty squares or identical replacement boxes.
    std::set<QByteArray> seen;
    for (int i = 0; i < texts.size(); ++i) {
        if (texts[i].isEmpty() || texts[i] == QStringLiteral("\x01"))
            continue;
        const QRect cell((i % Columns) * CellSize, (i / Columns) * CellSize, CellSize, CellSize);
        const QImage picture = image.copy(cell);
        if (InkPixels(image, cell) < 20
            || !seen.insert(QByteArray(reinterpret_cast<const char*>(picture.constBits()), picture.sizeInBytes())).second) {
            std::fprintf(stderr, "cellimages: glyph %d (%s) was not drawn\n", i, texts[i].toUtf8().constData());
            return 1;
        }
    }

    if (!image.save(output, "BMP")) {
        std::fprintf(stderr, "cellimages: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
