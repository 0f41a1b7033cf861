#include "Fault.h"

#include <charconv>

namespace stationserver {
namespace {

std::optional<int> NumberAfter(std::string_view text, std::string_view prefix)
{
    if (!text.starts_with(prefix))
        return std::nullopt;
    text.remove_prefix(prefix.size());
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

}

std::optional<Fault> ParseFault(std::string_view text)
{
    if (text == "none")
        return Fault{};
    if (text == "close-mid-body")
        return Fault{Fault::Kind::CloseMidBody};
    if (text == "endless-body")
        return Fault{Fault::Kind::EndlessBody};
    if (text == "stalled-body")
        return Fault{Fault::Kind::StalledBody};
    if (text == "oversized-body")
        return Fault{Fault::Kind::OversizedBody};
    if (const auto delay = NumberAfter(text, "delay="); delay && *delay >= 0)
        return Fault{Fault::Kind::Delay, *delay};
    if (const auto status = NumberAfter(text, "status="); status && *status >= 400 && *status <= 599)
        return Fault{Fault::Kind::Status, 0, *status};
    return std::nullopt;
}

}
