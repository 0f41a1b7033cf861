#pragma once

#include "DirectoryServers.h"

namespace stationserver {

// The directory's servers found the way it asks its clients to: the
// addresses behind one name (all.api.radio-browser.info) are looked up,
// each address is turned back into its server's own name, and the names
// are shuffled so that clients spread over the servers. Addresses without
// a name are left out, as TLS needs the name.
class ResolvedDirectoryServers : public DirectoryServers
{
public:
    // scheme and port make the base addresses ("https", 0 for the
    // scheme's own port).
    ResolvedDirectoryServers(std::string lookupName, std::string scheme, int port);
    std::vector<std::string> BaseUrls(std::string& problem) override;

private:
    std::string m_lookupName;
    std::string m_scheme;
    int m_port;
};

}
