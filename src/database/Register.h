#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mz {

// Record kind of the word database: the register of the latest word, one of
// the keys RegisterKey gives. A word without one is ordinary. Readers that do
// not know the kind skip it.
inline constexpr uint8_t DBRecRegister = 8;

// What kind of language a word or a clue term is. Every kind but rgOrdinary
// is left out of a school crossword; pejoratives are never composed from.
enum TRegister : uint8_t { rgOrdinary, rgCrude, rgSexual, rgPejorative, rgInsult, rgDrugs };

inline constexpr TRegister Registers[] = {rgOrdinary, rgCrude, rgSexual, rgPejorative, rgInsult, rgDrugs};

// The key as the database and the reviewed lists write it (UTF-8):
// "zwykłe", "wulgarne", "seksualne", "pejoratywne", "obraźliwe", "narkotyki".
std::string RegisterKey(TRegister reg);
// The register a key names; false for none.
bool ParseRegister(std::string_view key, TRegister& reg);
// The register a database record's text (CP1250) gives. A text no key names
// (written by a newer program, or damaged) counts as crude, so it is never
// taken for ordinary.
TRegister RegisterOfRecord(std::string_view cp1250);

// Whether a word of the register may be composed from: with the school
// setting only ordinary words; without it everything but pejoratives.
inline bool RegisterAllowed(TRegister reg, bool schoolSafe)
{
    return reg == rgOrdinary || (!schoolSafe && reg != rgPejorative);
}

} // namespace mz
