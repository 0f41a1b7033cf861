#pragma once

#include <atomic>
#include <chrono>
#include <thread>

namespace stationserver {

// Raised once when the server shuts down. Everything that waits (paced
// streams, injected delays, stalled bodies) waits in short slices and gives
// up as soon as it is raised, so that shutdown never waits on a client.
class StopFlag
{
public:
    void Raise() { m_raised.store(true); }
    bool IsRaised() const { return m_raised.load(); }

    // Sleeps for the duration unless the flag is raised first; true when the
    // whole duration has passed.
    bool SleepFor(std::chrono::milliseconds duration) const
    {
        constexpr std::chrono::milliseconds kSlice{20};
        const auto end = std::chrono::steady_clock::now() + duration;
        while (!IsRaised()) {
            const auto now = std::chrono::steady_clock::now();
            if (now >= end)
                return true;
            std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(end - now, kSlice));
        }
        return false;
    }

private:
    std::atomic<bool> m_raised{false};
};

}
