#include "Mp3Frames.h"

#include <array>
#include <cstdint>

namespace stationserver {
namespace {

struct Mp3Frame {
    std::size_t length = 0;
    int samples = 0;
    int sampleRate = 0;
};

std::uint8_t Byte(std::string_view data, std::size_t pos)
{
    return static_cast<std::uint8_t>(data[pos]);
}

std::optional<Mp3Frame> FrameAt(std::string_view data, std::size_t pos)
{
    if (pos + 4 > data.size() || Byte(data, pos) != 0xFF || (Byte(data, pos + 1) & 0xE0) != 0xE0)
        return std::nullopt;
    const int version = (Byte(data, pos + 1) >> 3) & 3;  // 0 MPEG 2.5, 2 MPEG 2, 3 MPEG 1
    const int layer = (Byte(data, pos + 1) >> 1) & 3;  // 1 layer III
    const int bitRateIndex = Byte(data, pos + 2) >> 4;
    const int sampleRateIndex = (Byte(data, pos + 2) >> 2) & 3;
    const int padding = (Byte(data, pos + 2) >> 1) & 1;
    if (version == 1 || layer != 1 || bitRateIndex == 0 || bitRateIndex == 15 || sampleRateIndex == 3)
        return std::nullopt;

    constexpr std::array<int, 15> kMpeg1KiloBits{0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    constexpr std::array<int, 15> kMpeg2KiloBits{0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    constexpr std::array<int, 3> kMpeg1SampleRates{44100, 48000, 32000};
    const bool isMpeg1 = version == 3;
    const int bitRate = 1000 * (isMpeg1 ? kMpeg1KiloBits : kMpeg2KiloBits)[bitRateIndex];
    const int sampleRate = kMpeg1SampleRates[sampleRateIndex] / (isMpeg1 ? 1 : version == 2 ? 2 : 4);
    const int samples = isMpeg1 ? 1152 : 576;
    const auto length = static_cast<std::size_t>(samples / 8 * bitRate / sampleRate + padding);
    return Mp3Frame{length, samples, sampleRate};
}

std::size_t Id3v2Length(std::string_view data)
{
    constexpr std::size_t kHeaderLength = 10;
    if (data.size() < kHeaderLength || !data.starts_with("ID3"))
        return 0;
    std::size_t size = 0;
    for (std::size_t i = 6; i < kHeaderLength; ++i)
        size = size << 7 | (Byte(data, i) & 0x7F);
    const bool hasFooter = Byte(data, 5) & 0x10;
    return kHeaderLength + size + (hasFooter ? kHeaderLength : 0);
}

}

std::optional<MediaTiming> ProbeMp3(std::string_view data)
{
    const std::size_t begin = Id3v2Length(data);
    std::size_t pos = begin;
    double seconds = 0;
    while (const auto frame = FrameAt(data, pos)) {
        if (pos + frame->length > data.size())
            break;
        seconds += static_cast<double>(frame->samples) / frame->sampleRate;
        pos += frame->length;
    }
    if (pos == begin)
        return std::nullopt;
    return MediaTiming{begin, pos, seconds};
}

}
