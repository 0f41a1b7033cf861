#pragma once

#include <chrono>

namespace stationserver {

// What the signals the server heeds ask of it: SIGTERM and SIGINT to stop,
// SIGHUP to read its catalogue again.
enum class ControlSignal { None, Stop, Reload };

// The signals are taken by the main thread, which waits for them, instead
// of a signal handler, so that what they ask runs as ordinary code. Call
// before any other thread starts, so that every thread inherits the blocked
// mask; this also makes writes to a closed connection fail instead of
// raising SIGPIPE.
void BlockControlSignals();

// Waits up to timeout for one of the signals; None when none came.
ControlSignal WaitForControlSignal(std::chrono::milliseconds timeout);

}
