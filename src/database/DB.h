#pragma once

#include "core/Error.h"
#include "database/FitCache.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace mz {

class EDBInvalidOperation : public EMirakolnikError {
public:
    using EMirakolnikError::EMirakolnikError;
};

// The one error a failed load reports, formatted with the file name.
inline constexpr const char* MsgDBLoadError = "Wystąpił błąd podczas otwarcia pliku %s";

// Record kinds of the word database file.
inline constexpr uint8_t DBRecEnd = 0;
inline constexpr uint8_t DBRecWord = 1;
inline constexpr uint8_t DBRecExplanation = 2;
inline constexpr uint8_t DBRecAudio = 3;
inline constexpr uint8_t DBRecScore = 4; // commonness score of the latest word, decimal 0 to 100
// The most recent word is excluded from composing: the load drops it.
inline constexpr uint8_t DBRecExcluded = 5;

// One word of the database, a node of one of the three chains of TDB. The
// composer never needs these nodes: TDB keeps its words in flat arrays and
// makes the nodes only when someone walks a chain or asks for a record.
// Only TDB links and moves records; everyone else reads them.
struct TDBRec {
    TDBRec* Next = nullptr;
    std::string PWord;      // CP1250, exactly as stored
    std::string ExplLines;  // every explanation followed by CR LF
    std::string AudioLines; // the sound-file text, verbatim
    int32_t Score = -1;     // commonness 0 (rare) to 100 (most common); -1 when the file gives none
    uint8_t Register = 0;   // TRegister: 0 (ordinary) when the file gives no register record

private:
    friend class TDB;
    TDBRec* Prev = nullptr;
    uint32_t Id = 0; // the record's number (TDB::Word)
};

// One candidate of a query. A candidate list is a std::vector<TPWordList>
// whose element 0 is the head of the chain; its size() is the list's Count.
struct TPWordList {
    std::string PWord;
    uint8_t Offset = 0; // the anchor's position inside the word, from 0
    int32_t Score = 0;
};

using TPWordLists = std::vector<TPWordList>;

// One candidate as the composer takes it: the record's number instead of its
// word, and its place in the candidate list (ascending).
struct TDBCandidate {
    uint32_t Word = 0;
    uint8_t Offset = 0;
    uint64_t Order = 0;
};

// The three chains of a database, for the queries' source argument.
enum TDBList : uint8_t { dlWords, dlUsedWords, dlExcludedWords };

// How the queries answer. Both modes give identical answers in identical
// order; the plain walk is the reference the index is tested against.
enum TDBQueryMode : uint8_t { qmPlain, qmIndexed };

// What a load sets aside: words shorter than MinLenPWord or longer than
// MaxLenPWord, words whose commonness score is below MinScore (a word without
// a score is kept), words whose register the filter does not allow
// (RegisterAllowed) and the words of SetAside go to ExcludedWords. The caller
// passes the settings it works with.
struct TDBLoadFilter {
    int32_t MinLenPWord = 3;
    int32_t MaxLenPWord = 16;
    int32_t MinScore = 0;
    // Shared with whoever adds to it between loads, e.g. the words of the
    // earlier crosswords of a series. CP1250, as stored.
    std::shared_ptr<const std::unordered_set<std::string>> SetAside = nullptr;
    // On: only words of the ordinary register (no register record) are
    // composed from. Off: every word but the pejoratives, which never are.
    bool SchoolSafe = false;
    // On: the words scored below MinScore are kept as a reserve instead of
    // set aside; the composer lays one only where every other word would
    // leave more room for blocks (Reserve).
    bool RareAsReserve = false;
};

// A kind/text pair of the database file, in file order.
struct TDBFileRecord {
    uint8_t Kind = DBRecEnd;
    std::string Text;
};

class TDBData;
struct TDBActive;
struct TDBIndexHit;
struct TDBState;

// The loaded word database: active, used and excluded words, each a chain
// with new records at the front, so after a load Words runs in reverse file order.
//
// The words, explanations and sounds of a file live in one read-only TDBData
// that several TDB objects may share; a TDB holds only which chain each record
// is in and its place there. Records are numbered in file order from 0.
class TDB {
public:
    explicit TDB(TDBQueryMode mode = qmIndexed);
    ~TDB();
    TDB(const TDB&) = delete;
    TDB& operator=(const TDB&) = delete;

