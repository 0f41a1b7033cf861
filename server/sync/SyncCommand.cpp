#include "SyncCommand.h"

#include "DirectorySync.h"
#include "GivenDirectoryServers.h"
#include "ResolvedDirectoryServers.h"
#include "SyncCommandLine.h"

#include <iostream>
#include <memory>

namespace stationserver {
namespace {

// The name behind which the directory lists the addresses of its servers.
constexpr char kDirectoryLookupName[] = "all.api.radio-browser.info";
constexpr char kDirectoryScheme[] = "https";
// The directory asks its clients to say who they are.
constexpr char kUserAgent[] = "kestrel-station-server/" KESTREL_VERSION " (+https://" KESTREL_MAKER_DOMAIN ")";

}

int RunSync(int argumentCount, const char* const* arguments)
{
    SyncCommandLine commandLine = ParseSyncCommandLine(argumentCount, arguments);
    if (!commandLine.settings) {
        (commandLine.exitCode == 0 ? std::cout : std::cerr) << commandLine.message;
        return commandLine.exitCode;
    }
    SyncSettings& settings = *commandLine.settings;
    settings.http.userAgent = kUserAgent;

    std::unique_ptr<DirectoryServers> servers;
    if (settings.directories.empty())
        servers = std::make_unique<ResolvedDirectoryServers>(kDirectoryLookupName, kDirectoryScheme, 0);
    else
        servers = std::make_unique<GivenDirectoryServers>(settings.directories);
    return DirectorySync(std::move(settings), *servers, std::cout, std::cerr).Run();
}

}
