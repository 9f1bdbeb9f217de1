#include "composer/Kwelin.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace mz {

namespace {

// A candidate's score is its waste (Score) times this, plus one for a word of
// the database's reserve: a reserve word goes before another word only where
// it wastes less, and without a reserve the order is the waste's alone.
constexpr int32_t ReserveShare = 2;

bool HasAdjacentLetters(std::string_view cells)
{
    for (size_t i = 0; i + 1 < cells.size(); ++i)
        if (TTable::IsLetter(cells[i]) && TTable::IsLetter(cells[i + 1]))
            return true;
    return false;
}

// Position from 1 of the first occurrence, 0 for an empty or missing needle.
int32_t Pos(const std::string& needle, const std::string& haystack)
{
    if (needle.empty())
        return 0;
    const size_t at = haystack.find(needle);
    return at == std::string::npos ? 0 : static_cast<int32_t>(at) + 1;
}

} // namespace

TCrossKwelin::TCrossKwelin(const TTable& pattern, TDB& db, const TKwelinSettings& settings, uint32_t seed)
    : FTable(pattern), DB(&db), FSettings(settings), FRandom(seed),
      CheckLazily(db.QueryMode() == qmIndexed && !db.HasDuplicates())
{
}

// --- Slot choice -----------------------------------------------------------

TCoreData TCrossKwelin::AnalyseLine(const std::string& line, int32_t best) const
{
    TCoreData result;
    const TLine cells{line.data(), line.size(), 1};
    const int32_t runStart = LongestOpenRun(cells, best);
    if (runStart == 0)
        return result;
    result.RunStart = runStart;
    result.RunLen = best;
    result.Run = line.substr(runStart - 1, best);
    result.Segment = line.substr(SegmentStart(cells, runStart), SegmentLength(cells, runStart, best));
    return result;
}

std::string TCrossKwelin::TLine::Text(size_t from, size_t count) const
{
    std::string text(count, TTable::Free);
    for (size_t i = 0; i < count; ++i)
        text[i] = (*this)[from + i];
    return text;
}

// The line is taken as bounded by a block before and after it. Positions are from 1.
int32_t TCrossKwelin::LongestOpenRun(TLine line, int32_t& best) const
{
    const size_t n = line.Count;
    size_t chosenStart = 0; // from 1; 0 for none
    size_t chosenLen = 0;
    for (size_t i = 0; i < n;) {
        if (!TTable::IsLetter(line[i])) {
            ++i;
            continue;
        }
        const size_t start = i;
        while (i < n && TTable::IsLetter(line[i]))
            ++i;
        const size_t len = i - start;
        // A run shut in by blocks (or edges) on both sides is a finished word.
        const bool shut = (start == 0 || line[start - 1] == TTable::Block) && (i == n || line[i] == TTable::Block);
        if (len > chosenLen && static_cast<int64_t>(len) > best && !shut) {
            chosenStart = start + 1;
            chosenLen = len;
        }
    }
    // A line whose chosen run lies in a stretch too short for a word offers nothing.
    if (chosenLen == 0
        || SegmentLength(line, static_cast<int32_t>(chosenStart), static_cast<int32_t>(chosenLen))
            < static_cast<size_t>(FSettings.MinLenPWord))
        return 0;
    best = static_cast<int32_t>(chosenLen);
    return static_cast<int32_t>(chosenStart);
}

size_t TCrossKwelin::SegmentStart(TLine line, int32_t runStart)
{
    auto at = static_cast<size_t>(runStart - 1);
    while (at > 0 && line[at - 1] != TTable::Block)
        --at;
    return at;
}

size_t TCrossKwelin::SegmentLength(TLine line, int32_t runStart, int32_t runLen)
{
    auto to = static_cast<size_t>(runStart - 1 + runLen);
    while (to < line.Count && line[to] != TTable::Block)
        ++to;
    return to - SegmentStart(line, runStart);
}

