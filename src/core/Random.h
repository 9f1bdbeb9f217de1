#pragma once

#include <cstdint>

namespace mz {

// The program's random generator: a 32-bit linear congruential state.
// A draw below n advances the state (state * 134775813 + 1, modulo 2^32) and
// returns the upper half of the 64-bit product state * n, so 0..n-1.
class TRandom {
public:
    explicit TRandom(uint32_t seed = 0) : State(seed) { }

    // State := milliseconds since midnight UTC of the current system time.
    void Reseed();
    void Seed(uint32_t seed) { State = seed; }
    uint32_t GetState() const { return State; }

    // 0..n-1; n of 0 gives 0.
    uint32_t Draw(uint32_t n)
    {
        State = State * 134775813u + 1u;
        return static_cast<uint32_t>((static_cast<uint64_t>(State) * n) >> 32);
    }

    // The clock value Reseed would use now.
    static uint32_t ClockSeed();

private:
    uint32_t State;
};

// The process-wide generator: saving a record file reseeds it and draws its
// filler bytes from it.
TRandom& GlobalRandom();

} // namespace mz
