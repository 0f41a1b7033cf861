#pragma once

namespace stationserver {

// kestrel-station-server import FILE.json [--catalogue OUT]: makes a
// catalogue of the stations in a Radio Browser dump. arguments are those
// after "import". Returns the exit status.
int RunImport(int argumentCount, const char* const* arguments);

}
