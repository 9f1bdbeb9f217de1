#include "app/ClueList.h"

#include "app/ToolbarPictures.h"
#include "app/WindowText.h"
#include "core/CellChars.h"
#include "documents/CrossSolution.h"
#include "documents/Numbering.h"
#include "grid/CrossDocument.h"
#include "grid/CrossSurface.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace mz {

namespace {

// The grid's colours of the cursor's cell and of the word at the cursor.
const QColor CurrentClue(255, 205, 70);
const QColor CrossingClue(175, 210, 255);
const QColor FilledClue(120, 120, 120);
// The cell size the system font is made for; larger cells enlarge the text.
constexpr int PlainCellSize = 28;
constexpr qreal LargestTextScale = 2.0;
// The list is as wide as this many average characters of its text.
constexpr int ListWidthChars = 34;

enum TRole { ExplRole = Qt::UserRole, ColRole, RowRole, HorizontalRole };

QString ClueCaption(const TNumberedWord& word)
{
    QString clue = FromCp1250(word.Word.Explanation).simplified();
    return QStringLiteral("%1. %2 (%3)").arg(word.Number).arg(clue).arg(word.Length);
}

} // namespace

TClueList::TClueList(TCrossSurface& crossView, QAction& play, std::function<bool(const TExpl&)> hasSound,
                     QWidget* parent)
    : QWidget(parent), FCrossView(crossView), FPlay(play), FHasSound(std::move(hasSound))
{
    setObjectName(QStringLiteral("ClueList"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    FTree = new QTreeWidget(this);
    FTree->setObjectName(QStringLiteral("ClueTree"));
    FTree->setColumnCount(1);
    FTree->header()->hide();
    FTree->header()->setStretchLastSection(true);
    FTree->setRootIsDecorated(false);
    FTree->setItemsExpandable(false);
    FTree->setIndentation(0);
    // One row a clue: one too long keeps its number and its word length, the middle gives way
    // (the whole clue is in the hint and under the grid).
    FTree->setWordWrap(false);
    FTree->setTextElideMode(Qt::ElideMiddle);
    FTree->setUniformRowHeights(false);
    FTree->setSelectionMode(QAbstractItemView::NoSelection);
    FTree->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FTree->setIconSize(QSize(16, 16));
    layout->addWidget(FTree);

    FAcross = new QTreeWidgetItem(FTree, {QStringLiteral("Poziomo")});
    FDown = new QTreeWidgetItem(FTree, {QStringLiteral("Pionowo")});
    for (QTreeWidgetItem* heading : {FAcross, FDown})
        heading->setFlags(Qt::ItemIsEnabled);

    connect(FTree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { Jump(item); });
    connect(FTree, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { Jump(item); });
    connect(FTree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        Jump(item);
        if (item->parent() && FPlay.isEnabled())
            FPlay.trigger();
    });

    TCrossDocument& doc = *crossView.Document();
    FRefreshSoon.setSingleShot(true);
    FRefreshSoon.setInterval(0);
    connect(&FRefreshSoon, &QTimer::timeout, this, &TClueList::Refresh);
    connect(&doc, &TCrossDocument::Reset, this, &TClueList::Rebuild);
    connect(&doc, &TCrossDocument::Resized, this, &TClueList::Rebuild);
    connect(&doc, &TCrossDocument::SolutionChanged, this, &TClueList::Rebuild);
    connect(&doc, &TCrossDocument::CellChanged, this, [this] { FRefreshSoon.start(); });
    connect(&crossView, &TCrossSurface::CursorMoved, this, &TClueList::Refresh);
    SetCellSize(PlainCellSize);
    Rebuild();
}

void TClueList::SetCellSize(int cellSize)
{
    FCellSize = cellSize;
    const qreal scale = std::clamp(qreal(cellSize) / PlainCellSize, 1.0, LargestTextScale);
    QFont font = QApplication::font();
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * scale);
    else
        font.setPixelSize(qRound(font.pixelSize() * scale));
    FTree->setFont(font);
    QFont heading = font;
    heading.setBold(true);
    for (QTreeWidgetItem* item : {FAcross, FDown})
        item->setFont(0, heading);
    FitWidth();
}

void TClueList::FitWidth()
{
    const QFontMetrics metrics(FTree->font());
    setFixedWidth(metrics.averageCharWidth() * ListWidthChars);
    // The rows are measured again at the new width.
    FTree->doItemsLayout();
}

void TClueList::Rebuild()
{
    const TCrossTXT& doc = FCrossView.Document()->Document();
    const TNumbering numbering(doc);
    const QIcon sound(ToolbarPicture(tpPlay));
    for (auto [heading, words] : {std::pair{FAcross, &numbering.Across()}, std::pair{FDown, &numbering.Down()}}) {
        qDeleteAll(heading->takeChildren());
        for (const TNumberedWord& word : *words) {
            auto* item = new QTreeWidgetItem(heading, {ClueCaption(word)});
            item->setData(0, ExplRole, word.Expl);
            item->setData(0, ColRole, word.Word.Col);
            item->setData(0, RowRole, word.Word.Row);
            item->setData(0, HorizontalRole, word.Word.Horizontal);
            item->setToolTip(0, item->text(0));
            if (FHasSound && FHasSound(word.Word))
                item->setIcon(0, sound);
        }
        heading->setExpanded(true);
    }
    Refresh();
}

void TClueList::Refresh()
{
    FRefreshSoon.stop();
    const TCrossTXT& doc = FCrossView.Document()->Document();
    const int col = FCrossView.CurrCol();
    const int row = FCrossView.CurrRow();
    const bool across = FCrossView.WriteDir() == TDirection::Across;
    const int current = ExplNumberAt(doc, col, row, across);
    const int crossing = ExplNumberAt(doc, col, row, !across);
    QTreeWidgetItem* shown = nullptr;
    for (QTreeWidgetItem* heading : {FAcross, FDown}) {
        for (int i = 0; i < heading->childCount(); ++i) {
            QTreeWidgetItem* item = heading->child(i);
            const int expl = item->data(0, ExplRole).toInt();
            const bool horizontal = item->data(0, HorizontalRole).toBool();
            const TExpl word(item->data(0, ColRole).toInt(), item->data(0, RowRole).toInt(), {}, {}, horizontal);
            const bool filled = !FirstEmptyCell(doc, word).has_value();
            const bool isCurrent = expl == current && horizontal == across;
            const bool isCrossing = expl == crossing && horizontal != across;
            item->setBackground(0, isCurrent ? QBrush(CurrentClue) : isCrossing ? QBrush(CrossingClue) : QBrush());
            item->setForeground(0, filled && !isCurrent ? QBrush(FilledClue) : QBrush());
            if (isCurrent)
                shown = item;
        }
    }
    if (shown)
        FTree->scrollToItem(shown);
}

void TClueList::Jump(QTreeWidgetItem* item)
{
    if (!item || !item->parent())
        return;
    const bool horizontal = item->data(0, HorizontalRole).toBool();
    const TExpl word(item->data(0, ColRole).toInt(), item->data(0, RowRole).toInt(), {}, {}, horizontal);
    const auto empty = FirstEmptyCell(FCrossView.Document()->Document(), word);
    const TCellPos cell = empty ? *empty : TCellPos{word.Col, word.Row};
    FCrossView.MoveCursor(cell.Col, cell.Row, DirectionOf(horizontal));
    if (FCrossView.isEnabled() && FCrossView.isVisible())
        FCrossView.setFocus(Qt::OtherFocusReason);
}

} // namespace mz
