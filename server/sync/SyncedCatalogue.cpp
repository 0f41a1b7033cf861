#include "SyncedCatalogue.h"

#include "RadioBrowserImport.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string_view>

namespace stationserver {
namespace {

constexpr std::size_t kBatch = 2000;

constexpr std::string_view kPreamble =
    "# Stations of the Radio Browser directory (radio-browser.info), kept in step\n"
    "# by kestrel-station-server sync. The next sync replaces this file: choose the\n"
    "# stations in the sync's filter file rather than here.\n";

// The import's catalogue is comments, the header line, then the channels:
// where the channels start, and the header's end.
std::size_t ChannelsStart(const std::string& catalogue, std::size_t& headerStart)
{
    std::size_t line = 0;
    while (line < catalogue.size()) {
        const std::size_t end = catalogue.find('\n', line);
        const std::size_t next = end == std::string::npos ? catalogue.size() : end + 1;
        if (catalogue[line] != '#' && catalogue[line] != '\n') {
            headerStart = line;
            return next;
        }
        line = next;
    }
    headerStart = catalogue.size();
    return catalogue.size();
}

}

SyncedCatalogue SyncedCatalogue::Make(const std::vector<DirectoryStation>& stations, const std::string& sourceName)
{
    SyncedCatalogue made;
    made.text = kPreamble;
    bool headerWritten = false;
    for (std::size_t first = 0; first < stations.size() || !headerWritten; first += kBatch) {
        nlohmann::json batch = nlohmann::json::array();
        const std::size_t end = std::min(stations.size(), first + kBatch);
        for (std::size_t i = first; i < end; ++i)
            batch.push_back(stations[i].ToJson());
        const ImportResult imported = ImportRadioBrowserStations(
            batch.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace), sourceName);
        std::size_t headerStart = 0;
        const std::size_t channelsStart = ChannelsStart(imported.catalogue, headerStart);
        if (!headerWritten) {
            made.text.append(imported.catalogue, headerStart, channelsStart - headerStart);
            headerWritten = true;
        }
        made.text.append(imported.catalogue, channelsStart);
        made.channels += imported.imported;
        made.withoutName += imported.withoutName;
        made.withoutWebAddress += imported.withoutWebAddress;
        made.duplicateIds += imported.duplicateIds;
    }
    return made;
}

}
