#pragma once

#include "Catalogue.h"

#include <string>
#include <string_view>

namespace stationserver {

// The text in catalogue lines that stands for the server's own base URL.
inline constexpr std::string_view kServerPlaceholder = "{server}";

// The station list exactly as the program reads it: the header line first,
// then one line per channel, each in UTF-16LE and ended by CR LF, with no
// byte-order mark. Every "{server}" in a line becomes serverBaseUrl.
std::string BuildStationList(const Catalogue& catalogue, std::string_view serverBaseUrl);

}
