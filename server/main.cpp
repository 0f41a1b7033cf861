// kestrel-station-server: the web server behind Kestrel Radio. It serves the
// station list made from a catalogue (edited by hand or imported from the
// Radio Browser directory), the banner page, looping demo streams and the
// music and promotion sites' home pages, each site on its own port. The
// demo, the tests and the benchmarks run against it.

#include "AtomicFile.h"
#include "Catalogue.h"
#include "CatalogueReloader.h"
#include "ControlSignals.h"
#include "EncodedStationList.h"
#include "HttpSite.h"
#include "ImportCommand.h"
#include "MediaLibrary.h"
#include "RequestLog.h"
#include "ServerOptions.h"
#include "SitePages.h"
#include "StationListHandler.h"
#include "StationListStore.h"
#include "StopFlag.h"
#include "StreamMountHandler.h"
#include "SyncCommand.h"

#include <iostream>
#include <string_view>
#include <sys/resource.h>

using namespace stationserver;

namespace {

constexpr int kExitCannotServe = 1;
constexpr int kExitBadCatalogue = 2;
constexpr std::size_t kSmallSiteThreads = 8;
constexpr char kProgram[] = "kestrel-station-server: ";
constexpr std::string_view kImportCommand = "import";
constexpr std::string_view kSyncCommand = "sync";
// How often the catalogue file is looked at for a change.
constexpr std::chrono::seconds kCatalogueLookInterval{1};

std::string BaseUrl(const std::string& address, int port)
{
    const bool isIpv6 = address.find(':') != std::string::npos;
    return "http://" + (isIpv6 ? "[" + address + "]" : address) + ":" + std::to_string(port);
}

// Written whole, so that a reader never sees half of it.
void WriteReadyFile(const std::string& path, int stationPort, int musicPort, int promoPort)
{
    try {
        WriteFileAtomically(path,
                            "station=" + std::to_string(stationPort) + "\nmusic=" + std::to_string(musicPort) +
                                "\npromo=" + std::to_string(promoPort) + "\n");
    } catch (const FileWriteError& error) {
        throw SiteError(std::string("the ready file ") + error.what());
    }
}

// Every client and listener takes a file descriptor; the soft limit a shell
// gives (often 1024) is far below what the system allows a server.
void RaiseOpenFileLimit()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

}

int main(int argc, char** argv)
{
    if (argc > 1 && argv[1] == kImportCommand)
        return RunImport(argc - 2, argv + 2);
    if (argc > 1 && argv[1] == kSyncCommand)
        return RunSync(argc - 2, argv + 2);

    ServerOptions defaults;
    defaults.catalogueFile = KESTREL_DEFAULT_CATALOGUE;
    defaults.mediaFolder = KESTREL_DEFAULT_MEDIA_FOLDER;
    const CommandLine commandLine = ParseCommandLine(argc, argv, defaults);
    if (!commandLine.options) {
        (commandLine.exitCode == 0 ? std::cout : std::cerr) << commandLine.message;
        return commandLine.exitCode;
    }
    const ServerOptions& options = *commandLine.options;

    BlockControlSignals();
    RaiseOpenFileLimit();

    Catalogue catalogue;
    try {
        catalogue = ReadCatalogue(options.catalogueFile);
    } catch (const CatalogueError& error) {
        std::cerr << error.what() << "\n";
        return kExitBadCatalogue;
    }

    std::vector<std::string> warnings;
    const MediaLibrary media = MediaLibrary::Load(options.mediaFolder, warnings);
    for (const std::string& warning : warnings)
        std::cerr << kProgram << "warning: " << warning << "\n";

    try {
        RequestLog log(options.requestLogFile);
        StopFlag stopFlag;
        // Filled once the station server's address is known; outlives the
        // sites, whose requests use it.
        StationListStore stationList(nullptr);
        const ConnectionPolicy policy{std::chrono::seconds(options.headerTimeoutSeconds),
                                      static_cast<std::size_t>(options.connectionsPerAddress)};
        HttpSite station("station server", "--port", static_cast<std::size_t>(options.connectionThreads), policy, log);
        HttpSite music("music site", "--music-port", kSmallSiteThreads, policy, log);
        HttpSite promo("promotion site", "--promo-port", kSmallSiteThreads, policy, log);
        station.Bind(options.listenAddress, options.stationPort);
        music.Bind(options.listenAddress, options.musicPort);
        promo.Bind(options.listenAddress, options.promoPort);

        const std::string stationUrl = BaseUrl(options.listenAddress, station.Port());
        const SiteAddresses addresses{BaseUrl(options.listenAddress, music.Port()),
                                      BaseUrl(options.listenAddress, promo.Port()), KESTREL_MAKER_DOMAIN};
        stationList.Replace(EncodeStationList(catalogue, stationUrl));
        catalogue = {};
        CatalogueReloader reloader(options.catalogueFile, stationUrl, stationList);
        station.Server().Get("/stationlist.zip",
                             log.Logged(StationListHandler(stationList, options.fault, log, stopFlag)));
        station.Server().Get("/banners/kestrel-radio.html", log.Logged(HtmlPage(BannerPage(addresses))));
        station.Server().Get(kStreamMountPattern,
                             log.Logged(StreamMountHandler(media, options.streams, log, stopFlag)));
        music.Server().Get("/", log.Logged(HtmlPage(MusicSitePage(addresses))));
        promo.Server().Get("/", log.Logged(HtmlPage(PromoSitePage(addresses))));
        for (HttpSite* site : {&station, &music, &promo}) {
            site->Server().set_error_handler(log.ErrorHandler());
            site->Start();
        }

        if (!options.readyFile.empty())
            WriteReadyFile(options.readyFile, station.Port(), music.Port(), promo.Port());
        std::cout << kProgram << "station list at " << stationUrl << "/stationlist.zip, music site at "
                  << addresses.musicSite << "/, promotion site at " << addresses.promoSite << "/\n";
        for (const std::string& mount : media.Names())
            std::cout << kProgram << "stream at " << stationUrl << "/streams/" << mount << "\n";
        std::cout.flush();

        for (;;) {
            const ControlSignal signal = WaitForControlSignal(kCatalogueLookInterval);
            if (signal == ControlSignal::Stop)
                break;
            if (signal == ControlSignal::Reload)
                reloader.Reload();
            else
                reloader.ReloadIfChanged();
        }
        stopFlag.Raise();
        for (HttpSite* site : {&station, &music, &promo})
            site->Stop();
    } catch (const std::exception& error) {
        std::cerr << kProgram << error.what() << "\n";
        return kExitCannotServe;
    }
    return 0;
}
