#include "DirectorySync.h"

#include "AtomicFile.h"
#include "CatalogueChanges.h"
#include "DirectoryClient.h"
#include "DirectoryServers.h"
#include "StationCache.h"
#include "SyncedCatalogue.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <tuple>

namespace stationserver {
namespace {

constexpr char kProgram[] = "kestrel-station-server: ";
constexpr char kSearchPath[] = "/json/stations/search";
constexpr char kChangesPath[] = "/json/stations/changed";

// A text fit for a query's value: all but the unreserved characters
// percent-encoded.
std::string QueryValue(std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '-' || c == '_' || c == '.' || c == '~') {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0xF];
        }
    }
    return encoded;
}

// The catalogue being served, or nothing when there is none yet. Throws
// FileWriteError when it is there but cannot be read, as a sync that
// cannot compare with it must not replace it.
std::string CurrentCatalogue(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return {};
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    if (!file || !(text << file.rdbuf()))
        throw FileWriteError(path + ": cannot be read: " + std::strerror(errno));
    return text.str();
}

std::string Seconds(std::chrono::steady_clock::duration taken)
{
    std::ostringstream text;
    text << std::fixed << std::setprecision(1) << std::chrono::duration<double>(taken).count();
    return text.str();
}

}

DirectorySync::DirectorySync(SyncSettings settings, DirectoryServers& servers, std::ostream& out, std::ostream& log)
    : m_settings(std::move(settings))
    , m_servers(servers)
    , m_out(out)
    , m_log(log)
{
}

std::string DirectorySync::SearchPath(const std::string& countryCode, std::size_t offset) const
{
    const StationFilter& filter = m_settings.filter;
    std::string path = std::string(kSearchPath) + "?hidebroken=true&order=" + filter.OrderField() +
        "&reverse=true&offset=" + std::to_string(offset) + "&limit=" + std::to_string(m_settings.pageSize);
    if (!countryCode.empty())
        path += "&countrycode=" + QueryValue(countryCode);
    // With several languages or tags the directory's search cannot say
    // "one of", so it is asked for all and the filter is applied here.
    if (filter.languages.size() == 1)
        path += "&language=" + QueryValue(filter.languages.front());
    if (filter.tags.size() == 1)
        path += "&tag=" + QueryValue(filter.tags.front());
    return path;
}

bool DirectorySync::Take(DirectoryStation&& station, bool merge)
{
    if (station.stationuuid.empty()) {
        ++m_counts.withoutId;
        return false;
    }
    const auto known = m_stations.find(station.stationuuid);
    if (merge) {
        // A change carries only some fields (no check, no clicks): it can
        // alter or drop a station of the selection, but not add one.
        if (known == m_stations.end()) {
            ++m_counts.otherChanges;
            return false;
        }
        known->second.Merge(station);
        station = std::move(known->second);
    }
    const bool working = StationFilter::Working(station);
    const bool matching = m_settings.filter.Matches(station);
    if (working && matching) {
        std::string id = station.stationuuid;
        m_stations.insert_or_assign(std::move(id), std::move(station));
        return true;
    }
    m_counts.notWorking += !working;
    m_counts.notMatching += working && !matching;
    if (known != m_stations.end())
        m_stations.erase(known);
    return false;
}

void DirectorySync::FetchAll(DirectoryClient& client)
{
    const StationFilter& filter = m_settings.filter;
    std::vector<std::string> countryCodes = filter.countryCodes;
    if (countryCodes.empty())
        countryCodes.emplace_back();
    for (const std::string& countryCode : countryCodes) {
        std::size_t kept = 0;
        for (std::size_t offset = 0;; offset += m_settings.pageSize) {
            if (!client.MayAskAgain()) {
                m_requestsRanOut = true;
                return;
            }
            // A server that fails mid-answer hands its part over again from
            // the next one: what its part added up is counted once.
            const Counts countsBefore = m_counts;
            const std::size_t keptBefore = kept;
            std::int64_t lastOrderValue = 0;
            const auto onStation = [&](DirectoryStation&& station) {
                lastOrderValue = filter.OrderValue(station);
                // The latest change of any station read: the next sync asks
                // for the changes after it.
                if (!station.changeuuid.empty() && station.lastchangetime >= m_lastChangeTime) {
                    m_lastChangeTime = station.lastchangetime;
                    m_lastChangeUuid = station.changeuuid;
                }
                kept += Take(std::move(station), false);
            };
            const auto onRetry = [&] {
                m_counts = countsBefore;
                kept = keptBefore;
            };
            const DirectoryAnswer answer = client.Get(SearchPath(countryCode, offset), onStation, onRetry);
            m_counts.notStations += answer.notStations;
            // The answer comes ordered, most played first: once a station is
            // below the least wanted, so are all that follow.
            const bool belowMinimum = answer.stations > 0 && lastOrderValue < filter.OrderMinimum();
            const bool enough = filter.maxStations > 0 && kept >= filter.maxStations;
            if (answer.stations < m_settings.pageSize || enough || belowMinimum)
                break;
        }
    }
}

