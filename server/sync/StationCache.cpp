#include "StationCache.h"

#include "AtomicFile.h"
#include "StationListReader.h"

#include <fstream>
#include <nlohmann/json.hpp>

namespace stationserver {
namespace {

using Json = nlohmann::json;

// The file is a line of JSON with what the sync knows, then the stations
// as a JSON array, which is read as a stream like the directory's answers.
constexpr int kFormat = 1;
constexpr char kFormatKey[] = "format";
constexpr char kFiltersKey[] = "filters";
constexpr char kLastChangeKey[] = "lastchangeuuid";
constexpr char kFullSyncKey[] = "fullsync";

}

StationCache StationCache::Read(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw StationCacheError(path + ": no cache to build on");
    std::string firstLine;
    std::getline(file, firstLine);
    StationCache cache;
    try {
        const Json about = Json::parse(firstLine);
        if (about.value(kFormatKey, 0) != kFormat)
            throw StationCacheError(path + ": a cache of another format");
        cache.filterSignature = about.value(kFiltersKey, std::string());
        cache.lastChangeUuid = about.value(kLastChangeKey, std::string());
        cache.fullSyncTime = about.value(kFullSyncKey, std::time_t{0});
        StationListReader reader([&](DirectoryStation&& station) { cache.stations.push_back(std::move(station)); });
        reader.Read(file);
    } catch (const Json::exception& error) {
        throw StationCacheError(path + ": not a cache of this program: " + error.what());
    } catch (const StationListError& error) {
        throw StationCacheError(path + ": " + error.what());
    }
    return cache;
}

void StationCache::Write(const std::string& path) const
{
    const Json about = {{kFormatKey, kFormat},
                        {kFiltersKey, filterSignature},
                        {kLastChangeKey, lastChangeUuid},
                        {kFullSyncKey, fullSyncTime}};
    std::string text = about.dump() + "\n[";
    for (std::size_t i = 0; i < stations.size(); ++i)
        text += (i == 0 ? "\n" : ",\n") + stations[i].ToJson().dump(-1, ' ', false, Json::error_handler_t::replace);
    text += "\n]\n";
    WriteFileAtomically(path, text);
}

}
