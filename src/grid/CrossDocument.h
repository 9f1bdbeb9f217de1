#pragma once

#include "core/Table.h"
#include "documents/CrossTXT.h"
#include "documents/CrosswordKind.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>

namespace mz {

// The window's document: a crossword or template (TCrossTXT) that grids show
// and edit, with signals for every change. The TCrossTXT is the source of
// truth for size, cells and explanations; this wrapper adds only what the
// window needs besides:
//
// - Cells beyond the present size are kept aside, so shrinking the grid and
//   growing it again (or opening a smaller document over a larger one and
//   growing it) brings their letters back. The document itself never holds
//   cells beyond its size, so saving writes exactly what is shown.
// - A cell outside the size may be written; it lands in the kept-aside cells.
class TCrossDocument : public QObject {
    Q_OBJECT

public:
    explicit TCrossDocument(TDocumentKind kind = TDocumentKind::CrossWord, QObject* parent = nullptr);

    const TCrossTXT& Document() const { return FDoc; }
    TDocumentKind Kind() const { return FKind; }
    // What kind of crossword it is: how its cells look, where its words and clues are.
    const TCrosswordKind& CrosswordKind() const { return KindOf(FDoc); }
    // The kind's description of every cell, kept until the document changes
    // (an edit of the whole document describes its cells anew at once, so the
    // views it reports to find them ready); one cell, from that description
    // when it is kept, else asked of the kind alone.
    const TCellFaces& Faces() const;
    TCellFace Face(int col, int row) const;

    int ColCount() const { return FDoc.ColCount(); }
    int RowCount() const { return FDoc.RowCount(); }
    bool Contains(int col, int row) const { return col >= 1 && row >= 1 && col <= ColCount() && row <= RowCount(); }

    // A blank for every pair that holds nothing; never throws.
    unsigned char GetCell(int col, int row) const;
    // Ignores pairs with a column or row below 1. The character is not checked here.
    void SetCell(int col, int row, unsigned char ch);
    // At least 4 columns and 3 rows (the caller checks).
    void Resize(int cols, int rows);
    // Blanks every cell inside the size; the kept-aside cells stay.
    void ClearCells();
    // Takes the size and the cells of a grid of cell characters (a preview).
    void SetCells(const TTable& cells);

    // Takes over a whole document (cells, explanations, file name, modified
    // flag); the kind stays. Cells of the old content beyond the new size are
    // kept aside.
    void Assign(const TCrossTXT& doc);

    const std::string& FileName() const { return FDoc.FileName; }
    void SetFileName(const std::string& name) { FDoc.FileName = name; }
    bool Modified() const { return FDoc.Modified; }
    void SetModified(bool modified);

    // Writes the file (a template file for a template); the previous file is
    // replaced only when the whole new one was written. A failed save keeps
    // the document modified. Throws the document's error.
    void SaveToFile(const std::string& name);

    // Runs an edit of the whole document (revealing, recovering answers, the
    // "rozwiązanie") and reports what it changed: CellChanged for every cell
    // whose character or revealed mark changed, SolutionChanged when answers or
    // the phrase changed. An edit that throws leaves the document as it was.
    void Edit(const std::function<void(TCrossTXT&)>& edit);

signals:
    // One cell inside the size changed its character.
    void CellChanged(int col, int row);
    // The size changed; cells that came into view may hold anything.
    void Resized(int oldCols, int oldRows);
    // The whole content was replaced.
    void Reset();
    // Every change of the cells or the explanations, and every save.
    void ModifiedChanged(bool modified);
    // The answers or the phrase of the "rozwiązanie" changed (by Edit).
    void SolutionChanged();

private:
    void KeepAside(int fromCol, int fromRow);
    void BringBack(int oldCols, int oldRows);
    void ReportModified(bool before);

    TCrossTXT FDoc;
    mutable std::optional<TCellFaces> FFaces;
    TDocumentKind FKind;
    std::map<std::pair<int, int>, unsigned char> FAside;
};

} // namespace mz
