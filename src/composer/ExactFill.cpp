#include "composer/ExactFill.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <string_view>
#include <unordered_set>

namespace mz {

namespace {

// The words of one length, with the set of words that have a given letter at
// a given position, as bit sets over the words' numbers.
struct TLexicon {
    int32_t Len = 0;
    uint32_t Count = 0;
    size_t Blocks = 0;   // 64-bit words of one set
    std::string Letters; // word after word
    std::vector<uint64_t> All;
    std::vector<uint64_t> Sets; // [(position * symbols + symbol) * Blocks ...]
    std::vector<uint64_t> Used; // the words laid (or fixed) now

    std::string_view Word(uint32_t w) const
    {
        return std::string_view(Letters).substr(static_cast<size_t>(w) * Len, Len);
    }
};

// One run of at least MinLen open cells: a word of the fill.
struct TSlot {
    int32_t Len = 0;
    TLexicon* Lex = nullptr;
    std::vector<int32_t> Cells;    // cell numbers, row after row from 0
    std::vector<int32_t> Cross;    // per position: the crossing slot, -1 for none
    std::vector<int32_t> CrossPos; // per position: the position in the crossing slot
};

// One chosen slot on the search stack: the words left to try, the word laid
// and the cells it filled, and the stack depths to blame for its dead ends.
struct TFrame {
    int32_t Slot = -1;
    std::vector<uint32_t> Cands;
    size_t Next = 0;
    bool Placed = false;
    uint32_t Word = 0;
    std::vector<int32_t> Filled;
    std::vector<int32_t> Conflicts;
};

void AddConflict(std::vector<int32_t>& set, int32_t depth)
{
    if (depth >= 0 && std::find(set.begin(), set.end(), depth) == set.end())
        set.push_back(depth);
}

uint32_t PopCount(const std::vector<uint64_t>& bits)
{
    uint32_t n = 0;
    for (const uint64_t b : bits)
        n += static_cast<uint32_t>(std::popcount(b));
    return n;
}

// Backjumps an attempt may take before the search starts afresh in a new order; doubled every restart.
constexpr uint64_t FirstCutoff = 200;
constexpr int32_t NoOwner = -2;    // an empty cell
constexpr int32_t FixedOwner = -1; // a letter of the template

} // namespace

struct TExactFill::TImpl {
    TTable Grid;
    int32_t MinLen;
    TRandom Random;
    int32_t Symbols = 0;
    int16_t SymbolOf[256];
    std::vector<std::unique_ptr<TLexicon>> Lexicons; // by length
    std::vector<TSlot> Slots;
    std::vector<char> Letter;      // per cell: 0 empty, else the letter (template blocks too)
    std::vector<int32_t> Owner;    // per cell: the depth that filled it, FixedOwner or NoOwner
    std::vector<int32_t> Assigned; // per slot: the depth of its frame, -1 while open
    std::vector<uint32_t> Count;   // per open slot: its fitting unused words when last looked at
    std::vector<double> Weight;    // per slot: 1 + the dead ends it met, kept across restarts
    std::vector<TFrame> Stack;
    bool Unfillable = false;
    std::vector<uint64_t> Fits;
    std::vector<uint64_t> FitsAll;

    TImpl(const TTable& pattern, const TDB& db, int32_t minLen, uint32_t seed)
        : Grid(pattern), MinLen(std::max(minLen, 1)), Random(seed)
    {
        std::fill(std::begin(SymbolOf), std::end(SymbolOf), static_cast<int16_t>(-1));
        FindSlots();
        BuildLexicons(db);
    }

    int32_t Cell(int32_t c, int32_t r) const { return (c - 1) + (r - 1) * Grid.ColCount(); }

