#pragma once

namespace stationserver {

// kestrel-station-server sync --catalogue OUT [options]: keeps the
// catalogue in step with the Radio Browser directory. arguments are those
// after "sync". Returns the exit status.
int RunSync(int argumentCount, const char* const* arguments);

}