TPWordCoordinate TCrossKwelin::ChooseSlot() const
{
    TPWordCoordinate slot;
    int32_t best = 0;
    const int32_t first = FSettings.AnyWordLocation ? 1 : 2;
    const auto cols = static_cast<size_t>(FTable.ColCount());
    const auto rows = static_cast<size_t>(FTable.RowCount());
    const std::string_view cells = FTable.Cells();
    auto take = [&](TLine line, int32_t runStart, uint8_t dir, int32_t col, int32_t row) {
        slot.Dir = dir;
        slot.Col = col;
        slot.Row = row;
        slot.Anchor = line.Text(static_cast<size_t>(runStart - 1), static_cast<size_t>(best));
        slot.Pattern = line.Text(SegmentStart(line, runStart), SegmentLength(line, runStart, best));
    };

    for (int32_t r = first; r <= FTable.RowCount(); ++r) {
        const TLine line{cells.data() + static_cast<size_t>(r - 1) * cols, cols, 1};
        if (const int32_t runStart = LongestOpenRun(line, best))
            take(line, runStart, 1, runStart, r);
    }
    for (int32_t c = first; c <= FTable.ColCount(); ++c) {
        const TLine line{cells.data() + static_cast<size_t>(c - 1), rows, cols};
        if (const int32_t runStart = LongestOpenRun(line, best))
            take(line, runStart, 0, c, runStart);
    }

    if (slot.Anchor.empty() && FSettings.MinLenPWord > 0) {
        // Room for a free-standing word. The pattern keeps the stretch's real
        // cells, so a word is never laid over a letter it does not match.
        const std::string room(FSettings.MinLenPWord, TTable::Free);
        auto freeStretch = [&](const std::string& line, uint8_t dir, int32_t index) {
            const std::string bounded = line + TTable::Block;
            const size_t at = bounded.find(room);
            if (at == std::string::npos)
                return false;
            slot.Dir = dir;
            slot.Col = dir == 1 ? static_cast<int32_t>(at) + 1 : index;
            slot.Row = dir == 1 ? index : static_cast<int32_t>(at) + 1;
            slot.Anchor.clear();
            slot.Pattern = bounded.substr(at, bounded.find(TTable::Block, at) - at);
            return true;
        };
        bool found = false;
        for (int32_t r = first; r <= FTable.RowCount() && !found; ++r)
            found = freeStretch(FTable.RowLine(r), 1, r);
        for (int32_t c = first; c <= FTable.ColCount() && !found; ++c)
            found = freeStretch(FTable.ColLine(c), 0, c);
    }

    slot.AnchorPos = Pos(slot.Anchor, slot.Pattern);
    return slot;
}

// --- Run checks ------------------------------------------------------------

void TCrossKwelin::RunBeside(int32_t c, int32_t r, int32_t dc, int32_t dr, std::string& run) const
{
    run.clear();
    const std::string_view cells = FTable.Cells();
    const int32_t cols = FTable.ColCount();
    for (c += dc, r += dr; FTable.Contains(c, r); c += dc, r += dr) {
        const char cell = cells[static_cast<size_t>(c - 1) + static_cast<size_t>(r - 1) * static_cast<size_t>(cols)];
        if (cell == TTable::Block)
            break;
        run += cell;
    }
}

bool TCrossKwelin::RunFeasible(const std::string& run, int32_t n, bool reversed) const
{
    if (run.find(TTable::Block) != std::string::npos)
        throw EInvalidCrossKwelinOperation("Błędny parametr kryteriów wyszukiwania łańcucha");
    const int32_t m = FSettings.MinLenPWord;
    if (n < m)
        return !HasAdjacentLetters(run);

    int32_t k = 0;
    while (k < m && k < n && run[k] == TTable::Free)
        ++k;
    if (k == m && (n == m || run[m] == TTable::Free))
        return true;

    size_t end = run.find(TTable::Free, k);
    if (end == std::string::npos)
        end = run.size();
    std::string anchor = run.substr(k, end - k);
    std::string pattern = run;
    // Runs to the left and upwards were collected nearest first.
    if (reversed) {
        std::reverse(anchor.begin(), anchor.end());
        std::reverse(pattern.begin(), pattern.end());
    }
    return DB->AnyWordFits(pattern, anchor, dlWords);
}

bool TCrossKwelin::SideRunOK(int32_t c, int32_t r, int32_t dc, int32_t dr, bool reversed) const
{
    std::string& run = SideCells;
    RunBeside(c, r, dc, dr, run);
    return run.empty() || RunFeasible(run, static_cast<int32_t>(run.size()), reversed);
}

bool TCrossKwelin::RightRunOK(int32_t c, int32_t r) const
{
    if (!FTable.Contains(c, r) || FTable.GetCell(c, r) == TTable::Block)
        return true;
    return SideRunOK(c, r, 1, 0, false);
}

bool TCrossKwelin::DownRunOK(int32_t c, int32_t r) const
{
    if (!FTable.Contains(c, r) || FTable.GetCell(c, r) == TTable::Block)
        return true;
    return SideRunOK(c, r, 0, 1, false);
}

bool TCrossKwelin::LeftRunOK(int32_t c, int32_t r) const
{
    if (r <= 0 || c > FTable.ColCount() || r > FTable.RowCount())
        return true;
    if (c == 0) {
        // A word starting in column 1: with the option off, PlaceBlocks closes
        // the column-1 cells above and below its first letter.
        if (FSettings.AnyWordLocation)
            return true;
        return RightRunOK(1, r - 1) && RightRunOK(1, r + 1);
    }
    if (c < 0 || FTable.GetCell(c, r) == TTable::Block)
        return true;
    return SideRunOK(c, r, -1, 0, true);
}

bool TCrossKwelin::UpRunOK(int32_t c, int32_t r) const
{
    if (c <= 0 || c > FTable.ColCount() || r > FTable.RowCount())
        return true;
    if (r == 0) {
        if (FSettings.AnyWordLocation)
            return true;
        return DownRunOK(c - 1, 1) && DownRunOK(c + 1, 1);
    }
    if (r < 0 || FTable.GetCell(c, r) == TTable::Block)
        return true;
    return SideRunOK(c, r, 0, -1, true);
}

