#include "OggPages.h"

#include <algorithm>
#include <array>
#include <vector>

namespace stationserver {
namespace {

constexpr std::size_t kHeaderLength = 27;
constexpr std::size_t kGranuleOffset = 6;
constexpr std::size_t kSerialOffset = 14;
constexpr std::size_t kChecksumOffset = 22;
constexpr std::size_t kSegmentCountOffset = 26;
constexpr std::size_t kSampleRateOffset = 12;
constexpr std::size_t kIdentificationLength = 30;

struct OggPage {
    std::size_t offset = 0;  // of the capture pattern "OggS"
    std::size_t length = 0;  // header, segment table and body
    std::size_t bodyOffset = 0;
    std::size_t bodyLength = 0;
    std::int64_t granulePosition = 0;
};

std::uint8_t Byte(std::string_view data, std::size_t pos)
{
    return static_cast<std::uint8_t>(data[pos]);
}

std::uint32_t LittleEndian32(std::string_view data, std::size_t pos)
{
    return Byte(data, pos) | Byte(data, pos + 1) << 8 | Byte(data, pos + 2) << 16 |
        static_cast<std::uint32_t>(Byte(data, pos + 3)) << 24;
}

void PutLittleEndian32(std::string& data, std::size_t pos, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        data[pos + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::vector<OggPage> FindPages(std::string_view data)
{
    std::vector<OggPage> pages;
    std::size_t pos = 0;
    while (pos + kHeaderLength <= data.size() && data.substr(pos, 4) == "OggS") {
        const std::size_t segmentCount = Byte(data, pos + kSegmentCountOffset);
        const std::size_t bodyOffset = pos + kHeaderLength + segmentCount;
        if (bodyOffset > data.size())
            break;
        std::size_t bodyLength = 0;
        for (std::size_t i = 0; i < segmentCount; ++i)
            bodyLength += Byte(data, pos + kHeaderLength + i);
        if (bodyOffset + bodyLength > data.size())
            break;
        std::uint64_t granule = 0;
        for (std::size_t i = 0; i < 8; ++i)
            granule |= std::uint64_t{Byte(data, pos + kGranuleOffset + i)} << (8 * i);
        pages.push_back(
            {pos, bodyOffset + bodyLength - pos, bodyOffset, bodyLength, static_cast<std::int64_t>(granule)});
        pos = bodyOffset + bodyLength;
    }
    return pages;
}

// The Ogg checksum: CRC-32 with polynomial 0x04C11DB7, not reflected, no
// initial or final inversion.
std::uint32_t OggChecksum(std::string_view page)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> entries{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t value = i << 24;
            for (int bit = 0; bit < 8; ++bit)
                value = (value & 0x80000000u) ? (value << 1) ^ 0x04C11DB7u : value << 1;
            entries[i] = value;
        }
        return entries;
    }();
    std::uint32_t crc = 0;
    for (const char c : page)
        crc = (crc << 8) ^ table[((crc >> 24) ^ static_cast<std::uint8_t>(c)) & 0xFF];
    return crc;
}

}

std::optional<MediaTiming> ProbeOggVorbis(std::string_view data)
{
    const std::vector<OggPage> pages = FindPages(data);
    if (pages.empty())
        return std::nullopt;
    const std::string_view firstPacket = data.substr(pages.front().bodyOffset, pages.front().bodyLength);
    if (firstPacket.size() < kIdentificationLength || !firstPacket.starts_with("\x01vorbis"))
        return std::nullopt;
    const std::uint32_t sampleRate = LittleEndian32(firstPacket, kSampleRateOffset);
    // Pages on which no packet ends carry -1; the others count up.
    std::int64_t lastGranule = 0;
    for (const OggPage& page : pages)
        lastGranule = std::max(lastGranule, page.granulePosition);
    if (sampleRate == 0 || lastGranule == 0)
        return std::nullopt;
    const OggPage& last = pages.back();
    return MediaTiming{0, last.offset + last.length, static_cast<double>(lastGranule) / sampleRate};
}

std::string WithSerialMask(std::string_view data, std::uint32_t serialMask)
{
    std::string copy(data);
    for (const OggPage& page : FindPages(data)) {
        const std::size_t serial = page.offset + kSerialOffset;
        const std::size_t checksum = page.offset + kChecksumOffset;
        PutLittleEndian32(copy, serial, LittleEndian32(copy, serial) ^ serialMask);
        PutLittleEndian32(copy, checksum, 0);
        PutLittleEndian32(copy, checksum, OggChecksum(std::string_view(copy).substr(page.offset, page.length)));
    }
    return copy;
}

}
