#include "documents/ClassicKind.h"

#include "documents/CrossSolution.h"

#include <algorithm>

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

// The cells of the line through a cell in one direction, by their place on it from 1.
struct TLine {
    const TCrossTXT& Doc;
    TCellPos Cell;
    TDirection Dir;

    int32_t Place() const { return Dir == TDirection::Across ? Cell.Col : Cell.Row; }
    int32_t Length() const { return Dir == TDirection::Across ? Doc.ColCount() : Doc.RowCount(); }
    TCellPos At(int32_t place) const
    {
        return Dir == TDirection::Across ? TCellPos{place, Cell.Row} : TCellPos{Cell.Col, place};
    }
    bool Blocked(int32_t place) const
    {
        const TCellPos cell = At(place);
        return Doc.HasCell(cell.Col, cell.Row) && Doc.GetCell(cell.Col, cell.Row) == BlockedCell;
    }
};

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

std::optional<TTypingPlace> TClassicKind::PlaceAfter(const TCrossTXT& doc, TCellPos cell, TDirection dir) const
{
    const TLine line{doc, cell, dir};
    if (line.Place() < line.Length() && !line.Blocked(line.Place() + 1))
        return TTypingPlace{line.At(line.Place() + 1), dir == TDirection::Across};
    const int32_t expl = WordAt(doc, cell, dir);
    return expl != 0 ? NextEmptyPlace(doc, TNumbering(doc), expl) : std::nullopt;
}

TCellPos TClassicKind::WordStartBefore(const TCrossTXT& doc, TCellPos cell, TDirection dir) const
{
    const TLine line{doc, cell, dir};
    int32_t place = line.Place();
    while (place >= 1 && line.Blocked(place))
        --place;
    if (place < 1)
        return line.At(1);
    while (place >= 1 && !line.Blocked(place))
        --place;
    return line.At(place + 1);
}

TCellPos TClassicKind::NextWordStart(const TCrossTXT& doc, TCellPos cell, TDirection dir) const
{
    const TLine line{doc, cell, dir};
    int32_t place = line.Place();
    while (place <= line.Length() && !line.Blocked(place))
        ++place;
    while (place <= line.Length() && line.Blocked(place))
        ++place;
    return line.At(std::min(place, line.Length()));
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
