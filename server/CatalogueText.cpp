#include "CatalogueText.h"

#include "StationList.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace stationserver {
namespace {

constexpr std::string_view kCommaReplacement = " - ";

// The length of a character that must not stand in a field at pos: ASCII
// and C1 control characters and U+2028 and U+2029, which some readers take
// for line ends. 0 for any other character.
std::size_t BreakingCharacterLength(std::string_view text, std::size_t pos)
{
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (byte < 0x20 || byte == 0x7F)
        return 1;
    const auto next = [&](std::size_t offset) {
        return pos + offset < text.size() ? static_cast<unsigned char>(text[pos + offset]) : 0;
    };
    if (byte == 0xC2 && next(1) >= 0x80 && next(1) <= 0x9F)
        return 2;
    if (byte == 0xE2 && next(1) == 0x80 && (next(2) == 0xA8 || next(2) == 0xA9))
        return 3;
    return 0;
}

std::string CollapsedSpaces(std::string_view text)
{
    std::string collapsed;
    collapsed.reserve(text.size());
    for (const char c : text) {
        if (c == ' ' && (collapsed.empty() || collapsed.back() == ' '))
            continue;
        collapsed += c;
    }
    if (!collapsed.empty() && collapsed.back() == ' ')
        collapsed.pop_back();
    return collapsed;
}

// The catalogue's "{server}" stands for the server's own address (see
// StationList.h). Text from elsewhere never does: the placeholder's braces
// become parentheses, which reads the same to a listener and is not
// replaced.
std::string WithoutServerPlaceholder(std::string text)
{
    for (std::size_t pos = 0; (pos = text.find(kServerPlaceholder, pos)) != std::string::npos;) {
        text[pos] = '(';
        text[pos + kServerPlaceholder.size() - 1] = ')';
    }
    return text;
}

// The host of an http or https address after its scheme: the authority up
// to the path, query or fragment, without the user information before an
// "@" and the port after a ":" (an IPv6 address is bracketed).
std::string_view HostOf(std::string_view afterScheme)
{
    std::string_view authority = afterScheme.substr(0, afterScheme.find_first_of("/?#"));
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos)
        authority.remove_prefix(at + 1);
    if (authority.starts_with('[')) {
        const std::size_t close = authority.find(']');
        return close == std::string_view::npos ? std::string_view() : authority.substr(1, close - 1);
    }
    return authority.substr(0, authority.find(':'));
}

}

std::string CatalogueFieldText(std::string_view text)
{
    std::string spaced;
    spaced.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        if (const std::size_t length = BreakingCharacterLength(text, pos)) {
            spaced += ' ';
            pos += length;
        } else if (text[pos] == ',') {
            spaced += kCommaReplacement;
            ++pos;
        } else {
            spaced += text[pos++];
        }
    }
    return WithoutServerPlaceholder(CollapsedSpaces(spaced));
}

std::string CatalogueAddress(std::string_view address)
{
    const auto isSpace = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!address.empty() && isSpace(address.front()))
        address.remove_prefix(1);
    while (!address.empty() && isSpace(address.back()))
        address.remove_suffix(1);

    std::string encoded;
    encoded.reserve(address.size());
    for (const char c : address) {
        const auto byte = static_cast<unsigned char>(c);
        // Braces may not stand in an address as they are, and so never
        // make the server placeholder there.
        if (byte <= 0x20 || byte == 0x7F || c == ',' || c == '{' || c == '}') {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            encoded += escaped;
        } else {
            encoded += c;
        }
    }
    return encoded;
}

bool IsWebAddress(std::string_view address)
{
    const auto startsWithScheme = [address](std::string_view scheme) {
        return address.size() > scheme.size() &&
            std::equal(scheme.begin(), scheme.end(), address.begin(),
                       [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
    };
    for (const std::string_view scheme : {std::string_view("http://"), std::string_view("https://")}) {
        if (startsWithScheme(scheme))
            return !HostOf(address.substr(scheme.size())).empty();
    }
    return false;
}

}
