#include "StationFilter.h"

#include <algorithm>
#include <cctype>

namespace stationserver {
namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool Contains(const std::vector<std::string>& wanted, const std::string& item)
{
    return std::find(wanted.begin(), wanted.end(), item) != wanted.end();
}

// True when no item is wanted, or one of the station's items is.
bool AnyWanted(const std::vector<std::string>& wanted, const std::string& list)
{
    if (wanted.empty())
        return true;
    const std::vector<std::string> items = ListItems(list);
    return std::any_of(items.begin(), items.end(), [&](const std::string& item) { return Contains(wanted, item); });
}

std::string Joined(const std::vector<std::string>& items)
{
    std::string joined;
    for (const std::string& item : items)
        joined += (joined.empty() ? "" : ",") + item;
    return joined;
}

}

std::vector<std::string> ListItems(const std::string& list)
{
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(',', start);
        if (comma == std::string::npos)
            comma = list.size();
        std::string item = list.substr(start, comma - start);
        const std::size_t first = item.find_first_not_of(" \t");
        const std::size_t last = item.find_last_not_of(" \t");
        if (first != std::string::npos)
            items.push_back(Lower(item.substr(first, last - first + 1)));
        start = comma + 1;
    }
    return items;
}

bool StationFilter::Working(const DirectoryStation& station)
{
    return station.lastcheckok == 1;
}

bool StationFilter::Matches(const DirectoryStation& station) const
{
    if (!countryCodes.empty() && !Contains(countryCodes, Lower(station.countrycode)))
        return false;
    if (!codec.empty() && Lower(station.codec.substr(0, station.codec.find(','))) != codec)
        return false;
    return AnyWanted(languages, station.language) && AnyWanted(tags, station.tags) && station.votes >= minVotes &&
        station.clickcount >= minClicks;
}

std::int64_t StationFilter::OrderValue(const DirectoryStation& station) const
{
    return order == StationOrder::Votes ? station.votes : station.clickcount;
}

std::int64_t StationFilter::OrderMinimum() const
{
    return order == StationOrder::Votes ? minVotes : minClicks;
}

std::string StationFilter::OrderField() const
{
    return order == StationOrder::Votes ? "votes" : "clickcount";
}

std::string StationFilter::Signature() const
{
    return "country=" + Joined(countryCodes) + ";language=" + Joined(languages) + ";tag=" + Joined(tags) +
        ";codec=" + codec + ";min-votes=" + std::to_string(minVotes) + ";min-clicks=" + std::to_string(minClicks) +
        ";max-stations=" + std::to_string(maxStations) + ";order=" + OrderField();
}

}
