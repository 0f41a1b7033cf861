#pragma once

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

namespace stationserver {

class RequestLog;

// A site the server cannot open; what() says why, for the user.
class SiteError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// What a site allows each client.
struct ConnectionPolicy {
    // How long a request's line and headers may take to arrive in all.
    std::chrono::milliseconds headDeadline{std::chrono::seconds(10)};
    // Connections open at once from one client address; 0: no limit.
    std::size_t connectionsPerAddress = 32;
};

// One HTTP site on its own port (station server, music site, promotion
// site): an httplib server listening on a thread of its own, whose
// connections wait for their requests on one head-reading thread and are
// answered by a pool of connection threads.
class HttpSite
{
public:
    // description names the site in messages; portOption is the command-line
    // option that moves it. The log gets the site's own answers to requests
    // that were refused or came too slowly.
    HttpSite(std::string description, std::string portOption, std::size_t connectionThreads,
             const ConnectionPolicy& policy, RequestLog& log);
    ~HttpSite();
    HttpSite(const HttpSite&) = delete;
    HttpSite& operator=(const HttpSite&) = delete;

    httplib::Server& Server();

    // Binds the address and port (0: a free port). Throws SiteError.
    void Bind(const std::string& address, int port);
    int Port() const { return m_port; }

    // Starts accepting connections; returns once the site does.
    void Start();
    // Stops accepting, closes the connections waiting for a request and
    // waits for every connection thread and the listener.
    void Stop();

private:
    class ListeningServer;

    std::string m_description;
    std::string m_portOption;
    std::unique_ptr<ListeningServer> m_server;
    int m_port = 0;
    std::thread m_listener;
    std::atomic<bool> m_listenerEnded{false};
};

}
