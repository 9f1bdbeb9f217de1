#pragma once

#include <QString>

#include <functional>

namespace mz {

// Polish syllable hyphenation of one word for breaking a clue into two lines.
// Returns the word with at most one inserted hyphen: the last syllable break
// that still leaves the part before it, hyphen included, within `limit`
// characters. Words of three letters or fewer are never broken.
QString Hyphenate(const QString& word, int limit);

// Like Hyphenate, also giving the 1-based position of the inserted hyphen
// (0 when none was inserted).
QString Hyphenate(const QString& word, int limit, int& hyphenPos);

// Fits a clue into the label: unchanged when it fits on one line; otherwise
// broken (with a carriage return) at the last space that fits or inside the cut
// word by hyphenation; when even two lines are too wide, trimmed and ended with
// "...". `fits` tells whether a caption (lines split at CR) fits the label.
QString FitClue(const QString& text, const std::function<bool(const QString&)>& fits);

} // namespace mz
