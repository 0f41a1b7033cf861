#pragma once

#include "DirectoryStation.h"

#include <ctime>
#include <stdexcept>
#include <string>
#include <vector>

namespace stationserver {

// A cache file that cannot be used; what() says why.
class StationCacheError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The directory's stations the last good sync kept, with what the next
// sync needs to ask the directory only for what changed since: the last
// change it has seen, when it last read the whole selection, and under
// which filters.
struct StationCache {
    std::string filterSignature;
    std::string lastChangeUuid;
    std::time_t fullSyncTime = 0;
    std::vector<DirectoryStation> stations;

    // Throws StationCacheError when the file is missing or unreadable.
    static StationCache Read(const std::string& path);
    // Whole or not at all. Throws FileWriteError.
    void Write(const std::string& path) const;
};

}