void DirectorySync::FetchChanges(DirectoryClient& client, StationCache& cache)
{
    for (DirectoryStation& station : cache.stations) {
        std::string id = station.stationuuid;
        m_stations.insert_or_assign(std::move(id), std::move(station));
    }
    cache.stations.clear();
    m_lastChangeUuid = cache.lastChangeUuid;
    for (;;) {
        if (!client.MayAskAgain()) {
            m_requestsRanOut = true;
            return;
        }
        // The changes come oldest first: the next page starts after the
        // last one of this page, whatever its time says. A change taken
        // twice, when a server fails mid-answer, changes nothing more.
        std::string lastChange = m_lastChangeUuid;
        const Counts countsBefore = m_counts;
        const auto onChange = [&](DirectoryStation&& change) {
            if (!change.changeuuid.empty())
                lastChange = change.changeuuid;
            Take(std::move(change), true);
        };
        const std::string path = std::string(kChangesPath) + "?lastchangeuuid=" + QueryValue(m_lastChangeUuid) +
            "&limit=" + std::to_string(m_settings.pageSize);
        const DirectoryAnswer answer = client.Get(path, onChange, [&] { m_counts = countsBefore; });
        m_counts.notStations += answer.notStations;
        m_lastChangeUuid = lastChange;
        if (answer.stations < m_settings.pageSize)
            return;
    }
}

std::vector<DirectoryStation> DirectorySync::Selected()
{
    std::vector<DirectoryStation> selected;
    selected.reserve(m_stations.size());
    // Each station leaves the map as it goes into the list, so that the
    // two never hold all of them at once.
    while (!m_stations.empty())
        selected.push_back(std::move(m_stations.extract(m_stations.begin()).mapped()));
    const StationFilter& filter = m_settings.filter;
    std::sort(selected.begin(), selected.end(), [&](const DirectoryStation& a, const DirectoryStation& b) {
        const std::int64_t left = filter.OrderValue(a);
        const std::int64_t right = filter.OrderValue(b);
        if (left != right)
            return left > right;
        return std::tie(a.name, a.stationuuid) < std::tie(b.name, b.stationuuid);
    });
    if (filter.maxStations > 0 && selected.size() > filter.maxStations) {
        m_counts.beyondMaximum = selected.size() - filter.maxStations;
        selected.resize(filter.maxStations);
    }
    return selected;
}

int DirectorySync::Publish(std::string current, const std::vector<DirectoryStation>& selected, bool incremental,
                           const DirectoryClient& client, std::chrono::steady_clock::time_point started)
{
    const std::string& catalogueFile = m_settings.catalogueFile;
    const std::string source = client.Server();
    const SyncedCatalogue made = SyncedCatalogue::Make(selected, source);
    const std::vector<std::string_view> before = ChannelLines(current);
    const CatalogueChanges changes = CatalogueChanges::Between(before, ChannelLines(made.text));

    std::ostringstream summary;
    summary << kProgram << "sync (" << (incremental ? "changes" : "full") << (m_settings.dryRun ? ", dry run" : "")
            << ", from " << source << "): fetched " << client.ReceivedStations() << " records in " << client.Requests()
            << (client.Requests() == 1 ? " request" : " requests") << "; kept " << made.channels << " ("
            << changes.added.size() << " added, " << changes.removed.size() << " removed, " << changes.changed.size()
            << " changed); skipped " << m_counts.notWorking << " not working at the last check, "
            << m_counts.notMatching << " not matching the filters, " << m_counts.beyondMaximum
            << " beyond max-stations, " << made.withoutName << " without a name, " << made.withoutWebAddress
            << " without an http or https address, " << m_counts.withoutId + made.duplicateIds
            << " without a station id or repeating one, " << m_counts.notStations << " that are not station objects, "
            << m_counts.otherChanges << " changes to stations outside the selection; took "
            << Seconds(std::chrono::steady_clock::now() - started) << " s\n";

    if (made.channels == 0) {
        m_log << summary.str() << kProgram << "sync refused: no station to keep; " << catalogueFile
              << " is left as it was\n";
        return kSyncRefused;
    }
    const double share = before.empty() ? 1.0 : static_cast<double>(made.channels) / static_cast<double>(before.size());
    if (share < m_settings.minFraction && !m_settings.forceSmaller) {
        m_log << summary.str() << kProgram << "sync refused: " << made.channels << " stations to keep, fewer than "
              << m_settings.minFraction << " of the " << before.size() << " in " << catalogueFile
              << ", which is left as it was (--force takes them)\n";
        return kSyncRefused;
    }

    if (m_settings.dryRun) {
        for (const std::string_view line : changes.added)
            m_out << "added:   " << line << "\n";
        for (const std::string_view line : changes.removed)
            m_out << "removed: " << line << "\n";
        for (const auto& [earlier, later] : changes.changed)
            m_out << "changed: " << earlier << "\n     to: " << later << "\n";
        m_out.flush();
        m_log << summary.str();
        return kSyncDone;
        return kSyncDone;
    }

    try {
        if (made.text != current) {
            if (!before.empty())
                WriteFileAtomically(m_settings.PreviousCatalogueFile(), current);
            WriteFileAtomically(catalogueFile, made.text);
        }
    } catch (const FileWriteError& error) {
        m_log << summary.str() << kProgram << "sync: " << error.what() << "; " << catalogueFile
              << " is left as it was\n";
        return kSyncNotWritten;
    }
    m_log << summary.str();
    return kSyncDone;
}