    // Frees every record; MinLen, MaxLen and FoundCount keep their values.
    void Clear();
    // Replaces the contents by the file's. Any failure raises EDBInvalidOperation
    // "Wystąpił błąd podczas otwarcia pliku %s"; the records read before it stay
    // in Words and no length limits are applied.
    void Load(const std::string& fileName, const TDBLoadFilter& filter = {});
    // The same for a file held in memory; fileName only names it.
    void LoadData(std::string_view bytes, const std::string& fileName, const TDBLoadFilter& filter = {});
    // Fills the database from records as Load does from a file (edition as in the
    // header; reading stops at the first end record). Raises the loading error
    // for a malformed sequence, with `fileName` in the message.
    void LoadRecords(int32_t edition, const std::vector<TDBFileRecord>& records, const std::string& fileName = {},
                     const TDBLoadFilter& filter = {});
    // Like Load, but the file is parsed once per process: while it stays
    // unchanged on disk (size, time and inode), every later call shares the
    // words read the first time and only sets up its own chains. The first
    // call is a LoadCached with the user's cache file (TDBCache::PathFor).
    void LoadShared(const std::string& fileName, const TDBLoadFilter& filter = {});
    // Like Load, but the words come from `cacheFile` when it is a sound cache
    // of this state of the file (true); otherwise the file is parsed and the
    // cache file written anew, where that can be done (false).
    bool LoadCached(const std::string& fileName, const std::string& cacheFile, const TDBLoadFilter& filter = {});
    // Takes the words (and their index) another database has loaded, without
    // reading anything, and applies the filter: the state a load of the same
    // file with this filter gives.
    void ShareWords(const TDB& from, const TDBLoadFilter& filter = {});
    // Moves every word of Words that the filter sets aside (length, score,
    // SetAside) to the front of ExcludedWords.
    void ApplyLengthLimits(const TDBLoadFilter& filter);
    // Puts every record back in the chain and at the place the last load gave
    // it (length limits applied), as a new load of the same file would, without
    // reading anything. MinLen, MaxLen and FoundCount keep their values.
    void Restore();

    // Moves the first equal record of Words to the front of UsedWords.
    void MarkUsed(std::string_view word);
    // Moves the first equal record of UsedWords to the front of Words.
    void ReleaseUsed(std::string_view word);
    // MarkUsed and ReleaseUsed of the word of record `id`.
    void MarkUsedRecord(uint32_t id);
    void ReleaseUsedRecord(uint32_t id);
    // Fills `list` with the words of `source` that can be laid into `pattern`
    // around `anchor`; sets FoundCount.
    void FindCandidates(std::string_view pattern, std::string_view anchor, TPWordLists& list, TDBList source = dlWords);
    // The same candidates from Words as record numbers, in the same order, or
    // in any order when `ordered` is false (their Order still tells it).
    void FindCandidates(std::string_view pattern, std::string_view anchor, std::vector<TDBCandidate>& list,
                        bool ordered = true);
    // How many candidates FindCandidates would give, or `limit` when at least
    // that many; sets no FoundCount.
    size_t CountCandidates(std::string_view pattern, std::string_view anchor, size_t limit);
    // Whether some word of `source` could be laid into `pattern` around `anchor`.
    bool AnyWordFits(std::string_view pattern, std::string_view anchor, TDBList source = dlWords) const;
    // The records of Words of exactly the pattern's length whose letters agree
    // with every letter of the pattern (' ' takes any), in record order.
    void FindFitting(std::string_view pattern, std::vector<uint32_t>& ids) const;
    // The first equal record of UsedWords, else of Words, else nullptr.
    const TDBRec* FindRecord(std::string_view word) const;
    // The number of the record FindRecord finds; -1 for none.
    int64_t FindWord(std::string_view word) const;

    // Records by number, 0 .. RecordCount() - 1 in file order.
    int32_t RecordCount() const;
    std::string_view Word(uint32_t id) const { return WordText.substr(WordAt[id], WordAt[id + 1] - WordAt[id]); }
    std::string_view ExplLines(uint32_t id) const;
    std::string_view AudioLines(uint32_t id) const;
    // Commonness 0 (rare) to 100 (most common); -1 when the file gives none.
    int32_t Score(uint32_t id) const;
    TDBList ListOf(uint32_t id) const { return static_cast<TDBList>(Lists[id]); }
    // Whether the word is of the load's reserve (TDBLoadFilter::RareAsReserve).
    bool Reserve(uint32_t id) const;
    // Whether some word stands in more than one record.
    bool HasDuplicates() const;
    // Indexed queries only: while `active` is set, FindCandidates and
    // AnyWordFits see record `id`, which is not in Words, as if it were there.
    // No chain changes; the caller takes it back before anything else moves.
    void SetQueryActive(uint32_t id, bool active);

