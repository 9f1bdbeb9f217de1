#pragma once

#include "documents/Numbering.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <vector>

class QAction;
class QTreeWidget;
class QTreeWidgetItem;

namespace mz {

class TCrossSurface;

// The clue list beside the crossword grid: the lists the crossword's kind
// gives under their headings ("Poziomo", "Pionowo"), each clue with its
// printed number and its word's length ("(5)"). The word at the cursor is marked in the cursor's
// colour and the word crossing it in the word colour of the grid; words whose
// cells all hold letters are greyed. A click on a clue (or Enter on it) puts
// the cursor on the word's first empty cell, a double click also plays the
// word's sound; clues with a sound carry the loudspeaker.
class TClueList : public QWidget {
    Q_OBJECT

public:
    // `play` plays the clue at the cursor; `hasSound` tells which clues have a sound.
    TClueList(TCrossSurface& crossView, QAction& play, std::function<bool(const TExpl&)> hasSound,
              QWidget* parent = nullptr);

    // The text grows with the grid's cells (the zoom), never below the system font.
    void SetCellSize(int cellSize);
    // Marks the clue at the cursor and greys the filled words.
    void Refresh();

private:
    // Reads the clues again (a new crossword, new answers).
    void Rebuild();
    void Jump(QTreeWidgetItem* item);
    const TNumberedWord& WordOf(const QTreeWidgetItem* item) const;
    void FitWidth();

    TCrossSurface& FCrossView;
    QAction& FPlay;
    std::function<bool(const TExpl&)> FHasSound;
    QTreeWidget* FTree = nullptr;
    std::vector<TNumberedWord> FWords; // the words of the items, in the tree's order
    // Letters typed or revealed come in cell by cell; the greying follows once.
    QTimer FRefreshSoon;
    int FCellSize = 0;
};

} // namespace mz