    void FindSlots()
    {
        const int32_t cols = Grid.ColCount();
        const int32_t rows = Grid.RowCount();
        Letter.assign(static_cast<size_t>(cols) * rows, 0);
        Owner.assign(Letter.size(), NoOwner);
        std::vector<int32_t> slotOf(Letter.size() * 2, -1);
        std::vector<int32_t> posOf(Letter.size() * 2, -1);
        for (int32_t r = 1; r <= rows; ++r)
            for (int32_t c = 1; c <= cols; ++c) {
                const char cell = Grid.GetCell(c, r);
                if (cell == TTable::Free)
                    continue;
                Letter[Cell(c, r)] = cell;
                Owner[Cell(c, r)] = FixedOwner;
            }
        auto line = [&](int32_t count, int dir, auto cellAt) {
            int32_t start = 1;
            for (int32_t i = 1; i <= count + 1; ++i) {
                const bool open = i <= count && Letter[cellAt(i)] != TTable::Block;
                if (open)
                    continue;
                if (i - start >= MinLen) {
                    TSlot slot;
                    slot.Len = i - start;
                    for (int32_t k = start; k < i; ++k) {
                        slotOf[cellAt(k) * 2 + dir] = static_cast<int32_t>(Slots.size());
                        posOf[cellAt(k) * 2 + dir] = k - start;
                        slot.Cells.push_back(cellAt(k));
                    }
                    Slots.push_back(std::move(slot));
                }
                start = i + 1;
            }
        };
        for (int32_t r = 1; r <= rows; ++r)
            line(cols, 0, [&](int32_t c) { return Cell(c, r); });
        for (int32_t c = 1; c <= cols; ++c)
            line(rows, 1, [&](int32_t r) { return Cell(c, r); });
        for (size_t cell = 0; cell < Letter.size(); ++cell)
            if (Letter[cell] == 0 && slotOf[cell * 2] < 0 && slotOf[cell * 2 + 1] < 0)
                Unfillable = true;
        for (TSlot& slot : Slots) {
            const int32_t self = static_cast<int32_t>(&slot - Slots.data());
            for (const int32_t cell : slot.Cells) {
                const bool across = slotOf[cell * 2] == self;
                const size_t other = static_cast<size_t>(cell) * 2 + (across ? 1 : 0);
                slot.Cross.push_back(slotOf[other]);
                slot.CrossPos.push_back(posOf[other]);
            }
        }
        Assigned.assign(Slots.size(), -1);
        Count.assign(Slots.size(), 0);
        Weight.assign(Slots.size(), 1.0);
    }

    void BuildLexicons(const TDB& db)
    {
        int32_t longest = 0;
        for (const TSlot& slot : Slots)
            longest = std::max(longest, slot.Len);
        Lexicons.resize(static_cast<size_t>(longest) + 1);
        for (const TSlot& slot : Slots)
            if (!Lexicons[slot.Len]) {
                Lexicons[slot.Len] = std::make_unique<TLexicon>();
                Lexicons[slot.Len]->Len = slot.Len;
            }
        std::unordered_set<std::string_view> seen;
        for (uint32_t id = 0; id < static_cast<uint32_t>(db.RecordCount()); ++id) {
            if (db.ListOf(id) != dlWords)
                continue;
            const std::string_view word = db.Word(id);
            if (word.size() >= Lexicons.size() || !Lexicons[word.size()] || !seen.insert(word).second)
                continue;
            TLexicon& lex = *Lexicons[word.size()];
            lex.Letters.append(word);
            ++lex.Count;
            for (const char ch : word)
                if (SymbolOf[static_cast<uint8_t>(ch)] < 0)
                    SymbolOf[static_cast<uint8_t>(ch)] = static_cast<int16_t>(Symbols++);
        }
        for (auto& owned : Lexicons) {
            if (!owned)
                continue;
            TLexicon& lex = *owned;
            lex.Blocks = (lex.Count + 63) / 64;
            lex.All.assign(lex.Blocks, 0);
            lex.Used.assign(lex.Blocks, 0);
            lex.Sets.assign(static_cast<size_t>(lex.Len) * Symbols * lex.Blocks, 0);
            // The bit of word w lies in block w / 64 of each set.
            for (uint32_t w = 0; w < lex.Count; ++w) {
                lex.All[w / 64] |= uint64_t{1} << (w % 64);
                const std::string_view word = lex.Word(w);
                for (int32_t p = 0; p < lex.Len; ++p)
                    lex.Sets[SetAt(lex, p, SymbolOf[static_cast<uint8_t>(word[p])]) + w / 64] |= uint64_t{1}
                        << (w % 64);
            }
        }
        for (TSlot& slot : Slots)
            slot.Lex = Lexicons[slot.Len].get();
    }

