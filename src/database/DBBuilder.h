#pragma once

#include "Commonness.h"
#include "Register.h"
#include "StopList.h"
#include "ThesaurusMarks.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace mz {

// One word as it goes into a database file; all texts CP1250.
struct TDBWord {
    std::string PWord;
    std::vector<std::string> Explanations;
    std::string Audio;  // sound-file name without the line end; empty for none
    int32_t Score = -1; // commonness 0 to 100; -1 for none (no score record)
    TRegister Register = rgOrdinary; // written as a register record unless ordinary
};

// Shortest and longest word a built database takes, and the longest clue
// the thesaurus may give.
inline constexpr size_t BuildMinWordLength = 2;
inline constexpr size_t BuildMaxWordLength = 20;
inline constexpr size_t ThesaurusClueLength = 80;

// Writes a word database file: the edition in header bytes 60 to 63, then for
// every word its word record, its score record (when it has a score), its
// explanations and its sound record ("name\r\n").
// A text longer than the reader can read back, and a sound name that is no
// plain file name (IsPlainSoundName), are refused with EDBInvalidOperation
// before anything is written.
void WriteDBFile(const std::string& fileName, int32_t edition, const std::vector<TDBWord>& words);

// The word as a database holds it: upper-cased CP1250, or empty when it is not
// made of A-Z and the nine Polish letters alone or has not 2 to 20 of them.
std::string DatabaseWord(const std::string& utf8);

// A file-system path from UTF-8 text (sound files are named after the word in UTF-8).
std::filesystem::path Utf8Path(const std::string& utf8);

// ISO-8859-2 bytes to UTF-8.
std::string Latin2ToUtf8(std::string_view latin2);

// What the cleaning of a build left out. Clues are counted as distinct texts
// per word, before (what the thesaurus alone would give) and after.
struct TCleaningReport {
    int32_t MarkedWords = 0;      // the thesaurus marks them vulgar or offensive in every sense
    int32_t StopListWords = 0;    // named by a stop list (and not already among the above)
    int32_t RemovedWordClues = 0; // the clues those words would have had
    int32_t LostClues = 0;        // clues of kept words not kept as they were: lost with a
                                  // marked meaning, or rewritten
    int32_t RewrittenClues = 0;   // clues of kept words that lost an offensive term (new texts)
    int32_t CluelessWords = 0;    // kept words left without any clue, and so without a place
    int32_t PejorativeWords = 0;  // words a register list names pejorative
};

// What the clue repair took from the thesaurus' clues of the kept words, by rule.
struct TClueRepair {
    int32_t StemTerms = 0;     // terms sharing the answer's stem (one contains the other, 4+ letters)
    int32_t ShortClues = 0;    // clues of fewer than three letters
    int32_t Hypernyms = 0;     // "rodzaj:" clues whose direction the thesaurus does not confirm
    int32_t OverrideTerms = 0; // terms the reviewed override list takes from the word
    int32_t RegisterTerms = 0; // terms of a marked register (crude, sexual, ...)
};

// What a clue of the thesaurus may use beyond its own terms. Every function
// may be empty (no such rule). Texts upper-case CP1250.
struct TClueRules {
    // Terms that never serve (left-out words, marked phrases).
    std::function<bool(const std::string&)> LeaveOut;
    // Terms of a marked register; counted apart.
    std::function<bool(const std::string&)> Marked;
    // The override list takes `term` from `word`'s clues.
    std::function<bool(const std::string& word, const std::string& term)> Overridden;
    // The thesaurus confirms `hypernym` as a broader term of `word` (its own
    // entry lists the word as a narrower one).
    std::function<bool(const std::string& word, const std::string& hypernym)> Confirmed;
    TClueRepair* Counts = nullptr; // counted when given
};

// The longest line a source may have; anything longer (a file of zero bytes
// without line ends, say) is no word list.
inline constexpr size_t MaxSourceLine = size_t{1} << 20;

// Collects words and clues from the Polish thesaurus (MyThes format) and from
// plain word lists, merges duplicates in the order of their first appearance
// and writes the database.
//
// Every source must be a text that gives words: an empty source, one that is
// no UTF-8 (or, for the thesaurus, ISO-8859-2) text, one with a NUL byte, a
// line longer than MaxSourceLine, a read error, or a source none of whose
// lines gives a word is refused with EDBInvalidOperation naming the file (and
// the line), never quoting more than a short part of a line.
class TDBBuilder {
public:
    // Stop lists come before the sources: they decide which words and terms
    // the thesaurus may give, and words of a list the sources name are left out.
    void AddStopList(std::istream& in, const std::string& name) { StopList.Add(in, name); }
    // Reviewed register lists, before the sources: UTF-8 lines
    // "word or phrase<TAB>register<TAB>reason" (RegisterKey; "zwykłe" takes a
    // word back from an earlier list). A later list wins. Marked words keep
    // their register in the database, pejoratives are left out, and a marked
    // term or phrase never serves in a thesaurus clue.
    void AddRegisterList(std::istream& in, const std::string& name);
    // The reviewed override list, before the sources: UTF-8 lines
    // "WORD<TAB>term<TAB>reason"; the term never serves in the word's
    // thesaurus clues (a broader term neither).
    void AddOverrides(std::istream& in, const std::string& name);
    // The frequency list the words' commonness scores come from (TCommonness);
    // without one the database carries no scores.
    void SetCommonness(TCommonness commonness)
    {
        Commonness = std::move(commonness);
        HasCommonness = true;
    }

