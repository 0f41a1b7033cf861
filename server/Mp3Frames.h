#pragma once

#include "MediaTiming.h"

#include <optional>
#include <string_view>

namespace stationserver {

// MPEG audio layer III: the run of whole frames after any ID3v2 tag and
// before anything else (a trailing tag, a truncated frame); the playing
// time is the sum of the frames'. Frames loop without a seam.
std::optional<MediaTiming> ProbeMp3(std::string_view data);

}