    size_t SetAt(const TLexicon& lex, int32_t pos, int32_t symbol) const
    {
        return (static_cast<size_t>(pos) * Symbols + symbol) * lex.Blocks;
    }

    // The words that fit the slot's letters, into `out`; without the words in use when `unused`.
    void Fit(const TSlot& slot, std::vector<uint64_t>& out, bool unused) const
    {
        const TLexicon& lex = *slot.Lex;
        out.assign(lex.All.begin(), lex.All.end());
        for (int32_t p = 0; p < slot.Len; ++p) {
            const char ch = Letter[slot.Cells[p]];
            if (ch == 0)
                continue;
            const int16_t symbol = SymbolOf[static_cast<uint8_t>(ch)];
            if (symbol < 0) {
                std::fill(out.begin(), out.end(), 0);
                return;
            }
            const uint64_t* set = lex.Sets.data() + SetAt(lex, p, symbol);
            for (size_t b = 0; b < lex.Blocks; ++b)
                out[b] &= set[b];
        }
        if (unused)
            for (size_t b = 0; b < lex.Blocks; ++b)
                out[b] &= ~lex.Used[b];
    }

    uint32_t CountFits(int32_t s)
    {
        Fit(Slots[s], Fits, true);
        return PopCount(Fits);
    }

    // Adds to `conflicts` the depths whose words made the slot's fitting words what they are.
    void Blame(int32_t s, int32_t below, std::vector<int32_t>& conflicts)
    {
        const TSlot& slot = Slots[s];
        for (const int32_t cell : slot.Cells)
            if (Owner[cell] >= 0 && Owner[cell] < below)
                AddConflict(conflicts, Owner[cell]);
        // Words in use matter only where some fitting word is in use.
        Fit(slot, FitsAll, false);
        for (size_t b = 0; b < slot.Lex->Blocks; ++b)
            if ((FitsAll[b] & slot.Lex->Used[b]) != 0) {
                for (int32_t d = 0; d < below; ++d)
                    if (Slots[Stack[d].Slot].Len == slot.Len)
                        AddConflict(conflicts, d);
                break;
            }
    }

    // The open slot with the fewest fitting words for the dead ends it met,
    // the longest among equals; -1 when none is open. A slot with one word
    // or none always comes first.
    int32_t Choose() const
    {
        int32_t best = -1;
        double bestScore = 0;
        for (int32_t s = 0; s < static_cast<int32_t>(Slots.size()); ++s) {
            if (Assigned[s] >= 0)
                continue;
            const double score = Count[s] <= 1 ? -1.0 + Count[s] : Count[s] / Weight[s];
            if (best < 0 || score < bestScore || (score == bestScore && Slots[s].Len > Slots[best].Len)) {
                best = s;
                bestScore = score;
            }
        }
        return best;
    }

