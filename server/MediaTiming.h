#pragma once

#include <cstddef>

namespace stationserver {

// Where the playable part of a media file lies and how long it plays: what
// a stream needs to loop the file and to pace it at its own bit rate.
struct MediaTiming {
    std::size_t begin = 0;  // first byte to loop
    std::size_t end = 0;  // one past the last byte to loop
    double seconds = 0;  // playing time of [begin, end)

    double BytesPerSecond() const { return static_cast<double>(end - begin) / seconds; }
};

}
