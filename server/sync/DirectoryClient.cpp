#include "DirectoryClient.h"

#include "HttpBodyStream.h"

#include <istream>
#include <thread>

namespace stationserver {
namespace {

constexpr char kProgram[] = "kestrel-station-server: ";

}

DirectoryClient::DirectoryClient(std::vector<std::string> baseUrls, HttpLimits limits, std::chrono::milliseconds pause,
                                 std::size_t maxRequests, std::ostream& log)
    : m_baseUrls(std::move(baseUrls))
    , m_limits(std::move(limits))
    , m_pause(pause)
    , m_maxRequests(maxRequests)
    , m_log(log)
{
}

const std::string& DirectoryClient::Server() const
{
    static const std::string none;
    return m_baseUrls.empty() ? none : m_baseUrls[m_server];
}

DirectoryAnswer DirectoryClient::Get(const std::string& pathAndQuery,
                                     const StationListReader::StationHandler& onStation,
                                     const std::function<void()>& onRetry)
{
    if (m_baseUrls.empty())
        throw DirectoryError("no server of the directory to ask");
    std::string failure;
    for (std::size_t tried = 0; tried < m_baseUrls.size(); ++tried) {
        if (!MayAskAgain())
            throw DirectoryError(failure + (failure.empty() ? "" : "; ") + "no request left of the " +
                                 std::to_string(m_maxRequests) + " allowed (max-requests)");
        if (m_requests > 0)
            std::this_thread::sleep_for(m_pause);
        if (tried > 0)
            onRetry();
        ++m_requests;
        try {
            const DirectoryAnswer answer = GetFrom(m_baseUrls[m_server] + pathAndQuery, onStation);
            m_receivedStations += answer.stations;
            return answer;
        } catch (const DirectoryError& error) {
            failure = error.what();
            const bool another = tried + 1 < m_baseUrls.size();
            if (another)
                m_log << kProgram << "sync: " << failure << "; trying the next server\n";
            m_server = (m_server + 1) % m_baseUrls.size();
        }
    }
    throw DirectoryError(m_baseUrls.size() == 1 ? failure
                                                : "no server of the directory answered; the last: " + failure);
}

DirectoryAnswer DirectoryClient::GetFrom(const std::string& url, const StationListReader::StationHandler& onStation)
{
    DirectoryAnswer answer;
    HttpBodyStream body(url, m_limits);
    std::istream text(&body);
    StationListReader reader([&](DirectoryStation&& station) {
        ++answer.stations;
        onStation(std::move(station));
    });
    try {
        reader.Read(text);
    } catch (const StationListError& error) {
        // A transfer cut short or given up explains a text that ends early.
        const std::string failure = body.Ended() ? body.Failure() : std::string();
        throw DirectoryError(failure.empty() ? url + ": " + error.what() : failure);
    }
    const std::string failure = body.Failure();
    if (!failure.empty())
        throw DirectoryError(failure);
    answer.notStations = reader.NotStations();
    return answer;
}

}
