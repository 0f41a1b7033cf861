#pragma once

#include "MediaTiming.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace stationserver {

// An MPEG transport stream made ready for looping. Pass n of the loop is
// the file with every clock (PCR, PTS, DTS) moved on by n times the file's
// playing time and every continuity counter carried on, so that players see
// one unbroken broadcast rather than a jump back in time at each pass.
class MpegTsLoop
{
public:
    // Nothing when the data is not a transport stream with timestamps.
    static std::optional<MpegTsLoop> Prepare(std::string_view data);

    // The playing time comes from the presentation timestamps of the video
    // (or else the busiest) stream.
    const MediaTiming& Timing() const { return m_timing; }
    std::string Pass(std::uint64_t n) const;

private:
    std::string m_packets;
    MediaTiming m_timing;
    // Packets with payload per PID, which is how far each continuity
    // counter moves in one pass.
    std::map<int, std::uint64_t> m_payloadPackets;
};

}
