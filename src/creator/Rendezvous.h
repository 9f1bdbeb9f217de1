#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace mz {

// Lets a worker thread hand calls to another thread and wait until each has
// been served, with a way out: once abandoned, no wait blocks any more and no
// new call is taken, so the serving thread can wait for the worker without
// deadlock. Calls are numbered in the order they are posted.
class TRendezvous {
public:
    // Worker: takes a ticket for a new call; 0 when the rendezvous is abandoned.
    std::uint64_t Post();
    // Worker: waits until the call of the ticket was served or the rendezvous
    // abandoned; true when it was served.
    bool Wait(std::uint64_t ticket);
    // Serving thread: the call of the ticket has run.
    void Serve(std::uint64_t ticket);
    // Any thread: releases every wait, now and later.
    void Abandon();

    bool Abandoned() const;
    // Whether a posted call waits to be served (never after Abandon).
    bool Pending() const;

private:
    mutable std::mutex FMutex;
    std::condition_variable FServed;
    std::uint64_t FPosted = 0;
    std::uint64_t FServedUpTo = 0;
    bool FAbandoned = false;
};

} // namespace mz
