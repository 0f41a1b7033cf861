#include "TextEncoding.h"

#include <cstdint>
#include <optional>

namespace stationserver {
namespace {

struct DecodedCharacter {
    char32_t codePoint;
    std::size_t length;
};

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Decodes the character at pos, or nothing when the bytes there are not
// well-formed UTF-8.
std::optional<DecodedCharacter> DecodeAt(std::string_view text, std::size_t pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80)
        return DecodedCharacter{lead, 1};

    std::size_t length = 0;
    char32_t codePoint = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        codePoint = lead & 0x1F;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        codePoint = lead & 0x0F;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        codePoint = lead & 0x07;
        smallest = 0x10000;
    } else {
        return std::nullopt;
    }
    if (pos + length > text.size())
        return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[pos + i]);
        if (!IsContinuation(byte))
            return std::nullopt;
        codePoint = (codePoint << 6) | (byte & 0x3F);
    }
    const bool isSurrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    if (codePoint < smallest || isSurrogate || codePoint > 0x10FFFF)
        return std::nullopt;
    return DecodedCharacter{codePoint, length};
}

void AppendCodeUnit(std::uint16_t unit, std::string& out)
{
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
}

}

std::size_t FindInvalidUtf8(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto character = DecodeAt(text, pos);
        if (!character)
            return pos;
        pos += character->length;
    }
    return std::string_view::npos;
}

void AppendUtf16Le(std::string_view utf8, std::string& out)
{
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto character = DecodeAt(utf8, pos);
        if (!character)
            return;
        pos += character->length;
        const char32_t codePoint = character->codePoint;
        if (codePoint < 0x10000) {
            AppendCodeUnit(static_cast<std::uint16_t>(codePoint), out);
        } else {
            const char32_t offset = codePoint - 0x10000;
            AppendCodeUnit(static_cast<std::uint16_t>(0xD800 + (offset >> 10)), out);
            AppendCodeUnit(static_cast<std::uint16_t>(0xDC00 + (offset & 0x3FF)), out);
        }
    }
}

}
