#pragma once

#include <QString>

#include "database/WordBase.h"

#include <string>
#include <string_view>
#include <vector>

namespace mz {

// What the database browser's search field asks for. A text with '?' (one
// letter) or '*' (any run of letters) is a pattern for the whole word;
// any other text is looked for anywhere in the word, and optionally in its
// explanations. Letter case does not matter, Polish letters included.
// Everything works on CP1250 bytes, as the database holds them.
class TWordFilter {
public:
    TWordFilter(const QString& text, bool inExplanations);

    bool IsEmpty() const { return FText.empty(); }
    bool IsPattern() const { return FPattern; }
    bool InExplanations() const { return FInExplanations && !FPattern; }
    // `upperWord` and `upperExplLines` are upper-cased already (UpperCp1250).
    bool Matches(std::string_view upperWord, std::string_view upperExplLines) const;

private:
    std::string FText; // upper-cased CP1250
    bool FPattern = false;
    bool FInExplanations = false;
};

// The conditions of the editor's list beside the search text.
struct TWordConditions {
    bool NoSound = false;    // only words without a sound
    bool UserEdited = false; // only the user's added or changed words
    int Length = 0;          // only words of this many letters; 0: any

    bool Accepts(const TBaseWord& word) const;
};

// Upper-cased CP1250 text, Polish letters included.
std::string UpperCp1250(std::string_view text);

// Whole-text match of a '?' and '*' pattern.
bool WildcardMatch(std::string_view text, std::string_view pattern);

// Polish alphabetical order of CP1250 words (A Ą B C Ć ... Z Ź Ż), digits first,
// letter case ignored; any other byte sorts after the letters by its code.
bool PolishLess(std::string_view a, std::string_view b);

// The CR LF terminated lines of a text; an unterminated tail is no line.
std::vector<std::string> TerminatedLines(std::string_view text);

} // namespace mz
