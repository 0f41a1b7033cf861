#include "MpegTsLoop.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace stationserver {
namespace {

constexpr std::size_t kPacketLength = 188;
constexpr std::uint8_t kSync = 0x47;
constexpr int kNullPid = 0x1FFF;
constexpr double kClockRate = 90000;  // of PTS, DTS and the PCR base
constexpr std::uint64_t kClockWrap = std::uint64_t{1} << 33;

std::uint8_t Byte(std::string_view data, std::size_t pos)
{
    return static_cast<std::uint8_t>(data[pos]);
}

// Where the parts of the packet at pos lie.
struct PacketLayout {
    int pid = 0;
    bool hasPayload = false;
    bool startsUnit = false;
    bool hasPcr = false;
    std::size_t payload = 0;  // offset of the payload
    std::size_t pes = 0;  // offset of PTS, 0 when the payload starts no PES with one
    bool hasDts = false;  // DTS follows PTS
    bool isVideo = false;
};

PacketLayout Layout(std::string_view data, std::size_t pos)
{
    PacketLayout layout;
    layout.pid = (Byte(data, pos + 1) & 0x1F) << 8 | Byte(data, pos + 2);
    layout.startsUnit = Byte(data, pos + 1) & 0x40;
    const int adaptationControl = (Byte(data, pos + 3) >> 4) & 3;
    layout.payload = pos + 4;
    if (adaptationControl & 2) {
        const std::size_t adaptationLength = Byte(data, pos + 4);
        layout.hasPcr = adaptationLength >= 7 && (Byte(data, pos + 5) & 0x10);
        layout.payload += 1 + adaptationLength;
    }
    const std::size_t end = pos + kPacketLength;
    layout.hasPayload = (adaptationControl & 1) && layout.payload < end;
    const std::size_t p = layout.payload;
    if (!layout.hasPayload || !layout.startsUnit || p + 19 > end)
        return layout;
    if (Byte(data, p) != 0 || Byte(data, p + 1) != 0 || Byte(data, p + 2) != 1)
        return layout;
    const std::uint8_t streamId = Byte(data, p + 3);
    const bool hasOptionalHeader = (streamId >= 0xC0 && streamId <= 0xEF) || streamId == 0xBD;
    const int timestampFlags = Byte(data, p + 7) >> 6;
    if (!hasOptionalHeader || !(timestampFlags & 2))
        return layout;
    layout.pes = p + 9;
    layout.hasDts = timestampFlags == 3;
    layout.isVideo = streamId >= 0xE0;
    return layout;
}

std::uint64_t ReadTimestamp(std::string_view data, std::size_t pos)
{
    return (std::uint64_t{Byte(data, pos)} >> 1 & 7) << 30 | std::uint64_t{Byte(data, pos + 1)} << 22 |
        (std::uint64_t{Byte(data, pos + 2)} >> 1) << 15 | std::uint64_t{Byte(data, pos + 3)} << 7 |
        Byte(data, pos + 4) >> 1;
}

void WriteTimestamp(std::string& data, std::size_t pos, std::uint64_t value)
{
    data[pos] = static_cast<char>((Byte(data, pos) & 0xF1) | ((value >> 29) & 0x0E));
    data[pos + 1] = static_cast<char>((value >> 22) & 0xFF);
    data[pos + 2] = static_cast<char>(((value >> 14) & 0xFE) | 1);
    data[pos + 3] = static_cast<char>((value >> 7) & 0xFF);
    data[pos + 4] = static_cast<char>(((value << 1) & 0xFE) | 1);
}

// The PCR base: 33 bits from the sixth byte of the packet on.
std::uint64_t ReadPcrBase(std::string_view data, std::size_t packet)
{
    const std::size_t pos = packet + 6;
    return std::uint64_t{Byte(data, pos)} << 25 | std::uint64_t{Byte(data, pos + 1)} << 17 |
        std::uint64_t{Byte(data, pos + 2)} << 9 | std::uint64_t{Byte(data, pos + 3)} << 1 | Byte(data, pos + 4) >> 7;
}

void WritePcrBase(std::string& data, std::size_t packet, std::uint64_t base)
{
    const std::size_t pos = packet + 6;
    data[pos] = static_cast<char>((base >> 25) & 0xFF);
    data[pos + 1] = static_cast<char>((base >> 17) & 0xFF);
    data[pos + 2] = static_cast<char>((base >> 9) & 0xFF);
    data[pos + 3] = static_cast<char>((base >> 1) & 0xFF);
    data[pos + 4] = static_cast<char>((Byte(data, pos + 4) & 0x7F) | ((base & 1) << 7));
}

struct StreamClock {
    std::uint64_t units = 0;
    std::uint64_t first = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t last = 0;
    bool isVideo = false;
};

}

