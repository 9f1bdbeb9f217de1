#pragma once

#include <string>
#include <string_view>

namespace mz {

// A word typed by the user, as the database holds it, or why it cannot be one.
struct TWordCheck {
    std::string Word;  // CP1250, upper case; empty when refused
    std::string Error; // Polish message; empty when accepted
};

// Upper-cases the word (Polish letters included) and accepts it when it is
// made of A-Z and Ą Ć Ę Ł Ń Ó Ś Ź Ż alone and has 2 to 20 of them.
TWordCheck CheckWord(std::string_view utf8);

// A clue typed by the user, as the database holds it.
struct TClueCheck {
    std::string Clue;    // CP1250; tabs and line breaks become spaces, blanks at the ends go
    std::string Error;   // refused, Polish message
    std::string Warning; // accepted only when the user insists: the clue gives the answer away
};

// `word` is the answer (CP1250, upper case) the clue belongs to.
TClueCheck CheckClue(std::string_view utf8, std::string_view word);

// Whether a clue (CP1250) contains its answer, letter case aside.
bool ClueContainsAnswer(std::string_view clue, std::string_view word);

} // namespace mz
