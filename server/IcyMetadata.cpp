#include "IcyMetadata.h"

namespace stationserver {
namespace {

constexpr std::size_t kUnit = 16;

}

std::string IcyMetadataBlock(std::string_view streamTitle)
{
    if (streamTitle.empty())
        return std::string(1, '\0');
    const std::string text = "StreamTitle='" + std::string(streamTitle) + "';";
    const std::size_t units = (text.size() + kUnit - 1) / kUnit;
    std::string block(1, static_cast<char>(units));
    block += text;
    block.resize(1 + units * kUnit, '\0');
    return block;
}

std::string DemoTrackTitle(long long track)
{
    return "Kestrel Demo - Track " + std::to_string(track);
}

}
