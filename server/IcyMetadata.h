#pragma once

#include <string>
#include <string_view>

namespace stationserver {

// Audio bytes between two metadata blocks, announced as icy-metaint.
inline constexpr int kIcyMetaInterval = 16000;

// A SHOUTcast/Icecast metadata block: one length byte counting 16-byte
// units, then "StreamTitle='...';" padded with NULs to that length. An empty
// title gives the one-byte block that means "no change". The title must not
// contain a quote and must fit in 255 units.
std::string IcyMetadataBlock(std::string_view streamTitle);

// The title that the demo streams announce for their n-th track (from 1).
std::string DemoTrackTitle(long long track);

}
