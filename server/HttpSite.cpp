#include "HttpSite.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace stationserver {
namespace {

// httplib listens with a queue of five pending connections; a burst of
// clients (two hundred list fetches at once) needs a longer one.
constexpr int kPendingConnections = 1024;
constexpr std::size_t kKeepAliveRequests = 100;
constexpr time_t kKeepAliveSeconds = 2;

// SO_REUSEADDR lets the server start again at once after a stop. httplib's
// default also sets SO_REUSEPORT, which would let two servers share a port
// without either noticing; a taken port must be an error instead.
// TCP_NODELAY (inherited by accepted connections): httplib sends headers and
// body in separate writes, and Nagle's algorithm would hold the body back
// for the client's delayed acknowledgement, 40 ms on every answer.
void SetSocketOptions(socket_t socket)
{
    const int yes = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
}

}

class HttpSite::ListeningServer : public httplib::Server {
public:
    void WidenPendingQueue() { ::listen(svr_sock_, kPendingConnections); }
};

HttpSite::HttpSite(std::string description, std::string portOption, std::size_t connectionThreads)
    : m_description(std::move(description))
    , m_portOption(std::move(portOption))
    , m_server(std::make_unique<ListeningServer>())
{
    m_server->new_task_queue = [connectionThreads] { return new httplib::ThreadPool(connectionThreads); };
    m_server->set_socket_options(SetSocketOptions);
    m_server->set_keep_alive_max_count(kKeepAliveRequests);
    m_server->set_keep_alive_timeout(kKeepAliveSeconds);
}

HttpSite::~HttpSite()
{
    Stop();
}

httplib::Server& HttpSite::Server()
{
    return *m_server;
}

void HttpSite::Bind(const std::string& address, int port)
{
    errno = 0;
    const bool bound = port == 0 ? (m_port = m_server->bind_to_any_port(address)) > 0
                                 : m_server->bind_to_port(address, port);
    if (!bound) {
        const int error = errno;
        if (error == EADDRINUSE) {
            throw SiteError("port " + std::to_string(port) + " is already in use (" + m_description
                            + "; choose another with " + m_portOption + ")");
        }
        throw SiteError("cannot listen on " + address + " port " + std::to_string(port) + " (" + m_description
                        + "): " + (error ? std::strerror(error) : "the address cannot be used"));
    }
    if (port != 0)
        m_port = port;
    m_server->WidenPendingQueue();
}

void HttpSite::Start()
{
    m_listener = std::thread([this] {
        m_server->listen_after_bind();
        m_listenerEnded = true;
    });
    while (!m_server->is_running() && !m_listenerEnded)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void HttpSite::Stop()
{
    m_server->stop();
    if (m_listener.joinable())
        m_listener.join();
}

}
