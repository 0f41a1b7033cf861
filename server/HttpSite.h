#pragma once

#include <httplib.h>

#include <atomic>
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

namespace stationserver {

// A site the server cannot open; what() says why, for the user.
class SiteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One HTTP site on its own port (station server, music site, promotion
// site): an httplib server with a pool of connection threads, listening on
// a thread of its own.
class HttpSite {
public:
    // description names the site in messages; portOption is the command-line
    // option that moves it.
    HttpSite(std::string description, std::string portOption, std::size_t connectionThreads);
    ~HttpSite();
    HttpSite(const HttpSite&) = delete;
    HttpSite& operator=(const HttpSite&) = delete;

    httplib::Server& Server();

    // Binds the address and port (0: a free port). Throws SiteError.
    void Bind(const std::string& address, int port);
    int Port() const { return m_port; }

    // Starts accepting connections; returns once the site does.
    void Start();
    // Stops accepting, waits for every connection thread and the listener.
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
