#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace stationserver {

// A fault that the station list answers with, chosen for a whole run so
// that tests can meet a misbehaving server.
struct Fault {
    enum class Kind {
        None,
        Delay,  // wait delayMilliseconds, then answer normally
        Status,  // answer with status (404, 500, ...) instead of the list
        CloseMidBody,  // announce the whole list, send half, close
        EndlessBody,  // send the list over and over, never ending
        StalledBody,  // announce the whole list, send half, then nothing
        OversizedBody,  // a 65 MiB body
    };
    Kind kind = Kind::None;
    int delayMilliseconds = 0;
    int status = 0;
};

// Reads "none", "delay=MS", "status=CODE" (400-599), "close-mid-body",
// "endless-body", "stalled-body" or "oversized-body"; nothing when the text
// is none of them.
std::optional<Fault> ParseFault(std::string_view text);

// The accepted forms, for --help and messages.
inline constexpr std::string_view kFaultForms =
    "none, delay=MS, status=404, status=500, close-mid-body, endless-body, stalled-body, oversized-body";

}
