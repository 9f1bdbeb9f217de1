#pragma once

#include "documents/DataAccess.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mz {

// At most `limit` bytes of a file: a pipe or a device that never ends is read
// no further than the format can reach. Failures are EInOutError.
std::string ReadFileStart(const std::string& name, size_t limit);

// An ipuz file longer than this is not read further (its JSON then ends early
// and is refused as damaged): far more than a 100 x 100 grid with its clues.
inline constexpr size_t MaxIpuzFileSize = size_t{16} << 20;

// One word of a crossword with its clue. Texts are CP1250 bytes.
struct TExpl {
    TExpl(int32_t col = 0, int32_t row = 0, std::string explanation = {}, std::string audio = {},
          bool horizontal = true, std::string answer = {})
        : Col(col), Row(row), Explanation(std::move(explanation)), Audio(std::move(audio)), Horizontal(horizontal),
          Answer(std::move(answer))
    {
    }

    int32_t Col = 0; // column of the first letter, from 1
    int32_t Row = 0; // row of the first letter, from 1
    std::string Explanation;
    std::string Audio; // sound file relative to the audio directory; empty = none
    bool Horizontal = true;
    // The word itself (CP1250 upper case, as the grid holds it); empty while unknown.
    std::string Answer;

    bool operator==(const TExpl&) const = default;
};

// A cell address, column first, both from 1.
struct TCellPos {
    int32_t Col = 0;
    int32_t Row = 0;

    auto operator<=>(const TCellPos&) const = default;
};

// The "rozwiązanie": a phrase read from numbered open cells. Cells[i] is the
// cell of the i-th letter of Text (spaces have no cell) and carries number i + 1.
struct TPhrase {
    std::string Text; // CP1250 upper case: letters, single spaces between words
    std::vector<TCellPos> Cells;

    bool Empty() const { return Text.empty(); }
    bool operator==(const TPhrase&) const = default;
};

// A word the user fixed by hand: a composing run keeps it as it stands.
struct TLockedWord {
    int32_t Col = 0; // first letter, from 1
    int32_t Row = 0;
    bool Horizontal = true;
    int32_t Length = 0;

    auto operator<=>(const TLockedWord&) const = default;
};

// One cell of the explanation chain. Number is 0 while a file reader has
// opened the explanation but not yet numbered it.
struct TExplList {
    TExpl Expl;
    int32_t Number = 0;
};

// Record types of the crossword and template files.
// rtAnswer follows the clue (and sound) of its explanation; rtPhrase comes
// after the last explanation, the rtLocked records after it. Readers skip kinds they do not know, so files
// with them stay readable everywhere.
enum TRecType : uint8_t {
    rtEnd = 0,
    rtExpl = 2,
    rtAudio = 3,
    rtRow = 16,
    rtPlace = 17,
    rtAnswer = 18,
    rtPhrase = 19,
    rtLocked = 20
};

// The largest grid a document file holds, in columns and in rows: more than
// the window shows and the template editor makes on the largest screens (a
// 4K screen holds 137 columns of cells), so any larger size in a file is damage
// and is refused before anything is allocated for it.
inline constexpr int32_t MaxGridCols = 255;
inline constexpr int32_t MaxGridRows = 255;

// Header texts (CP1250) of the two record-file kinds a document writes.
inline constexpr std::string_view CrossWordHeader = "Plik krzy\xBF\xF3wki";
inline constexpr std::string_view PatternHeader = "Plik szablonu Mirakolnika Zodevidar";

// What a document is: a crossword to solve or a template to compose from.
// A document keeps it as the number in TCrossTXT::Kind, as its file does.
enum class TDocumentKind : uint8_t { CrossWord = 0, Template = 1 };

// The crossword document, for crosswords (Kind 0) and templates (Kind 1): a
// grid of character cells (CP1250 cell encoding) and a chain of numbered
// explanations.
//
// The explanation chain takes new items at the front: walking it front first
// (chain order, used by saving and text export) visits the most recently
// numbered explanation first; number order runs 1..ExplCount. Cell lookups
// take the most recently added cell with the given coordinates.
class TCrossTXT {
public:
    TCrossTXT();