// --- Crossings, filtering and scoring ---------------------------------------

TFilterData TCrossKwelin::CrossPattern(const TPWordCoordinate& slot, int32_t i, const TPWordList& candidate) const
{
    return CrossPattern(slot, i, candidate.PWord, candidate.Offset);
}

TFilterData TCrossKwelin::CrossPattern(const TPWordCoordinate& slot, int32_t i, std::string_view word,
                                       uint8_t offset) const
{
    TFilterData data;
    size_t from = 0;
    size_t to = 0;
    if (!CrossStretch(slot, i, word, offset, from, to))
        return data;
    data.Pattern = CrossCells;
    data.Len = static_cast<int32_t>(data.Pattern.size());
    data.Anchor = data.Pattern.substr(from, to - from);
    return data;
}

bool TCrossKwelin::CrossStretch(const TPWordCoordinate& slot, int32_t i, std::string_view word, uint8_t offset,
                                size_t& anchorFrom, size_t& anchorTo) const
{
    const bool vertical = slot.Dir == 0;
    const int32_t shift = i - offset - 1;
    const int32_t c = vertical ? slot.Col : slot.Col + shift;
    const int32_t r = vertical ? slot.Row + shift : slot.Row;
    // Row 1 carries no across words, column 1 no down words, unless allowed.
    if ((vertical ? r : c) == 1 && !FSettings.AnyWordLocation)
        return false;

    // The stretch runs across the slot: along row r for a down slot, down
    // column c for an across one; x is the letter's place in it, from 1.
    // A letter beside the grid (a candidate of the backjumping search may
    // overhang it) has no line across it inside the grid: nothing to check.
    if (!FTable.Contains(c, r))
        return false;
    const std::string_view cells = FTable.Cells();
    const auto cols = static_cast<size_t>(FTable.ColCount());
    const size_t step = vertical ? 1 : cols;
    const auto count = static_cast<size_t>(vertical ? FTable.ColCount() : FTable.RowCount());
    const auto x = static_cast<size_t>(vertical ? c - 1 : r - 1); // from 0
    const size_t origin = static_cast<size_t>(c - 1) + static_cast<size_t>(r - 1) * cols - x * step;
    auto at = [&](size_t y) { return cells[origin + y * step]; };
    size_t first = x;
    while (first > 0 && at(first - 1) != TTable::Block)
        --first;
    size_t last = x;
    while (last + 1 < count && at(last + 1) != TTable::Block)
        ++last;
    if (first == x && last == x)
        return false;
    const char letter = word[i - 1];
    bool noFree = true;
    for (size_t y = first; y <= last && noFree; ++y)
        noFree = y == x || at(y) != TTable::Free;
    if (noFree && at(x) == letter)
        return false; // an existing, complete crossing

    std::string& pattern = CrossCells;
    pattern.resize(last - first + 1);
    for (size_t y = first; y <= last; ++y)
        pattern[y - first] = at(y);
    pattern[x - first] = letter;
    // The anchor is the group of letters around the crossing's letter.
    const size_t before = x - first;
    const size_t lastFree = std::string_view(pattern).substr(0, before).rfind(TTable::Free);
    anchorFrom = lastFree == std::string::npos ? 0 : lastFree + 1;
    anchorTo = pattern.find(TTable::Free, before + 1);
    if (anchorTo == std::string::npos)
        anchorTo = pattern.size();
    return true;
}

bool TCrossKwelin::CrossOK(const TFilterData& data) const
{
    return data.Pattern.empty() || CrossOK(data.Pattern, data.Anchor, data.Len);
}

bool TCrossKwelin::CrossOK(std::string_view pattern, std::string_view anchor, int32_t len) const
{
    if (len < FSettings.MinLenPWord)
        return !HasAdjacentLetters(pattern);
    return DB->AnyWordFits(pattern, anchor, dlWords);
}

void TCrossKwelin::ResetMemo(const TPWordCoordinate& slot)
{
    Memo.Length = slot.Pattern.size();
    Memo.Cells = static_cast<size_t>(slot.Dir == 0 ? FTable.RowCount() : FTable.ColCount());
    const size_t ends = (Memo.Length + 1) * (Memo.Length + 1);
    const size_t cross = (Memo.Cells + 1) * 256;
    if (++Memo.Round == 0x7FFFFFFF || Memo.Ends.size() < ends || Memo.Cross.size() < cross) {
        Memo.Round = 1;
        Memo.Ends.assign(std::max(ends, Memo.Ends.size()), 0);
        Memo.Cross.assign(std::max(cross, Memo.Cross.size()), 0);
    }
}

