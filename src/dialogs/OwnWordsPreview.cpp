#include "dialogs/OwnWordsPreview.h"

#include "core/CellChars.h"
#include "core/Cp1250.h"
#include "documents/CrossSolution.h"

#include <QPainter>

#include <algorithm>

namespace mz {

namespace {

constexpr int MaxCell = 28;

} // namespace

TOwnWordsPreview::TOwnWordsPreview(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(200, 160);
}

void TOwnWordsPreview::SetCrossWord(const TCrossTXT& doc)
{
    FDoc = doc;
    update();
}

void TOwnWordsPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    if (FDoc.ExplCount() == 0)
        return;
    const int cell = std::min({MaxCell, (width() - 2) / FDoc.ColCount(), (height() - 2) / FDoc.RowCount()});
    if (cell < 3)
        return;
    const QPoint origin((width() - cell * FDoc.ColCount()) / 2, (height() - cell * FDoc.RowCount()) / 2);
    const TSolutionGrid solution(FDoc);
    QFont letters = font();
    letters.setPixelSize(std::max(cell * 3 / 5, 4));
    letters.setBold(true);
    QFont numbers = font();
    numbers.setPixelSize(std::max(cell / 3, 4));
    for (int c = 1; c <= FDoc.ColCount(); ++c)
        for (int r = 1; r <= FDoc.RowCount(); ++r) {
            const QRect box(origin.x() + (c - 1) * cell, origin.y() + (r - 1) * cell, cell, cell);
            if (FDoc.GetCell(c, r) == BlockedCell) {
                painter.fillRect(box, palette().window().color().darker(140));
                continue;
            }
            const int32_t number = PhraseNumberAt(FDoc, c, r);
            painter.fillRect(box, number > 0 ? QColor(255, 236, 150) : QColor(Qt::white));
            painter.setPen(Qt::black);
            painter.drawRect(box.adjusted(0, 0, -1, -1));
            if (const unsigned char letter = solution.Letter(c, r); letter != 0) {
                painter.setFont(letters);
                painter.drawText(box, Qt::AlignCenter,
                                 QString::fromStdString(Cp1250ToUtf8(std::string(1, char(letter)))));
            }
            if (number > 0) {
                painter.setFont(numbers);
                painter.drawText(box.adjusted(0, 0, -2, -1), Qt::AlignRight | Qt::AlignBottom, QString::number(number));
            }
        }
}

} // namespace mz
