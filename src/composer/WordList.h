#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mz {

// One word of the user's own list with its clue, both CP1250; the word upper
// case, letters only, as a grid holds it.
struct TWordEntry {
    std::string Word;
    std::string Clue;

    bool operator==(const TWordEntry&) const = default;
};

// A word list as the user wrote it: one word a line, "SŁOWO<TAB>objaśnienie",
// the clue optional. Lines that are empty or blank are skipped.
struct TWordList {
    std::vector<TWordEntry> Words; // in the order of their first line
    // One Polish message (UTF-8) per refused line, naming the line's number.
    std::vector<std::string> Problems;
    // Lines that repeated an earlier word and were merged into it.
    int32_t Merged = 0;
};

inline constexpr int32_t MinListWordLetters = 2;
inline constexpr int32_t MaxListWordLetters = 30;

// Reads the list. Words are upper-cased; a word with a space or a hyphen is
// refused (the user decides whether to join it or to write another), as is a
// character other than a letter and a word shorter than MinListWordLetters or
// longer than MaxListWordLetters. A repeated word is merged into its first
// line, which keeps its clue unless it had none. Nothing is dropped silently:
// every refused line has its message.
TWordList ParseWordList(std::string_view utf8);

// A text file's bytes as UTF-8: UTF-8 as it is (without a byte order mark),
// anything else read as Windows-1250, the code page of older Polish files.
std::string WordListFileText(std::string_view bytes);

// Raises EInvalidCrossKwelinOperation with a Polish message when the list
// has fewer than two words: an empty list and one word make no crossword.
void RequireTwoWords(const std::vector<TWordEntry>& words);

} // namespace mz
