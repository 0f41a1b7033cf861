#pragma once

#include "DirectoryStation.h"

#include <cstddef>
#include <functional>
#include <istream>
#include <stdexcept>
#include <string>

namespace stationserver {

// Text that is not a JSON array of station objects; what() says why.
class StationListError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Reads a JSON array of Radio Browser station objects as it arrives,
// keeping only the fields of DirectoryStation, so that an answer of any
// size needs memory for one station at a time. Each station goes to
// onStation as soon as its object has ended.
class StationListReader
{
public:
    using StationHandler = std::function<void(DirectoryStation&&)>;

    explicit StationListReader(StationHandler onStation);

    // Reads the whole text; throws StationListError when it is not a JSON
    // array (or ends before the array does).
    void Read(std::istream& text);

    // Elements of the array that were not objects.
    std::size_t NotStations() const { return m_notStations; }

private:
    StationHandler m_onStation;
    std::size_t m_notStations = 0;
};

}
