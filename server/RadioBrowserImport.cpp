#include "RadioBrowserImport.h"

#include "CatalogueText.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <unordered_set>
#include <vector>

namespace stationserver {
namespace {

using Json = nlohmann::json;

constexpr std::string_view kPreamble =
    "# Stations of the Radio Browser directory (radio-browser.info), imported by\n"
    "# kestrel-station-server import. One channel a line: category, name, stream\n"
    "# address, station id, genre (its first tags), description (country and\n"
    "# language), status (ON or OFF from the directory's last check).\n";
constexpr std::string_view kHeader = "Category,Channel,Stream,Id,Genre,Description,Status";
constexpr std::string_view kRadio = "Radio";
constexpr std::string_view kTelevision = "TV";
constexpr std::string_view kOnAir = "ON";
constexpr std::string_view kOffAir = "OFF";
constexpr std::size_t kGenreTags = 3;
constexpr std::string_view kListJoiner = " / ";
constexpr std::string_view kDescriptionJoiner = " - ";

// The station fields the catalogue is made from. Every other field is
// dropped while the dump is parsed, which keeps a dump of the whole
// directory small in memory. The keys of a station object sit at depth 2:
// inside the array, inside the object.
constexpr std::array<std::string_view, 10> kUsedFields{"name",     "url_resolved", "url",      "stationuuid",
                                                       "tags",     "country",      "countrycode", "language",
                                                       "codec",    "lastcheckok"};
constexpr int kStationFieldDepth = 2;

std::string Text(const Json& station, const char* field)
{
    const auto found = station.find(field);
    if (found == station.end() || !found->is_string())
        return {};
    return found->get<std::string>();
}

// The items of one of the directory's comma-separated lists ("rock,pop"),
// at most the given number, each fit for a field; empty items are left out.
std::vector<std::string> ListItems(const std::string& list, std::size_t most)
{
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= list.size() && items.size() < most) {
        std::size_t comma = list.find(',', start);
        if (comma == std::string::npos)
            comma = list.size();
        std::string item = CatalogueFieldText(std::string_view(list).substr(start, comma - start));
        if (!item.empty())
            items.push_back(std::move(item));
        start = comma + 1;
    }
    return items;
}

std::string Joined(const std::vector<std::string>& items, std::string_view joiner)
{
    std::string joined;
    for (const std::string& item : items) {
        if (item.empty())
            continue;
        if (!joined.empty())
            joined += joiner;
        joined += item;
    }
    return joined;
}

// The directory's checker records the stream's audio codec and, when the
// stream also carries video, the video codec after a comma ("AAC,H.264").
bool IsVideo(const std::string& codec)
{
    const std::size_t comma = codec.find(',');
    return comma != std::string::npos && !CatalogueFieldText(std::string_view(codec).substr(comma + 1)).empty();
}

// lastcheckok is 1 or 0 in the directory's answers; some dumps write it as
// a boolean or a string. Anything else, or none, counts as not working.
bool PassedLastCheck(const Json& station)
{
    const auto found = station.find("lastcheckok");
    if (found == station.end())
        return false;
    if (found->is_boolean())
        return found->get<bool>();
    if (found->is_number())
        return found->get<double>() == 1;
    if (found->is_string())
        return found->get<std::string>() == "1" || found->get<std::string>() == "true";
    return false;
}

// The first of the resolved and the given address that is an http or https
// address, or nothing.
std::string StreamAddress(const Json& station)
{
    for (const char* field : {"url_resolved", "url"}) {
        std::string address = CatalogueAddress(Text(station, field));
        if (IsWebAddress(address))
            return address;
    }
    return {};
}

// "[json.exception.parse_error.101] parse error at line 2, column 6: ..."
// without the library's tag.
std::string ParseErrorText(const Json::parse_error& error)
{
    const std::string_view what = error.what();
    const std::size_t tagEnd = what.find("] ");
    return std::string(tagEnd == std::string_view::npos ? what : what.substr(tagEnd + 2));
}

Json ParseStations(std::string_view json, const std::string& sourceName)
{
    const Json::parser_callback_t keepUsedFields = [](int depth, Json::parse_event_t event, Json& parsed) {
        if (event != Json::parse_event_t::key || depth != kStationFieldDepth)
            return true;
        const auto& key = parsed.get_ref<const std::string&>();
        return std::find(kUsedFields.begin(), kUsedFields.end(), key) != kUsedFields.end();
    };
    Json stations;
    try {
        stations = Json::parse(json, keepUsedFields);
    } catch (const Json::parse_error& error) {
        throw ImportError(sourceName + ": not valid JSON: " + ParseErrorText(error));
    }
    if (!stations.is_array()) {
        throw ImportError(sourceName + ": not a list of stations (the JSON text is " + stations.type_name()
                          + ", where an array of station objects is needed)");
    }
    return stations;
}

}

ImportResult ImportRadioBrowserStations(std::string_view json, const std::string& sourceName)
{
    const Json stations = ParseStations(json, sourceName);

    ImportResult result;
    result.catalogue = std::string(kPreamble) + std::string(kHeader) + "\n";
    std::unordered_set<std::string> ids;
    for (const Json& station : stations) {
        if (!station.is_object()) {
            ++result.notStations;
            continue;
        }
        const std::string name = CatalogueFieldText(Text(station, "name"));
        if (name.empty()) {
            ++result.withoutName;
            continue;
        }
        const std::string address = StreamAddress(station);
        if (address.empty()) {
            ++result.withoutWebAddress;
            continue;
        }
        const std::string id = CatalogueFieldText(Text(station, "stationuuid"));
        if (!id.empty() && !ids.insert(id).second) {
            ++result.duplicateIds;
            continue;
        }

        std::string country = CatalogueFieldText(Text(station, "country"));
        if (country.empty())
            country = CatalogueFieldText(Text(station, "countrycode"));
        const std::string languages = Joined(ListItems(Text(station, "language"), SIZE_MAX), kListJoiner);
        const std::string genre = Joined(ListItems(Text(station, "tags"), kGenreTags), kListJoiner);
        const std::string description = Joined({country, languages}, kDescriptionJoiner);
        const bool video = IsVideo(Text(station, "codec"));
        const bool onAir = PassedLastCheck(station);

        const std::string_view fields[] = {
            video ? kTelevision : kRadio,
            name,
            address,
            id,
            genre,
            description,
            onAir ? kOnAir : kOffAir,
        };
        for (std::size_t i = 0; i < std::size(fields); ++i) {
            if (i > 0)
                result.catalogue += ',';
            result.catalogue += fields[i];
        }
        result.catalogue += '\n';
        ++result.imported;
        result.videoStations += video;
        result.offAir += !onAir;
    }
    return result;
}

}