    std::string FileName;
    bool Modified = false;
    uint8_t Kind = 0;
    TDocumentKind DocumentKind() const { return Kind == 1 ? TDocumentKind::Template : TDocumentKind::CrossWord; }
    // Sound names the last load refused because they were no plain file names
    // (IsPlainSoundName): those explanations kept their clues, not the sounds.
    int32_t RefusedSounds = 0;

    int32_t ColCount() const { return FColCount; }
    int32_t RowCount() const { return FRowCount; }
    int32_t ExplCount() const { return FExplCount; }

    void Clear();

    unsigned char GetCell(int32_t col, int32_t row) const;
    void SetCell(int32_t col, int32_t row, unsigned char letter);
    void AddCell(int32_t col, int32_t row, unsigned char letter);
    void DeleteCell(int32_t col, int32_t row);
    bool HasCell(int32_t col, int32_t row) const;
    void SetColCount(int32_t count);
    void SetRowCount(int32_t count);
    // Whether every cell of 1..ColCount × 1..RowCount is there (a file whose
    // rows differ in length leaves gaps).
    bool IsComplete() const;

    TExpl GetExpl(int32_t number) const;
    void SetExpl(int32_t number, const TExpl& expl);
    void AddExpl(const TExpl& expl);
    // Front of the chain first: the newest explanation comes first.
    std::vector<TExplList> ExplsInChainOrder() const;
    // Numbered explanations from 1 to ExplCount.
    std::vector<TExplList> ExplsInNumberOrder() const;

    const TPhrase& Phrase() const { return FPhrase; }
    // Sets Modified when the phrase changes; no check of the cells (see ChoosePhraseCells).
    void SetPhrase(const TPhrase& phrase);

    // Words locked by hand, in the order they were locked. Locking sets Modified.
    const std::vector<TLockedWord>& LockedWords() const { return FLocked; }
    bool IsLocked(const TLockedWord& word) const;
    void SetLocked(const TLockedWord& word, bool locked);

    // Letters put in by revealing them, so the window can draw them apart. Not
    // saved: in the file they are ordinary letters. A cell loses the mark when
    // SetCell gives it another letter, or when it is deleted; Clear drops all.
    bool IsRevealed(int32_t col, int32_t row) const { return FRevealed.count({col, row}) != 0; }
    void MarkRevealed(int32_t col, int32_t row);
    const std::set<TCellPos>& RevealedCells() const { return FRevealed; }
    void ClearRevealed() { FRevealed.clear(); }

    // Chooses the reader by the lower-cased extension: "krz" and "sz" the
    // record-file reader, "xwd" the XWD reader, "ipuz" the ipuz reader (Ipuz.h).
    void LoadFromFile(const std::string& name);
    // The same readers on a file held in memory; name chooses the reader and
    // names the file in messages.
    void LoadFromData(std::string_view bytes, const std::string& name);
    // Writes a crossword file (Kind 1: a template file). The previous file is
    // replaced only when the whole new one was written. A grid larger than
    // MaxGridCols × MaxGridRows is refused ("Za długi wiersz", "Za dużo wierszy").
    void SaveToFile(const std::string& name);
    // Writes the text export; FileName and Modified stay as they are.
    void ExportAsText(const std::string& name) const;
    // The text export's bytes (CP1250, CR LF), titled with the given file name.
    std::string TextExport(const std::string& name) const;

private:
    void LoadRecordFile(const std::string& name, std::string_view* bytes);
    void LoadXwdFile(const std::string& name);
    void LoadXwd(std::string_view bytes);
    void NumberBack();
    void ReadRecord(const TDataFromBuf& record);
    TExplList& FindExpl(int32_t number);
    const TExplList& FindExpl(int32_t number) const;

    // Each position keeps its cells newest last, so the back is what a walk
    // from the front of the chain would meet first.
    std::map<std::pair<int32_t, int32_t>, std::vector<unsigned char>> Cells;
    // Oldest first; the chain's front is the back of this vector.
    std::vector<TExplList> Expls;
    // The position in Expls of each explanation number (-1: none), so that
    // lookups by number take constant time.
    std::vector<int32_t> NumberPositions;
    int32_t FColCount = 0;
    int32_t FRowCount = 0;
    int32_t FExplCount = 0;
    TPhrase FPhrase;
    std::vector<TLockedWord> FLocked;
    std::set<TCellPos> FRevealed;
};

} // namespace mz
