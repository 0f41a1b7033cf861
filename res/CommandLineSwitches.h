#pragma once

// The program's command-line switches: the command line reads them, and the
// entry that starts the program at log-in writes them.
namespace CommandLine {

// The switch that starts the program hidden, anywhere in the command line.
inline constexpr char kSilentSwitch[] = ":silent";

}
