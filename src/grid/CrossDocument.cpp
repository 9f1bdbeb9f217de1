#include "grid/CrossDocument.h"

#include "core/CellChars.h"

namespace mz {

namespace {

constexpr int MinCols = 4;
constexpr int MinRows = 3;

} // namespace

TCrossDocument::TCrossDocument(TDocumentKind kind, QObject* parent) : QObject(parent), FKind(kind)
{
    FDoc.SetColCount(MinCols);
    FDoc.SetRowCount(MinRows);
    FDoc.Kind = static_cast<uint8_t>(kind);
    FDoc.Modified = false;
}

unsigned char TCrossDocument::GetCell(int col, int row) const
{
    if (Contains(col, row))
        return FDoc.HasCell(col, row) ? FDoc.GetCell(col, row) : BlankCell;
    const auto it = FAside.find({col, row});
    return it == FAside.end() ? BlankCell : it->second;
}

void TCrossDocument::SetCell(int col, int row, unsigned char ch)
{
    if (col < 1 || row < 1)
        return;
    if (!Contains(col, row)) {
        FAside[{col, row}] = ch;
        return;
    }
    const bool before = FDoc.Modified;
    if (!FDoc.HasCell(col, row))
        FDoc.AddCell(col, row, ch);
    else if (FDoc.GetCell(col, row) == ch)
        return;
    else
        FDoc.SetCell(col, row, ch);
    FFaces.reset();
    emit CellChanged(col, row);
    ReportModified(before);
}

void TCrossDocument::KeepAside(int fromCol, int fromRow)
{
    // Every cell of the present size from column fromCol or row fromRow on.
    for (int c = 1; c <= ColCount(); ++c)
        for (int r = 1; r <= RowCount(); ++r)
            if ((c >= fromCol || r >= fromRow) && FDoc.HasCell(c, r))
                FAside[{c, r}] = FDoc.GetCell(c, r);
}

void TCrossDocument::BringBack(int oldCols, int oldRows)
{
    for (auto it = FAside.begin(); it != FAside.end();) {
        const auto [c, r] = it->first;
        if (!Contains(c, r)) {
            ++it;
            continue;
        }
        if (c > oldCols || r > oldRows)
            FDoc.SetCell(c, r, it->second);
        it = FAside.erase(it);
    }
}

void TCrossDocument::Resize(int cols, int rows)
{
    const int oldCols = ColCount();
    const int oldRows = RowCount();
    if (cols == oldCols && rows == oldRows)
        return;
    const bool before = FDoc.Modified;
    KeepAside(cols + 1, rows + 1);
    FDoc.SetColCount(cols);
    FDoc.SetRowCount(rows);
    BringBack(oldCols, oldRows);
    FFaces.reset();
    emit Resized(oldCols, oldRows);
    ReportModified(before);
}

void TCrossDocument::ClearCells()
{
    for (int c = 1; c <= ColCount(); ++c)
        for (int r = 1; r <= RowCount(); ++r)
            SetCell(c, r, BlankCell);
}

void TCrossDocument::SetCells(const TTable& cells)
{
    Resize(cells.ColCount(), cells.RowCount());
    for (int c = 1; c <= cells.ColCount(); ++c)
        for (int r = 1; r <= cells.RowCount(); ++r)
            SetCell(c, r, static_cast<unsigned char>(cells.GetCell(c, r)));
}

void TCrossDocument::Assign(const TCrossTXT& doc)
{
    const bool before = FDoc.Modified;
    KeepAside(doc.ColCount() + 1, doc.RowCount() + 1);
    FDoc = doc;
    FDoc.Kind = static_cast<uint8_t>(FKind);
    // What the new content holds inside its size replaces anything kept aside there.
    for (auto it = FAside.begin(); it != FAside.end();)
        it = Contains(it->first.first, it->first.second) ? FAside.erase(it) : std::next(it);
    FFaces.reset();
    emit Reset();
    ReportModified(before);
}

void TCrossDocument::SetModified(bool modified)
{
    const bool before = FDoc.Modified;
    FDoc.Modified = modified;
    ReportModified(before);
}

void TCrossDocument::SaveToFile(const std::string& name)
{
    const bool before = FDoc.Modified;
    try {
        FDoc.SaveToFile(name);
    } catch (...) {
        FDoc.Modified = true;
        ReportModified(before);
        throw;
    }
    ReportModified(before);
}

void TCrossDocument::Edit(const std::function<void(TCrossTXT&)>& edit)
{
    const bool modifiedBefore = FDoc.Modified;
    const TCrossTXT before = FDoc;
    try {
        edit(FDoc);
    } catch (...) {
        FDoc = before;
        throw;
    }
    FFaces = CrosswordKind().Faces(FDoc);
    for (int c = 1; c <= ColCount(); ++c)
        for (int r = 1; r <= RowCount(); ++r)
            if (GetCell(c, r) != (before.HasCell(c, r) ? before.GetCell(c, r) : BlankCell)
                || FDoc.IsRevealed(c, r) != before.IsRevealed(c, r))
                emit CellChanged(c, r);
    bool solution = !(FDoc.Phrase() == before.Phrase()) || FDoc.ExplCount() != before.ExplCount();
    for (int n = 1; !solution && n <= FDoc.ExplCount(); ++n)
        solution = FDoc.GetExpl(n).Answer != before.GetExpl(n).Answer;
    if (solution)
        emit SolutionChanged();
    ReportModified(modifiedBefore);
}

const TCellFaces& TCrossDocument::Faces() const
{
    if (!FFaces)
        FFaces = CrosswordKind().Faces(FDoc);
    return *FFaces;
}

TCellFace TCrossDocument::Face(int col, int row) const
{
    return FFaces ? FFaces->At(col, row) : CrosswordKind().Face(FDoc, {col, row});
}

void TCrossDocument::ReportModified(bool before)
{
    if (before != FDoc.Modified)
        emit ModifiedChanged(FDoc.Modified);
}

} // namespace mz
