#include "app/LogoPicture.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

namespace mz {

QImage PaintProductPicture(QSize size)
{
    QImage image(size, QImage::Format_RGB888);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(28, 62, 120));
    sky.setColorAt(1, QColor(10, 24, 56));
    p.fillRect(image.rect(), sky);

    // A small crossword: a few white cells with letters, some black ones.
    const int cell = std::max(8, size.height() / 6);
    const int gridLeft = cell / 2;
    const int gridTop = (size.height() - 5 * cell) / 2;
    static const char* rows[] = {"KRZY*", "O*AB*", "ZODEV", "A*ID*", "*MAR*"};
    QFont letterFont(QStringLiteral("DejaVu Sans"));
    letterFont.setBold(true);
    letterFont.setPixelSize(cell * 2 / 3);
    p.setFont(letterFont);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c) {
            const QRect box(gridLeft + c * cell, gridTop + r * cell, cell, cell);
            const char ch = rows[r][c];
            p.fillRect(box, ch == '*' ? QColor(20, 20, 20) : QColor(250, 248, 236));
            p.setPen(QColor(90, 90, 90));
            p.drawRect(box.adjusted(0, 0, -1, -1));
            if (ch != '*') {
                p.setPen(QColor(160, 30, 30));
                p.drawText(box, Qt::AlignCenter, QString(QLatin1Char(ch)));
            }
        }

    const int textLeft = gridLeft + 5 * cell + cell / 2;
    const QRect textArea(textLeft, 0, size.width() - textLeft - cell / 3, size.height());
    QFont title(QStringLiteral("DejaVu Serif"));
    title.setBold(true);
    title.setPixelSize(std::max(10, size.height() / 5));
    p.setFont(title);
    p.setPen(QColor(255, 214, 90));
    p.drawText(textArea.adjusted(0, 0, 0, -size.height() / 6), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
               QStringLiteral("Mirakolnik Zodevidar"));
    QFont subtitle(QStringLiteral("DejaVu Sans"));
    subtitle.setPixelSize(std::max(8, size.height() / 11));
    p.setFont(subtitle);
    p.setPen(QColor(220, 228, 245));
    p.drawText(textArea.adjusted(0, size.height() / 2, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("warsztat krzyżówek"));
    p.end();
    return image;
}

} // namespace mz
