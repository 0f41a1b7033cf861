#include "ResolvedDirectoryServers.h"

#include <algorithm>
#include <netdb.h>
#include <random>
#include <sys/socket.h>

namespace stationserver {

ResolvedDirectoryServers::ResolvedDirectoryServers(std::string lookupName, std::string scheme, int port)
    : m_lookupName(std::move(lookupName))
    , m_scheme(std::move(scheme))
    , m_port(port)
{
}

std::vector<std::string> ResolvedDirectoryServers::BaseUrls(std::string& problem)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int looked = getaddrinfo(m_lookupName.c_str(), nullptr, &hints, &found);
    if (looked != 0) {
        problem = "the directory's servers could not be looked up (" + m_lookupName + "): " + gai_strerror(looked);
        return {};
    }

    std::vector<std::string> names;
    for (const addrinfo* address = found; address != nullptr; address = address->ai_next) {
        char name[NI_MAXHOST] = {};
        if (getnameinfo(address->ai_addr, address->ai_addrlen, name, sizeof name, nullptr, 0, NI_NAMEREQD) != 0)
            continue;
        if (std::find(names.begin(), names.end(), name) == names.end())
            names.emplace_back(name);
    }
    freeaddrinfo(found);
    if (names.empty()) {
        problem = "no address of " + m_lookupName + " has a server name";
        return {};
    }

    std::shuffle(names.begin(), names.end(), std::mt19937(std::random_device{}()));
    // Appended piece by piece: GCC 12 at -O3 warns (-Wrestrict) of a
    // one-character literal added to a temporary string.
    std::string port;
    if (m_port > 0)
        port.append(":").append(std::to_string(m_port));
    std::vector<std::string> baseUrls;
    for (const std::string& name : names)
        baseUrls.push_back(m_scheme + "://" + name + port);
    return baseUrls;
}

}
