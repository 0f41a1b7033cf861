#pragma once

#include "MediaTiming.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace stationserver {

// Ogg Vorbis: the run of whole pages from the start; the playing time is
// the highest granule position over the identification header's sample
// rate.
std::optional<MediaTiming> ProbeOggVorbis(std::string_view data);

// A copy of Ogg data with every page's stream serial number XORed with
// serialMask and its checksum computed afresh. Looping an Ogg file chains it
// to itself, and each link of a chain must have serial numbers of its own,
// or players may take the new link's headers for data of the old one.
std::string WithSerialMask(std::string_view data, std::uint32_t serialMask);

}
