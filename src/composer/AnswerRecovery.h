#pragma once

#include "core/Random.h"

#include <cstdint>
#include <string>

namespace mz {

class TCrossTXT;
class TDB;

struct TRecoveryResult {
    int32_t Explanations = 0; // explanations of the crossword
    int32_t Known = 0;        // of them, with an answer before the recovery
    int32_t Recovered = 0;    // answers the recovery added
    int32_t Unknown = 0;      // still without an answer afterwards

    bool Whole() const { return Explanations > 0 && Unknown == 0; }
};

// "Odtwórz rozwiązanie z bazy": gives every explanation without an answer the
// word of the database that it must be, where that can be told for certain.
//
// A word is a candidate for an explanation when it is as long as the
// explanation's word in the grid and its record has the clue among its
// explanations (every chain of the database counts). Answers the document
// already has are taken as given. The candidates are then narrowed until
// nothing changes: a crossing cell can only hold a letter that candidates of
// both of its words put there, and a candidate that leads to a contradiction
// when assumed is dropped. An explanation left with exactly one candidate gets
// it as its answer; every other one stays unknown, so a recovered answer is
// never a guess. When the candidates contradict each other from the start
// (a clue whose word is not in this database), every explanation that may be
// the cause is left unknown and out of the narrowing.
TRecoveryResult RecoverAnswers(TCrossTXT& doc, const TDB& db);

// A word of MinPhraseWord..MaxPhraseWord letters from the database that the
// crossword's answers can spell from different cells and that is not itself
// one of its answers, drawn at random. Raises EIOOperation with a Polish
// message when there is none.
inline constexpr int32_t MinPhraseWord = 6;
inline constexpr int32_t MaxPhraseWord = 12;
std::string PickPhraseWord(const TCrossTXT& doc, const TDB& db, TRandom& random);

} // namespace mz
