#include "DirectoryStation.h"

#include <array>
#include <cstdint>
#include <variant>

namespace stationserver {
namespace {

using TextMember = std::string DirectoryStation::*;
using NumberMember = std::int64_t DirectoryStation::*;

struct Field {
    std::string_view key;
    std::variant<TextMember, NumberMember> member;
};

const std::array<Field, 14> kFields{{
    {"stationuuid", &DirectoryStation::stationuuid},
    {"changeuuid", &DirectoryStation::changeuuid},
    {"lastchangetime", &DirectoryStation::lastchangetime},
    {"name", &DirectoryStation::name},
    {"url", &DirectoryStation::url},
    {"url_resolved", &DirectoryStation::urlResolved},
    {"tags", &DirectoryStation::tags},
    {"country", &DirectoryStation::country},
    {"countrycode", &DirectoryStation::countrycode},
    {"language", &DirectoryStation::language},
    {"codec", &DirectoryStation::codec},
    {"votes", &DirectoryStation::votes},
    {"clickcount", &DirectoryStation::clickcount},
    {"lastcheckok", &DirectoryStation::lastcheckok},
}};

constexpr std::string_view kUrl = "url";
constexpr std::string_view kUrlResolved = "url_resolved";

int FieldIndex(std::string_view key)
{
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        if (kFields[i].key == key)
            return static_cast<int>(i);
    }
    return -1;
}

std::uint32_t Bit(int index)
{
    return std::uint32_t{1} << index;
}

}

void DirectoryStation::SetText(std::string_view key, std::string value)
{
    const int index = FieldIndex(key);
    if (index < 0)
        return;
    if (const auto* text = std::get_if<TextMember>(&kFields[index].member)) {
        this->*(*text) = std::move(value);
    } else {
        // Some dumps write numbers as texts ("1"); anything else counts as 0.
        std::int64_t number = 0;
        try {
            number = std::stoll(value);
        } catch (const std::exception&) {
            number = value == "true";
        }
        this->*std::get<NumberMember>(kFields[index].member) = number;
    }
    present |= Bit(index);
}

void DirectoryStation::SetNumber(std::string_view key, std::int64_t value)
{
    const int index = FieldIndex(key);
    if (index < 0)
        return;
    if (const auto* number = std::get_if<NumberMember>(&kFields[index].member))
        this->*(*number) = value;
    else
        this->*std::get<TextMember>(kFields[index].member) = std::to_string(value);
    present |= Bit(index);
}

bool DirectoryStation::Has(std::string_view key) const
{
    const int index = FieldIndex(key);
    return index >= 0 && (present & Bit(index)) != 0;
}

void DirectoryStation::Merge(const DirectoryStation& change)
{
    if (change.Has(kUrl) && !change.Has(kUrlResolved) && change.url != url) {
        urlResolved.clear();
        present &= ~Bit(FieldIndex(kUrlResolved));
    }
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        if ((change.present & Bit(static_cast<int>(i))) == 0)
            continue;
        std::visit([&](auto member) { this->*member = change.*member; }, kFields[i].member);
        present |= Bit(static_cast<int>(i));
    }
}

nlohmann::json DirectoryStation::ToJson() const
{
    nlohmann::json object = nlohmann::json::object();
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        if ((present & Bit(static_cast<int>(i))) == 0)
            continue;
        std::visit([&](auto member) { object[std::string(kFields[i].key)] = this->*member; }, kFields[i].member);
    }
    return object;
}

}
