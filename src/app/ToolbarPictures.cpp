#include "app/ToolbarPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <map>

namespace mz {

namespace {

const QColor Ink(40, 44, 52);
const QColor Paper(252, 252, 246);
const QColor Blue(38, 94, 178);
const QColor Red(196, 40, 36);
const QColor Folder(232, 186, 72);

void DrawSheet(QPainter& p, const QRectF& r)
{
    QPainterPath sheet;
    sheet.moveTo(r.left(), r.top());
    sheet.lineTo(r.right() - 5, r.top());
    sheet.lineTo(r.right(), r.top() + 5);
    sheet.lineTo(r.right(), r.bottom());
    sheet.lineTo(r.left(), r.bottom());
    sheet.closeSubpath();
    p.setPen(QPen(Ink, 1));
    p.setBrush(Paper);
    p.drawPath(sheet);
    p.drawLine(QPointF(r.right() - 5, r.top()), QPointF(r.right() - 5, r.top() + 5));
    p.drawLine(QPointF(r.right() - 5, r.top() + 5), QPointF(r.right(), r.top() + 5));
}

// A tiny crossword on a sheet: the picture of a new crossword.
void PaintNew(QPainter& p)
{
    DrawSheet(p, QRectF(3.5, 1.5, 14, 18));
    p.setPen(Qt::NoPen);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            const QRectF cell(5.5 + c * 3.5, 6.5 + r * 3.5, 3, 3);
            p.setBrush((r + c) % 3 == 1 ? Ink : Blue.lighter(160));
            p.drawRect(cell);
        }
    p.setBrush(QColor(250, 200, 40));
    p.setPen(QPen(QColor(180, 120, 0), 0.8));
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double a = i * 3.14159265 / 5 - 3.14159265 / 2;
        const double rad = i % 2 ? 2.0 : 4.5;
        star << QPointF(16 + rad * std::cos(a), 5 + rad * std::sin(a));
    }
    p.drawPolygon(star);
}

void PaintOpen(QPainter& p)
{
    p.setPen(QPen(Ink, 1));
    p.setBrush(Folder.darker(115));
    p.drawPolygon(QPolygonF({{1.5, 5.5}, {7.5, 5.5}, {9.5, 7.5}, {17.5, 7.5}, {17.5, 18.5}, {1.5, 18.5}}));
    p.setBrush(Folder);
    p.drawPolygon(QPolygonF({{4.5, 10.5}, {20.5, 10.5}, {17.5, 18.5}, {1.5, 18.5}}));
    p.setPen(QPen(Blue, 1.6));
    p.drawLine(QPointF(14, 2), QPointF(14, 7));
    p.drawLine(QPointF(11.5, 4.5), QPointF(14, 2));
    p.drawLine(QPointF(16.5, 4.5), QPointF(14, 2));
}

void PaintClose(QPainter& p)
{
    DrawSheet(p, QRectF(2.5, 1.5, 14, 18));
    p.setPen(QPen(Red, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 10), QPointF(18, 18));
    p.drawLine(QPointF(18, 10), QPointF(10, 18));
}

void PaintStop(QPainter& p)
{
    QPolygonF octagon;
    for (int i = 0; i < 8; ++i) {
        const double a = (i + 0.5) * 3.14159265 / 4;
        octagon << QPointF(10.5 + 9 * std::cos(a), 10.5 + 9 * std::sin(a));
    }
    p.setPen(QPen(Red.darker(140), 1));
    p.setBrush(Red);
    p.drawPolygon(octagon);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6.5, 9, 8, 3));
}

