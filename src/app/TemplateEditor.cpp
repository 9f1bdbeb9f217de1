#include "app/TemplateEditor.h"

#include "app/MessageBox.h"
#include "app/ToolbarPictures.h"
#include "dialogs/Widgets.h"
#include "documents/CrossTXT.h"
#include "grid/CrossSurface.h"

#include <QBoxLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace mz {

namespace {

constexpr int GripSize = 14;
constexpr int ColsLeft = 4;
// The columns figure starts at the box's left, the rows figure ends at this
// distance from there.
constexpr int RowsRightEdge = 40;
constexpr int GapBelowGrid = 4;
// The whole row below the grid, with the gap.
constexpr int RowHeight = 26;
// The sunken frame around both figures, in the panel.
constexpr int BoxLeft = 2;
constexpr int BoxWidth = 45;
constexpr int BoxHeight = 22;
constexpr int MinCols = 4;
constexpr int MinRows = 3;

QLabel* SizeLabel(QWidget& row, const char* name, const QString& hint, Qt::Alignment alignment)
{
    auto* label = new QLabel(&row);
    label->setObjectName(QString::fromLatin1(name));
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    label->setToolTip(hint);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setFixedWidth(RowsRightEdge / 2);
    return label;
}

} // namespace

TTemplateEditor::TTemplateEditor(TCrossSurface& templateView, QWidget& client, QLabel& panel, QObject* parent)
    : QObject(parent), FTemplateView(templateView), FClient(client), FPanel(panel), FPlainPanel(panel.pixmap().toImage())
{
    setObjectName(QStringLiteral("TemplateEditor"));
    FRow = Named<QWidget>("SizeRow", &client);
    FRow->setFixedHeight(RowHeight);
    FRow->hide();
    FCols = SizeLabel(*FRow, "Lab_X", QStringLiteral("Liczba kolumn szablonu"), Qt::AlignLeft);
    FRows = SizeLabel(*FRow, "Lab_Y", QStringLiteral("Liczba wierszy szablonu"), Qt::AlignRight);
    FGrip = Named<QLabel>("ResizeImage", FRow);
    FGrip->setPixmap(ResizeGripPicture());
    FGrip->setFixedSize(GripSize, GripSize);
    FGrip->setCursor(Qt::SizeFDiagCursor);
    // The press grabs the mouse, so the moves keep coming when the pointer leaves the grip.
    FGrip->installEventFilter(this);

    auto* row = new QHBoxLayout(FRow);
    row->setContentsMargins(ColsLeft, GapBelowGrid, 0, 0);
    row->setSpacing(0);
    row->addWidget(FCols, 0, Qt::AlignTop);
    row->addWidget(FRows, 0, Qt::AlignTop);
    row->addStretch();
    row->addWidget(FGrip, 0, Qt::AlignBottom);
}

bool TTemplateEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FGrip && event->type() == QEvent::MouseMove) {
        auto* move = static_cast<QMouseEvent*>(event);
        if (move->buttons() & Qt::LeftButton) {
            emit GripDragged(FGrip->mapToGlobal(move->position().toPoint()));
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void TTemplateEditor::SetShown(bool shown)
{
    FRow->setVisible(shown);
    if (!shown)
        FPanel.setPixmap(QPixmap::fromImage(FPlainPanel));
}

void TTemplateEditor::FitPanel(int width)
{
    if (FPanel.width() >= width)
        return;
    FPanel.resize(width, FPanel.height());
    FPlainPanel = PanelBackground(width, FPanel.height());
    if (FGrip->isVisible())
        UpdateSizeBox();
    else
        FPanel.setPixmap(QPixmap::fromImage(FPlainPanel));
}

QSize TTemplateEditor::SizeForGrip(QPoint screenPos, const QRect& window, QSize frameExtra, QSize margins) const
{
    const int w = FTemplateView.CellImageWidth();
    const int h = FTemplateView.CellImageHeight();
    if (w <= 0 || h <= 0)
        return {FTemplateView.ColCount(), FTemplateView.RowCount()};
    // The grip's middle follows the pointer; half a cell rounds to the nearest edge.
    const int px = screenPos.x() + FGrip->width() / 2;
    const int py = screenPos.y() + FGrip->height() / 2;
    // The window stays within the screen's free area right of and below its
    // corner, so the grip can always be reached, and the grid within the
    // largest size a crossword file holds.
    const QScreen* screen = FClient.screen() ? FClient.screen() : QGuiApplication::primaryScreen();
    const QRect free = screen ? screen->availableGeometry() : QRect(QPoint(0, 0), ScreenSize());
    const int roomRight = free.right() + 1 - window.left();
    const int roomBelow = free.bottom() + 1 - window.top();
    const int a = std::min(px - window.left() + w / 2, roomRight);
    const int b = std::min(py - window.top() + h / 2, roomBelow);
    const int cols = std::clamp((a - frameExtra.width() - margins.width()) / w, MinCols, int(MaxGridCols));
    const int rows = std::clamp((b - margins.height() - frameExtra.height()) / h, MinRows, int(MaxGridRows));
    return {cols, rows};
}

void TTemplateEditor::UpdateSizeBox()
{
    FCols->setText(QString::number(FTemplateView.ColCount()));
    FRows->setText(QString::number(FTemplateView.RowCount()));

    QImage picture = FPlainPanel;
    QPainter p(&picture);
    const QRect box(BoxLeft, FCols->mapTo(&FClient, QPoint()).y() - 2 - FPanel.y(), BoxWidth, BoxHeight);
    const QColor light = FClient.palette().color(QPalette::Light);
    const QColor shadow = FClient.palette().color(QPalette::Dark);
    auto frame = [&p](const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
        p.setPen(topLeft);
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(bottomRight);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    };
    frame(box, shadow, light);
    frame(box.adjusted(-1, -1, 1, 1), light, shadow);
    p.end();
    FPanel.setPixmap(QPixmap::fromImage(picture));
}

} // namespace mz
