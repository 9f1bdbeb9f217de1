#pragma once

#include "database/WordBase.h"

#include <string>
#include <string_view>
#include <vector>

namespace mz {

// Upper-cased CP1250 text, Polish letters included.
std::string UpperCp1250(std::string_view text);

// Whole-text match of a '?' and '*' pattern.
bool WildcardMatch(std::string_view text, std::string_view pattern);

// Polish alphabetical order of CP1250 words (A Ą B C Ć ... Z Ź Ż), digits first,
// letter case ignored; any other byte sorts after the letters by its code.
bool PolishLess(std::string_view a, std::string_view b);

// What the word editor's search field asks for. A text with '?' (one letter)
// or '*' (any run of letters) is a pattern for the whole word; any other text
// is looked for anywhere in the word, and optionally in its explanations.
// Letter case does not matter, Polish letters included. Everything works on
// CP1250 bytes, as the database holds them.
class TWordFilter {
public:
    // `utf8`: the search text as typed.
    explicit TWordFilter(std::string_view utf8 = {}, bool inExplanations = false);

    // `upperWord` and `upperExplLines` are upper-cased already (UpperCp1250).
    bool Matches(std::string_view upperWord, std::string_view upperExplLines) const;
    // The word of the base, with its explanations when they are searched.
    bool Matches(const TBaseWord& word) const;

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

// The words of one list of the editable base (the words composed from, or
// the excluded ones) in Polish alphabetical order, and the rows of them the
// search and the conditions let through.
class TWordBaseList {
public:
    TWordBaseList(const TWordBase& base, bool excluded);

    // Reads every word of the list from the base again.
    void Reset();
    // Takes a word out of or into the list as the base now holds it; the rows
    // follow at the next Refilter.
    void Update(const std::string& word);
    void SetFilter(const TWordFilter& filter, const TWordConditions& conditions);
    void Refilter();

    int TotalCount() const { return int(FWords.size()); }
    int ShownCount() const { return int(FShown.size()); }
    std::string Word(int row) const;          // empty beyond the rows
    int RowOf(const std::string& word) const; // -1 when not shown
    std::vector<std::string> ShownWords() const;

private:
    bool Shown(const std::string& word) const;

    const TWordBase& FBase;
    bool FExcluded;
    std::vector<std::string> FWords; // sorted
    std::vector<int> FShown;         // indexes into FWords
    TWordFilter FFilter;
    TWordConditions FConditions;
};

} // namespace mz
