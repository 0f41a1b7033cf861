#pragma once

#include "DirectoryStation.h"

#include <cstddef>
#include <string>
#include <vector>

namespace stationserver {

// A catalogue made of the directory's stations by the import's own
// conversion, and the import's counts of the records it skipped.
struct SyncedCatalogue {
    std::string text;
    std::size_t channels = 0;
    std::size_t withoutName = 0;
    std::size_t withoutWebAddress = 0;
    std::size_t duplicateIds = 0;

    // The stations, in their order. They are converted a batch at a time
    // so that the conversion needs little memory beside the catalogue.
    static SyncedCatalogue Make(const std::vector<DirectoryStation>& stations, const std::string& sourceName);
};

}