    // MyThes: an encoding line, then entries "word|senses" each followed by that
    // many lines "(kind)|term|term...". Throws EDBInvalidOperation on a broken file.
    // Words and meanings the thesaurus marks vulgar or offensive (TThesaurusMarks)
    // and the stop lists' words are left out, and counted in Cleaning().
    void AddThesaurus(std::istream& in, const std::string& name);
    // UTF-8 lines "word<TAB>clue<TAB>clue...[<TAB>@sound-file]"; empty lines and
    // lines starting with '#' are skipped. A line whose word cannot go into the
    // database, and a sound name that is no plain file name, are skipped and
    // reported in `warnings`.
    void AddTsv(std::istream& in, const std::string& name, std::vector<std::string>& warnings);
    // The basic vocabulary: a word list as AddTsv reads it, whose words score
    // 100 (as common as the most common words) and whose clues come before
    // every other clue of the word.
    void AddBasic(std::istream& in, const std::string& name, std::vector<std::string>& warnings);
    // Gives every word without a sound the name of a file in `dir` named after it
    // (the word in UTF-8 plus .wav, .mp3 or .ogg). Returns how many got one.
    int AssignSounds(const std::filesystem::path& dir);

    // The words that have at least one clue, in order of first appearance, with
    // their scores when a frequency list was given, and their registers. With
    // a frequency list each word's clues run from the most common terms to the
    // rarest (ClueCommonness), the basic vocabulary's clues first.
    std::vector<TDBWord> Result() const;
    const TCleaningReport& Cleaning() const { return Report; }
    const TClueRepair& Repair() const { return Repairs; }
    // How common a clue's terms are: the mean of its terms' scores, a phrase
    // scoring the mean of its words of three letters or more ("rodzaj: "
    // left out). `clue` CP1250.
    double ClueCommonness(const std::string& clue) const;
    // The register of a word or term (upper-case CP1250) by the lists and by
    // the thesaurus' own marks.
    TRegister RegisterOf(const std::string& key) const;

private:
    TDBWord& Entry(const std::string& word);
    void AddExplanation(TDBWord& entry, const std::string& text);
    void AddThesaurusEntries(const std::vector<TThesaurusEntry>& entries);
    void AddWordList(std::istream& in, const std::string& name, std::vector<std::string>& warnings, bool basic);

    std::vector<TDBWord> Words;
    std::unordered_map<std::string, size_t> Positions;
    // Every clue by the hash of (word, clue), pointing at (word index << 32 |
    // clue index), so that a repeated clue is found without walking the word's
    // clues.
    std::unordered_multimap<uint64_t, uint64_t> ClueIndex;
    TStopList StopList;
    TCommonness Commonness;
    bool HasCommonness = false;
    TCleaningReport Report;
    TClueRepair Repairs;
    std::set<std::string> LeftOut; // words removed so far, counted once
    std::unordered_map<std::string, TRegister> Listed;       // by the register lists
    std::unordered_map<std::string, TRegister> MarkedSenses; // by the thesaurus' marks
    std::set<std::pair<std::string, std::string>> Overrides; // (word, term)
    std::set<std::string> BasicWords;
    std::set<uint64_t> BasicClues; // word index << 32 | clue index
};

// Every entry of a MyThes thesaurus, phrases included, texts in UTF-8. Throws
// EDBInvalidOperation naming the file and line of a broken entry.
std::vector<TThesaurusEntry> ReadThesaurus(std::istream& in, const std::string& name);

// A thesaurus term split into its text and what its notes say.
struct TThesaurusTerm {
    std::string Text;
    bool Hypernym = false;   // "(pojęcie nadrzędne)"
    bool NotSynonym = false; // hyponym or antonym
    bool Offensive = false;  // "(wulg.)", "(obraźl.)", "(obelż.)"
    bool UsageNote = false;  // any other note: "(pot.)", "(książk.)", ...
};
TThesaurusTerm ParseThesaurusTerm(std::string_view utf8);

// Whether a note or a sense's kind field marks something vulgar or offensive.
bool IsOffensiveNote(std::string_view note);

// The clues the thesaurus gives for one sense of `word` (CP1250, upper case):
// the sense's terms in UTF-8, as the thesaurus lists them, with their notes.
// A term for which `leaveOut` (given the term's text upper-cased, CP1250) is
// true is not used. Empty when no term may serve.
std::string ThesaurusClue(const std::string& word, const std::vector<std::string>& terms,
                          const std::function<bool(const std::string&)>& leaveOut = {});
// The same with the builder's repair rules: no term that shares the answer's
// stem, none the rules leave out, no clue of fewer than three letters, and
// "rodzaj: X" only for a broader term without a usage note that the
// thesaurus confirms and that is no proper name.
std::string ThesaurusClue(const std::string& word, const std::vector<std::string>& terms, const TClueRules& rules);

} // namespace mz
