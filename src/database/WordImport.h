#pragma once

#include "database/WordBase.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace mz {

// A word of an import list as it would go into the base.
struct TImportWord {
    std::string PWord;                        // CP1250
    std::vector<std::string> NewExplanations; // the clues the base does not hold yet, in list order
    std::string SoundName;                    // from the list; used only for a word without a sound
    int Line = 0;                             // first line of the word in a word list; 0 for the thesaurus
};

// A line of a word list that cannot be imported.
struct TImportRefusal {
    int Line = 0;
    std::string Text;   // the line, UTF-8
    std::string Reason; // Polish
};

// What an import would do: new words, words that gain clues or a sound, and
// the lines refused. Nothing changes until Changes() are applied.
struct TImportPreview {
    std::vector<TImportWord> Added;
    std::vector<TImportWord> Merged;
    std::vector<TImportRefusal> Refused;
    int Unchanged = 0; // words the base already holds with all their clues

    // The changes for the base the preview was made for: added words after the
    // others, merged words with the new clues after their own, all marked as
    // the user's.
    std::vector<TWordChange> Changes(const TWordBase& base) const;
};

// A word list in the format of `db-build --tsv` (UTF-8, "word<TAB>clue<TAB>...
// [<TAB>@sound]"), read line by line with the builder's rules; a line that
// does not qualify is refused with its number instead of stopping the import.
TImportPreview PreviewTsvImport(const TWordBase& base, std::istream& in);

// The words and clues the builder takes from a MyThes thesaurus. A broken file
// raises EDBInvalidOperation.
TImportPreview PreviewThesaurusImport(const TWordBase& base, std::istream& in, const std::string& name);

// Writes the given words of the base (CP1250, in the given order) as a word
// list that PreviewTsvImport and `db-build --tsv` read back: UTF-8, one word a
// line, a comment line first.
void WriteTsv(std::ostream& out, const TWordBase& base, const std::vector<std::string>& words);

// The same list written to a file through a replacement (a failed export
// leaves the previous file). A name that is the shipped database or the
// change file of the base is refused before anything is written; failures
// are EDBInvalidOperation or EIOOperation with the reason.
void ExportTsvFile(const std::string& name, const TWordBase& base, const std::vector<std::string>& words);

} // namespace mz