std::optional<MpegTsLoop> MpegTsLoop::Prepare(std::string_view data)
{
    MpegTsLoop loop;
    std::map<int, StreamClock> clocks;
    std::size_t pos = 0;
    for (; pos + kPacketLength <= data.size() && Byte(data, pos) == kSync; pos += kPacketLength) {
        const PacketLayout layout = Layout(data, pos);
        if (layout.pid != kNullPid && layout.hasPayload)
            ++loop.m_payloadPackets[layout.pid];
        if (layout.pes) {
            StreamClock& clock = clocks[layout.pid];
            const std::uint64_t pts = ReadTimestamp(data, layout.pes);
            ++clock.units;
            clock.first = std::min(clock.first, pts);
            clock.last = std::max(clock.last, pts);
            clock.isVideo = layout.isVideo;
        }
    }
    // The reference stream: video if there is any, else the one with the
    // most units. Its n units span n - 1 unit durations from first to last.
    const StreamClock* reference = nullptr;
    for (const auto& [pid, clock] : clocks) {
        if (clock.units < 2)
            continue;
        if (!reference || (clock.isVideo && !reference->isVideo) ||
            (clock.isVideo == reference->isVideo && clock.units > reference->units))
            reference = &clock;
    }
    if (!reference || reference->last <= reference->first)
        return std::nullopt;
    const double span = static_cast<double>(reference->last - reference->first) / kClockRate;
    const double units = static_cast<double>(reference->units);
    loop.m_packets = std::string(data.substr(0, pos));
    loop.m_timing = MediaTiming{0, pos, span * units / (units - 1)};
    return loop;
}

std::string MpegTsLoop::Pass(std::uint64_t n) const
{
    std::string pass = m_packets;
    if (n == 0)
        return pass;
    const auto shift = static_cast<std::uint64_t>(std::llround(static_cast<double>(n) * m_timing.seconds * kClockRate));
    for (std::size_t pos = 0; pos < pass.size(); pos += kPacketLength) {
        const PacketLayout layout = Layout(pass, pos);
        // A packet without payload repeats the counter of the one before,
        // so it moves by the same amount as its neighbours.
        const auto payloadPackets = m_payloadPackets.find(layout.pid);
        if (layout.pid != kNullPid && payloadPackets != m_payloadPackets.end()) {
            const std::uint64_t counter = (Byte(pass, pos + 3) & 0x0Fu) + n * payloadPackets->second;
            pass[pos + 3] = static_cast<char>((Byte(pass, pos + 3) & 0xF0) | (counter & 0x0F));
        }
        if (layout.hasPcr)
            WritePcrBase(pass, pos, (ReadPcrBase(pass, pos) + shift) % kClockWrap);
        if (layout.pes) {
            WriteTimestamp(pass, layout.pes, (ReadTimestamp(pass, layout.pes) + shift) % kClockWrap);
            if (layout.hasDts)
                WriteTimestamp(pass, layout.pes + 5, (ReadTimestamp(pass, layout.pes + 5) + shift) % kClockWrap);
        }
    }
    return pass;
}

}