bool TCrossKwelin::Fits(std::string_view word, uint8_t offset, const TPWordCoordinate& slot)
{
    const bool vertical = slot.Dir == 0;
    const int32_t c = slot.Col;
    const int32_t r = slot.Row;
    const auto n = static_cast<int32_t>(word.size());
    const int32_t o = offset;

    auto endsOK = [&] {
        if (vertical) {
            const int32_t bRow = r - o - 1;
            const int32_t eRow = r - o + n;
            return UpRunOK(c, bRow) && DownRunOK(c, eRow) && LeftRunOK(c, bRow) && RightRunOK(c, bRow)
                && LeftRunOK(c, eRow) && RightRunOK(c, eRow);
        }
        const int32_t bCol = c - o - 1;
        const int32_t eCol = c - o + n;
        return LeftRunOK(bCol, r) && RightRunOK(eCol, r) && UpRunOK(bCol, r) && DownRunOK(bCol, r) && UpRunOK(eCol, r)
            && DownRunOK(eCol, r);
    };
    // Keys outside the memo's range (never met in a search) are answered afresh.
    const uint32_t asked = 2 * Memo.Round;
    auto remembered = [asked](std::vector<uint32_t>& memo, size_t key, bool inRange, auto&& ask) {
        if (!inRange)
            return ask();
        if ((memo[key] & ~uint32_t{1}) != asked)
            memo[key] = asked + (ask() ? 1 : 0);
        return memo[key] == asked + 1;
    };
    const size_t n1 = Memo.Length + 1;
    if (!remembered(Memo.Ends, static_cast<size_t>(n) * n1 + offset,
                    static_cast<size_t>(n) < n1 && static_cast<size_t>(offset) < n1, endsOK))
        return false;
    // Letter i lies on cell first + i of the slot's line.
    const int32_t first = (vertical ? r : c) - o - 1;
    auto crossOK = [&](int32_t i) {
        size_t from = 0;
        size_t to = 0;
        if (!CrossStretch(slot, i, word, offset, from, to))
            return true;
        const std::string_view pattern = CrossCells;
        return CrossOK(pattern, pattern.substr(from, to - from), static_cast<int32_t>(pattern.size()));
    };
    if (first + 1 < 0 || static_cast<size_t>(first + n) > Memo.Cells) {
        for (int32_t i = 1; i <= n; ++i)
            if (!crossOK(i))
                return false;
        return true;
    }
    uint32_t* answers = Memo.Cross.data() + static_cast<size_t>(first + 1) * 256;
    for (int32_t i = 1; i <= n; ++i, answers += 256) {
        uint32_t& answer = answers[static_cast<unsigned char>(word[i - 1])];
        if ((answer & ~uint32_t{1}) != asked)
            answer = asked + (crossOK(i) ? 1 : 0);
        if (answer != asked + 1)
            return false;
    }
    return true;
}

void TCrossKwelin::FilterCandidates(TPWordLists& list, const TPWordCoordinate& slot)
{
    ResetMemo(slot);
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&](const TPWordList& cand) { return !Fits(cand.PWord, cand.Offset, slot); }),
               list.end());
}

int32_t TCrossKwelin::Score(const TPWordCoordinate& slot, size_t length, uint8_t offset, int32_t minLen)
{
    const int32_t p = slot.AnchorPos;
    const auto n = static_cast<int32_t>(length);
    const int32_t before = p - offset - 1;
    const int32_t after = static_cast<int32_t>(slot.Pattern.size()) - (p - offset - 1 + n);
    // A gap that only takes the closing block, or is too short for a word, is waste.
    return (before >= 1 && before <= minLen ? 1 : 0) + (after >= 1 && after <= minLen ? 1 : 0);
}

void TCrossKwelin::ScoreCandidates(TPWordLists& list, const TPWordCoordinate& slot) const
{
    for (TPWordList& candidate : list)
        candidate.Score += ReserveShare * Score(slot, candidate.PWord.size(), candidate.Offset, FSettings.MinLenPWord);
}

// --- The stack ---------------------------------------------------------------

TList& TCrossKwelin::TopEntry()
{
    if (Stack.empty())
        throw EInvalidCrossKwelinOperation("Błąd dostępu: pusta lista");
    return Stack.back();
}

void TCrossKwelin::Push(TPWordLists candidates, const TPWordCoordinate& slot)
{
    std::vector<TCandidate> checked;
    checked.reserve(candidates.size());
    for (const TPWordList& c : candidates) {
        const int64_t id = DB->FindWord(c.PWord);
        if (id < 0)
            throw EInvalidCrossKwelinOperation("Brak słowa w bazie haseł");
        checked.push_back(TCandidate{static_cast<uint32_t>(id), c.Offset, csFits, c.Score, checked.size()});
    }
    Push(std::move(checked), slot);
}

void TCrossKwelin::Push(std::vector<TCandidate> candidates, const TPWordCoordinate& slot)
{
    const auto count = static_cast<int32_t>(candidates.size());
    const auto fit = static_cast<int32_t>(
        std::count_if(candidates.begin(), candidates.end(), [](const TCandidate& c) { return c.State == csFits; }));
    Stack.push_back(TList{std::move(candidates), Depth() + 1, count, fit, {}, NoWord, 0, slot, FTable});
}

