#pragma once

#include <chrono>

namespace stationserver {

// How the demo streams behave, the same for every mount.
struct StreamSettings {
    // Sent at once when a listener connects, so that players start quickly.
    std::chrono::seconds burst{2};
    // Stream time between two changes of the announced title.
    std::chrono::seconds titleInterval{10};
    // Every stream connection is closed after this long; zero never.
    std::chrono::seconds dropAfter{0};
    // Seconds of stream sent in each second after the burst: 1 is real
    // time; more lets a test hear hours of a station in minutes.
    int speed = 1;
};

}
