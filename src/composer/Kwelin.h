#pragma once

#include "core/Table.h"
#include "core/Random.h"
#include "database/DB.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace mz {

class TCrossTXT;

// The settings one run works with, copied once when the run starts so that
// the options dialog can change them meanwhile without the run seeing it.
struct TKwelinSettings {
    int32_t MinLenPWord = 3;
    int32_t MaxLenPWord = 16;
    bool AnyWordLocation = false;
    // Off: a word that would make a word of the grid stand twice is not laid
    // (see TCrossKwelin::FormsRepeat). On: the search as it was before that
    // rule, which can repeat a word that crossings completed.
    bool AllowRepeats = false;
    // Which clue of an answer the crossword gets (TClueChoice): drawn, the
    // first (most common terms) or the last. The draw is made in every case,
    // so the choice never changes what follows it.
    uint8_t ClueChoice = 0;
};

// The slot of one step: a stretch of a row (Dir 1) or column (Dir 0) that
// the next word must be laid into, around the letters already there.
struct TPWordCoordinate {
    int32_t Col = 0; // column of the anchor's first letter (of the pattern without one)
    int32_t Row = 0;
    uint8_t Dir = 1;        // 1 across, 0 down
    std::string Anchor;     // letters the word must contain
    int32_t AnchorPos = -1; // first position of Anchor in Pattern, from 1; 0 for none
    std::string Pattern;    // the stretch's cells, ' ' for free

    bool Found() const { return Col != 0 && Row != 0; }
    bool Horizontal() const { return Dir == 1; }
};

// The chosen run of one line.
struct TCoreData {
    int32_t RunStart = 0; // position of its first letter in the line, from 1
    std::string Run;
    int32_t RunLen = 0;
    std::string Segment; // the block-free stretch around the run
};

// The stretch across a candidate's letter: the pattern with the letter put
// in and the group of letters around it. An empty pattern checks nothing.
struct TFilterData {
    std::string Pattern;
    std::string Anchor;
    int32_t Len = 0;
};

// What the search knows of one alternative of a stack entry.
enum TCandidateState : uint8_t {
    csOpen,     // not checked yet: it fits the slot's letters, the rest is unknown
    csFits,     // checked, it keeps every stretch around it completable
    csRejected, // checked, it does not
    csTaken,    // laid, pruned or dropped: no longer an alternative
};

// One alternative: a record of the database laid with its anchor at Offset.
struct TCandidate {
    uint32_t Word = 0;
    uint8_t Offset = 0;
    TCandidateState State = csOpen;
    int32_t Score = 0;
    uint64_t Order = 0; // place in the candidate list, ascending
};

inline constexpr uint32_t NoWord = UINT32_MAX;

// One placed word on the search stack with the alternatives left for its
// slot and the grid as it was before the word went in. The alternatives are
// every word that fits the slot's letters, kept in any order (Order gives the
// candidate query's); whether one also keeps the stretches around it
// completable is checked only when a draw or the backtracking needs to know,
// and always against the grid and the word lists as they were at the push.
struct TList {
    std::vector<TCandidate> Candidates;
    int32_t Index = 0;
    int32_t CandCount = 0; // alternatives not taken and not found to be rejected
    int32_t FitCount = 0;  // of those, the ones checked and found to fit
    std::string PWord;
    uint32_t Word = NoWord; // PWord's record
    uint8_t Offset = 0;
    TPWordCoordinate Slot;
    TTable Snapshot;
};

// The composer: grows a crossword word by word in a copy of the template,
// backtracking through a stack of placed words. Every random draw comes from
// its own generator, seeded when it is created, so a seed fixes the result.
class TCrossKwelin {
public:
    // Copies the template (free, block or letter per cell) and seeds the generator.
    TCrossKwelin(const TTable& pattern, TDB& db, const TKwelinSettings& settings, uint32_t seed);