// Checking an alternative later gives the answer it would have had at the
// push only if the grid and the active words are those of the push. The grid
// is the entry's snapshot. The active words are those of the push but for the
// entry's own word, still marked used while the entry is backtracked: the
// queries are lent it. Two records of one word would break this (a pruned
// alternative may then release the other's record), so such a database, and
// the plain queries, have every alternative checked at the push.
void TCrossKwelin::Check(TList& entry, int32_t score)
{
    struct TContext {
        TCrossKwelin& K;
        TList& Entry;
        bool Lent;
        TContext(TCrossKwelin& k, TList& entry)
            : K(k), Entry(entry), Lent(entry.Word != NoWord && k.DB->ListOf(entry.Word) != dlWords)
        {
            std::swap(K.FTable, Entry.Snapshot);
            if (Lent)
                K.DB->SetQueryActive(Entry.Word, true);
        }
        ~TContext()
        {
            if (Lent)
                K.DB->SetQueryActive(Entry.Word, false);
            std::swap(K.FTable, Entry.Snapshot);
        }
    } context(*this, entry);
    ResetMemo(entry.Slot);
    for (TCandidate& c : entry.Candidates) {
        if (c.State != csOpen || c.Score != score)
            continue;
        if (Fits(DB->Word(c.Word), c.Offset, entry.Slot)) {
            c.State = csFits;
            ++entry.FitCount;
        } else {
            c.State = csRejected;
            --entry.CandCount;
        }
    }
}

bool TCrossKwelin::HasAlternative(TList& entry)
{
    while (entry.FitCount == 0 && entry.CandCount > 0) {
        int32_t lowest = INT32_MAX;
        for (const TCandidate& c : entry.Candidates)
            if (c.State == csOpen)
                lowest = std::min(lowest, c.Score);
        Check(entry, lowest);
    }
    return entry.FitCount > 0;
}

TPWordLists TCrossKwelin::Alternatives()
{
    TList& top = TopEntry();
    for (const TCandidate& c : top.Candidates)
        if (c.State == csOpen)
            Check(top, c.Score);
    std::vector<TCandidate> fitting;
    std::copy_if(top.Candidates.begin(), top.Candidates.end(), std::back_inserter(fitting),
                 [](const TCandidate& c) { return c.State == csFits; });
    std::sort(fitting.begin(), fitting.end(),
              [](const TCandidate& x, const TCandidate& y) { return x.Order < y.Order; });
    TPWordLists list;
    for (const TCandidate& c : fitting)
        list.push_back(TPWordList{std::string(DB->Word(c.Word)), c.Offset, c.Score});
    return list;
}

void TCrossKwelin::Release(const TList& entry)
{
    if (entry.Word != NoWord)
        DB->ReleaseUsedRecord(entry.Word);
}

void TCrossKwelin::Pop()
{
    TopEntry();
    Stack.pop_back();
}

void TCrossKwelin::PopAll()
{
    Stack.clear();
}

std::vector<std::string> TCrossKwelin::PlacedWords() const
{
    std::vector<std::string> words;
    for (const TList& entry : Stack)
        words.push_back(entry.PWord);
    return words;
}

void TCrossKwelin::RestoreTop()
{
    FTable = TopEntry().Snapshot;
}

void TCrossKwelin::ChooseWord()
{
    TList& top = TopEntry();
    for (;;) {
        // The lowest score among the alternatives that fit: the open ones of a
        // score are checked only while none of a lower score is known to fit.
        // Picks gathers the fitting ones of the lowest score met so far.
        for (;;) {
            int32_t lowestOpen = INT32_MAX;
            int32_t lowest = INT32_MAX;
            Picks.clear();
            for (uint32_t i = 0; i < top.Candidates.size(); ++i) {
                const TCandidate& c = top.Candidates[i];
                if (c.State == csOpen) {
                    lowestOpen = std::min(lowestOpen, c.Score);
                } else if (c.State == csFits && c.Score <= lowest) {
                    if (c.Score < lowest)
                        Picks.clear();
                    lowest = c.Score;
                    Picks.push_back(i);
                }
            }
            if (lowestOpen == INT32_MAX || lowestOpen > lowest)
                break;
            Check(top, lowestOpen);
        }
        const auto t = static_cast<uint32_t>(Picks.size());
        // The draw is made also when nothing is left to choose (pruning can empty
        // the list): it yields 0 and the entry keeps its word, but the generator
        // moves on, and every later choice depends on that.
        uint32_t k = FRandom.Draw(t);
        if (t == 0)
            break;
        // The k-th of them in list order.
        std::nth_element(Picks.begin(), Picks.begin() + k, Picks.end(),
                         [&](uint32_t x, uint32_t y) { return top.Candidates[x].Order < top.Candidates[y].Order; });
        const auto chosen = top.Candidates.begin() + Picks[k];
        // A word that would make a word stand twice is dropped and the draw made
        // again; a search that never meets one draws exactly as without the rule.
        const std::string_view word = DB->Word(chosen->Word);
        const bool repeats = FormsRepeat(top.Slot, word, chosen->Offset);
        FRepeatCount += repeats ? 1 : 0;
        chosen->State = csTaken;
        --top.CandCount;
        --top.FitCount;
        if (!repeats || FSettings.AllowRepeats) {
            top.PWord = word;
            top.Word = chosen->Word;
            top.Offset = chosen->Offset;
            break;
        }
    }
    LayWord(FTable, top.Slot, top.PWord, top.Offset);
}

