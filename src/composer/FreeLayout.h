#pragma once

#include "composer/WordList.h"
#include "documents/CrossTXT.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mz {

// "Krzyżówka z własnych haseł": the user's words laid out freely, crossing
// one another, in a compact connected grid.
//
// Rules of a layout: every word crosses at least one other; two words meet
// only where they cross (no letter beside another word's letter, and no word
// running on into another's end, so the cells before and after a word stay
// empty); all words hang together.
//
// One attempt lays the first word down and then, again and again, the
// placement of any word left that crosses most letters already there while
// growing the grid's area least (a random share breaks near ties), until no
// word fits. Attempts start from different words and draw differently; the
// best is kept: most words placed, then most crossings, then smallest area.
// The generator is seeded: the same seed and options give the same crossword
// (as long as the time limit does not cut the attempts short).
// The smallest grid a crossword document holds: a smaller layout is widened
// with blocks on the right and at the bottom.
inline constexpr int32_t MinLayoutCols = 4;
inline constexpr int32_t MinLayoutRows = 3;

struct TFreeLayoutOptions {
    int32_t MaxCols = 0; // the grid's size limit; 0 = none
    int32_t MaxRows = 0;
    uint32_t Seed = 0;
    int32_t Attempts = 120;
    // A guard for slow machines: no new attempt starts after this much time.
    double TimeLimitSeconds = 1.0;
};

struct TFreeLayoutResult {
    // An ordinary crossword: word cells open, the others blocks; each word an
    // explanation with its clue and its answer, numbered row by row across,
    // then column by column down. Its FileName is empty.
    TCrossTXT Document;
    // Words that found no place, in the list's order (CP1250); never left out
    // silently. When fewer than two words fit, none is placed and Document
    // stays as constructed.
    std::vector<std::string> Unplaced;
    int32_t Placed = 0;
    int32_t Crossings = 0; // cells shared by two words
    int32_t AttemptsMade = 0;
};

// Raises EInvalidCrossKwelinOperation for fewer than two words (RequireTwoWords)
// and for a size limit smaller than MinLayoutCols × MinLayoutRows or larger
// than the largest grid.
TFreeLayoutResult ComposeFreeLayout(const std::vector<TWordEntry>& words, const TFreeLayoutOptions& options);

// A size limit written "KxW" (columns x rows, "15x11"); false when malformed.
bool ParseGridSize(const std::string& text, int32_t& cols, int32_t& rows);

} // namespace mz
