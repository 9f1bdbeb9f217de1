#pragma once

#include "documents/CrosswordKind.h"

namespace mz {

// The crossword every program and magazine prints: letters in open squares,
// blocks between words, clues in two numbered lists beside the grid.
class TClassicKind : public TCrosswordKind {
public:
    TCellFaces Faces(const TCrossTXT& doc) const override;
    TCellFace Face(const TCrossTXT& doc, TCellPos cell) const override;
    int32_t WordAt(const TCrossTXT& doc, TCellPos cell, TDirection dir) const override;
    std::vector<TCellPos> WordCells(const TCrossTXT& doc, const TExpl& expl) const override;
    // The next cell when it is no block and inside the grid; after a word's
    // last letter the first empty cell of the word, or else of the next word
    // that has one (NextEmptyPlace).
    std::optional<TTypingPlace> PlaceAfter(const TCrossTXT& doc, TCellPos cell, TDirection dir) const override;
    TCellPos WordStartBefore(const TCrossTXT& doc, TCellPos cell, TDirection dir) const override;
    TCellPos NextWordStart(const TCrossTXT& doc, TCellPos cell, TDirection dir) const override;
    std::vector<TClueSection> Clues(const TCrossTXT& doc) const override;
    std::string Heading(TDirection dir) const override;
    TComposerName Composer() const override { return TComposerName::TemplateFill; }
    std::string IpuzKind() const override { return "http://ipuz.org/crossword#1"; }
};

} // namespace mz