void TCrossKwelin::LayWord(TTable& table, const TPWordCoordinate& slot, std::string_view word, uint8_t offset)
{
    const int32_t n = static_cast<int32_t>(word.size());
    for (int32_t j = 1; j <= n; ++j) {
        if (slot.Dir == 0)
            table.SetCell(slot.Col, slot.Row - offset - 1 + j, word[j - 1]);
        else
            table.SetCell(slot.Col - offset - 1 + j, slot.Row, word[j - 1]);
    }
}

bool TCrossKwelin::AddsRepeat(const TTable& after) const
{
    // The words standing in `after` are its runs of at least MinLenPWord
    // letters shut in by blocks or edges. Letters and blocks only ever join
    // the grid, so a run is new unless all its cells and both its ends were
    // already filled: new runs lie in the rows and columns where a free cell
    // was filled, and only a new run can stand twice.
    const std::string_view before = FTable.Cells();
    const std::string_view now = after.Cells();
    const auto cols = static_cast<size_t>(after.ColCount());
    const auto rows = static_cast<size_t>(after.RowCount());
    const auto minLen = static_cast<size_t>(std::max(FSettings.MinLenPWord, 1));
    std::vector<uint8_t>& rowFilled = RepeatRows;
    std::vector<uint8_t>& colFilled = RepeatCols;
    rowFilled.assign(rows, 0);
    colFilled.assign(cols, 0);
    bool anyFilled = false;
    for (size_t r = 0; r < rows; ++r) {
        if (before.substr(r * cols, cols) == now.substr(r * cols, cols))
            continue;
        for (size_t c = 0; c < cols; ++c)
            if (before[r * cols + c] == TTable::Free && now[r * cols + c] != TTable::Free) {
                rowFilled[r] = colFilled[c] = 1;
                anyFilled = true;
            }
    }
    if (!anyFilled)
        return false;

    std::vector<TRepeatRun>& runs = NewRuns;
    runs.clear();
    auto walk = [&](size_t first, size_t step, size_t count, bool across) {
        size_t length = 0;
        bool shut = true; // the cell before the run is a block or the edge
        bool filled = true;
        for (size_t i = 0; i <= count; ++i) {
            const size_t at = first + i * step;
            const char cell = i < count ? now[at] : TTable::Block;
            if (TTable::IsLetter(cell)) {
                ++length;
                filled = filled && before[at] != TTable::Free;
                continue;
            }
            if (shut && cell == TTable::Block && length >= minLen
                && (!filled || (i < count && before[at] == TTable::Free)))
                runs.push_back(TRepeatRun{first + (i - length) * step, step, length, across});
            length = 0;
            shut = cell == TTable::Block;
            filled = i >= count || before[at] != TTable::Free;
        }
    };
    for (size_t r = 0; r < rows; ++r)
        if (rowFilled[r])
            walk(r * cols, 1, cols, true);
    for (size_t c = 0; c < cols; ++c)
        if (colFilled[c])
            walk(c, cols, rows, false);
    if (runs.empty())
        return false;

    // Each new run is looked for as a run of its own, across and down, from
    // every cell that holds its first letter: its letters with a block or an
    // edge on either side.
    std::string& word = RepeatWord;
    auto standsAt = [&](size_t at, size_t step, size_t from, size_t width) {
        const size_t length = word.size();
        if (from + length > width || (from > 0 && now[at - step] != TTable::Block)
            || (from + length < width && now[at + length * step] != TTable::Block))
            return false;
        for (size_t j = 1; j < length; ++j)
            if (now[at + j * step] != word[j])
                return false;
        return true;
    };
    for (const TRepeatRun& run : runs) {
        word.clear();
        for (size_t j = 0; j < run.Length; ++j)
            word += now[run.Start + j * run.Step];
        for (size_t at = now.find(word[0]); at != std::string_view::npos; at = now.find(word[0], at + 1)) {
            const size_t row = at / cols;
            const size_t col = at % cols;
            if ((!run.Across || at != run.Start) && standsAt(at, 1, col, cols))
                return true;
            if ((run.Across || at != run.Start) && standsAt(at, cols, row, rows))
                return true;
        }
    }
    return false;
}

