#pragma once

#include "Catalogue.h"

#include <memory>
#include <string>
#include <string_view>

namespace stationserver {

// The station list ready to go out as it is, in both the encodings the
// server sends: the bytes the program reads and the same bytes gzipped,
// each with a strong entity tag that changes whenever the bytes do.
struct EncodedStationList {
    std::string identity;
    std::string gzip;
    std::string identityTag;
    std::string gzipTag;
};

// Encodes the catalogue's station list once (see BuildStationList), for
// every request that follows to share.
std::shared_ptr<const EncodedStationList> EncodeStationList(const Catalogue& catalogue, std::string_view serverBaseUrl);

}
