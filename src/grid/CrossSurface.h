#pragma once

#include "core/CellChars.h"
#include "core/Error.h"

#include <QImage>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <map>
#include <utility>
#include <vector>

class QPainter;

namespace mz {

// Every error of the grid control.
class EInvalidCrossSurfaceOperation : public EMirakolnikError {
public:
    using EMirakolnikError::EMirakolnikError;
};

enum TMode : std::uint8_t { mSolve, mEdit };

class TCrossDocument;
struct TCellFace;

// A view of one document (TCrossDocument): the grid of one-character cells
// (CP1250 codes), drawn from a strip of cell pictures into an off-screen grid
// image that the widget paints as it is. It turns keys and clicks into edits
// of the document and redraws the cells the document reports changed.
//
// The view keeps only its own state: the cursor, the blinking focus frame, the
// highlights, the writing direction and the mode. Without a document it shows
// nothing and takes no keys or clicks.
//
// Cells are addressed (column, row) from 1.
class TCrossSurface : public QWidget {
    Q_OBJECT

public:
    explicit TCrossSurface(QWidget* parent = nullptr);
    ~TCrossSurface() override;

    // The document shown, or none. The view does not own it.
    void SetDocument(TCrossDocument* document);
    TCrossDocument* Document() const;

    // The document's size; 0 x 0 without one.
    int ColCount() const;
    int RowCount() const;

    // Shows or hides the blinking cursor; a view without it takes no clicks.
    void SetFocusVisible(bool Value);
    // Sizes on the screen, in the widget's own (device-independent) pixels.
    int ImageWidth() const { return Logical((FCellImageWidth + FBorder) * FColCount); }
    int ImageHeight() const { return Logical((FCellImageHeight + FBorder) * FRowCount); }
    int CellImageHeight() const { return Logical(FCellImageHeight); }
    int CellImageWidth() const { return Logical(FCellImageWidth); }
    TDirection WriteDir() const { return FWriteDir; }
    void SetWriteDir(TDirection Value);
    // In editing mode typing writes blocked cells too and Return blocks a cell.
    void SetMode(TMode Value) { FMode = Value; }
    // Loads the cell pictures: 26 x 2 equal pictures in one bitmap file. Throws
    // EInvalidCrossSurfaceOperation with the image reader's error when the file
    // cannot be read; the control is then left as it was.
    void SetFileName(const QString& Value);
    // Takes the cell pictures (GlyphColumns x GlyphRows cells) from an image
    // instead of a file, as the zoom draws them.
    void SetCellPictures(const QImage& pictures);

    int CurrCol() const { return FCurrCol; }
    int CurrRow() const { return FCurrRow; }
    // Puts the cursor on a cell and writes in the given direction from there
    // (a jump to a word from outside the grid).
    void MoveCursor(int ACol, int ARow, TDirection dir);
    // Solving: takes back the last letter typed or cleared that is still in
    // its cell and puts the cursor there; false when there is none.
    bool Undo();
    bool CanUndo() const { return !FUndo.empty(); }

    void SetCellHighlight(int ACol, int ARow, bool On);
    void ClearHighlights();

    // Letters found wrong by checking: marked (a red stroke) until the cell
    // changes or the user types there again.
    void MarkWrong(int ACol, int ARow);
    void ClearWrong();
    // Besides, every cell shows what the document says of it: a revealed letter
    // has a blue corner, a cell of the "rozwiązanie" its small number.

    QSize sizeHint() const override;
    // Qt's own, reporting VisibilityChanged at every call but the first show by the parent.
    void setVisible(bool visible) override;

signals:
    // The cursor moved, or the writing direction changed (the cell may be the same).
    void CursorMoved(int ACol, int ARow);
    // Return in solving mode.
    void EnterPressed();
    void DoubleClicked();
    // Every setVisible, whether it changed anything or not.
    void VisibilityChanged(bool visible);
    // The writing direction changed, by SetWriteDir or by the grid itself
    // (solving follows the word under the cursor).
    void WriteDirChanged(TDirection dir);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Disabling a focused grid takes its cursor away; enabling brings it back.
    void changeEvent(QEvent* event) override;

private:
    friend struct TCrossSurfaceTestAccess;

