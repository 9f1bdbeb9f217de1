#include "composer/BackjumpSearch.h"

#include <algorithm>
#include <set>
#include <tuple>
#include <unordered_map>

namespace mz {

namespace {

using TCells = std::vector<std::pair<int32_t, int32_t>>;

struct TRun {
    int32_t Col = 0;
    int32_t Row = 0;
    uint8_t Dir = 1;
    std::string Letters;
    bool Complete = true; // no free cell
};

// The run of non-block cells through (c, r) along the direction (1 across, 0 down).
// Without `lettersOfOpenRun` the letters of a run with a free cell are left out.
TRun RunThrough(const TTable& table, int32_t c, int32_t r, uint8_t dir, bool lettersOfOpenRun = true)
{
    const int32_t dc = dir == 1 ? 1 : 0;
    const int32_t dr = dir == 1 ? 0 : 1;
    while (table.Contains(c - dc, r - dr) && table.GetCell(c - dc, r - dr) != TTable::Block) {
        c -= dc;
        r -= dr;
    }
    TRun run{c, r, dir, {}, true};
    int32_t length = 0;
    for (int32_t x = c, y = r; table.Contains(x, y) && table.GetCell(x, y) != TTable::Block; x += dc, y += dr) {
        run.Complete = run.Complete && table.GetCell(x, y) != TTable::Free;
        ++length;
    }
    if (!run.Complete && !lettersOfOpenRun)
        return run;
    run.Letters.reserve(static_cast<size_t>(length));
    for (int32_t i = 0; i < length; ++i)
        run.Letters += table.GetCell(c + i * dc, r + i * dr);
    return run;
}

} // namespace

TBackjumpSearch::TBackjumpSearch(TCrossKwelin& kwelin, TDB& db)
    : Kwelin(kwelin), DB(db), Owners(static_cast<size_t>(kwelin.Table().ColCount()) * kwelin.Table().RowCount(), 0),
      DeadEnds(Owners.size(), 0)
{
}

void TBackjumpSearch::UpdatePreview()
{
    if (OnPreview)
        OnPreview(Table());
}

void TBackjumpSearch::Lay(TTable& table, const TPWordCoordinate& slot, const std::string& word, uint8_t offset,
                          TCells* changed) const
{
    auto set = [&](int32_t c, int32_t r, char value) {
        if (changed && table.GetCell(c, r) == TTable::Free)
            changed->emplace_back(c, r);
        table.SetCell(c, r, value);
    };
    auto block = [&](int32_t c, int32_t r) {
        if (table.Contains(c, r) && table.GetCell(c, r) == TTable::Free)
            set(c, r, TTable::Block);
    };
    const bool vertical = slot.Dir == 0;
    const int32_t n = static_cast<int32_t>(word.size());
    const int32_t f = (vertical ? slot.Row : slot.Col) - offset; // first cell along the slot
    for (int32_t j = 0; j < n; ++j) {
        if (vertical)
            set(slot.Col, f + j, word[j]);
        else
            set(f + j, slot.Row, word[j]);
    }
    // The same closing blocks as the plain search puts down.
    const bool edgeRule = !Kwelin.Settings().AnyWordLocation;
    if (vertical) {
        if (f != 1) {
            block(slot.Col, f - 1);
        } else if (edgeRule) {
            block(slot.Col - 1, 1);
            block(slot.Col + 1, 1);
        }
        block(slot.Col, f + n);
    } else {
        if (f != 1) {
            block(f - 1, slot.Row);
        } else if (edgeRule) {
            block(1, slot.Row - 1);
            block(1, slot.Row + 1);
        }
        block(f + n, slot.Row);
    }
}

std::vector<std::string> TBackjumpSearch::CompletedRuns(const TTable& table, const TPWordCoordinate& slot,
                                                        const std::string& word, uint8_t offset, const TCells& changed,
                                                        bool& shortRun) const
{
    const int32_t m = Kwelin.Settings().MinLenPWord;
    const int32_t first = (slot.Dir == 0 ? slot.Row : slot.Col) - offset;
    const int32_t wordCol = slot.Dir == 0 ? slot.Col : first;
    const int32_t wordRow = slot.Dir == 0 ? first : slot.Row;
    std::vector<std::string> words;
    std::vector<std::tuple<int32_t, int32_t, uint8_t>> seen; // few: a linear search is enough
    auto consider = [&](int32_t c, int32_t r, uint8_t dir) {
        if (!table.Contains(c, r) || table.GetCell(c, r) == TTable::Block)
            return;
        const TRun run = RunThrough(table, c, r, dir, false);
        if (!run.Complete || run.Letters.size() < 2)
            return;
        if (run.Col == wordCol && run.Row == wordRow && run.Dir == slot.Dir)
            return; // the word itself
        const std::tuple<int32_t, int32_t, uint8_t> start(run.Col, run.Row, run.Dir);
        if (std::find(seen.begin(), seen.end(), start) != seen.end())
            return;
        seen.push_back(start);
        if (static_cast<int32_t>(run.Letters.size()) < m)
            shortRun = true;
        else
            words.push_back(run.Letters);
    };
    const uint8_t across = slot.Dir == 0 ? 1 : 0;
    for (const auto& [c, r] : changed) {
        if (table.GetCell(c, r) != TTable::Block) {
            consider(c, r, across);
            continue;
        }
        consider(c - 1, r, 1);
        consider(c + 1, r, 1);
        consider(c, r - 1, 0);
        consider(c, r + 1, 0);
    }
    (void)word;
    return words;
}

void TBackjumpSearch::FilterCompletions(TPWordLists& list, const TPWordCoordinate& slot) const
{
    std::unordered_map<std::string, bool> unused;
    TPWordLists scratchList;
    auto isUnusedWord = [&](const std::string& run) {
        auto known = unused.find(run);
        if (known == unused.end()) {
            // With the whole run as pattern and anchor only the run itself fits.
            DB.FindCandidates(run, run, scratchList, dlWords);
            known = unused.emplace(run, !scratchList.empty()).first;
        }
        return known->second;
    };
    // A crossing group of letters that the word extends must keep at least
    // one candidate that passes the filter; the answer depends only on the
    // cell and its letter, so it is asked once per pair.
    std::unordered_map<uint32_t, bool> liveCrossings;
    const bool vertical = slot.Dir == 0;
    auto crossingLives = [&](TTable& scratch, int32_t c, int32_t r) {
        const uint32_t key =
            (static_cast<uint32_t>(vertical ? r : c) << 8) | static_cast<unsigned char>(scratch.GetCell(c, r));
        auto known = liveCrossings.find(key);
        if (known != liveCrossings.end())
            return known->second;
        bool lives = true;
        TPWordCoordinate cross = CrossingSlot(scratch, c, r, vertical ? 1 : 0);
        if (cross.Found()) {
            std::swap(Kwelin.MutableTable(), scratch);
            lives = AnyCandidateSurvives(cross);
            std::swap(Kwelin.MutableTable(), scratch);
        }
        liveCrossings.emplace(key, lives);
        return lives;
    };
    TCells changed;
    auto keepLaid = [&](TTable& scratch, const TPWordList& candidate) {
        bool shortRun = false;
        std::vector<std::string> runs =
            CompletedRuns(scratch, slot, candidate.PWord, candidate.Offset, changed, shortRun);
        if (shortRun)
            return false;
        for (size_t i = 0; i < runs.size(); ++i) {
            if (runs[i] == candidate.PWord || !isUnusedWord(runs[i]))
                return false;
            for (size_t j = 0; j < i; ++j)
                if (runs[j] == runs[i])
                    return false;
        }
        for (const auto& [c, r] : changed)
            if (scratch.GetCell(c, r) != TTable::Block && !crossingLives(scratch, c, r))
                return false;
        return true;
    };
    // Each candidate is laid into one copy of the grid and taken out again: it
    // only fills free cells (its letters on the slot's letters are the same).
    TTable scratch = Table();
    auto keep = [&](const TPWordList& candidate) {
        changed.clear();
        Lay(scratch, slot, candidate.PWord, candidate.Offset, &changed);
        const bool kept = keepLaid(scratch, candidate);
        for (const auto& [c, r] : changed)
            scratch.SetCell(c, r, TTable::Free);
        return kept;
    };
    list.erase(std::remove_if(list.begin(), list.end(), [&](const TPWordList& c) { return !keep(c); }), list.end());
}

TPWordCoordinate TBackjumpSearch::CrossingSlot(const TTable& table, int32_t c, int32_t r, uint8_t dir) const
{
    TPWordCoordinate slot;
    if (!Kwelin.Settings().AnyWordLocation && (dir == 1 ? r : c) == 1)
        return slot; // row 1 carries no across words, column 1 no down words
    const int32_t dc = dir == 1 ? 1 : 0;
    const int32_t dr = dir == 1 ? 0 : 1;
    // The group of letters around the cell...
    int32_t gc = c;
    int32_t gr = r;
    while (table.Contains(gc - dc, gr - dr) && TTable::IsLetter(table.GetCell(gc - dc, gr - dr))) {
        gc -= dc;
        gr -= dr;
    }
    std::string group;
    for (int32_t x = gc, y = gr; table.Contains(x, y) && TTable::IsLetter(table.GetCell(x, y)); x += dc, y += dr)
        group += table.GetCell(x, y);
    if (group.size() < 2)
        return slot; // a lone letter can still be crossed or closed
    // ...inside its block-free stretch.
    const TRun run = RunThrough(table, c, r, dir);
    if (run.Complete || static_cast<int32_t>(run.Letters.size()) < Kwelin.Settings().MinLenPWord)
        return slot;
    slot.Col = gc;
    slot.Row = gr;
    slot.Dir = dir;
    slot.Anchor = group;
    slot.Pattern = run.Letters;
    slot.AnchorPos = static_cast<int32_t>((dir == 1 ? gc - run.Col : gr - run.Row) + 1);
    return slot;
}

TPWordCoordinate TBackjumpSearch::ChooseSlot() const
{
    const TTable& table = Table();
    const int32_t first = Kwelin.Settings().AnyWordLocation ? 1 : 2;
    TPWordCoordinate best;
    size_t fewest = SIZE_MAX;
    // Only counted, and only as far as the fewest so far: a group with as
    // many is passed over anyway.
    auto consider = [&](const TPWordCoordinate& slot) {
        if (!slot.Found())
            return;
        const size_t count = DB.CountCandidates(slot.Pattern, slot.Anchor, fewest);
        if (count < fewest) {
            fewest = count;
            best = slot;
        }
    };
    // Only a group of two or more letters with a free cell beside it can be an
    // open group: the rest are passed over without building slots. A line is
    // read straight from the cells, `count` cells `stride` apart.
    const std::string_view cells = table.Cells();
    const auto cols = static_cast<size_t>(table.ColCount());
    auto scan = [&](size_t at, size_t stride, int32_t count, int32_t c, int32_t r, uint8_t dir) {
        const int32_t dc = dir == 1 ? 1 : 0;
        const int32_t dr = dir == 1 ? 0 : 1;
        auto cell = [&](int32_t i) { return cells[at + static_cast<size_t>(i) * stride]; };
        for (int32_t i = 0; i < count && fewest > 0;) {
            if (!TTable::IsLetter(cell(i))) {
                ++i;
                continue;
            }
            const int32_t from = i;
            while (i < count && TTable::IsLetter(cell(i)))
                ++i;
            const bool freeBefore = from > 0 && cell(from - 1) == TTable::Free;
            const bool freeAfter = i < count && cell(i) == TTable::Free;
            if (i - from >= 2 && (freeBefore || freeAfter))
                consider(OpenGroupSlot(table, c + from * dc, r + from * dr, dir));
        }
    };
    for (int32_t r = first; r <= table.RowCount(); ++r)
        scan(static_cast<size_t>(r - 1) * cols, 1, table.ColCount(), 1, r, 1);
    for (int32_t c = first; c <= table.ColCount(); ++c)
        scan(static_cast<size_t>(c - 1), cols, table.RowCount(), c, 1, 0);
    // Without open groups of two or more letters the plain choice decides
    // (lone letters, free room).
    return best.Found() ? best : Kwelin.ChooseSlot();
}

TPWordCoordinate TBackjumpSearch::OpenGroupSlot(const TTable& table, int32_t c, int32_t r, uint8_t dir) const
{
    TPWordCoordinate slot = CrossingSlot(table, c, r, dir);
    if (!slot.Found())
        return slot;
    // Open: a free cell next to the group along the line.
    const int32_t dc = dir == 1 ? 1 : 0;
    const int32_t dr = dir == 1 ? 0 : 1;
    const int32_t n = static_cast<int32_t>(slot.Anchor.size());
    auto freeAt = [&](int32_t x, int32_t y) { return table.Contains(x, y) && table.GetCell(x, y) == TTable::Free; };
    if (!freeAt(slot.Col - dc, slot.Row - dr) && !freeAt(slot.Col + n * dc, slot.Row + n * dr))
        return TPWordCoordinate{};
    return slot;
}

bool TBackjumpSearch::AnyCandidateSurvives(const TPWordCoordinate& slot) const
{
    // Whether any survives does not depend on the order: the candidates come unsorted.
    std::vector<TDBCandidate> found;
    DB.FindCandidates(slot.Pattern, slot.Anchor, found, false);
    // In small portions, so that the common case, an early survivor, stays cheap.
    constexpr size_t Portion = 8;
    TPWordLists part;
    for (size_t from = 0; from < found.size(); from += Portion) {
        part.clear();
        for (size_t i = from; i < std::min(found.size(), from + Portion); ++i)
            part.push_back(TPWordList{std::string(DB.Word(found[i].Word)), found[i].Offset, 0});
        Kwelin.FilterCandidates(part, slot);
        if (!part.empty())
            return true;
    }
    return false;
}

void TBackjumpSearch::LayNextCandidate()
{
    TEntry& top = Stack.back();
    int32_t lowest = top.Candidates.front().Score;
    for (const TPWordList& c : top.Candidates)
        lowest = std::min(lowest, c.Score);
    const auto t = static_cast<uint32_t>(std::count_if(top.Candidates.begin(), top.Candidates.end(),
                                                       [&](const TPWordList& c) { return c.Score == lowest; }));
    uint32_t k = Kwelin.Random().Draw(t);
    auto chosen = top.Candidates.begin();
    for (;; ++chosen)
        if (chosen->Score == lowest && k-- == 0)
            break;
    top.PWord = chosen->PWord;
    top.Offset = chosen->Offset;
    top.Candidates.erase(chosen);

    TCells changed;
    Lay(Kwelin.MutableTable(), top.Slot, top.PWord, top.Offset, &changed);
    bool shortRun = false;
    top.Completed = CompletedRuns(Table(), top.Slot, top.PWord, top.Offset, changed, shortRun);
    DB.MarkUsed(top.PWord);
    for (const std::string& w : top.Completed)
        DB.MarkUsed(w);
    for (const auto& [c, r] : changed)
        Owner(c, r) = Depth();
    UpdatePreview();
}

void TBackjumpSearch::Release(const TEntry& entry)
{
    for (const std::string& w : entry.Completed)
        DB.ReleaseUsed(w);
    DB.ReleaseUsed(entry.PWord);
}

void TBackjumpSearch::PopTo(int32_t depth)
{
    while (Depth() > depth) {
        Release(Stack.back());
        Kwelin.MutableTable() = Stack.back().Snapshot;
        Owners = Stack.back().OwnerSnapshot;
        Stack.pop_back();
    }
}

std::vector<int32_t> TBackjumpSearch::Blame(const TPWordCoordinate& slot) const
{
    const TTable& table = Table();
    std::set<int32_t, std::greater<>> entries;
    auto note = [&](int32_t c, int32_t r) {
        if (table.Contains(c, r) && Owner(c, r) > 0)
            entries.insert(Owner(c, r));
    };
    // Every cell of the perpendicular stretch through (c, r), and the blocks that end it.
    auto crossing = [&](int32_t c, int32_t r, int32_t dc, int32_t dr) {
        for (int32_t sign : {-1, 1}) {
            int32_t x = c + sign * dc;
            int32_t y = r + sign * dr;
            for (; table.Contains(x, y); x += sign * dc, y += sign * dr) {
                note(x, y);
                if (table.GetCell(x, y) == TTable::Block)
                    break;
            }
        }
    };
    const int32_t dc = slot.Dir == 1 ? 1 : 0;
    const int32_t dr = slot.Dir == 1 ? 0 : 1;
    int32_t c = slot.Col;
    int32_t r = slot.Row;
    while (table.Contains(c - dc, r - dr) && table.GetCell(c - dc, r - dr) != TTable::Block) {
        c -= dc;
        r -= dr;
    }
    note(c - dc, r - dr);
    for (; table.Contains(c, r) && table.GetCell(c, r) != TTable::Block; c += dc, r += dr) {
        note(c, r);
        crossing(c, r, dr, dc);
    }
    note(c, r);
    return {entries.begin(), entries.end()};
}

bool TBackjumpSearch::JumpBack(const TPWordCoordinate& slot)
{
    ++DeadEnds[(slot.Col - 1) + static_cast<size_t>(slot.Row - 1) * Table().ColCount()];
    const std::vector<int32_t> blamed = Blame(slot);
    if (blamed.empty())
        return false; // the template alone leaves this slot without a word
    for (int32_t depth : blamed) {
        TEntry& entry = Stack[depth - 1];
        if (entry.Jumps >= JumpsPerEntry || entry.Candidates.empty())
            continue;
        PopTo(depth);
        TEntry& target = Stack.back();
        Release(target);
        Kwelin.MutableTable() = target.Snapshot;
        Owners = target.OwnerSnapshot;
        ++target.Jumps;
        UpdatePreview();
        LayNextCandidate();
        return true;
    }
    // Every entry to blame is spent: take out the oldest and grow again from before it.
    PopTo(blamed.back() - 1);
    UpdatePreview();
    return true;
}

bool TBackjumpSearch::Step(const TPWordCoordinate& slot)
{
    TPWordLists candidates;
    DB.FindCandidates(slot.Pattern, slot.Anchor, candidates, dlWords);
    Kwelin.FilterCandidates(candidates, slot);
    FilterCompletions(candidates, slot);
    Kwelin.ScoreCandidates(candidates, slot);
    if (!candidates.empty()) {
        Stack.push_back(TEntry{std::move(candidates), slot, {}, 0, {}, 0, Table(), Owners});
        LayNextCandidate();
        return true;
    }
    const TTable before = Table();
    if (Kwelin.CloseSingleLetter(slot)) {
        for (int32_t c = 1; c <= before.ColCount(); ++c)
            for (int32_t r = 1; r <= before.RowCount(); ++r)
                if (before.GetCell(c, r) != Table().GetCell(c, r))
                    Owner(c, r) = Depth();
        UpdatePreview();
        return true;
    }
    Kwelin.MutableTable() = before; // one side may have been closed before the other failed
    return JumpBack(slot);
}

bool TBackjumpSearch::GridIsSound() const
{
    const int32_t m = Kwelin.Settings().MinLenPWord;
    std::set<std::string> words;
    auto lineSound = [&](const std::string& line) {
        std::string run;
        for (size_t i = 0; i <= line.size(); ++i) {
            if (i < line.size() && TTable::IsLetter(line[i])) {
                run += line[i];
                continue;
            }
            if (run.size() >= 2) {
                if (static_cast<int32_t>(run.size()) < m || !DB.FindRecord(run) || !words.insert(run).second)
                    return false;
            }
            run.clear();
        }
        return true;
    };
    for (int32_t r = 1; r <= Table().RowCount(); ++r)
        if (!lineSound(Table().RowLine(r)))
            return false;
    for (int32_t c = 1; c <= Table().ColCount(); ++c)
        if (!lineSound(Table().ColLine(c)))
            return false;
    return true;
}

bool TBackjumpSearch::WorstDeadEnd(int32_t& col, int32_t& row) const
{
    const auto worst = std::max_element(DeadEnds.begin(), DeadEnds.end());
    if (worst == DeadEnds.end() || *worst == 0)
        return false;
    const auto at = static_cast<int32_t>(worst - DeadEnds.begin());
    col = at % Table().ColCount() + 1;
    row = at / Table().ColCount() + 1;
    return true;
}

TTable EraseAround(const TTable& grid, const TTable& pattern, int32_t col, int32_t row, int32_t radius,
                   bool anyWordLocation)
{
    TTable erased = grid;
    const int32_t first = anyWordLocation ? 1 : 2;
    for (int32_t c = std::max(first, col - radius); c <= std::min(grid.ColCount(), col + radius); ++c)
        for (int32_t r = std::max(first, row - radius); r <= std::min(grid.RowCount(), row + radius); ++r)
            if (pattern.GetCell(c, r) == TTable::Free)
                erased.SetCell(c, r, TTable::Free);
    return erased;
}

int32_t LetterCount(const TTable& grid)
{
    const std::string_view cells = grid.Cells();
    return static_cast<int32_t>(std::count_if(cells.begin(), cells.end(), TTable::IsLetter));
}

void SparseWindow(const TTable& grid, int32_t radius, TRandom& random, int32_t& col, int32_t& row)
{
    constexpr size_t Choices = 8;
    const int32_t cols = grid.ColCount();
    const int32_t rows = grid.RowCount();
    // Letters above and to the left of every cell, for the count of any window.
    std::vector<int32_t> sum(static_cast<size_t>(cols + 1) * (rows + 1), 0);
    auto at = [&](int32_t c, int32_t r) -> int32_t& { return sum[c + static_cast<size_t>(r) * (cols + 1)]; };
    for (int32_t r = 1; r <= rows; ++r)
        for (int32_t c = 1; c <= cols; ++c)
            at(c, r) = at(c - 1, r) + at(c, r - 1) - at(c - 1, r - 1) + (TTable::IsLetter(grid.GetCell(c, r)) ? 1 : 0);
    std::vector<std::tuple<int32_t, int32_t, int32_t>> windows; // letters, col, row
    const int32_t from = std::min(2 + radius, std::max(1, cols - radius));
    const int32_t fromRow = std::min(2 + radius, std::max(1, rows - radius));
    for (int32_t r = fromRow; r <= std::max(fromRow, rows - radius); ++r)
        for (int32_t c = from; c <= std::max(from, cols - radius); ++c) {
            const int32_t c0 = std::max(0, c - radius - 1);
            const int32_t r0 = std::max(0, r - radius - 1);
            const int32_t c1 = std::min(cols, c + radius);
            const int32_t r1 = std::min(rows, r + radius);
            windows.emplace_back(at(c1, r1) - at(c0, r1) - at(c1, r0) + at(c0, r0), c, r);
        }
    const size_t k = std::min(Choices, windows.size());
    std::partial_sort(windows.begin(), windows.begin() + static_cast<std::ptrdiff_t>(k), windows.end());
    const auto& chosen = windows[random.Draw(static_cast<uint32_t>(k))];
    col = std::get<1>(chosen);
    row = std::get<2>(chosen);
}

void MarkStandingWords(TDB& db, const TTable& grid, int32_t minLen)
{
    for (const std::string& word : grid.Words(minLen))
        db.MarkUsed(word);
}

std::vector<std::string> TBackjumpSearch::PlacedWords() const
{
    std::vector<std::string> words;
    for (const TEntry& entry : Stack)
        words.push_back(entry.PWord);
    return words;
}

} // namespace mz
