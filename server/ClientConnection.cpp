#include "ClientConnection.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace stationserver {
namespace {

constexpr std::string_view kMappedIpv4Prefix = "::ffff:";
constexpr int kMostDiscardedReads = 16;

SocketEnd EndFromAddress(const sockaddr_storage& storage)
{
    char text[INET6_ADDRSTRLEN] = {};
    SocketEnd end;
    if (storage.ss_family == AF_INET) {
        const auto& address = reinterpret_cast<const sockaddr_in&>(storage);
        inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
        end.port = ntohs(address.sin_port);
    } else if (storage.ss_family == AF_INET6) {
        const auto& address = reinterpret_cast<const sockaddr_in6&>(storage);
        inet_ntop(AF_INET6, &address.sin6_addr, text, sizeof text);
        end.port = ntohs(address.sin6_port);
    }
    end.address = text;
    // An IPv4 client of a dual-stack socket is the same client as over IPv4.
    if (end.address.starts_with(kMappedIpv4Prefix) && end.address.find('.') != std::string::npos)
        end.address.erase(0, kMappedIpv4Prefix.size());
    return end;
}

template <class GetName>
SocketEnd EndOf(int socket, GetName getName)
{
    sockaddr_storage storage{};
    socklen_t length = sizeof storage;
    if (getName(socket, reinterpret_cast<sockaddr*>(&storage), &length) != 0)
        return {};
    return EndFromAddress(storage);
}

}

SocketEnd PeerEnd(int socket)
{
    return EndOf(socket, ::getpeername);
}

SocketEnd LocalEnd(int socket)
{
    return EndOf(socket, ::getsockname);
}

ClientConnection::ClientConnection(int socket, SocketEnd peer, ConnectionLimiter::Admission admission)
    : m_socket(socket)
    , m_peer(std::move(peer))
    , m_local(LocalEnd(socket))
    , m_admission(std::move(admission))
{
}

ClientConnection::~ClientConnection()
{
    ::shutdown(m_socket, SHUT_RDWR);
    ::close(m_socket);
}

std::size_t ClientConnection::TakePending(char* out, std::size_t size)
{
    const std::string_view pending = Pending();
    const std::size_t taken = std::min(size, pending.size());
    std::memcpy(out, pending.data(), taken);
    DropPending(taken);
    return taken;
}

void ClientConnection::DropPending(std::size_t size)
{
    m_taken += std::min(size, m_received.size() - m_taken);
    if (m_taken == m_received.size()) {
        m_received.clear();
        m_taken = 0;
    }
}

void SendFinalAnswer(int socket, const FinalAnswer& answer)
{
    const std::string text = "HTTP/1.1 " + std::to_string(answer.status) + " " + std::string(answer.reason) +
        "\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(answer.body.size()) +
        "\r\nConnection: close\r\n\r\n" + std::string(answer.body);
    ::send(socket, text.data(), text.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
    ::shutdown(socket, SHUT_WR);
    // Closing with unread bytes would reset the connection and could throw
    // the answer away before the client reads it; take what has come.
    char discard[4096];
    for (int read = 0; read < kMostDiscardedReads; ++read) {
        if (::recv(socket, discard, sizeof discard, MSG_DONTWAIT) <= 0)
            break;
    }
}

}
