#include "DBIndex.h"

#include <bit>

namespace mz {

namespace {

// Whether `anchor` stands at position q (from 1) in the chain of its
// non-overlapping occurrences in `word`, searched from the left.
bool IsOccurrence(std::string_view word, std::string_view anchor, size_t q)
{
    size_t pos = word.find(anchor);
    while (pos != std::string_view::npos && pos + 1 < q)
        pos = word.find(anchor, pos + anchor.size());
    return pos != std::string_view::npos && pos + 1 == q;
}

} // namespace

void TDBIndex::Build(const TDBRec* active, const TDBRec* used)
{
    Groups.assign(MaxLength + 1, TGroup{});
    ActiveByLength.assign(MaxLength + 1, 0);
    ByWord.clear();

    for (const TDBRec* chain : {active, used}) {
        for (const TDBRec* r = chain; r; r = r->Next) {
            auto* rec = const_cast<TDBRec*>(r);
            ByWord[rec->PWord].push_back(rec);
            const size_t n = rec->PWord.size();
            if (n > MaxLength)
                continue;
            rec->Slot = static_cast<uint32_t>(Groups[n].Recs.size());
            Groups[n].Recs.push_back(rec);
        }
    }

    for (size_t n = 0; n <= MaxLength; ++n) {
        TGroup& g = Groups[n];
        if (g.Recs.empty())
            continue;
        g.Blocks = (g.Recs.size() + 63) / 64;
        g.SumWords = (g.Blocks + 63) / 64;
        const size_t stride = g.Stride();
        g.Active.assign(stride, 0);
        g.Keys.assign(g.Recs.size(), 0);
        for (const TDBRec* rec : g.Recs)
            g.Letters += rec->PWord;
        g.Table.assign(n * 256, 0);
        for (uint32_t slot = 0; slot < g.Recs.size(); ++slot) {
            const std::string& w = g.Recs[slot]->PWord;
            for (size_t j = 0; j < n; ++j) {
                uint32_t& entry = g.Table[j * 256 + static_cast<unsigned char>(w[j])];
                if (entry == 0) {
                    g.Pool.resize(g.Pool.size() + stride, 0);
                    entry = static_cast<uint32_t>(g.Pool.size() / stride);
                }
                uint64_t* set = g.Pool.data() + (entry - 1) * stride;
                set[slot / 64] |= uint64_t{1} << (slot % 64);
                set[g.Blocks + slot / 4096] |= uint64_t{1} << (slot / 64 % 64);
            }
        }
    }
    for (const TDBRec* r = active; r; r = r->Next)
        SetActive(r, true);
}

void TDBIndex::SetActive(const TDBRec* rec, bool active)
{
    const size_t n = rec->PWord.size();
    if (n > MaxLength)
        return;
    TGroup& g = Groups[n];
    const uint32_t slot = rec->Slot;
    g.Keys[slot] = rec->OrderKey;
    uint64_t& word = g.Active[slot / 64];
    const uint64_t bit = uint64_t{1} << (slot % 64);
    if (((word & bit) != 0) == active)
        return;
    uint64_t& summary = g.Active[g.Blocks + slot / 4096];
    const uint64_t blockBit = uint64_t{1} << (slot / 64 % 64);
    if (active) {
        word |= bit;
        summary |= blockBit;
        ++ActiveByLength[n];
    } else {
        word &= ~bit;
        if (word == 0)
            summary &= ~blockBit;
        --ActiveByLength[n];
    }
}

bool TDBIndex::AnyActiveUpTo(size_t length) const
{
    for (size_t n = 0; n <= length && n <= MaxLength; ++n)
        if (ActiveByLength[n] > 0)
            return true;
    return false;
}

const std::vector<TDBRec*>* TDBIndex::RecordsOf(std::string_view word) const
{
    const auto it = ByWord.find(word);
    return it == ByWord.end() ? nullptr : &it->second;
}

bool TDBIndex::Constraints(const TGroup& group, std::string_view pattern, size_t start, size_t length,
                           std::vector<const uint64_t*>& sets) const
{
    sets.clear();
    sets.push_back(group.Active.data());
    const size_t stride = group.Stride();
    // Letter j of the word (from 0) lies on pattern index start + j (from 0).
    for (size_t j = 0; j < length && start + j < pattern.size(); ++j) {
        const auto c = static_cast<unsigned char>(pattern[start + j]);
        if (c == ' ')
            continue;
        const uint32_t entry = group.Table[j * 256 + c];
        if (entry == 0)
            return false;
        sets.push_back(group.Pool.data() + (entry - 1) * stride);
    }
    return true;
}

template <class Visit>
bool TDBIndex::Intersect(const TGroup& group, const std::vector<const uint64_t*>& sets, Visit&& visit)
{
    for (size_t sw = 0; sw < group.SumWords; ++sw) {
        uint64_t blocks = ~uint64_t{0};
        for (const uint64_t* set : sets)
            blocks &= set[group.Blocks + sw];
        while (blocks) {
            const size_t block = sw * 64 + static_cast<size_t>(std::countr_zero(blocks));
            blocks &= blocks - 1;
            uint64_t bits = ~uint64_t{0};
            for (const uint64_t* set : sets)
                bits &= set[block];
            while (bits) {
                const size_t slot = block * 64 + static_cast<size_t>(std::countr_zero(bits));
                bits &= bits - 1;
                if (visit(slot))
                    return true;
            }
        }
    }
    return false;
}

// Pattern positions below are 1-based as in the plain walk: letter j of a word
// placed with its anchor occurrence q on the pattern's anchor p lies on p - q + j.
bool TDBIndex::AnyWordFits(std::string_view pattern, std::string_view anchor, size_t p) const
{
    const size_t len = pattern.size();
    const size_t lenA = anchor.size();
    auto& sets = Scratch;
    for (size_t q = 1; q <= p; ++q) {
        const size_t s = p - q + 1; // the word's first letter
        if (q < p && pattern[s - 2] != ' ')
            continue;
        for (size_t n = q + lenA - 1; n <= len && n <= MaxLength; ++n) {
            const TGroup& g = Groups[n];
            if (g.Recs.empty() || ActiveByLength[n] == 0)
                continue;
            const size_t e = s + n - 1; // may lie beyond the pattern
            if (e < len && pattern[e] != ' ')
                continue;
            if (!Constraints(g, pattern, s - 1, n, sets))
                continue;
            const std::string_view letters = g.Letters;
            const bool found = Intersect(g, sets, [&](size_t slot) {
                return letters.substr(slot * n, n).find(anchor) + 1 == q;
            });
            if (found)
                return true;
        }
    }
    return false;
}

void TDBIndex::FindCandidates(std::string_view pattern, std::string_view anchor, size_t p,
                              std::vector<THit>& hits) const
{
    const size_t len = pattern.size();
    const size_t lenA = anchor.size();
    auto& sets = Scratch;
    for (size_t q = 1; q <= p; ++q) {
        const size_t s = p - q + 1;
        if (q < p && pattern[s - 2] != ' ')
            continue;
        for (size_t n = q + lenA - 1; s + n - 1 <= len && n <= MaxLength; ++n) {
            const TGroup& g = Groups[n];
            if (g.Recs.empty() || ActiveByLength[n] == 0)
                continue;
            const size_t e = s + n - 1;
            if (e < len && pattern[e] != ' ')
                continue;
            if (!Constraints(g, pattern, s - 1, n, sets))
                continue;
            const std::string_view letters = g.Letters;
            Intersect(g, sets, [&](size_t slot) {
                const std::string_view word = letters.substr(slot * n, n);
                if (IsOccurrence(word, anchor, q))
                    hits.push_back(THit{g.Keys[slot], static_cast<uint32_t>(q), word});
                return false;
            });
        }
    }
}

} // namespace mz
