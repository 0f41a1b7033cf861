#pragma once

#include "DirectoryStation.h"
#include "SyncSettings.h"

#include <chrono>
#include <cstddef>
#include <ostream>
#include <string>
#include <unordered_map>
#include <vector>

namespace stationserver {

class DirectoryClient;
class DirectoryServers;
struct StationCache;

// Exit statuses of a sync.
enum SyncExit {
    kSyncDone = 0,
    kSyncNotWritten = 1,
    kSyncBadInput = 2,
    kSyncDirectoryFailed = 3,
    kSyncRefused = 4,
};

// One sync of the catalogue with the Radio Browser directory: reads the
// stations the filters select (all of them, or only the changes since the
// last sync when the cache allows), makes the catalogue of them and puts
// it in place of the current one, keeping that one beside it. A sync that
// fails, or whose catalogue would be much smaller than the current one,
// leaves both the catalogue and the cache as they were and says why. The
// changes go to out on a dry run; the counts and every problem go to log.
class DirectorySync
{
public:
    DirectorySync(SyncSettings settings, DirectoryServers& servers, std::ostream& out, std::ostream& log);

    // The exit status (SyncExit).
    int Run();

private:
    struct Counts {
        std::size_t notMatching = 0;
        std::size_t notWorking = 0;
        std::size_t withoutId = 0;
        std::size_t notStations = 0;
        std::size_t beyondMaximum = 0;
        std::size_t otherChanges = 0;
    };

    void FetchAll(DirectoryClient& client);
    void FetchChanges(DirectoryClient& client, StationCache& cache);
    // Keeps the station when it is in the selection, drops it otherwise;
    // true when it is kept.
    bool Take(DirectoryStation&& station, bool merge);
    std::vector<DirectoryStation> Selected();
    // Makes the catalogue of the selected stations and puts it in place of
    // the current one, or prints how it differs on a dry run, unless it
    // is refused. The summary goes to the log. Returns the exit status.
    int Publish(std::string current, const std::vector<DirectoryStation>& selected, bool incremental,
                const DirectoryClient& client, std::chrono::steady_clock::time_point started);
    std::string SearchPath(const std::string& countryCode, std::size_t offset) const;

    SyncSettings m_settings;
    DirectoryServers& m_servers;
    std::ostream& m_out;
    std::ostream& m_log;
    std::unordered_map<std::string, DirectoryStation> m_stations;
    Counts m_counts;
    std::string m_lastChangeUuid;
    std::string m_lastChangeTime;
    bool m_requestsRanOut = false;
};

}
