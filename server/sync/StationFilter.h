#pragma once

#include "DirectoryStation.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace stationserver {

enum class StationOrder { Clicks, Votes };

// Which of the directory's stations the catalogue holds. A station passes
// when the directory's last check found it working and it matches every
// filter that is set: one of the country codes, one of the languages, one
// of the tags, the codec (of its audio), at least the votes and clicks.
// Of those, the most played (or most voted for) are kept, up to
// maxStations (0: all).
struct StationFilter {
    std::vector<std::string> countryCodes;
    std::vector<std::string> languages;
    std::vector<std::string> tags;
    std::string codec;
    std::int64_t minVotes = 0;
    std::int64_t minClicks = 0;
    std::size_t maxStations = 0;
    StationOrder order = StationOrder::Clicks;

    static bool Working(const DirectoryStation& station);
    bool Matches(const DirectoryStation& station) const;
    // The value the stations are ordered by, most first.
    std::int64_t OrderValue(const DirectoryStation& station) const;
    // The least order value a matching station can have.
    std::int64_t OrderMinimum() const;
    // The directory's name of the order ("clickcount", "votes").
    std::string OrderField() const;

    // The filters as one text: a cache made under others is not used.
    std::string Signature() const;
};

// The lower-case items of a comma-separated list, trimmed; empty ones left out.
std::vector<std::string> ListItems(const std::string& list);

}
