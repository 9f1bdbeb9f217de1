#pragma once

#include "core/Error.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
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
// The most recent word is excluded from composing: the load drops it.
inline constexpr uint8_t DBRecExcluded = 5;

// One word of the database, a node of one of the three chains of TDB.
// Only TDB links and moves records; everyone else reads them.
struct TDBRec {
    TDBRec* Next = nullptr;
    std::string PWord;      // CP1250, exactly as stored
    std::string ExplLines;  // every explanation followed by CR LF
    std::string AudioLines; // the sound-file text, verbatim

private:
    friend class TDB;
    friend class TDBIndex;
    TDBRec* Prev = nullptr;
    int64_t OrderKey = 0;   // ascending from the front of its chain
    uint8_t List = 0;       // which chain holds it (TDBList)
    uint32_t Slot = 0;      // position in the index's length group
};

// One candidate of a query. A candidate list is a std::vector<TPWordList>
// whose element 0 is the head of the chain; its size() is the list's Count.
struct TPWordList {
    std::string PWord;
    uint8_t Offset = 0; // the anchor's position inside the word, from 0
    int32_t Score = 0;
};

using TPWordLists = std::vector<TPWordList>;

// The three chains of a database, for the queries' source argument.
enum TDBList : uint8_t { dlWords, dlUsedWords, dlExcludedWords };

// How the queries answer. Both modes give identical answers in identical
// order; the plain walk is the reference the index is tested against.
enum TDBQueryMode : uint8_t { qmPlain, qmIndexed };

// What a load sets aside: words shorter than MinLenPWord or longer than
// MaxLenPWord go to ExcludedWords. The caller passes the settings it works with.
struct TDBLoadFilter {
    int32_t MinLenPWord = 3;
    int32_t MaxLenPWord = 16;
};

// A kind/text pair of the database file, in file order.
struct TDBFileRecord {
    uint8_t Kind = DBRecEnd;
    std::string Text;
};

class TDBIndex;

// The loaded word database: active, used and excluded words, each a chain
// with new records at the front, so after a load Words runs in reverse file order.
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
    void LoadRecords(int32_t edition, const std::vector<TDBFileRecord>& records,
                     const std::string& fileName = {}, const TDBLoadFilter& filter = {});
    // Moves every word of Words shorter than filter.MinLenPWord or longer than
    // filter.MaxLenPWord to the front of ExcludedWords.
    void ApplyLengthLimits(const TDBLoadFilter& filter);

    // Moves the first equal record of Words to the front of UsedWords.
    void MarkUsed(std::string_view word);
    // Moves the first equal record of UsedWords to the front of Words.
    void ReleaseUsed(std::string_view word);
    // Fills `list` with the words of `source` that can be laid into `pattern`
    // around `anchor`; sets FoundCount.
    void FindCandidates(std::string_view pattern, std::string_view anchor, TPWordLists& list,
                        TDBList source = dlWords);
    // Whether some word of `source` could be laid into `pattern` around `anchor`.
    bool AnyWordFits(std::string_view pattern, std::string_view anchor, TDBList source = dlWords) const;
    // The first equal record of UsedWords, else of Words, else nullptr.
    const TDBRec* FindRecord(std::string_view word) const;

    const TDBRec* Words() const { return Heads[dlWords]; }
    const TDBRec* UsedWords() const { return Heads[dlUsedWords]; }
    const TDBRec* ExcludedWords() const { return Heads[dlExcludedWords]; }
    const TDBRec* Head(TDBList list) const { return Heads[list]; }

    const std::string& FileName() const { return FileName_; }
    int32_t WordCount() const { return Counts[dlWords]; }
    int32_t UsedCount() const { return Counts[dlUsedWords]; }
    int32_t ExcludedCount() const { return Counts[dlExcludedWords]; }
    int32_t FoundCount() const { return FoundCount_; }
    int32_t Edition() const { return Edition_; }
    int32_t MinLen() const { return MinLen_; }
    int32_t MaxLen() const { return MaxLen_; }
    TDBQueryMode QueryMode() const { return Mode; }

private:
    void AddRecord(uint8_t kind, const std::string& text);
    template <class Read>
    void LoadWith(const std::string& fileName, const TDBLoadFilter& filter, Read&& read);
    void PushFront(TDBRec* rec, TDBList list);
    void Unlink(TDBRec* rec);
    void FreeAll();
    TDBRec* FirstEqual(TDBList list, std::string_view word) const;
    TDBIndex& EnsureIndex() const;

    void FindCandidatesPlain(std::string_view pattern, std::string_view anchor, TPWordLists& list,
                             TDBList source);
    bool AnyWordFitsPlain(std::string_view pattern, std::string_view anchor, TDBList source) const;

    TDBQueryMode Mode;
    TDBRec* Heads[3] = {nullptr, nullptr, nullptr};
    int32_t Counts[3] = {0, 0, 0};
    int64_t FrontKeys[3] = {0, 0, 0};
    TDBRec* LastWord = nullptr;
    // The excluded word being read: its clue and sound records still attach to it.
    std::unique_ptr<TDBRec> Dropped;
    std::string FileName_;
    int32_t FoundCount_ = 0;
    int32_t Edition_ = -1;
    int32_t MinLen_ = 255;
    int32_t MaxLen_ = 0;
    // Built at the first indexed query after the records change.
    mutable std::unique_ptr<TDBIndex> Index;
    mutable bool IndexDirty = true;
};

// What the start-up gathers once for the about box and the options dialog.
struct TDBStatistics {
    int32_t Edition = -1;
    int32_t WordCount = 0;
    int32_t ExplCount = 0;
    int32_t MinLen = 255;
    int32_t MaxLen = 0;
    std::vector<int32_t> WordsPerLength; // index: word length
};

// Loads the database with the length limits 2 and 255 so that no word is excluded.
TDBStatistics ReadDBStatistics(const std::string& fileName);
// The same figures of a database loaded with those limits.
TDBStatistics DBStatisticsOf(const TDB& db);

// "rozszerzona" for an edition above 101, "podstawowa" otherwise.
std::string EditionName(int32_t edition);

} // namespace mz
