#include "Random.h"

#include <chrono>

namespace mz {

uint32_t TRandom::ClockSeed()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const auto sinceMidnight = now - floor<days>(now);
    return static_cast<uint32_t>(duration_cast<milliseconds>(sinceMidnight).count());
}

void TRandom::Reseed()
{
    State = ClockSeed();
}

TRandom& GlobalRandom()
{
    static TRandom generator;
    return generator;
}

} // namespace mz
