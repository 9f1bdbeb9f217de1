#include "app/ProgramIcon.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace mz {

QImage PaintProgramIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const qreal margin = size / 16.0;
    const QRectF tile(margin, margin, size - 2 * margin, size - 2 * margin);
    QLinearGradient sky(0, tile.top(), 0, tile.bottom());
    sky.setColorAt(0, QColor(28, 62, 120));
    sky.setColorAt(1, QColor(10, 24, 56));
    QPainterPath rounded;
    rounded.addRoundedRect(tile, size / 8.0, size / 8.0);
    p.fillPath(rounded, sky);

    // Three by three cells, blocks on the rising diagonal, M and Z at the ends
    // of the falling one.
    static const char* rows[] = {"M *", " * ", "* Z"};
    const qreal cell = tile.width() * 0.8 / 3;
    const QPointF origin(tile.center().x() - 1.5 * cell, tile.center().y() - 1.5 * cell);
    QFont letters(QStringLiteral("DejaVu Sans"));
    letters.setBold(true);
    letters.setPixelSize(std::max(1, int(cell * 0.72)));
    p.setFont(letters);
    const qreal line = std::max(1.0, size / 64.0);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            const QRectF box(origin.x() + c * cell, origin.y() + r * cell, cell, cell);
            const char ch = rows[r][c];
            p.fillRect(box, ch == '*' ? QColor(20, 20, 20) : QColor(250, 248, 236));
            p.setPen(QPen(QColor(90, 90, 90), line));
            p.drawRect(box);
            if (ch != '*' && ch != ' ' && size >= 32) {
                p.setPen(QColor(160, 30, 30));
                p.drawText(box, Qt::AlignCenter, QString(QLatin1Char(ch)));
            }
        }
    p.end();
    return image;
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(PaintProgramIcon(size)));
    return icon;
}

} // namespace mz
