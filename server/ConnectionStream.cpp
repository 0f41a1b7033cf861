#include "ConnectionStream.h"

#include "ClientConnection.h"

#include <cerrno>
#include <poll.h>
#include <sys/socket.h>

namespace stationserver {
namespace {

// Reads for less than this go through a buffer of this size, so that
// httplib's reading of lines byte by byte does not cost a call each.
constexpr std::size_t kReadBufferSize = 4096;

int PollFor(struct pollfd* descriptors, nfds_t count, std::chrono::milliseconds timeout)
{
    int ready = 0;
    do {
        ready = ::poll(descriptors, count, static_cast<int>(timeout.count()));
    } while (ready < 0 && errno == EINTR);
    return ready;
}

}

ConnectionStream::ConnectionStream(ClientConnection& connection, std::chrono::milliseconds readTimeout,
                                   std::chrono::milliseconds writeTimeout, int stopEvent)
    : m_connection(connection)
    , m_readTimeout(readTimeout)
    , m_writeTimeout(writeTimeout)
    , m_stopEvent(stopEvent)
{
}

bool ConnectionStream::WaitUntilReadable() const
{
    struct pollfd descriptors[] = {{m_connection.Socket(), POLLIN, 0}, {m_stopEvent, POLLIN, 0}};
    return PollFor(descriptors, 2, m_readTimeout) > 0 && descriptors[1].revents == 0 && descriptors[0].revents != 0;
}

bool ConnectionStream::is_readable() const
{
    return !m_connection.Pending().empty() || WaitUntilReadable();
}

bool ConnectionStream::is_writable() const
{
    struct pollfd descriptor = {m_connection.Socket(), POLLOUT, 0};
    return PollFor(&descriptor, 1, m_writeTimeout) > 0 && (descriptor.revents & POLLOUT) != 0;
}

ssize_t ConnectionStream::read(char* data, size_t size)
{
    if (!m_connection.Pending().empty())
        return static_cast<ssize_t>(m_connection.TakePending(data, size));
    if (!WaitUntilReadable())
        return -1;
    if (size >= kReadBufferSize)
        return ::recv(m_connection.Socket(), data, size, 0);
    char buffer[kReadBufferSize];
    const ssize_t received = ::recv(m_connection.Socket(), buffer, sizeof buffer, 0);
    if (received <= 0)
        return received;
    m_connection.AppendReceived(buffer, static_cast<std::size_t>(received));
    return static_cast<ssize_t>(m_connection.TakePending(data, size));
}

ssize_t ConnectionStream::write(const char* data, size_t size)
{
    if (!is_writable())
        return -1;
    ssize_t sent = 0;
    do {
        sent = ::send(m_connection.Socket(), data, size, MSG_NOSIGNAL);
    } while (sent < 0 && errno == EINTR);
    return sent;
}

void ConnectionStream::get_remote_ip_and_port(std::string& ip, int& port) const
{
    ip = m_connection.Peer().address;
    port = m_connection.Peer().port;
}

void ConnectionStream::get_local_ip_and_port(std::string& ip, int& port) const
{
    ip = m_connection.Local().address;
    port = m_connection.Local().port;
}

socket_t ConnectionStream::socket() const
{
    return m_connection.Socket();
}

}
