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

} // namespace mz
