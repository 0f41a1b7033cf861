#pragma once

#include <httplib.h>

#include <chrono>

namespace stationserver {

class ClientConnection;

// httplib's view of a client connection while one request is answered:
// reads take the bytes the head reader gathered first, then the socket.
// Every wait gives up after its timeout, and a wait for the client's bytes
// also as soon as the server stops (the stop event becomes readable).
class ConnectionStream final : public httplib::Stream
{
public:
    ConnectionStream(ClientConnection& connection, std::chrono::milliseconds readTimeout,
                     std::chrono::milliseconds writeTimeout, int stopEvent);

    bool is_readable() const override;
    bool is_writable() const override;
    ssize_t read(char* data, size_t size) override;
    ssize_t write(const char* data, size_t size) override;
    void get_remote_ip_and_port(std::string& ip, int& port) const override;
    void get_local_ip_and_port(std::string& ip, int& port) const override;
    socket_t socket() const override;

private:
    bool WaitUntilReadable() const;

    ClientConnection& m_connection;
    std::chrono::milliseconds m_readTimeout;
    std::chrono::milliseconds m_writeTimeout;
    int m_stopEvent;
};

}