    // The slot of the next step; Found() is false when composing is over.
    TPWordCoordinate ChooseSlot() const;

    // One step of the search for the slot; false when the search has ended.
    bool Step(const TPWordCoordinate& slot);
    // Every free cell becomes a block.
    void FillBlanks();
    // Pops every stack entry (the grid and the word lists stay as they are).
    void PopAll();

    // Hands the finished grid to the document: shape, numbered words, clues.
    void TransferTo(TCrossTXT& document);

    const TTable& Table() const { return FTable; }
    int32_t Depth() const { return static_cast<int32_t>(Stack.size()); }
    // The words of the stack entries, bottom first: the words the search laid.
    std::vector<std::string> PlacedWords() const;
    TRandom& Random() { return FRandom; }
    const TKwelinSettings& Settings() const { return FSettings; }
    // How often a word or block was found to make a repeat: skipped, or laid
    // all the same with AllowRepeats.
    uint32_t RepeatCount() const { return FRepeatCount; }

    // Called after every placed or undone word, with the grid as it is then.
    std::function<void(const TTable&)> OnPreview;

private:
    // The backjump search works on this grid with these checks; the tests
    // exercise each part of a step on its own.
    friend class TBackjumpSearch;
    friend struct TCrossKwelinTestAccess;

    TCoreData AnalyseLine(const std::string& line, int32_t best) const;
    // One CR LF terminated line of the text, drawn at random.
    std::string PickLine(const std::string& text);
    const TList* Top() const { return Stack.empty() ? nullptr : &Stack.back(); }

    // The parts of a step.
    bool RunFeasible(const std::string& run, int32_t n, bool reversed) const;
    bool RightRunOK(int32_t c, int32_t r) const;
    bool LeftRunOK(int32_t c, int32_t r) const;
    bool DownRunOK(int32_t c, int32_t r) const;
    bool UpRunOK(int32_t c, int32_t r) const;
    TFilterData CrossPattern(const TPWordCoordinate& slot, int32_t i, const TPWordList& candidate) const;
    TFilterData CrossPattern(const TPWordCoordinate& slot, int32_t i, std::string_view word, uint8_t offset) const;
    bool CrossOK(const TFilterData& data) const;
    bool CrossOK(std::string_view pattern, std::string_view anchor, int32_t len) const;
    // Puts the stretch across letter i (from 1) of `word` into CrossCells with
    // the letter in it and gives the bounds of its anchor; false when the
    // stretch needs no check.
    bool CrossStretch(const TPWordCoordinate& slot, int32_t i, std::string_view word, uint8_t offset,
                      size_t& anchorFrom, size_t& anchorTo) const;
    // Keeps the candidates whose ends and letters leave every stretch around
    // them completable (the check the search makes of each alternative).
    void FilterCandidates(TPWordLists& list, const TPWordCoordinate& slot);
    void ScoreCandidates(TPWordLists& list, const TPWordCoordinate& slot) const;
    static int32_t Score(const TPWordCoordinate& slot, size_t length, uint8_t offset, int32_t minLen);
    bool CloseSingleLetter(const TPWordCoordinate& slot);
    // Whether laying `word` at `offset` into `slot` (its letters and the blocks
    // PlaceBlocks would add) makes a word of at least MinLenPWord letters that
    // already stands in the grid, or two equal new ones: the word itself, a
    // word its letters complete across it, or a run its blocks shut in.
    bool FormsRepeat(const TPWordCoordinate& slot, std::string_view word, uint8_t offset) const;
    static bool Crosses(const TPWordCoordinate& s, const TPWordCoordinate& t);
    std::string AnchorRun(const TPWordCoordinate& slot) const;