    // What the view draws on a cell besides its character.
    struct TCellView {
        bool FocusDrawn = false;
        bool Highlight = false;
        bool Wrong = false;
    };
    using TCellKey = std::pair<int, int>;

    // A blank for every pair without a record, inside the grid or not; never throws.
    char GetCell(int ACol, int ARow) const;
    // Ignores pairs with a column or row below 1; accepts pairs beyond the grid
    // (they are kept aside by the document). Throws for a non-cell character.
    void SetCell(int ACol, int ARow, char Ch);
    void SetColCount(int Value);
    void SetRowCount(int Value);
    void SetBorder(int Value);
    // Makes the pair the current cell and, while the focus is visible, draws the
    // focus frame on it unless it is drawn there already.
    void ShowFocus(int ACol, int ARow);
    // The focus frame on the current cell, when there are cells.
    void ShowCursor();
    // Removes the focus frame from every cell that shows it.
    void HideFocus();
    // Draws cells into the grid image (not yet on the screen) as the
    // document's kind describes them: one cell, every cell `which` takes (all
    // without it), or one cell with the given face.
    void DrawCell(int ACol, int ARow);
    void DrawCells(const std::function<bool(int, int)>& which = {});
    void DrawCell(int ACol, int ARow, const TCellFace& face);
    // One tick of the cursor blinking (the blink timer's handler).
    void BlinkStep();
    // Glyph index of a cell character in the cell-picture strip, -1 for none.
    static int GlyphIndex(char Ch);
    // Adds 30 to every colour byte of a 24-bit image, clamped to 255.
    static QImage Lightened(const QImage& source);
    TCellView* FindCell(int ACol, int ARow);
    const TCellView* FindCell(int ACol, int ARow) const;
    void Connect(TCrossDocument& document);
    void DocumentCellChanged(int ACol, int ARow);
    void DocumentResized();
    void DocumentReset();
    void ResizeGridImage(int width, int height);
    void DrawMarks(int ACol, int ARow, QPoint target, const TCellFace& face);
    void RedrawAll();
    void InvertFocusFrame(int ACol, int ARow);
    void Advance();
    // Solving: the next place to type, as the crossword's kind finds it.
    void AdvanceInWord();
    // Solving: a cell that lies only in a word of the other direction turns the writing direction.
    void FollowWord();
    bool HasWord(int ACol, int ARow, TDirection dir) const;
    void ChangeWriteDir(TDirection dir);
    void DrawCursor(QPainter& painter) const;
    void Clear();
    void TypeChar(unsigned char ch);
    // Returns whether the key was handled.
    bool HandleKey(int key, Qt::KeyboardModifiers modifiers);
    void AfterHandledKey();
    void FireExplRefresh();

    QPointer<TCrossDocument> FDocument;
    std::map<TCellKey, TCellView> FCells;
    QImage FCellImages;
    QImage FHighlightImages;
    QImage FGridImage;
    bool FFocusVisible = true;
    int FCurrCol = 2;
    int FCurrRow = 2;
    QTimer FTimer;
    int Logical(int imagePixels) const { return qRound(imagePixels / FPixelRatio); }
    bool FBlinkPhase = true;
    // The size last drawn, so a change of the document's size draws only the new cells.
    int FColCount = 0;
    int FRowCount = 0;
    int FBorder = 0;
    int FCellImageHeight = 0;
    int FCellImageWidth = 0;
    qreal FPixelRatio = 1;
    TDirection FWriteDir = TDirection::Across;
    TMode FMode = mSolve;
    // Letters typed or cleared while solving, oldest first.
    struct TTypedCell {
        int Col = 0;
        int Row = 0;
        unsigned char Before = 0;
        unsigned char After = 0;
    };
    std::vector<TTypedCell> FUndo;
};

} // namespace mz
