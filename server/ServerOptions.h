#pragma once

#include "Fault.h"
#include "StreamSettings.h"

#include <optional>
#include <string>

namespace stationserver {

// How this run of the server is set up, from the command line.
struct ServerOptions {
    std::string listenAddress = "127.0.0.1";
    int stationPort = 8580;
    int musicPort = 8581;
    int promoPort = 8582;
    std::string catalogueFile;
    std::string mediaFolder;
    std::string requestLogFile;
    std::string readyFile;
    Fault fault;
    StreamSettings streams;
    int connectionThreads = 300;
    int headerTimeoutSeconds = 10;
    int connectionsPerAddress = 32;
};

// The outcome of reading the command line: options to run with, or a text
// to print (the help on stdout, an error on stderr) and the exit code.
struct CommandLine {
    std::optional<ServerOptions> options;
    std::string message;
    int exitCode = 0;
};

// Reads the command line; defaults is what an option not given keeps.
CommandLine ParseCommandLine(int argc, const char* const* argv, const ServerOptions& defaults);

}