int DirectorySync::Run()
{
    const auto started = std::chrono::steady_clock::now();
    const std::string& catalogueFile = m_settings.catalogueFile;

    std::string current;
    try {
        current = CurrentCatalogue(catalogueFile);
    } catch (const FileWriteError& error) {
        m_log << kProgram << "sync: " << error.what() << "; nothing synced\n";
        return kSyncNotWritten;
    }

    StationCache cache;
    bool incremental = false;
    if (!m_settings.forceFull) {
        try {
            cache = StationCache::Read(m_settings.CacheFile());
            const auto age =
                std::chrono::system_clock::now() - std::chrono::system_clock::from_time_t(cache.fullSyncTime);
            incremental = cache.filterSignature == m_settings.filter.Signature() && !cache.lastChangeUuid.empty() &&
                age < m_settings.fullEvery;
        } catch (const StationCacheError& error) {
            if (std::filesystem::exists(m_settings.CacheFile()))
                m_log << kProgram << "sync: the cache is not used: " << error.what() << "\n";
        }
    }
    if (!incremental)
        cache.stations.clear();

    std::string problem;
    std::vector<std::string> servers = m_servers.BaseUrls(problem);
    if (servers.empty()) {
        m_log << kProgram << "sync failed: " << problem << "; " << catalogueFile << " is left as it was\n";
        return kSyncDirectoryFailed;
    }
    DirectoryClient client(std::move(servers), m_settings.http, m_settings.pause, m_settings.maxRequests, m_log);
    try {
        if (incremental) {
            try {
                FetchChanges(client, cache);
            } catch (const DirectoryError& error) {
                // The directory may no longer know the last change seen (its
                // history is not kept for ever): all stations are read instead.
                m_log << kProgram << "sync: the changes could not be read (" << error.what()
                      << "); reading all stations instead\n";
                incremental = false;
                m_stations.clear();
                m_counts = {};
                m_lastChangeUuid.clear();
                m_lastChangeTime.clear();
            }
        }
        if (!incremental)
            FetchAll(client);
    } catch (const DirectoryError& error) {
        m_log << kProgram << "sync failed: " << error.what() << "; " << catalogueFile << " is left as it was\n";
        return kSyncDirectoryFailed;
    }
    cache.stations.clear();
    if (m_requestsRanOut) {
        m_log << kProgram << "sync: stopped after " << client.Requests()
              << " requests (max-requests); the stations read so far are used\n";
    }

    std::vector<DirectoryStation> selected = Selected();
    const int status = Publish(std::move(current), selected, incremental, client, started);
    if (status != kSyncDone || m_settings.dryRun)
        return status;

    StationCache next;
    next.filterSignature = m_settings.filter.Signature();
    next.lastChangeUuid = m_lastChangeUuid;
    next.fullSyncTime = incremental ? cache.fullSyncTime : std::time(nullptr);
    next.stations = std::move(selected);
    try {
        next.Write(m_settings.CacheFile());
    } catch (const FileWriteError& error) {
        m_log << kProgram << "sync: warning: " << error.what() << "; the next sync reads all stations again\n";
    }
    return kSyncDone;
}

}
