#pragma once

#include <cstddef>
#include <istream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace stationserver {

// A station dump the import cannot read at all; what() says why.
class ImportError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// What one import made of a Radio Browser station dump: the catalogue text
// and how many records went where.
struct ImportResult {
    std::string catalogue;
    std::size_t imported = 0;
    std::size_t videoStations = 0;
    std::size_t offAir = 0;
    std::size_t withoutName = 0;
    std::size_t withoutWebAddress = 0;
    std::size_t duplicateIds = 0;
    std::size_t notStations = 0;
    // Fields left out, their records kept, for holding a number too large
    // to read.
    std::size_t fieldsTooLarge = 0;
};

// Turns a JSON array of Radio Browser station objects (as its API answers
// /json/stations and its searches) into a catalogue: one channel a line,
// Radio (TV when the directory found a video codec in the stream), the
// name, the resolved stream address, the station's id, its first tags as
// genre, country and language as description, and ON or OFF from the
// directory's last check. Records without a name, without an http or https
// address with a host, or repeating an earlier id are skipped and counted.
// The text is read a record at a time (see JsonArrayReader), so a dump of
// the whole directory needs the memory of its catalogue and little more.
// sourceName only names the dump in messages. Throws ImportError when the
// text is not a JSON array.
ImportResult ImportRadioBrowserStations(std::istream& json, const std::string& sourceName);

// The same for a dump already in memory.
ImportResult ImportRadioBrowserStations(std::string_view json, const std::string& sourceName);

}