bool TCrossKwelin::FormsRepeat(const TPWordCoordinate& slot, std::string_view word, uint8_t offset) const
{
    TTable& after = Scratch;
    after = FTable;
    LayWord(after, slot, word, offset);
    CloseEnds(after, slot, word.size(), offset, FSettings.AnyWordLocation);
    return AddsRepeat(after);
}

void TCrossKwelin::PlaceBlocks()
{
    const TList& top = TopEntry();
    CloseEnds(FTable, top.Slot, top.PWord.size(), top.Offset, FSettings.AnyWordLocation);
}

void TCrossKwelin::CloseEnds(TTable& table, const TPWordCoordinate& slot, size_t length, uint8_t offset,
                             bool anyWordLocation)
{
    auto block = [&](int32_t c, int32_t r) {
        if (table.Contains(c, r) && table.GetCell(c, r) == TTable::Free)
            table.SetCell(c, r, TTable::Block);
    };
    const auto n = static_cast<int32_t>(length);
    if (slot.Dir == 0) {
        const int32_t c = slot.Col;
        const int32_t f = slot.Row - offset;
        if (f != 1) {
            block(c, f - 1);
        } else if (!anyWordLocation) {
            // Row 1 must not carry an across word through this first letter.
            if (c >= 2)
                block(c - 1, 1);
            if (c + 1 <= table.ColCount())
                block(c + 1, 1);
        }
        if (f + n <= table.RowCount())
            block(c, f + n);
    } else {
        const int32_t r = slot.Row;
        const int32_t f = slot.Col - offset;
        if (f != 1) {
            block(f - 1, r);
        } else if (!anyWordLocation) {
            if (r >= 2)
                block(1, r - 1);
            if (r + 1 <= table.RowCount())
                block(1, r + 1);
        }
        if (f + n <= table.ColCount())
            block(f + n, r);
    }
}

bool TCrossKwelin::CloseSingleLetter(const TPWordCoordinate& slot)
{
    if (slot.Anchor.size() != 1)
        return false;
    const int32_t c = slot.Col;
    const int32_t r = slot.Row;
    auto close = [&](int32_t cc, int32_t rr, bool ok) {
        if (ok && FTable.Contains(cc, rr))
            FTable.SetCell(cc, rr, TTable::Block);
        return ok;
    };
    const TTable before = FTable;
    bool closed;
    if (slot.Dir == 0) {
        closed = close(c, r - 1, LeftRunOK(c, r - 1) && RightRunOK(c, r - 1) && UpRunOK(c, r - 1))
            && close(c, r + 1, LeftRunOK(c, r + 1) && RightRunOK(c, r + 1) && DownRunOK(c, r + 1));
    } else {
        closed = close(c - 1, r, LeftRunOK(c - 1, r) && UpRunOK(c - 1, r) && DownRunOK(c - 1, r))
            && close(c + 1, r, RightRunOK(c + 1, r) && UpRunOK(c + 1, r) && DownRunOK(c + 1, r));
    }
    if (!closed)
        return false;
    // The blocks may shut in runs on either side: they must not make a word stand twice.
    const TTable after = FTable;
    FTable = before;
    const bool repeats = AddsRepeat(after);
    FRepeatCount += repeats ? 1 : 0;
    if (repeats && !FSettings.AllowRepeats)
        return false;
    FTable = after;
    return true;
}

bool TCrossKwelin::Crosses(const TPWordCoordinate& s, const TPWordCoordinate& t)
{
    if (s.Dir == t.Dir)
        return false;
    // Without an anchor the stretch is taken to start one cell after Col/Row.
    auto start = [](const TPWordCoordinate& slot) {
        return (slot.Dir == 1 ? slot.Col : slot.Row) - Pos(slot.Anchor, slot.Pattern) + 1;
    };
    auto within = [&](int32_t x, const TPWordCoordinate& slot) {
        const int32_t from = start(slot);
        return x >= from && x < from + static_cast<int32_t>(slot.Pattern.size());
    };
    if (t.Dir == 0)
        return within(t.Col, s) && within(s.Row, t);
    return within(t.Row, s) && within(s.Col, t);
}

std::string TCrossKwelin::AnchorRun(const TPWordCoordinate& slot) const
{
    std::string run(1, FTable.GetCell(slot.Col, slot.Row));
    const int32_t dc = slot.Dir == 1 ? 1 : 0;
    const int32_t dr = slot.Dir == 1 ? 0 : 1;
    for (int32_t c = slot.Col + dc, r = slot.Row + dr; FTable.Contains(c, r) && TTable::IsLetter(FTable.GetCell(c, r));
         c += dc, r += dr)
        run += FTable.GetCell(c, r);
    return run;
}

bool TCrossKwelin::UnwindToAnchor(const TPWordCoordinate& slot)
{
    if (Crosses(slot, TopEntry().Slot))
        return true;
    const std::string first = AnchorRun(slot);
    if (std::none_of(first.begin(), first.end(), TTable::IsLetter))
        return true;
    // Undo words until one of the letters that made the dead end is gone.
    do {
        Release(TopEntry());
        Pop();
        if (Stack.empty())
            return false;
        RestoreTop();
    } while (AnchorRun(slot) == first);
    return true;
}

