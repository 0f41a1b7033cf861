#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace stationserver {

// The channel lines of a catalogue: neither comments, blank lines nor the
// header, without line ends.
std::vector<std::string> ChannelLines(std::string_view catalogue);

// How one catalogue's channels differ from another's, matched by their id
// (the fourth field; a channel without one by its whole line).
struct CatalogueChanges {
    std::vector<std::string> added;
    std::vector<std::string> removed;
    std::vector<std::pair<std::string, std::string>> changed;  // before, after

    static CatalogueChanges Between(const std::vector<std::string>& before, const std::vector<std::string>& after);
};

}
