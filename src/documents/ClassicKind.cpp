#include "documents/ClassicKind.h"

#include "documents/CrossSolution.h"

namespace mz {

namespace {

TCellFace ClassicFace(const TCrossTXT& doc, const TNumbering& numbering, const TSolutionGrid& solution, TCellPos cell)
{
    TCellFace face;
    if (cell.Col < 1 || cell.Row < 1 || cell.Col > doc.ColCount() || cell.Row > doc.RowCount()
        || !doc.HasCell(cell.Col, cell.Row))
        return face;
    face.Letter = doc.GetCell(cell.Col, cell.Row);
    face.Shape = face.Letter == BlockedCell ? TCellShape::Block : TCellShape::Letter;
    face.Answer = solution.Letter(cell.Col, cell.Row);
    face.Number = numbering.NumberAt(cell.Col, cell.Row);
    face.PhraseNumber = PhraseNumberAt(doc, cell.Col, cell.Row);
    face.Revealed = doc.IsRevealed(cell.Col, cell.Row);
    face.InWord = solution.InWord(cell.Col, cell.Row);
    return face;
}

} // namespace

TCellFaces TClassicKind::Faces(const TCrossTXT& doc) const
{
    const TNumbering numbering(doc);
    const TSolutionGrid solution(doc);
    TCellFaces faces(doc.ColCount(), doc.RowCount());
    for (int32_t col = 1; col <= faces.ColCount(); ++col)
        for (int32_t row = 1; row <= faces.RowCount(); ++row)
            faces[{col, row}] = ClassicFace(doc, numbering, solution, {col, row});
    return faces;
}

TCellFace TClassicKind::Face(const TCrossTXT& doc, TCellPos cell) const
{
    return ClassicFace(doc, TNumbering(doc), TSolutionGrid(doc), cell);
}

int32_t TClassicKind::WordAt(const TCrossTXT& doc, TCellPos cell, TDirection dir) const
{
    return ExplNumberAt(doc, cell.Col, cell.Row, dir == TDirection::Across);
}

std::vector<TCellPos> TClassicKind::WordCells(const TCrossTXT& doc, const TExpl& expl) const
{
    return mz::WordCells(doc, expl);
}

std::optional<TTypingPlace> TClassicKind::NextPlace(const TCrossTXT& doc, int32_t expl) const
{
    return NextEmptyPlace(doc, TNumbering(doc), expl);
}

std::vector<TClueSection> TClassicKind::Clues(const TCrossTXT& doc) const
{
    const TNumbering numbering(doc);
    return {{TDirection::Across, Heading(TDirection::Across), numbering.Across()},
            {TDirection::Down, Heading(TDirection::Down), numbering.Down()}};
}

std::string TClassicKind::Heading(TDirection dir) const
{
    return dir == TDirection::Across ? "Poziomo" : "Pionowo";
}

} // namespace mz
