#include "composer/FreeLayout.h"

#include "core/Table.h"
#include "core/CellChars.h"
#include "core/Random.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <numeric>

namespace mz {

namespace {

struct TPlacement {
    int32_t Word = 0;
    int32_t Col = 0; // canvas coordinates of the first letter
    int32_t Row = 0;
    bool Horizontal = true;
};

struct TBox {
    int32_t MinCol = 0, MaxCol = -1, MinRow = 0, MaxRow = -1;

    bool Empty() const { return MaxCol < MinCol; }
    int32_t Cols() const { return MaxCol - MinCol + 1; }
    int32_t Rows() const { return MaxRow - MinRow + 1; }
    int64_t Area() const { return Empty() ? 0 : int64_t{Cols()} * Rows(); }
    TBox With(int32_t col, int32_t row, int32_t lastCol, int32_t lastRow) const
    {
        if (Empty())
            return {col, lastCol, row, lastRow};
        return {std::min(MinCol, col), std::max(MaxCol, lastCol), std::min(MinRow, row), std::max(MaxRow, lastRow)};
    }
};

// One attempt's grid: a square canvas large enough for any compact layout,
// letters and the directions of the words through each cell.
class TLayoutAttempt {
public:
    static constexpr uint8_t Across = 1;
    static constexpr uint8_t Down = 2;

    TLayoutAttempt(const std::vector<TWordEntry>& words, int32_t size, int32_t maxCols, int32_t maxRows)
        : Words(words), Size(size), MaxCols(maxCols), MaxRows(maxRows), Letters(size_t(size) * size, 0),
          Dirs(size_t(size) * size, 0)
    {
    }

    void Run(int32_t first, TRandom& random);

    std::vector<TPlacement> Placements;
    std::vector<bool> Placed;
    int32_t Crossings = 0;
    TBox Box;

private:
    int32_t Index(int32_t col, int32_t row) const { return row * Size + col; }
    bool Fits(const TBox& box) const { return box.Cols() <= MaxCols && box.Rows() <= MaxRows; }
    // The crossings of the word laid there, -1 when the rules forbid it.
    int32_t Check(const std::string& word, int32_t col, int32_t row, bool horizontal) const;
    void Place(const TPlacement& placement);
    void Reset();

