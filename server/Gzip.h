#pragma once

#include <string>
#include <string_view>

namespace stationserver {

// The bytes compressed into the gzip format (RFC 1952), as an answer with
// Content-Encoding: gzip carries them. Throws std::runtime_error when zlib
// fails.
std::string GzipCompressed(std::string_view bytes);

}
