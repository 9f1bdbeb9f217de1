#pragma once

#include <atomic>
#include <cstdint>

namespace mz {

// The word-length settings shared by the window (options dialog, settings store)
// and the composer thread, which reads them throughout a run without a lock.
// Atomics, so that a change made while composing is never seen half-written.
struct TWordLengthLimits {
    std::atomic<int32_t> MinLenPWord{3};
    std::atomic<int32_t> MaxLenPWord{16};
};

// The process-wide values: mz::WordLengthLimits.MinLenPWord = 4;
extern TWordLengthLimits WordLengthLimits;

// Sets both limits for a scope and restores the previous values on leaving it,
// also when an exception leaves it (the database statistics, tests).
class TWordLengthLimitsOverride {
public:
    TWordLengthLimitsOverride(int32_t minLen, int32_t maxLen)
        : SavedMin(WordLengthLimits.MinLenPWord), SavedMax(WordLengthLimits.MaxLenPWord)
    {
        WordLengthLimits.MinLenPWord = minLen;
        WordLengthLimits.MaxLenPWord = maxLen;
    }
    ~TWordLengthLimitsOverride()
    {
        WordLengthLimits.MinLenPWord = SavedMin;
        WordLengthLimits.MaxLenPWord = SavedMax;
    }
    TWordLengthLimitsOverride(const TWordLengthLimitsOverride&) = delete;
    TWordLengthLimitsOverride& operator=(const TWordLengthLimitsOverride&) = delete;

private:
    int32_t SavedMin;
    int32_t SavedMax;
};

} // namespace mz
