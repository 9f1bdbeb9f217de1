#pragma once

#include "database/DB.h"
#include "database/Register.h"

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace mz {

// Record kinds of the user's change file beside the kinds of baza.hk.
// A word of the shipped database that the user removed; its text is the word.
inline constexpr uint8_t DBRecRemoved = 6;
// The shipped database the changes were saved against: "edition size checksum",
// before the first word.
inline constexpr uint8_t DBRecShippedBase = 7;

// One word of the editable database. All texts are CP1250.
struct TBaseWord {
    std::string PWord;
    std::vector<std::string> Explanations; // in order, without line ends
    std::string Audio;                     // the sound record's text as stored ("KOT.wav\r\n"), empty for none
    bool Excluded = false;                 // kept, but not composed from
    bool UserEdited = false;               // one of the user's changes
    // Records of kinds the editor does not handle (a score, say), kept as read.
    std::vector<TDBFileRecord> Other;

    // The sound-file name: the first line of Audio.
    std::string SoundName() const;
    void SetSoundName(const std::string& name);
    // The register its register record gives (ordinary without one); setting
    // ordinary removes the record.
    TRegister Register() const;
    void SetRegister(TRegister reg);

    bool operator==(const TBaseWord& other) const;
};

// One step of an edit: the entry before (none for an added word) and after
// (none for a removed one). A different word after is a rename: the entry
// keeps its place in the file order.
struct TWordChange {
    std::optional<TBaseWord> Before;
    std::optional<TBaseWord> After;
    size_t Position = 0; // where the entry stood; set when the change is applied
};

// The shipped file the user's changes were made against.
struct TShippedStamp {
    int32_t Edition = -1;
    uint64_t Size = 0;
    uint32_t Checksum = 0;

    std::string Text() const;
    static std::optional<TShippedStamp> Parse(std::string_view text);
    bool operator==(const TShippedStamp&) const = default;
};

// The word database as the editor sees it: the shipped file (never written)
// with the user's change file applied on top. The change file holds every
// entry the user edited, whole, and the shipped words the user removed; a
// load replaces a shipped entry by the user's one of the same word (in its
// place) and adds the user's own words after the shipped ones. So a newer
// shipped database brings its new words in and the user's words stay.
class TWordBase {
public:
    // Reads both files. A shipped file that cannot be read raises its loading
    // error. A change file that cannot be read is left alone on disk and out of
    // the base: UserFileProblem() says why and the base is the shipped one.
    void Load(const std::string& shippedFile, const std::string& userFile);

    // Writes the user's changes to the change file: a temporary file beside it
    // that replaces it only when complete, the previous one kept as the backup
    // (a damaged one as DamagedName). Failures raise EDBInvalidOperation with
    // the reason, and leave the base and the previous file as they were.
    void Save();

    // Returns to the shipped database: the change file becomes the backup and
    // the base is read again without it.
    void RestoreShipped();

    const std::vector<TBaseWord>& Entries() const { return Words; }
    const TBaseWord* Find(std::string_view word) const;
    size_t Count() const { return Words.size(); }
    int32_t Edition() const { return Edition_; }
    // Shipped words the user removed (the change file lists them).
    const std::set<std::string>& RemovedShipped() const { return Removed; }
    bool IsShipped(std::string_view word) const;

    // Applies a change; `reverse` undoes it (after the changes applied since
    // were undone). The change must match the base: Before is there, After
    // (when another word) is not.
    void Apply(TWordChange& change, bool reverse = false);

    // The records of the whole base in file order as a database file would
    // hold them, excluded words marked, with the end record.
    std::vector<TDBFileRecord> Records() const;

    const std::string& ShippedFile() const { return ShippedFile_; }
    const std::string& UserFile() const { return UserFile_; }
    // Empty, or why the change file was not used.
    const std::string& UserFileProblem() const { return UserProblem; }
    // The change file was saved against another shipped file than the one read now.
    bool ShippedChanged() const { return ShippedChanged_; }
    bool HasUserFile() const { return UserFileUsed; }

    std::string BackupName() const { return UserFile_ + ".bak"; }
    std::string DamagedName() const { return UserFile_ + ".uszkodzony"; }

private:
    void LoadShipped(const std::string& fileName);
    void LoadUserChanges(const std::string& fileName);
    void Put(TBaseWord entry, size_t position);
    size_t Take(const std::string& word);
    void Reindex(size_t from);

    std::vector<TBaseWord> Words;
    std::unordered_map<std::string, size_t> Positions;
    std::unordered_set<std::string> ShippedWords;
    std::set<std::string> Removed;
    std::string ShippedFile_;
    std::string UserFile_;
    std::string UserProblem;
    TShippedStamp Stamp;
    int32_t Edition_ = -1;
    bool ShippedChanged_ = false;
    bool UserFileUsed = false;
};

// The stamp of a database file (edition, size, stored checksum).
TShippedStamp StampOf(const std::string& fileName, int32_t edition);

// A word of one's own with its clue (CP1250), as a crossword holds it.
struct TOwnWord {
    std::string Word;
    std::string Clue;
};

// What AddOwnWords did with each word.
struct TOwnWordsAdded {
    std::vector<std::string> Added;   // now the user's words
    std::vector<std::string> Present; // the base had them already; left as they were
    std::vector<std::string> Refused; // "WORD: why" (UTF-8): not a word or clue the base can hold
};

// Adds the words the base does not hold as the user's words, one clue each,
// as the word editor would (a word given twice is added once). Nothing is
// written: Save() does that.
TOwnWordsAdded AddOwnWords(TWordBase& base, const std::vector<TOwnWord>& words);

} // namespace mz
