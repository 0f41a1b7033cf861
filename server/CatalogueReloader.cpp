#include "CatalogueReloader.h"

#include "Catalogue.h"
#include "EncodedStationList.h"
#include "StationListStore.h"

#include <iostream>

namespace stationserver {
namespace {

constexpr char kProgram[] = "kestrel-station-server: ";

}

CatalogueReloader::CatalogueReloader(std::string path, std::string serverBaseUrl, StationListStore& store)
    : m_path(std::move(path))
    , m_serverBaseUrl(std::move(serverBaseUrl))
    , m_store(store)
    , m_watcher(m_path)
{
}

void CatalogueReloader::Reload()
{
    // Taken before the file is read, so that a change while it is read
    // brings another reload.
    m_watcher.Remember();
    try {
        const Catalogue catalogue = ReadCatalogue(m_path);
        m_store.Replace(EncodeStationList(catalogue, m_serverBaseUrl));
        std::cout << kProgram + ("catalogue " + m_path) + " read again: " + std::to_string(catalogue.channels.size()) +
                " channels\n"
                  << std::flush;
    } catch (const std::exception& error) {
        // One write, so that the line never arrives in pieces.
        std::cerr << kProgram + std::string("catalogue not reloaded, the previous one is still served: ") +
                error.what() + "\n";
    }
}

void CatalogueReloader::ReloadIfChanged()
{
    if (m_watcher.HasSettledChange())
        Reload();
}

}
