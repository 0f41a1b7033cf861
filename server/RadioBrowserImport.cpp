#include "RadioBrowserImport.h"

#include "CatalogueText.h"
#include "JsonArrayReader.h"

#include <algorithm>
#include <array>
#include <streambuf>
#include <unordered_set>
#include <vector>

namespace stationserver {
namespace {

using Json = nlohmann::json;

constexpr std::string_view kPreamble = "# Stations of the Radio Browser directory (radio-browser.info), imported by\n"
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
// dropped while the dump is read.
constexpr std::array<std::string_view, 10> kUsedFields{
    "name", "url_resolved", "url", "stationuuid", "tags", "country", "countrycode", "language", "codec", "lastcheckok"};

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

// Adds each station of a dump, as it is read, to the catalogue.
class CatalogueBuilder
{
public:
    CatalogueBuilder() { m_result.catalogue = std::string(kPreamble) + std::string(kHeader) + "\n"; }

    void Add(const Json& station);
    ImportResult Result(std::size_t fieldsTooLarge)
    {
        m_result.fieldsTooLarge = fieldsTooLarge;
        return std::move(m_result);
    }

private:
    ImportResult m_result;
    std::unordered_set<std::string> m_ids;
};

void CatalogueBuilder::Add(const Json& station)
{
    if (!station.is_object()) {
        ++m_result.notStations;
        return;
    }
    const std::string name = CatalogueFieldText(Text(station, "name"));
    if (name.empty()) {
        ++m_result.withoutName;
        return;
    }
    const std::string address = StreamAddress(station);
    if (address.empty()) {
        ++m_result.withoutWebAddress;
        return;
    }
    const std::string id = CatalogueFieldText(Text(station, "stationuuid"));
    if (!id.empty() && !m_ids.insert(id).second) {
        ++m_result.duplicateIds;
        return;
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
        video ? kTelevision : kRadio, name, address, id, genre, description, onAir ? kOnAir : kOffAir,
    };
    std::string& catalogue = m_result.catalogue;
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        if (i > 0)
            catalogue += ',';
        catalogue += fields[i];
    }
    catalogue += '\n';
    ++m_result.imported;
    m_result.videoStations += video;
    m_result.offAir += !onAir;
}

// A read-only stream over text in memory, without a copy of it.
class MemoryBuffer : public std::streambuf
{
public:
    explicit MemoryBuffer(std::string_view text)
    {
        char* begin = const_cast<char*>(text.data());
        setg(begin, begin, begin + text.size());
    }
};

}

ImportResult ImportRadioBrowserStations(std::istream& json, const std::string& sourceName)
{
    JsonArrayReader stations(json, [](std::string_view field) {
        return std::find(kUsedFields.begin(), kUsedFields.end(), field) != kUsedFields.end();
    });
    CatalogueBuilder builder;
    try {
        for (Json station; stations.Next(station);)
            builder.Add(station);
    } catch (const JsonSyntaxError& error) {
        throw ImportError(sourceName + ": not valid JSON: " + error.what());
    } catch (const JsonNotAnArray& error) {
        throw ImportError(sourceName + ": not a list of stations (the JSON text is " + error.what() +
                          ", where an array of station objects is needed)");
    }
    return builder.Result(stations.FieldsTooLarge());
}

ImportResult ImportRadioBrowserStations(std::string_view json, const std::string& sourceName)
{
    MemoryBuffer buffer(json);
    std::istream input(&buffer);
    return ImportRadioBrowserStations(input, sourceName);
}

}
