#pragma once

#include "HttpLimits.h"
#include "StationFilter.h"

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace stationserver {

// How one sync runs: from the command line and the filter file.
struct SyncSettings {
    std::string catalogueFile;
    // Default: beside the catalogue.
    std::string cacheFile;
    // Servers to ask instead of finding the directory's own.
    std::vector<std::string> directories;
    StationFilter filter;
    HttpLimits http;
    // Stations asked for in one request.
    std::size_t pageSize = 10000;
    std::chrono::milliseconds pause{std::chrono::seconds(2)};
    std::size_t maxRequests = 50;
    // A new catalogue with fewer than this share of the current one's
    // channels is refused, unless forced.
    double minFraction = 0.5;
    // Between two reads of the whole selection, only the changes are asked for.
    std::chrono::hours fullEvery{24 * 7};
    bool dryRun = false;
    bool forceFull = false;
    bool forceSmaller = false;

    std::string CacheFile() const { return cacheFile.empty() ? catalogueFile + ".cache" : cacheFile; }
    std::string PreviousCatalogueFile() const { return catalogueFile + ".previous"; }
};

}
