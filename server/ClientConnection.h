#pragma once

#include "ConnectionLimiter.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace stationserver {

// The numeric address and port of one end of a connected socket.
struct SocketEnd {
    std::string address;
    int port = -1;
};
SocketEnd PeerEnd(int socket);
SocketEnd LocalEnd(int socket);

// A short answer of the server's own, after which it closes the
// connection: a refusal, a request that came too slowly.
struct FinalAnswer {
    int status;
    std::string_view reason;
    std::string_view body;
};

// Sends the answer without waiting for the client and stops sending; the
// caller closes the socket.
void SendFinalAnswer(int socket, const FinalAnswer& answer);

// One client's connection, owned by whoever works on it at the moment: the
// head reader while a request arrives, a connection thread while it is
// answered. It holds what has been read from the client but not yet taken,
// and its place in the per-address count. Closing is the destructor's.
class ClientConnection
{
public:
    ClientConnection(int socket, SocketEnd peer, ConnectionLimiter::Admission admission);
    ~ClientConnection();
    ClientConnection(const ClientConnection&) = delete;
    ClientConnection& operator=(const ClientConnection&) = delete;

    int Socket() const { return m_socket; }
    const SocketEnd& Peer() const { return m_peer; }
    const SocketEnd& Local() const { return m_local; }

    // Bytes read from the client and not yet taken.
    std::string_view Pending() const { return std::string_view(m_received).substr(m_taken); }
    void AppendReceived(const char* data, std::size_t size) { m_received.append(data, size); }
    // Takes up to size pending bytes into out; how many it took.
    std::size_t TakePending(char* out, std::size_t size);
    void DropPending(std::size_t size);

    std::size_t AnsweredRequests() const { return m_answeredRequests; }
    void CountAnswer() { ++m_answeredRequests; }

    // SendFinalAnswer on this connection, which closes when it is destroyed.
    void SendFinalAnswer(const FinalAnswer& answer) { stationserver::SendFinalAnswer(m_socket, answer); }

private:
    int m_socket;
    SocketEnd m_peer;
    SocketEnd m_local;
    ConnectionLimiter::Admission m_admission;
    std::string m_received;
    std::size_t m_taken = 0;
    std::size_t m_answeredRequests = 0;
};

}
