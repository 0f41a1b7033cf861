#include "IcyMetadata.h"

#include <algorithm>

namespace stationserver {
namespace {

constexpr std::size_t kUnit = 16;
constexpr std::size_t kLongestBlock = 255 * kUnit;

}

std::string IcyMetadataBlock(std::string_view streamTitle)
{
    if (streamTitle.empty())
        return std::string(1, '\0');
    // A quote would end the title early for every client, so it becomes the
    // typographic apostrophe (UTF-8) instead.
    std::string text = "StreamTitle='";
    for (const char c : streamTitle)
        text += c == '\'' ? std::string("\xE2\x80\x99") : std::string(1, c);
    text += "';";
    text.resize(std::min(text.size(), kLongestBlock));
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
