#pragma once

#include "DirectoryStation.h"
#include "HttpLimits.h"
#include "StationListReader.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace stationserver {

// No server of the directory gave a whole, readable answer; what() says
// what the last one did.
class DirectoryError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// What one answer held.
struct DirectoryAnswer {
    std::size_t stations = 0;
    std::size_t notStations = 0;
};

// Asks the directory's servers, as the directory wants its clients to: a
// request that fails goes to the next server, which then answers the
// requests that follow; every request waits the pause after the one
// before; and no more than maxRequests are made in all.
class DirectoryClient
{
public:
    DirectoryClient(std::vector<std::string> baseUrls, HttpLimits limits, std::chrono::milliseconds pause,
                    std::size_t maxRequests, std::ostream& log);

    // Hands each station of the answer to GET pathAndQuery to onStation
    // as it arrives. When a server fails mid-answer, onRetry is called and
    // the next server's answer is handed over from its start, so onStation
    // must take a station twice as once. Throws DirectoryError.
    DirectoryAnswer Get(const std::string& pathAndQuery, const StationListReader::StationHandler& onStation,
                        const std::function<void()>& onRetry);

    bool MayAskAgain() const { return m_requests < m_maxRequests; }
    std::size_t Requests() const { return m_requests; }
    std::size_t ReceivedStations() const { return m_receivedStations; }
    // The server that answered last.
    const std::string& Server() const;

private:
    DirectoryAnswer GetFrom(const std::string& url, const StationListReader::StationHandler& onStation);

    std::vector<std::string> m_baseUrls;
    HttpLimits m_limits;
    std::chrono::milliseconds m_pause;
    std::size_t m_maxRequests;
    std::ostream& m_log;
    std::size_t m_server = 0;
    std::size_t m_requests = 0;
    std::size_t m_receivedStations = 0;
};

}
