#pragma once

namespace stationserver {

// SIGTERM and SIGINT are taken by one waiting thread instead of a signal
// handler, so that shutdown runs as ordinary code. Call before any other
// thread starts, so that every thread inherits the blocked mask; this also
// makes writes to a closed connection fail instead of raising SIGPIPE.
void BlockTerminationSignals();

// Waits for SIGTERM or SIGINT and returns its number.
int WaitForTerminationSignal();

}
