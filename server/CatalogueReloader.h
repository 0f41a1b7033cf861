#pragma once

#include "CatalogueWatcher.h"

#include <string>

namespace stationserver {

class StationListStore;

// Reads the catalogue again while the server runs, on request (SIGHUP) or
// when the file has changed, and puts the new station list in the store
// for the requests that follow. A catalogue with a fault is refused with
// its file and line, and the list served until then stays.
class CatalogueReloader
{
public:
    CatalogueReloader(std::string path, std::string serverBaseUrl, StationListStore& store);

    void Reload();
    void ReloadIfChanged();

private:
    std::string m_path;
    std::string m_serverBaseUrl;
    StationListStore& m_store;
    CatalogueWatcher m_watcher;
};

}