    const TDBRec* Words() const { return Head(dlWords); }
    const TDBRec* UsedWords() const { return Head(dlUsedWords); }
    const TDBRec* ExcludedWords() const { return Head(dlExcludedWords); }
    const TDBRec* Head(TDBList list) const
    {
        EnsureRecords();
        return Heads[list];
    }

    const std::string& FileName() const { return FileName_; }
    int32_t WordCount() const { return Counts[dlWords]; }
    int32_t UsedCount() const { return Counts[dlUsedWords]; }
    int32_t ExcludedCount() const { return Counts[dlExcludedWords]; }
    int32_t FoundCount() const { return FoundCount_; }
    int32_t Edition() const { return Edition_; }
    int32_t MinLen() const { return MinLen_; }
    int32_t MaxLen() const { return MaxLen_; }
    // Word records of the last load whose text a grid cell cannot show (empty,
    // or a character other than A-Z, 0-9 and the Polish capitals): skipped with
    // their clues and sounds.
    int32_t SkippedWords() const;
    // Sound names of the last load that were no plain file names: dropped, the
    // word kept (IsPlainSoundName).
    int32_t RefusedSounds() const;
    TDBQueryMode QueryMode() const { return Mode; }

private:
    template <class Read> void LoadWith(const std::string& fileName, const TDBLoadFilter& filter, Read&& read);
    void Adopt(std::shared_ptr<const TDBData> data, const std::string& fileName);
    void SaveOriginal();
    void Move(uint32_t id, TDBList to);
    std::vector<uint32_t> ChainIds(TDBList list) const;
    int64_t FirstEqual(TDBList list, std::string_view word) const;
    void EnsureRecords() const;
    void LinkRecords() const;
    const TDBActive& EnsureActive() const;

    void FindCandidatesPlain(std::string_view pattern, std::string_view anchor, std::vector<TDBCandidate>& list,
                             TDBList source);
    bool AnyWordFitsPlain(std::string_view pattern, std::string_view anchor, TDBList source) const;

    TDBQueryMode Mode;
    std::shared_ptr<const TDBData> Data;
    // Data's words, for Word.
    std::string_view WordText;
    const uint32_t* WordAt = nullptr;
    // Per record: its chain and its place there, ascending from the front.
    std::vector<uint8_t> Lists;
    std::vector<int32_t> Keys;
    int32_t Counts[3] = {0, 0, 0};
    int32_t FrontKeys[3] = {0, 0, 0};
    // The state right after the last load, and the records moved since.
    std::shared_ptr<const TDBState> Original;
    std::vector<uint32_t> Moved;
    std::vector<uint8_t> WasMoved;
    std::string FileName_;
    int32_t FoundCount_ = 0;
    int32_t PreferredMinScore = 0;
    int32_t Edition_ = -1;
    int32_t MinLen_ = 255;
    int32_t MaxLen_ = 0;
    // The chains as nodes, made at the first walk and then kept linked.
    mutable std::vector<TDBRec> Recs;
    mutable TDBRec* Heads[3] = {nullptr, nullptr, nullptr};
    // Which records the indexed queries see, made at the first of them.
    mutable std::unique_ptr<TDBActive> Active;
    std::vector<TDBIndexHit> Hits;
    std::vector<uint32_t> Ids;
    // Answers of the indexed AnyWordFits, by pattern and anchor. A "nothing
    // fits" answer is brought up to date by trying the records activated
    // since, while they are at most MaxActivationsChecked.
    static constexpr uint64_t MaxActivationsChecked = 64;
    mutable TFitCache FitAnswers;
};

// What the start-up gathers once for the about box and the options dialog.
struct TDBStatistics {
    int32_t Edition = -1;
    int32_t WordCount = 0;
    int32_t ExplCount = 0;
    int32_t MinLen = 255;
    int32_t MaxLen = 0;
    std::vector<int32_t> WordsPerLength; // index: word length
    int32_t SkippedWords = 0;
    int32_t RefusedSounds = 0;
};

// Loads the database with the length limits 2 and 255 so that no word is excluded.
TDBStatistics ReadDBStatistics(const std::string& fileName);
// The same figures of a database loaded with those limits.
TDBStatistics DBStatisticsOf(const TDB& db);

// "rozszerzona" for an edition above 101, "podstawowa" otherwise.
std::string EditionName(int32_t edition);

} // namespace mz
