#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <unordered_map>

namespace mz {

// Commonness scores from a frequency-ranked word list whose forms are mapped
// to their base forms. The list is text, one form a line, most frequent first:
//
//   rank<TAB>form<TAB>lemma,lemma,...
//
// ('#' starts a comment line; an empty lemma field means the form is its own
// base form). A form of rank r with k distinct lemmas gives each of them the
// weight 1 / (r * k); a word's weight W is the sum over all forms that name it
// as a lemma, so a word whose forms are frequent, or frequent together, weighs
// more. With N the largest rank of the list the score is
//
//   round(100 * (1 - ln(1 / W) / ln(N + 1)))   limited to 1..100,
//
// so a word whose only form has rank 1 scores 100, rank 100 scores 55 in a list
// of 28,087 forms, the last rank 1; a word the list does not name scores 0.
class TCommonness {
public:
    // Throws EDBInvalidOperation naming the file and line of a malformed line.
    void Load(std::istream& in, const std::string& name);

    // `word`: upper-case CP1250 as a database holds it.
    int32_t Score(const std::string& word) const;
    int32_t MaxRank() const { return MaxRank_; }

private:
    std::unordered_map<std::string, double> Weights;
    int32_t MaxRank_ = 0;
};

// How hard a composed crossword is. Each level is harder than the one before
// it by the median commonness score of its answers and of its clue terms
// (docs/worddb.md, "Difficulty"): łatwy and średni keep the words scored
// below their least score only as a reserve for composing (TDBLoadFilter::
// RareAsReserve), laid where a more common word would leave a block, and
// łatwy gives each answer its clue of the most common terms; "wszystkie
// słowa" (the default) takes every word and draws the clue; trudny takes every
// word too, so that its grids are those of "wszystkie słowa", and gives each
// answer its clue of the rarest terms. The numbers are stored in the settings
// and keep their names: an older "trudny" (every scored word) loads as trudny.
enum TDifficulty : uint8_t { dfEasy, dfMedium, dfHard, dfAll };

// In order from the easiest to the hardest.
inline constexpr TDifficulty DifficultyLevels[] = {dfEasy, dfMedium, dfAll, dfHard};

// Which clue of an answer a crossword gets. A database's clues run from the
// most common terms to the rarest (db-build sorts them).
enum TClueChoice : uint8_t { ccDrawn, ccCommonest, ccRarest };

// The least commonness score a word needs at the level (0 for every word).
int32_t DifficultyMinScore(TDifficulty level);
TClueChoice DifficultyClueChoice(TDifficulty level);
// "łatwy", "średni", "trudny", "wszystkie słowa" (UTF-8).
std::string DifficultyName(TDifficulty level);
// The level named by its name, or by its first word ("wszystkie"); false for none.
bool ParseDifficulty(std::string_view name, TDifficulty& level);

} // namespace mz
