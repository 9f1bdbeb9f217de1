#include "DBIndex.h"

#include "DBData.h"

#include <bit>

namespace mz {

namespace {

// Puts `slot` into a bit set of `blocks` words followed by its summary words.
void AddSlot(uint64_t* set, size_t blocks, uint32_t slot)
{
    set[slot / 64] |= uint64_t{1} << (slot % 64);
    set[blocks + slot / 4096] |= uint64_t{1} << (slot / 64 % 64);
}

} // namespace

void TDBIndex::SetBlocks(TGroup& group, size_t count)
{
    group.Blocks = (count + 63) / 64;
    group.SumWords = (group.Blocks + 63) / 64;
}

TDBIndex::TDBIndex(const TDBData& data) : Groups(MaxLength + 1), Buffers(MaxLength + 1), SlotBuffer(data.Count(), 0)
{
    for (uint32_t id = 0; id < data.Count(); ++id) {
        const size_t n = data.Length(id);
        if (n > MaxLength)
            continue;
        SlotBuffer[id] = static_cast<uint32_t>(Buffers[n].Ids.size());
        Buffers[n].Ids.push_back(id);
    }
    Slots = SlotBuffer;

    for (size_t n = 0; n <= MaxLength; ++n) {
        TGroupBuffers& b = Buffers[n];
        TGroup& g = Groups[n];
        if (b.Ids.empty())
            continue;
        SetBlocks(g, b.Ids.size());
        const size_t stride = g.Stride();
        b.Letters.reserve(b.Ids.size() * n);
        for (const uint32_t id : b.Ids)
            b.Letters += data.Word(id);
        b.Table.assign(n * 256, 0);
        // The bit sets of one position are allocated together, in the order
        // their bytes first appear, so that the pool grows a position at a time.
        for (size_t j = 0; j < n; ++j) {
            for (uint32_t slot = 0; slot < b.Ids.size(); ++slot) {
                uint32_t& entry = b.Table[j * 256 + static_cast<unsigned char>(b.Letters[slot * n + j])];
                if (entry == 0) {
                    b.Pool.resize(b.Pool.size() + stride, 0);
                    entry = static_cast<uint32_t>(b.Pool.size() / stride);
                }
                uint64_t* set = b.Pool.data() + (entry - 1) * stride;
                AddSlot(set, g.Blocks, slot);
            }
        }
        b.Pool.shrink_to_fit();
        g.Ids = b.Ids;
        g.Letters = b.Letters;
        g.Table = b.Table.data();
        g.Pool = b.Pool.data();
        g.Sets = b.Pool.size() / stride;
    }
}

TDBActive::TDBActive(const TDBIndex& index, const TDBData& data)
    : Index(&index), Data(&data), Bits(TDBIndex::MaxLength + 1), ByLength(TDBIndex::MaxLength + 1, 0)
{
    for (size_t n = 0; n <= TDBIndex::MaxLength; ++n)
        Bits[n].assign(index.Groups[n].Stride(), 0);
}

void TDBActive::SetAll(const std::vector<uint8_t>& lists, uint8_t list)
{
    for (uint32_t id = 0; id < lists.size(); ++id) {
        const size_t n = Data->Length(id);
        if (n > TDBIndex::MaxLength || lists[id] != list)
            continue;
        const uint32_t slot = Index->Slots[id];
        AddSlot(Bits[n].data(), Index->Groups[n].Blocks, slot);
        ++ByLength[n];
        ++Activations;
    }
    // Nothing was asked of the set before: no answer needs these activations.
    Activated.clear();
    LogBase = Activations;
}

bool TDBActive::IsSet(uint32_t id) const
{
    const size_t n = Data->Length(id);
    if (n > TDBIndex::MaxLength)
        return false;
    const uint32_t slot = Index->Slots[id];
    return (Bits[n][slot / 64] >> (slot % 64) & 1) != 0;
}

void TDBActive::Set(uint32_t id, bool active)
{
    const size_t n = Data->Length(id);
    if (n > TDBIndex::MaxLength)
        return;
    std::vector<uint64_t>& bits = Bits[n];
    const uint32_t slot = Index->Slots[id];
    uint64_t& word = bits[slot / 64];
    const uint64_t bit = uint64_t{1} << (slot % 64);
    if (((word & bit) != 0) == active)
        return;
    uint64_t& summary = bits[Index->Groups[n].Blocks + slot / 4096];
    const uint64_t blockBit = uint64_t{1} << (slot / 64 % 64);
    if (active) {
        word |= bit;
        summary |= blockBit;
        ++ByLength[n];
        if (Activated.size() == MaxLogged) {
            Activated.clear();
            LogBase = Activations;
        }
        Activated.push_back(id);
        ++Activations;
    } else {
        word &= ~bit;
        if (word == 0)
            summary &= ~blockBit;
        --ByLength[n];
    }
}

TDBIndex::TLetters::TLetters(std::string_view pattern)
{
    for (size_t i = 0; i < pattern.size() && i < MaxLength; ++i)
        if (pattern[i] != ' ') {
            Byte[Count] = static_cast<uint8_t>(pattern[i]);
            At[Count++] = static_cast<uint8_t>(i);
        }
}

bool TDBIndex::Constraints(const TGroup& group, const uint64_t* active, const TLetters& letters, size_t start,
                           size_t length, TSets& sets)
{
    sets.Count = 0;
    sets.Set[sets.Count++] = active;
    const size_t stride = group.Stride();
    // Letter j of the word (from 0) lies on pattern index start + j.
    for (size_t k = 0; k < letters.Count; ++k) {
        const size_t at = letters.At[k];
        if (at < start)
            continue;
        if (at >= start + length)
            break;
        const uint32_t entry = group.Table[(at - start) * 256 + letters.Byte[k]];
        if (entry == 0)
            return false;
        sets.Set[sets.Count++] = group.Pool + (entry - 1) * stride;
    }
    return true;
}

template <class Visit> bool TDBIndex::Intersect(const TGroup& group, const TSets& sets, Visit&& visit)
{
    for (size_t sw = 0; sw < group.SumWords; ++sw) {
        uint64_t blocks = ~uint64_t{0};
        for (size_t i = 0; i < sets.Count; ++i)
            blocks &= sets.Set[i][group.Blocks + sw];
        while (blocks) {
            const size_t block = sw * 64 + static_cast<size_t>(std::countr_zero(blocks));
            blocks &= blocks - 1;
            uint64_t bits = ~uint64_t{0};
            for (size_t i = 0; i < sets.Count; ++i)
                bits &= sets.Set[i][block];
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
int64_t TDBIndex::FirstFit(const TDBActive& active, std::string_view pattern, std::string_view anchor, size_t p) const
{
    const size_t len = pattern.size();
    const size_t lenA = anchor.size();
    const TLetters known(pattern);
    TSets sets;
    for (size_t q = 1; q <= p; ++q) {
        const size_t s = p - q + 1; // the word's first letter
        if (q < p && pattern[s - 2] != ' ')
            continue;
        for (size_t n = q + lenA - 1; n <= len && n <= MaxLength; ++n) {
            const TGroup& g = Groups[n];
            if (active.ByLength[n] == 0)
                continue;
            const size_t e = s + n - 1; // may lie beyond the pattern
            if (e < len && pattern[e] != ' ')
                continue;
            if (!Constraints(g, active.Bits[n].data(), known, s - 1, n, sets))
                continue;
            const std::string_view letters = g.Letters;
            size_t found = 0;
            // Every word of the intersection has the anchor at q; it must be
            // its first occurrence.
            if (Intersect(g, sets, [&](size_t slot) {
                    found = slot;
                    const std::string_view word = letters.substr(slot * n, n);
                    if (q == 1)
                        return true;
                    if (lenA == 1)
                        return word.substr(0, q - 1).find(anchor[0]) == std::string_view::npos;
                    return word.find(anchor) + 1 == q;
                }))
                return g.Ids[found];
        }
    }
    return -1;
}

void TDBIndex::FindCandidates(const TDBActive& active, std::string_view pattern, std::string_view anchor, size_t p,
                              std::vector<THit>& hits, size_t limit) const
{
    if (hits.size() >= limit)
        return;
    const size_t len = pattern.size();
    const size_t lenA = anchor.size();
    const TLetters known(pattern);
    TSets sets;
    for (size_t q = 1; q <= p; ++q) {
        const size_t s = p - q + 1;
        if (q < p && pattern[s - 2] != ' ')
            continue;
        for (size_t n = q + lenA - 1; s + n - 1 <= len && n <= MaxLength; ++n) {
            const TGroup& g = Groups[n];
            if (active.ByLength[n] == 0)
                continue;
            const size_t e = s + n - 1;
            if (e < len && pattern[e] != ' ')
                continue;
            if (!Constraints(g, active.Bits[n].data(), known, s - 1, n, sets))
                continue;
            const std::string_view letters = g.Letters;
            // A one-letter anchor occurs wherever its letter stands, and the
            // letter at q is the pattern's.
            if (Intersect(g, sets, [&](size_t slot) {
                    if (lenA == 1 || IsOccurrence(letters.substr(slot * n, n), anchor, q))
                        hits.push_back(THit{g.Ids[slot], static_cast<uint32_t>(q)});
                    return hits.size() >= limit;
                }))
                return;
        }
    }
}

void TDBIndex::FitExactly(const TDBActive& active, std::string_view pattern, std::vector<uint32_t>& ids) const
{
    const size_t n = pattern.size();
    if (n == 0 || n > MaxLength || active.ByLength[n] == 0)
        return;
    const TGroup& g = Groups[n];
    TSets sets;
    if (!Constraints(g, active.Bits[n].data(), TLetters(pattern), 0, n, sets))
        return;
    Intersect(g, sets, [&](size_t slot) {
        ids.push_back(g.Ids[slot]);
        return false;
    });
}

void TDBIndex::ActiveIds(const TDBActive& active, size_t length, std::vector<uint32_t>& ids) const
{
    const TGroup& g = Groups[length];
    if (active.ByLength[length] == 0)
        return;
    TSets sets;
    sets.Set[sets.Count++] = active.Bits[length].data();
    Intersect(g, sets, [&](size_t slot) {
        ids.push_back(g.Ids[slot]);
        return false;
    });
}

} // namespace mz
