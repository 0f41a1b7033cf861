#pragma once

#include <string_view>
#include <utility>
#include <vector>

namespace stationserver {

// The channel lines of a catalogue: neither comments, blank lines nor the
// header, without line ends. They point into the catalogue's text.
std::vector<std::string_view> ChannelLines(std::string_view catalogue);

// How one catalogue's channels differ from another's, matched by their id
// (the fourth field; a channel without one by its whole line).
struct CatalogueChanges {
    std::vector<std::string_view> added;
    std::vector<std::string_view> removed;
    std::vector<std::pair<std::string_view, std::string_view>> changed;  // before, after

    // The changes point into the lines' texts.
    static CatalogueChanges Between(const std::vector<std::string_view>& before,
                                    const std::vector<std::string_view>& after);
};

}
