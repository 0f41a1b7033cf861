#pragma once

// The waits between attempts to reconnect a dropped stream: 1, 2, 4, 8 and
// 16 seconds, then 30 seconds for as long as the station stays away.
class CReconnectBackoff
{
public:
    static constexpr int kFirstDelaySeconds = 1;
    static constexpr int kLongestDelaySeconds = 30;

    // The wait before the next attempt; each call counts one attempt.
    int NextDelaySeconds();
    // After the stream played steadily again.
    void Reset();

private:
    int m_nNextDelaySeconds = kFirstDelaySeconds;
};
