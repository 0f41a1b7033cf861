#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace stationserver {

// The fields of one station of the Radio Browser directory that the sync
// selects by and makes catalogue lines of; every other field of the
// directory's answers is dropped while they are read. A record of the
// directory's change list carries only some of them: Has() tells which.
struct DirectoryStation {
    std::string stationuuid;
    std::string changeuuid;
    std::string lastchangetime;
    std::string name;
    std::string url;
    std::string urlResolved;
    std::string tags;
    std::string country;
    std::string countrycode;
    std::string language;
    std::string codec;
    std::int64_t votes = 0;
    std::int64_t clickcount = 0;
    std::int64_t lastcheckok = 0;
    std::uint32_t present = 0;  // one bit per field read, in the order of the field table

    // Sets the field the directory names key, when it is one of those kept,
    // from a text or a number; other keys are ignored.
    void SetText(std::string_view key, std::string value);
    void SetNumber(std::string_view key, std::int64_t value);
    bool Has(std::string_view key) const;

    // Takes every field the change carries. A new stream address makes the
    // address the directory resolved from the old one meaningless, so it
    // goes unless the change brings its own.
    void Merge(const DirectoryStation& change);

    // The fields read, under the directory's own names.
    nlohmann::json ToJson() const;
};

}