void TCrossKwelin::PruneTop(const TPWordCoordinate& slot)
{
    TList& top = TopEntry();
    if (!Crosses(slot, top.Slot))
        return;
    const bool vertical = top.Slot.Dir == 0;
    const int32_t xc = vertical ? top.Slot.Col : slot.Col;
    const int32_t xr = vertical ? slot.Row : top.Slot.Row;
    const char ch = FTable.GetCell(xc, xr);
    // Alternatives that put the same letter on the crossing lead into the same dead end.
    auto sameDeadEnd = [&](const TCandidate& candidate) {
        const std::string_view word = DB->Word(candidate.Word);
        const int32_t first = (vertical ? top.Slot.Row : top.Slot.Col) - candidate.Offset;
        const int32_t j = (vertical ? xr : xc) - first + 1;
        return j >= 1 && j <= static_cast<int32_t>(word.size()) && word[j - 1] == ch;
    };
    for (TCandidate& candidate : top.Candidates) {
        if (candidate.State == csTaken || candidate.State == csRejected || !sameDeadEnd(candidate))
            continue;
        // Dropping an alternative releases its word, which matters only when
        // the word is in use: then whether it fits must be known.
        if (candidate.State == csOpen && DB->ListOf(candidate.Word) == dlUsedWords)
            Check(top, candidate.Score);
        if (candidate.State == csRejected)
            continue;
        if (candidate.State == csFits) {
            DB->ReleaseUsedRecord(candidate.Word);
            --top.FitCount;
        }
        candidate.State = csTaken;
        --top.CandCount;
    }
}

void TCrossKwelin::UpdatePreview()
{
    if (OnPreview)
        OnPreview(FTable);
}

void TCrossKwelin::NextCandidate()
{
    UpdatePreview();
    Release(TopEntry());
    ChooseWord();
    if (TopEntry().Word != NoWord)
        DB->MarkUsedRecord(TopEntry().Word);
    PlaceBlocks();
    UpdatePreview();
}

// --- One step -----------------------------------------------------------------

bool TCrossKwelin::Step(const TPWordCoordinate& slot)
{
    // Checked all at once, the alternatives are kept in list order, in which
    // PruneTop releases their words.
    DB->FindCandidates(slot.Pattern, slot.Anchor, Found, !CheckLazily);
    if (!Found.empty()) {
        std::vector<TCandidate> candidates;
        candidates.reserve(Found.size());
        for (const TDBCandidate& c : Found)
            candidates.push_back(TCandidate{c.Word, c.Offset, csOpen,
                                            ReserveShare * Score(slot, DB->Word(c.Word).size(), c.Offset,
                                                                 FSettings.MinLenPWord)
                                                + (DB->Reserve(c.Word) ? 1 : 0),
                                            c.Order});
        Push(std::move(candidates), slot);
        if (!CheckLazily)
            for (const TCandidate& c : TopEntry().Candidates)
                if (c.State == csOpen)
                    Check(TopEntry(), c.Score);
        if (HasAlternative(TopEntry())) {
            ChooseWord();
            if (!TopEntry().PWord.empty()) {
                DB->MarkUsedRecord(TopEntry().Word);
                PlaceBlocks();
                UpdatePreview();
                return true;
            }
        }
        // No alternative fits, or every one would make a word stand twice: a dead end.
        Pop();
    }
    if (Stack.empty())
        return false;
    if (CloseSingleLetter(slot)) {
        UpdatePreview();
        return true;
    }

    // Dead end: back out.
    if (!UnwindToAnchor(slot))
        return false;
    if (!HasAlternative(TopEntry())) {
        while (!Stack.empty() && !HasAlternative(Stack.back())) {
            Release(Stack.back());
            Pop();
            if (Stack.empty())
                return false;
            RestoreTop();
            UpdatePreview();
        }
        NextCandidate();
    } else {
        PruneTop(slot);
        RestoreTop();
        NextCandidate();
    }
    return true;
}

void TCrossKwelin::FillBlanks()
{
    for (int32_t c = 1; c <= FTable.ColCount(); ++c)
        for (int32_t r = 1; r <= FTable.RowCount(); ++r)
            if (FTable.GetCell(c, r) == TTable::Free)
                FTable.SetCell(c, r, TTable::Block);
}

// --- Hand-over helpers -------------------------------------------------------

std::string TCrossKwelin::PickLine(const std::string& text)
{
    if (text.empty())
        return {};
    uint32_t count = 0;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
        ++count;
    const uint32_t k = FRandom.Draw(count);
    uint32_t line = 0;
    size_t from = 0;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", from), ++line) {
        if (line == k)
            return text.substr(from, at - from);
        from = at + 2;
    }
    return {};
}

} // namespace mz
