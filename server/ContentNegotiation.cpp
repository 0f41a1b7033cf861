#include "ContentNegotiation.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace stationserver {
namespace {

std::string_view Trimmed(std::string_view text)
{
    constexpr std::string_view kSpace = " \t";
    const std::size_t first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// True for a weight above zero as HTTP writes weights: "0" or "1", or
// either with up to three decimals, none above 1 ("0.5", "1.000").
// Anything else is no weight and false.
bool IsWeightAboveZero(std::string_view weight)
{
    if (weight.empty() || (weight[0] != '0' && weight[0] != '1'))
        return false;
    std::string_view decimals = weight.substr(1);
    if (!decimals.empty()) {
        if (decimals[0] != '.')
            return false;
        decimals.remove_prefix(1);
    }
    const std::string_view allowed = weight[0] == '1' ? "0" : "0123456789";
    if (decimals.size() > 3 || decimals.find_first_not_of(allowed) != std::string_view::npos)
        return false;
    return weight[0] == '1' || decimals.find_first_not_of('0') != std::string_view::npos;
}

// Whether one element of an Accept-Encoding list ("gzip;q=0.5") accepts its
// coding: yes unless its q parameter is zero, or is no weight at all
// ("q=-1", "q=2"), which a careful server takes for a refusal.
bool HasNonZeroQuality(std::string_view parameters)
{
    while (!parameters.empty()) {
        const std::size_t semicolon = parameters.find(';');
        const std::string_view parameter = Trimmed(parameters.substr(0, semicolon));
        parameters = semicolon == std::string_view::npos ? std::string_view() : parameters.substr(semicolon + 1);
        if (parameter.size() < 2 || !EqualsIgnoringCase(parameter.substr(0, 2), "q="))
            continue;
        return IsWeightAboveZero(Trimmed(parameter.substr(2)));
    }
    return true;
}
}

bool AcceptsGzip(std::string_view acceptEncoding)
{
    std::optional<bool> named;
    bool anyAccepted = false;
    while (!acceptEncoding.empty()) {
        const std::size_t comma = acceptEncoding.find(',');
        const std::string_view element = acceptEncoding.substr(0, comma);
        acceptEncoding = comma == std::string_view::npos ? std::string_view() : acceptEncoding.substr(comma + 1);

        const std::size_t semicolon = element.find(';');
        const std::string_view coding = Trimmed(element.substr(0, semicolon));
        const bool accepted = semicolon == std::string_view::npos || HasNonZeroQuality(element.substr(semicolon + 1));
        if (EqualsIgnoringCase(coding, "gzip") || EqualsIgnoringCase(coding, "x-gzip"))
            named = accepted;
        else if (coding == "*")
            anyAccepted = accepted;
    }
    return named.value_or(anyAccepted);
}

bool IfNoneMatchNames(std::string_view ifNoneMatch, std::string_view entityTag)
{
    if (Trimmed(ifNoneMatch) == "*")
        return true;
    std::size_t pos = 0;
    while (pos < ifNoneMatch.size()) {
        pos = ifNoneMatch.find_first_not_of(" \t,", pos);
        if (pos == std::string_view::npos)
            break;
        if (ifNoneMatch.compare(pos, 2, "W/") == 0)
            pos += 2;
        if (pos >= ifNoneMatch.size() || ifNoneMatch[pos] != '"')
            return false;
        const std::size_t end = ifNoneMatch.find('"', pos + 1);
        if (end == std::string_view::npos)
            return false;
        if (ifNoneMatch.substr(pos, end - pos + 1) == entityTag)
            return true;
        pos = end + 1;
    }
    return false;
}

}