// Letters written downwards (vertical direction) or rightwards.
void PaintDirection(QPainter& p, bool down)
{
    p.setPen(QPen(QColor(120, 120, 120), 1));
    for (int i = 0; i < 3; ++i) {
        const QRectF cell = down ? QRectF(2.5, 1.5 + i * 6, 6, 6) : QRectF(1.5 + i * 6, 2.5, 6, 6);
        p.setBrush(i == 0 ? Blue.lighter(170) : Paper);
        p.drawRect(cell);
    }
    p.setPen(QPen(Blue, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Blue);
    if (down) {
        p.drawLine(QPointF(15, 3), QPointF(15, 15));
        p.drawPolygon(QPolygonF({{11, 14}, {19, 14}, {15, 19.5}}));
    } else {
        p.drawLine(QPointF(3, 15), QPointF(15, 15));
        p.drawPolygon(QPolygonF({{14, 11}, {14, 19}, {19.5, 15}}));
    }
}

void PaintSave(QPainter& p)
{
    p.setPen(QPen(Ink, 1));
    p.setBrush(Blue);
    p.drawRoundedRect(QRectF(2.5, 2.5, 16, 16), 1.5, 1.5);
    p.setBrush(Paper);
    p.drawRect(QRectF(5.5, 2.5, 10, 7));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(6.5, 12.5, 8, 6));
    p.setBrush(Ink);
    p.drawRect(QRectF(12, 4, 2, 4));
}

void PaintPrint(QPainter& p)
{
    p.setPen(QPen(Ink, 1));
    p.setBrush(Paper);
    p.drawRect(QRectF(5.5, 1.5, 10, 7));
    p.setBrush(QColor(150, 154, 164));
    p.drawRoundedRect(QRectF(1.5, 7.5, 18, 8), 1.5, 1.5);
    p.setBrush(Paper);
    p.drawRect(QRectF(5.5, 12.5, 10, 7));
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.drawLine(QPointF(7, 15.5), QPointF(14, 15.5));
    p.drawLine(QPointF(7, 17.5), QPointF(12, 17.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 200, 60));
    p.drawEllipse(QPointF(16.5, 10), 1, 1);
}

void PaintHelp(QPainter& p)
{
    p.setPen(QPen(Blue.darker(130), 1));
    p.setBrush(Blue);
    p.drawEllipse(QRectF(1.5, 1.5, 18, 18));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(14);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(1.5, 1.5, 18, 18), Qt::AlignCenter, QStringLiteral("?"));
}

void PaintPlay(QPainter& p)
{
    p.setPen(QPen(Ink, 1));
    p.setBrush(QColor(90, 96, 110));
    p.drawPolygon(QPolygonF({{2.5, 7.5}, {6.5, 7.5}, {11.5, 2.5}, {11.5, 18.5}, {6.5, 13.5}, {2.5, 13.5}}));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(40, 150, 60), 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(8, 6, 8, 9), -60 * 16, 120 * 16);
    p.drawArc(QRectF(7, 3, 13, 15), -60 * 16, 120 * 16);
}

} // namespace

QPixmap ToolbarPicture(TToolbarPicture kind)
{
    static std::map<TToolbarPicture, QPixmap> cache;
    if (auto it = cache.find(kind); it != cache.end())
        return it->second;
    QImage image(QSize(21, 21), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    switch (kind) {
    case tpNew:
        PaintNew(p);
        break;
    case tpOpen:
        PaintOpen(p);
        break;
    case tpClose:
        PaintClose(p);
        break;
    case tpStop:
        PaintStop(p);
        break;
    case tpToDown:
        PaintDirection(p, true);
        break;
    case tpToRight:
        PaintDirection(p, false);
        break;
    case tpSave:
        PaintSave(p);
        break;
    case tpPrint:
        PaintPrint(p);
        break;
    case tpHelp:
        PaintHelp(p);
        break;
    case tpPlay:
        PaintPlay(p);
        break;
    }
    p.end();
    return cache[kind] = QPixmap::fromImage(image);
}

QImage PanelBackground(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    QPainter p(&image);
    QLinearGradient g(0, 0, 0, height);
    g.setColorAt(0, QColor(222, 228, 238));
    g.setColorAt(1, QColor(240, 242, 248));
    p.fillRect(image.rect(), g);
    p.setPen(QColor(170, 176, 190));
    p.drawLine(0, 0, width, 0);
    return image;
}

QPixmap ResizeGripPicture()
{
    QImage image(14, 14, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    for (int i = 0; i < 3; ++i) {
        const int o = 4 * i + 2;
        p.setPen(QColor(255, 255, 255));
        p.drawLine(o, 13, 13, o);
        p.setPen(QColor(128, 128, 128));
        p.drawLine(o + 1, 13, 13, o + 1);
    }
    p.end();
    return QPixmap::fromImage(image);
}

} // namespace mz
