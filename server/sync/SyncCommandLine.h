#pragma once

#include "SyncSettings.h"

#include <optional>
#include <string>

namespace stationserver {

// The outcome of reading the sync's command line and filter file: settings
// to sync with, or a text to print (the help on stdout, an error on
// stderr) and the exit status.
struct SyncCommandLine {
    std::optional<SyncSettings> settings;
    std::string message;
    int exitCode = 0;
};

// Reads the arguments after "sync", and the filter file --config names.
// The command line wins over the file.
SyncCommandLine ParseSyncCommandLine(int argumentCount, const char* const* arguments);

}
