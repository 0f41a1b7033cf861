#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace stationserver {

// How the sync asks the directory for anything: who it says it is, and how
// long and how large an answer may be before it is given up.
struct HttpLimits {
    std::string userAgent;
    std::chrono::milliseconds deadline{std::chrono::seconds(120)};
    std::chrono::milliseconds connectDeadline{std::chrono::seconds(15)};
    std::size_t maxBytes = std::size_t{512} << 20;
};

}