    // Pushes alternatives already checked (the words must be in the database).
    void Push(TPWordLists candidates, const TPWordCoordinate& slot);
    void Push(std::vector<TCandidate> candidates, const TPWordCoordinate& slot);
    // Whether some alternative of the entry fits, checking as few as it can.
    bool HasAlternative(TList& entry);
    // The top entry's alternatives that fit, all checked now.
    TPWordLists Alternatives();
    void Pop();
    void RestoreTop();
    void ChooseWord();
    void PlaceBlocks();
    // False when the unwinding emptied the stack, which ends the search.
    bool UnwindToAnchor(const TPWordCoordinate& slot);
    void PruneTop(const TPWordCoordinate& slot);
    void NextCandidate();

    TTable& MutableTable() { return FTable; }

    // A row or column of the grid in place: Count cells, Step apart.
    struct TLine {
        const char* First;
        size_t Count;
        size_t Step;
        char operator[](size_t i) const { return First[i * Step]; }
        std::string Text(size_t from, size_t count) const;
    };
    // The start of the longest open run of the line that beats `best`, which
    // it then becomes; 0 for none.
    int32_t LongestOpenRun(TLine line, int32_t& best) const;
    static size_t SegmentStart(TLine line, int32_t runStart);
    static size_t SegmentLength(TLine line, int32_t runStart, int32_t runLen);

    // The cells from the one after (c, r) in direction (dc, dr) up to a block
    // or the edge, nearest first.
    void RunBeside(int32_t c, int32_t r, int32_t dc, int32_t dr, std::string& run) const;
    bool SideRunOK(int32_t c, int32_t r, int32_t dc, int32_t dr, bool reversed) const;
    static void LayWord(TTable& table, const TPWordCoordinate& slot, std::string_view word, uint8_t offset);
    static void CloseEnds(TTable& table, const TPWordCoordinate& slot, size_t length, uint8_t offset,
                          bool anyWordLocation);
    // Whether `after`, which only adds letters and blocks to the grid, holds a
    // word more often than the grid and at least twice.
    bool AddsRepeat(const TTable& after) const;

    // Answers of the checks within one filtering: the grid and the word lists
    // do not change meanwhile, so the ends of a word depend only on its length
    // and offset and a crossing only on its cell and letter.
    struct TFilterMemo {
        size_t Length = 0; // of the slot's pattern
        size_t Cells = 0;  // of the slot's line
        // An answer is 2 * Round + (0 or 1); anything of an earlier round is unknown.
        uint32_t Round = 0;
        std::vector<uint32_t> Ends;
        std::vector<uint32_t> Cross;
    };
    void ResetMemo(const TPWordCoordinate& slot);
    bool Fits(std::string_view word, uint8_t offset, const TPWordCoordinate& slot);
    // Checks the entry's open alternatives of the given score.
    void Check(TList& entry, int32_t score);
    void Release(const TList& entry);
    void UpdatePreview();
    TList& TopEntry();

    TTable FTable;
    std::vector<TList> Stack; // back() is the top
    TDB* DB;
    TKwelinSettings FSettings;
    TRandom FRandom;
    uint32_t FRepeatCount = 0;
    // Alternatives are checked when needed only where that gives the same
    // answers as checking them all at once: see TCrossKwelin::Check.
    bool CheckLazily = false;
    TFilterMemo Memo;
    std::vector<TDBCandidate> Found;
    std::vector<uint32_t> Picks;
    mutable TTable Scratch{0, 0};
    mutable std::string CrossCells;
    // AddsRepeat's working space.
    struct TRepeatRun {
        size_t Start; // of its first letter in the cells, row after row
        size_t Step;
        size_t Length;
        bool Across;
    };
    mutable std::vector<uint8_t> RepeatRows;
    mutable std::vector<uint8_t> RepeatCols;
    mutable std::vector<TRepeatRun> NewRuns;
    mutable std::string RepeatWord;
    mutable std::string SideCells;
};

// The preview shows where words lie, never the words: every letter as '?'.
inline char PreviewCell(char cell)
{
    return TTable::IsLetter(cell) ? '?' : cell;
}

} // namespace mz