    const std::vector<TWordEntry>& Words;
    int32_t Size;
    int32_t MaxCols;
    int32_t MaxRows;
    std::vector<unsigned char> Letters;
    std::vector<uint8_t> Dirs;
    std::vector<int32_t> Touched;
    std::array<std::vector<int32_t>, 256> ByLetter;
};

int32_t TLayoutAttempt::Check(const std::string& word, int32_t col, int32_t row, bool horizontal) const
{
    const auto length = static_cast<int32_t>(word.size());
    const int32_t dc = horizontal ? 1 : 0;
    const int32_t dr = horizontal ? 0 : 1;
    // The canvas keeps a free border: the cells around the word exist.
    if (col < 1 || row < 1 || col + dc * (length - 1) + 1 >= Size || row + dr * (length - 1) + 1 >= Size)
        return -1;
    if (Letters[Index(col - dc, row - dr)] != 0 || Letters[Index(col + dc * length, row + dr * length)] != 0)
        return -1;
    const int32_t side = horizontal ? Size : 1;
    const uint8_t dir = horizontal ? Across : Down;
    int32_t crossings = 0;
    for (int32_t i = 0; i < length; ++i) {
        const int32_t at = Index(col + dc * i, row + dr * i);
        const unsigned char there = Letters[at];
        if (there != 0) {
            if (there != static_cast<unsigned char>(word[i]) || (Dirs[at] & dir) != 0)
                return -1;
            ++crossings;
        } else if (Letters[at - side] != 0 || Letters[at + side] != 0) {
            return -1;
        }
    }
    return crossings;
}

void TLayoutAttempt::Place(const TPlacement& p)
{
    const std::string& word = Words[p.Word].Word;
    const auto length = static_cast<int32_t>(word.size());
    const int32_t dc = p.Horizontal ? 1 : 0;
    const int32_t dr = p.Horizontal ? 0 : 1;
    for (int32_t i = 0; i < length; ++i) {
        const int32_t at = Index(p.Col + dc * i, p.Row + dr * i);
        if (Letters[at] == 0) {
            Letters[at] = static_cast<unsigned char>(word[i]);
            Touched.push_back(at);
            ByLetter[Letters[at]].push_back(at);
        } else {
            ++Crossings;
        }
        Dirs[at] |= p.Horizontal ? Across : Down;
    }
    Box = Box.With(p.Col, p.Row, p.Col + dc * (length - 1), p.Row + dr * (length - 1));
    Placements.push_back(p);
    Placed[p.Word] = true;
}

void TLayoutAttempt::Reset()
{
    for (const int32_t at : Touched) {
        ByLetter[Letters[at]].clear();
        Letters[at] = 0;
        Dirs[at] = 0;
    }
    Touched.clear();
    Placements.clear();
    Placed.assign(Words.size(), false);
    Crossings = 0;
    Box = {};
}

void TLayoutAttempt::Run(int32_t first, TRandom& random)
{
    Reset();
    const auto firstLength = static_cast<int32_t>(Words[first].Word.size());
    const bool across = firstLength <= MaxCols;
    const int32_t centre = Size / 2;
    Place({first, across ? centre - firstLength / 2 : centre, across ? centre : centre - firstLength / 2, across});

    // Worth of a placement: crossings first, then how little the grid grows
    // and how square it stays (to the limit's shape when there is one), with a
    // random share that lets attempts differ.
    const double shape = MaxCols < MaxGridCols ? double(MaxCols) / MaxRows : 1.0;
    for (;;) {
        int64_t bestScore = INT64_MIN;
        TPlacement best;
        for (size_t w = 0; w < Words.size(); ++w) {
            if (Placed[w])
                continue;
            const std::string& word = Words[w].Word;
            const auto length = static_cast<int32_t>(word.size());
            for (int32_t i = 0; i < length; ++i) {
                for (const int32_t at : ByLetter[static_cast<unsigned char>(word[i])]) {
                    if (Dirs[at] == (Across | Down))
                        continue;
                    const bool horizontal = Dirs[at] == Down;
                    const int32_t col = at % Size - (horizontal ? i : 0);
                    const int32_t row = at / Size - (horizontal ? 0 : i);
                    const int32_t crossings = Check(word, col, row, horizontal);
                    if (crossings <= 0)
                        continue;
                    const TBox box =
                        Box.With(col, row, horizontal ? col + length - 1 : col, horizontal ? row : row + length - 1);
                    if (!Fits(box))
                        continue;
                    const double ratio = double(box.Cols()) / box.Rows() / shape;
                    const int64_t score = int64_t{crossings} * 1000 - (box.Area() - Box.Area()) * 8
                        - int64_t(std::abs(std::log(ratio)) * 1000) + random.Draw(160);
                    if (score > bestScore) {
                        bestScore = score;
                        best = {int32_t(w), col, row, horizontal};
                    }
                }
            }
        }
        if (bestScore == INT64_MIN)
            break;
        Place(best);
    }
}

bool Better(const TLayoutAttempt& a, size_t bestPlaced, int32_t bestCrossings, int64_t bestArea)
{
    if (a.Placements.size() != bestPlaced)
        return a.Placements.size() > bestPlaced;
    if (a.Crossings != bestCrossings)
        return a.Crossings > bestCrossings;
    return a.Box.Area() < bestArea;
}

void BuildDocument(const std::vector<TWordEntry>& words, const std::vector<TPlacement>& placements, const TBox& box,
                   TCrossTXT& doc)
{
    doc.Clear();
    doc.Kind = 0;
    const int32_t cols = std::max(box.Cols(), MinLayoutCols);
    const int32_t rows = std::max(box.Rows(), MinLayoutRows);
    doc.SetColCount(cols);
    doc.SetRowCount(rows);
    std::vector<bool> open(size_t(box.Cols()) * box.Rows(), false);
    for (const TPlacement& p : placements)
        for (size_t i = 0; i < words[p.Word].Word.size(); ++i) {
            const int32_t col = p.Col - box.MinCol + (p.Horizontal ? int32_t(i) : 0);
            const int32_t row = p.Row - box.MinRow + (p.Horizontal ? 0 : int32_t(i));
            open[size_t(row) * box.Cols() + col] = true;
        }
    // The document gets the shape only; the letters live in the words' answers.
    for (int32_t c = 1; c <= cols; ++c)
        for (int32_t r = 1; r <= rows; ++r) {
            const bool inBox = c <= box.Cols() && r <= box.Rows();
            doc.SetCell(c, r, inBox && open[size_t(r - 1) * box.Cols() + c - 1] ? BlankCell : BlockedCell);
        }

    std::vector<TPlacement> ordered = placements;
    std::sort(ordered.begin(), ordered.end(), [](const TPlacement& a, const TPlacement& b) {
        if (a.Horizontal != b.Horizontal)
            return a.Horizontal;
        return a.Horizontal ? std::pair(a.Row, a.Col) < std::pair(b.Row, b.Col)
                            : std::pair(a.Col, a.Row) < std::pair(b.Col, b.Row);
    });
    // A crossword file numbers its explanations in the reverse order of
    // adding them: added last to first, they open numbered in reading order.
    std::reverse(ordered.begin(), ordered.end());
    for (const TPlacement& p : ordered)
        doc.AddExpl(TExpl(p.Col - box.MinCol + 1, p.Row - box.MinRow + 1, words[p.Word].Clue, {}, p.Horizontal,
                          words[p.Word].Word));
    doc.Modified = false;
}

} // namespace

TFreeLayoutResult ComposeFreeLayout(const std::vector<TWordEntry>& words, const TFreeLayoutOptions& options)
{
    RequireTwoWords(words);
    const bool limited = options.MaxCols > 0 || options.MaxRows > 0;
    if (limited
        && (options.MaxCols < MinLayoutCols || options.MaxRows < MinLayoutRows || options.MaxCols > MaxGridCols
            || options.MaxRows > MaxGridRows))
        throw EInvalidCrossKwelinOperation("Rozmiar krzyżówki musi wynosić od " + std::to_string(MinLayoutCols) + " × "
                                           + std::to_string(MinLayoutRows) + " do " + std::to_string(MaxGridCols)
                                           + " × " + std::to_string(MaxGridRows) + " pól.");
    const int32_t maxCols = limited ? options.MaxCols : MaxGridCols;
    const int32_t maxRows = limited ? options.MaxRows : MaxGridRows;

    size_t longest = 0;
    size_t letters = 0;
    for (const TWordEntry& entry : words) {
        longest = std::max(longest, entry.Word.size());
        letters += entry.Word.size();
    }
    // Room for the longest word on either side of the centre and a compact
    // block of every letter around it; a limit needs its own size either way.
    const auto spread = static_cast<int32_t>(2 * double(longest) + 4 * std::ceil(std::sqrt(double(letters))) + 8);
    const int32_t size = std::min(limited ? 2 * std::max(maxCols, maxRows) + 4 : spread, 2 * MaxGridCols + 4);

    // Words that fit the limit in neither direction never get a place; the
    // others may start an attempt, the longest first.
    std::vector<int32_t> starters;
    for (size_t w = 0; w < words.size(); ++w)
        if (int32_t(words[w].Word.size()) <= std::max(maxCols, maxRows))
            starters.push_back(int32_t(w));
    std::stable_sort(starters.begin(), starters.end(),
                     [&](int32_t a, int32_t b) { return words[a].Word.size() > words[b].Word.size(); });

    TFreeLayoutResult result;
    TRandom random(options.Seed);
    TLayoutAttempt attempt(words, size, maxCols, maxRows);
    std::vector<TPlacement> best;
    TBox bestBox;
    int32_t bestCrossings = -1;
    const auto start = std::chrono::steady_clock::now();
    for (int32_t a = 0; a < std::max(options.Attempts, 1) && !starters.empty(); ++a) {
        if (a > 0
            && std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()
                > options.TimeLimitSeconds)
            break;
        // The first attempt starts from the longest word, the others from a
        // word of the longer half.
        const int32_t first = a == 0 ? starters[0] : starters[random.Draw(uint32_t((starters.size() + 1) / 2))];
        attempt.Run(first, random);
        ++result.AttemptsMade;
        if (bestCrossings < 0 || Better(attempt, best.size(), bestCrossings, bestBox.Area())) {
            best = attempt.Placements;
            bestBox = attempt.Box;
            bestCrossings = attempt.Crossings;
        }
    }

    // A word alone crosses nothing: that is no crossword.
    if (best.size() < 2)
        best.clear();
    std::vector<bool> placed(words.size(), false);
    for (const TPlacement& p : best)
        placed[p.Word] = true;
    for (size_t w = 0; w < words.size(); ++w)
        if (!placed[w])
            result.Unplaced.push_back(words[w].Word);
    result.Placed = int32_t(best.size());
    result.Crossings = std::max(bestCrossings, 0);
    if (!best.empty())
        BuildDocument(words, best, bestBox, result.Document);
    return result;
}

bool ParseGridSize(const std::string& text, int32_t& cols, int32_t& rows)
{
    size_t sep = text.find_first_of("xX");
    size_t skip = 1;
    if (sep == std::string::npos) {
        sep = text.find("×");
        skip = std::string("×").size();
    }
    if (sep == std::string::npos || sep == 0 || sep + skip >= text.size())
        return false;
    const std::string left = text.substr(0, sep);
    const std::string right = text.substr(sep + skip);
    const auto number = [](const std::string& s, int32_t& value) {
        if (s.empty() || s.size() > 4 || !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return false;
        value = std::stoi(s);
        return true;
    };
    return number(left, cols) && number(right, rows);
}

} // namespace mz
