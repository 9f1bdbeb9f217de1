#include "app/ClueList.h"

#include "app/ToolbarPictures.h"
#include "app/WindowText.h"
#include "core/CellChars.h"
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

// An item's word: its place in FWords.
constexpr int WordRole = Qt::UserRole;

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
    Rebuild();
    SetCellSize(PlainCellSize);
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
    for (int i = 0; i < FTree->topLevelItemCount(); ++i)
        FTree->topLevelItem(i)->setFont(0, heading);
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
    const TCrossDocument& document = *FCrossView.Document();
    const std::vector<TClueSection> sections = document.CrosswordKind().Clues(document.Document());
    const QIcon sound(ToolbarPicture(tpPlay));
    QFont bold = FTree->font();
    bold.setBold(true);
    FTree->clear();
    FWords.clear();
    for (const TClueSection& section : sections) {
        auto* heading = new QTreeWidgetItem(FTree, {FromCp1250(section.Heading)});
        heading->setFlags(Qt::ItemIsEnabled);
        heading->setFont(0, bold);
        for (const TNumberedWord& word : section.Words) {
            auto* item = new QTreeWidgetItem(heading, {ClueCaption(word)});
            item->setData(0, WordRole, int(FWords.size()));
            FWords.push_back(word);
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
    const TCrossDocument& document = *FCrossView.Document();
    const TCrossTXT& doc = document.Document();
    const TCrosswordKind& kind = document.CrosswordKind();
    const TCellPos cursor{FCrossView.CurrCol(), FCrossView.CurrRow()};
    const TDirection dir = FCrossView.WriteDir();
    const int current = kind.WordAt(doc, cursor, dir);
    const int crossing = kind.WordAt(doc, cursor, dir == TDirection::Across ? TDirection::Down : TDirection::Across);
    QTreeWidgetItem* shown = nullptr;
    for (int h = 0; h < FTree->topLevelItemCount(); ++h) {
        QTreeWidgetItem* heading = FTree->topLevelItem(h);
        for (int i = 0; i < heading->childCount(); ++i) {
            QTreeWidgetItem* item = heading->child(i);
            const TNumberedWord& word = WordOf(item);
            const bool filled = !FirstEmptyCell(doc, word.Word).has_value();
            const bool isCurrent = word.Expl == current;
            const bool isCrossing = word.Expl == crossing;
            item->setBackground(0, isCurrent ? QBrush(CurrentClue) : isCrossing ? QBrush(CrossingClue) : QBrush());
            item->setForeground(0, filled && !isCurrent ? QBrush(FilledClue) : QBrush());
            if (isCurrent)
                shown = item;
        }
    }
    if (shown)
        FTree->scrollToItem(shown);
}

const TNumberedWord& TClueList::WordOf(const QTreeWidgetItem* item) const
{
    return FWords[size_t(item->data(0, WordRole).toInt())];
}

void TClueList::Jump(QTreeWidgetItem* item)
{
    if (!item || !item->parent())
        return;
    const TExpl& word = WordOf(item).Word;
    const auto empty = FirstEmptyCell(FCrossView.Document()->Document(), word);
    const TCellPos cell = empty ? *empty : TCellPos{word.Col, word.Row};
    FCrossView.MoveCursor(cell.Col, cell.Row, DirectionOf(word.Horizontal));
    if (FCrossView.isEnabled() && FCrossView.isVisible())
        FCrossView.setFocus(Qt::OtherFocusReason);
}

} // namespace mz
