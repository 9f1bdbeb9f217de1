#include "creator/Rendezvous.h"

#include <algorithm>

namespace mz {

std::uint64_t TRendezvous::Post()
{
    std::lock_guard lock(FMutex);
    return FAbandoned ? 0 : ++FPosted;
}

bool TRendezvous::Wait(std::uint64_t ticket)
{
    std::unique_lock lock(FMutex);
    FServed.wait(lock, [&] { return FServedUpTo >= ticket || FAbandoned; });
    return FServedUpTo >= ticket;
}

void TRendezvous::Serve(std::uint64_t ticket)
{
    {
        std::lock_guard lock(FMutex);
        FServedUpTo = std::max(FServedUpTo, ticket);
    }
    FServed.notify_all();
}

void TRendezvous::Abandon()
{
    {
        std::lock_guard lock(FMutex);
        FAbandoned = true;
    }
    FServed.notify_all();
}

bool TRendezvous::Abandoned() const
{
    std::lock_guard lock(FMutex);
    return FAbandoned;
}

bool TRendezvous::Pending() const
{
    std::lock_guard lock(FMutex);
    return FPosted > FServedUpTo && !FAbandoned;
}

} // namespace mz
