#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace stationserver {

// A file that could not be written; what() names it and says why.
class FileWriteError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Throws FileWriteError unless path names a regular file or nothing: a
// symbolic link, a FIFO, a device, a socket or a folder is never replaced.
void CheckReplaceable(const std::string& path);

// Writes the file whole or not at all: the contents go to a new file beside
// it, which is flushed to disk and then renamed over it, so that a reader
// sees either the old file or the new one and a failed write leaves the old
// one as it was. An existing file keeps its permissions. Only a regular
// file or a new path is written (CheckReplaceable). Throws FileWriteError.
void WriteFileAtomically(const std::string& path, std::string_view contents);

}
