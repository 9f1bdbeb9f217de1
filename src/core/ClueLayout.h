#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace mz {

// Breaking a clue into the two lines of the clue label. Texts are UTF-16, as
// the screen holds them; one code unit is one character.

// Polish syllable hyphenation of one word for breaking a clue into two lines.
// Returns the word with at most one inserted hyphen: the last syllable break
// that still leaves the part before it, hyphen included, within `limit`
// characters. Words of three letters or fewer are never broken.
std::u16string Hyphenate(std::u16string_view word, int limit);

// Fits a clue into the label: unchanged when it fits on one line; otherwise
// broken (with a carriage return) at the last space that fits or inside the cut
// word by hyphenation; when even two lines are too wide, trimmed and ended with
// "...". `fits` tells whether a caption (lines split at CR) fits the label.
std::u16string FitClue(std::u16string_view text, const std::function<bool(std::u16string_view)>& fits);

} // namespace mz
