#include "FitCache.h"

#include <algorithm>
#include <cstring>

namespace mz {

namespace {

// Up to 8 bytes from `at`, no more than `length`, zero-padded.
uint64_t Chunk(const char* at, size_t length)
{
    uint64_t chunk = 0;
    if (length >= 8) {
        std::memcpy(&chunk, at, 8);
        return chunk;
    }
    for (size_t i = 0; i < length; ++i)
        chunk |= uint64_t{static_cast<unsigned char>(at[i])} << (8 * i);
    return chunk;
}

} // namespace

uint64_t TFitCache::HashOf(std::string_view pattern, size_t anchorAt, size_t anchorLength)
{
    uint64_t h = (uint64_t{pattern.size()} << 32 | anchorAt << 16 | anchorLength) * 0x9E3779B97F4A7C15ULL;
    for (size_t i = 0; i < pattern.size(); i += 8) {
        h = (h ^ Chunk(pattern.data() + i, pattern.size() - i)) * 0xff51afd7ed558ccdULL;
        h ^= h >> 32;
    }
    h ^= h >> 29;
    return h == 0 ? 1 : h;
}

bool TFitCache::Holds(const TSlot& slot, uint64_t hash, std::string_view pattern, size_t anchorAt,
                      size_t anchorLength) const
{
    if (slot.Hash != hash || slot.PatternLength != pattern.size() || slot.AnchorAt != anchorAt
        || slot.AnchorLength != anchorLength)
        return false;
    const char* kept = Patterns.data() + slot.Key;
    for (size_t i = 0; i < pattern.size(); i += 8)
        if (Chunk(kept + i, pattern.size() - i) != Chunk(pattern.data() + i, pattern.size() - i))
            return false;
    return true;
}

TFitCache::TAnswer* TFitCache::Find(std::string_view pattern, size_t anchorAt, size_t anchorLength)
{
    if (Count == 0)
        return nullptr;
    const uint64_t hash = HashOf(pattern, anchorAt, anchorLength);
    const size_t mask = Slots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        TSlot& slot = Slots[i];
        if (slot.Hash == 0)
            return nullptr;
        if (Holds(slot, hash, pattern, anchorAt, anchorLength))
            return &slot.Answer;
    }
}

void TFitCache::Keep(std::string_view pattern, size_t anchorAt, size_t anchorLength, const TAnswer& answer)
{
    if (pattern.size() > MaxKeyLength)
        return;
    if (Count >= MaxEntries || Patterns.size() + pattern.size() > UINT32_MAX)
        Clear();
    if (2 * (Count + 1) > Slots.size())
        Grow();
    const uint64_t hash = HashOf(pattern, anchorAt, anchorLength);
    const size_t mask = Slots.size() - 1;
    size_t i = hash & mask;
    while (Slots[i].Hash != 0)
        i = (i + 1) & mask;
    Slots[i] = TSlot{hash,
                     static_cast<uint32_t>(Patterns.size()),
                     static_cast<uint16_t>(pattern.size()),
                     static_cast<uint16_t>(anchorAt),
                     static_cast<uint32_t>(anchorLength),
                     answer};
    Patterns += pattern;
    ++Count;
}

void TFitCache::Clear()
{
    Slots.assign(Slots.size(), TSlot{});
    Patterns.clear();
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
