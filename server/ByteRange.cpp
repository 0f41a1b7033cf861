#include "ByteRange.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>

namespace stationserver {
namespace {

constexpr std::string_view kUnit = "bytes";

bool IsUnit(std::string_view unit)
{
    return std::equal(unit.begin(), unit.end(), kUnit.begin(), kUnit.end(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

// A position of digits only; one beyond any length stands for "past every
// end", which a range treats as such.
std::optional<std::uint64_t> Position(std::string_view digits)
{
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc::result_out_of_range)
        return std::numeric_limits<std::uint64_t>::max();
    return end == digits.data() + digits.size() ? std::optional(value) : std::nullopt;
}

}

// Appended piece by piece: GCC 12 at -O3 takes a literal added to a
// temporary string for an overlapping copy (-Wrestrict) that it is not.
std::string ByteRange::ContentRange(std::size_t length) const
{
    std::string header = "bytes ";
    if (kind == Kind::Unsatisfiable) {
        header += '*';
    } else {
        header += std::to_string(offset);
        header += '-';
        header += std::to_string(offset + count - 1);
    }
    header += '/';
    header += std::to_string(length);
    return header;
}

ByteRange SelectByteRange(std::string_view range, std::size_t length)
{
    const std::size_t equals = range.find('=');
    if (equals == std::string_view::npos || !IsUnit(range.substr(0, equals)))
        return {};
    const std::string_view set = range.substr(equals + 1);
    if (set.find(',') != std::string_view::npos)
        return {};
    const std::size_t dash = set.find('-');
    if (dash == std::string_view::npos)
        return {};

    const std::uint64_t size = length;
    constexpr ByteRange kUnsatisfiable{ByteRange::Kind::Unsatisfiable};
    if (dash == 0) {
        const std::optional<std::uint64_t> suffix = Position(set.substr(1));
        if (!suffix)
            return {};
        if (*suffix == 0 || size == 0)
            return kUnsatisfiable;
        const std::uint64_t count = std::min(*suffix, size);
        return {ByteRange::Kind::Part, static_cast<std::size_t>(size - count), static_cast<std::size_t>(count)};
    }

    const std::optional<std::uint64_t> first = Position(set.substr(0, dash));
    const std::string_view lastText = set.substr(dash + 1);
    const std::optional<std::uint64_t> last =
        lastText.empty() ? std::optional(std::numeric_limits<std::uint64_t>::max()) : Position(lastText);
    if (!first || !last || *last < *first)
        return {};
    if (*first >= size)
        return kUnsatisfiable;
    const std::uint64_t end = std::min(*last, size - 1);
    return {ByteRange::Kind::Part, static_cast<std::size_t>(*first), static_cast<std::size_t>(end - *first + 1)};
}

}