    // A new frame for the slot: its fitting unused words, those that leave
    // every crossing slot some word, the most promising first.
    void Push(int32_t s)
    {
        TFrame frame;
        frame.Slot = s;
        const int32_t depth = static_cast<int32_t>(Stack.size());
        const TSlot& slot = Slots[s];
        Blame(s, depth, frame.Conflicts);
        Fit(slot, Fits, true);
        const TLexicon& lex = *slot.Lex;
        for (size_t b = 0; b < lex.Blocks; ++b)
            for (uint64_t bits = Fits[b]; bits != 0; bits &= bits - 1)
                frame.Cands.push_back(static_cast<uint32_t>(b * 64 + std::countr_zero(bits)));

        // For each open crossing: how many of its words have each letter where it crosses.
        std::vector<std::vector<uint32_t>> histogram(slot.Len);
        std::vector<uint64_t> crossFits;
        for (int32_t p = 0; p < slot.Len; ++p) {
            const int32_t t = slot.Cross[p];
            if (Letter[slot.Cells[p]] != 0 || t < 0 || Assigned[t] >= 0)
                continue;
            const TSlot& cross = Slots[t];
            Fit(cross, crossFits, true);
            histogram[p].assign(Symbols, 0);
            const TLexicon& crossLex = *cross.Lex;
            for (int32_t symbol = 0; symbol < Symbols; ++symbol) {
                const uint64_t* set = crossLex.Sets.data() + SetAt(crossLex, slot.CrossPos[p], symbol);
                uint32_t n = 0;
                for (size_t b = 0; b < crossLex.Blocks; ++b)
                    n += static_cast<uint32_t>(std::popcount(crossFits[b] & set[b]));
                histogram[p][symbol] = n;
            }
        }
        std::vector<std::pair<double, uint32_t>> scored;
        scored.reserve(frame.Cands.size());
        std::vector<bool> pruned(slot.Len, false);
        for (const uint32_t w : frame.Cands) {
            const std::string_view word = lex.Word(w);
            double score = 0;
            bool dead = false;
            for (int32_t p = 0; p < slot.Len && !dead; ++p) {
                if (histogram[p].empty())
                    continue;
                const uint32_t n = histogram[p][SymbolOf[static_cast<uint8_t>(word[p])]];
                if (n == 0) {
                    dead = true;
                    pruned[p] = true;
                } else {
                    score += std::log(static_cast<double>(n));
                }
            }
            if (!dead)
                scored.emplace_back(score + Random.Draw(1024) / 2048.0, w);
        }
        // A word left out for a crossing is left out for what fixed that crossing.
        for (int32_t p = 0; p < slot.Len; ++p)
            if (pruned[p])
                Blame(slot.Cross[p], depth, frame.Conflicts);
        std::sort(scored.begin(), scored.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
        frame.Cands.clear();
        for (const auto& [score, w] : scored)
            frame.Cands.push_back(w);
        Assigned[s] = depth;
        Stack.push_back(std::move(frame));
    }

    void Recount(const TFrame& frame)
    {
        const TSlot& slot = Slots[frame.Slot];
        for (int32_t p = 0; p < slot.Len; ++p) {
            const int32_t t = slot.Cross[p];
            if (t >= 0 && Assigned[t] < 0)
                Count[t] = CountFits(t);
        }
    }

    // Lays the frame's next word; false when a crossing slot is left without any word.
    bool Place(TFrame& frame, uint32_t w, int32_t depth)
    {
        const TSlot& slot = Slots[frame.Slot];
        const std::string_view word = slot.Lex->Word(w);
        frame.Word = w;
        frame.Placed = true;
        for (int32_t p = 0; p < slot.Len; ++p) {
            const int32_t cell = slot.Cells[p];
            if (Letter[cell] != 0)
                continue;
            Letter[cell] = word[p];
            Owner[cell] = depth;
            frame.Filled.push_back(cell);
            Grid.SetCell(cell % Grid.ColCount() + 1, cell / Grid.ColCount() + 1, word[p]);
        }
        slot.Lex->Used[w / 64] |= uint64_t{1} << (w % 64);
        bool alive = true;
        for (int32_t p = 0; p < slot.Len; ++p) {
            const int32_t t = slot.Cross[p];
            if (t < 0 || Assigned[t] >= 0)
                continue;
            Count[t] = CountFits(t);
            if (Count[t] == 0 && alive) {
                alive = false;
                Weight[t] += 1;
                Blame(t, depth, frame.Conflicts);
            }
        }
        return alive;
    }

    void Unplace(TFrame& frame)
    {
        if (!frame.Placed)
            return;
        const TSlot& slot = Slots[frame.Slot];
        for (const int32_t cell : frame.Filled) {
            Letter[cell] = 0;
            Owner[cell] = NoOwner;
            Grid.SetCell(cell % Grid.ColCount() + 1, cell / Grid.ColCount() + 1, TTable::Free);
        }
        frame.Filled.clear();
        slot.Lex->Used[frame.Word / 64] &= ~(uint64_t{1} << (frame.Word % 64));
        frame.Placed = false;
        Recount(frame);
    }

    void Pop()
    {
        TFrame& frame = Stack.back();
        Unplace(frame);
        Assigned[frame.Slot] = -1;
        Count[frame.Slot] = CountFits(frame.Slot);
        Stack.pop_back();
    }
};

TExactFill::TExactFill(const TTable& pattern, const TDB& db, int32_t minLen, uint32_t seed)
    : Impl(std::make_unique<TImpl>(pattern, db, minLen, seed))
{
}

TExactFill::~TExactFill() = default;

TExactFillOutcome TExactFill::Run(const std::atomic<bool>& stop, uint32_t timeLimitMs)
{
    TImpl& m = *Impl;
    TExactFillOutcome outcome;
    if (m.Unfillable) {
        outcome.End = feUnfillable;
        outcome.Message = MsgCellOutsideWords + std::to_string(m.MinLen);
        return outcome;
    }
    const auto started = std::chrono::steady_clock::now();
    auto outOfTime = [&] {
        return timeLimitMs != 0 && std::chrono::steady_clock::now() - started >= std::chrono::milliseconds(timeLimitMs);
    };
    for (int32_t s = 0; s < static_cast<int32_t>(m.Slots.size()); ++s)
        m.Count[s] = m.CountFits(s);

    uint64_t cutoff = FirstCutoff;
    for (;;) {
        uint64_t backjumps = 0;
        bool choose = true;
        for (;;) {
            if (stop || outOfTime()) {
                outcome.End = stop ? feStopped : feTimedOut;
                outcome.Message = stop ? std::string() : MsgExactFillTimedOut;
                return outcome;
            }
            if (choose) {
                const int32_t s = m.Choose();
                if (s < 0) {
                    outcome.End = feFilled;
                    outcome.Grid = m.Grid;
                    for (const TFrame& frame : m.Stack)
                        outcome.Words.emplace_back(m.Slots[frame.Slot].Lex->Word(frame.Word));
                    return outcome;
                }
                m.Push(s);
                choose = false;
            }
            const int32_t depth = static_cast<int32_t>(m.Stack.size()) - 1;
            TFrame& frame = m.Stack.back();
            m.Unplace(frame);
            bool placed = false;
            while (frame.Next < frame.Cands.size()) {
                const uint32_t w = frame.Cands[frame.Next++];
                ++outcome.Nodes;
                if (m.Place(frame, w, depth)) {
                    placed = true;
                    break;
                }
                m.Unplace(frame);
            }
            if (placed) {
                if (OnPreview)
                    OnPreview(m.Grid);
                choose = true;
                continue;
            }
            // Every word of the slot failed: jump back to the newest frame to blame.
            m.Weight[frame.Slot] += 1;
            if (frame.Conflicts.empty()) {
                outcome.End = feNone;
                outcome.Message = MsgNoExactFill;
                return outcome;
            }
            std::vector<int32_t> conflicts = frame.Conflicts;
            const int32_t target = *std::max_element(conflicts.begin(), conflicts.end());
            while (static_cast<int32_t>(m.Stack.size()) > target + 1)
                m.Pop();
            for (const int32_t d : conflicts)
                if (d != target)
                    AddConflict(m.Stack[target].Conflicts, d);
            ++outcome.Backjumps;
            if (++backjumps > cutoff)
                break;
        }
        // A fresh start in a new order, with twice the patience.
        while (!m.Stack.empty())
            m.Pop();
        cutoff *= 2;
        ++outcome.Restarts;
    }
}

} // namespace mz
