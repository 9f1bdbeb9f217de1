#include "FitCache.h"

#include <cstring>

namespace mz {

namespace {

uint64_t Mix(uint64_t h)
{
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    h *= 0xc4ceb9fe1a85ec53ULL;
    h ^= h >> 33;
    return h;
}

uint64_t HashBytes(std::string_view text, uint64_t h)
{
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        uint64_t chunk;
        std::memcpy(&chunk, text.data() + i, 8);
        h = (h ^ chunk) * 0x9E3779B97F4A7C15ULL;
        h ^= h >> 29;
    }
    uint64_t tail = 0;
    std::memcpy(&tail, text.data() + i, text.size() - i);
    return (h ^ tail ^ (uint64_t{text.size()} << 56)) * 0x9E3779B97F4A7C15ULL;
}

} // namespace

uint64_t TFitCache::HashOf(std::string_view pattern, std::string_view anchor)
{
    const uint64_t h = Mix(HashBytes(anchor, HashBytes(pattern, 0x243F6A8885A308D3ULL)));
    return h == 0 ? 1 : h;
}

bool TFitCache::Holds(const TSlot& slot, uint64_t hash, std::string_view pattern, std::string_view anchor) const
{
    return slot.Hash == hash && slot.PatternLength == pattern.size() && slot.AnchorLength == anchor.size()
        && std::string_view(Keys).substr(slot.Key, pattern.size()) == pattern
        && std::string_view(Keys).substr(slot.Key + pattern.size(), anchor.size()) == anchor;
}

TFitCache::TAnswer* TFitCache::Find(std::string_view pattern, std::string_view anchor)
{
    if (Count == 0)
        return nullptr;
    const uint64_t hash = HashOf(pattern, anchor);
    const size_t mask = Slots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        TSlot& slot = Slots[i];
        if (slot.Hash == 0)
            return nullptr;
        if (Holds(slot, hash, pattern, anchor))
            return &slot.Answer;
    }
}

void TFitCache::Keep(std::string_view pattern, std::string_view anchor, const TAnswer& answer)
{
    if (pattern.size() > MaxKeyLength || anchor.size() > MaxKeyLength)
        return;
    if (Count >= MaxEntries || Keys.size() + pattern.size() + anchor.size() > UINT32_MAX)
        Clear();
    if (2 * (Count + 1) > Slots.size())
        Grow();
    const uint64_t hash = HashOf(pattern, anchor);
    const size_t mask = Slots.size() - 1;
    size_t i = hash & mask;
    while (Slots[i].Hash != 0)
        i = (i + 1) & mask;
    Slots[i] = TSlot{hash, static_cast<uint32_t>(Keys.size()), static_cast<uint16_t>(pattern.size()),
                     static_cast<uint16_t>(anchor.size()), answer};
    Keys += pattern;
    Keys += anchor;
    ++Count;
}

void TFitCache::Clear()
{
    Slots.assign(Slots.size(), TSlot{});
    Keys.clear();
    Count = 0;
}

void TFitCache::Grow()
{
    std::vector<TSlot> old(std::max<size_t>(2 * Slots.size(), 1024));
    old.swap(Slots);
    const size_t mask = Slots.size() - 1;
    for (const TSlot& slot : old) {
        if (slot.Hash == 0)
            continue;
        size_t i = slot.Hash & mask;
        while (Slots[i].Hash != 0)
            i = (i + 1) & mask;
        Slots[i] = slot;
    }
}

} // namespace mz
