#include "HttpFetch.h"
#include "StationServer.h"

#include <QDeadlineTimer>
#include <QThread>
#include <arpa/inet.h>
#include <atomic>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

constexpr int kWaitMs = 30000;

// A client connection of the test's own, from a chosen loopback address:
// every 127.x.y.z address reaches the server, and the server tells clients
// apart by their address.
class RawClient
{
public:
    RawClient(const char* sourceAddress, int port)
    {
        m_socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in source{};
        source.sin_family = AF_INET;
        ::inet_pton(AF_INET, sourceAddress, &source.sin_addr);
        sockaddr_in server{};
        server.sin_family = AF_INET;
        server.sin_port = htons(static_cast<uint16_t>(port));
        ::inet_pton(AF_INET, "127.0.0.1", &server.sin_addr);
        m_connected = ::bind(m_socket, reinterpret_cast<sockaddr*>(&source), sizeof source) == 0 &&
            ::connect(m_socket, reinterpret_cast<sockaddr*>(&server), sizeof server) == 0;
    }
    ~RawClient() { ::close(m_socket); }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    bool Connected() const { return m_connected; }

    // Sends, ignoring a connection the server has already closed.
    void Send(const std::string& bytes) { ::send(m_socket, bytes.data(), bytes.size(), MSG_NOSIGNAL); }

    // True when the server has sent something or closed the connection.
    bool HasHeardFromServer() const
    {
        pollfd descriptor{m_socket, POLLIN, 0};
        return ::poll(&descriptor, 1, 0) > 0;
    }

    // Everything the server sends until it closes the connection, or until
    // the wait ends.
    std::string ReadUntilClosed(int waitMs = kWaitMs) { return Read(std::nullopt, waitMs); }

    // Reads until the text has arrived, or until the wait ends.
    std::string ReadUntil(const std::string& text, int waitMs = kWaitMs) { return Read(text, waitMs); }

private:
    std::string Read(const std::optional<std::string>& text, int waitMs)
    {
        std::string received;
        const QDeadlineTimer deadline(waitMs);
        while ((!text || received.find(*text) == std::string::npos) && !deadline.hasExpired()) {
            pollfd descriptor{m_socket, POLLIN, 0};
            if (::poll(&descriptor, 1, 50) <= 0)
                continue;
            char buffer[4096];
            const ssize_t count = ::recv(m_socket, buffer, sizeof buffer, 0);
            if (count <= 0)
                break;
            received.append(buffer, static_cast<std::size_t>(count));
        }
        return received;
    }

    int m_socket = -1;
    bool m_connected = false;
};

std::size_t Occurrences(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1))
        ++count;
    return count;
}

// Three hundred and ten clients from ten addresses send a request head one
// line at a time and never finish it. They hold no connection thread: an
// ordinary client is served while they wait, and each of them is cut off
// with 408 once its head has taken longer than the deadline.
TEST(ConnectionHandlingTest, SlowHeadersAreCutAtTheDeadlineWhileOtherClientsAreServed)
{
    constexpr int kAddresses = 10;
    constexpr int kClientsPerAddress = 31;
    StationServer server({.extraArguments = {"--header-timeout", "5"}});
    ASSERT_TRUE(server.Start()) << server.Error().toStdString();

    std::vector<std::unique_ptr<RawClient>> slowClients;
    for (int address = 0; address < kAddresses; ++address) {
        const std::string source = "127.0.1." + std::to_string(10 + address);
        for (int i = 0; i < kClientsPerAddress; ++i) {
            slowClients.push_back(std::make_unique<RawClient>(source.c_str(), server.Port()));
            ASSERT_TRUE(slowClients.back()->Connected());
            slowClients.back()->Send("GET /stationlist.zip HTTP/1.1\r\nHost: 127.0.0.1\r\n");
        }
    }
    std::atomic<bool> stopDripping{false};
    std::thread dripper([&] {
        for (int line = 0; !stopDripping; ++line) {
            for (const auto& client : slowClients)
                client->Send("X-Slow-" + std::to_string(line) + ": drip\r\n");
            std::this_thread::sleep_for(200ms);
        }
    });

    const auto answer = HttpFetch::Get(server.Port(), "/stationlist.zip");
    const auto stream = HttpFetch::GetFor(server.Port(), "/streams/kestrel-mp3", 500ms, {}, 16000);
    int stillHeld = 0;
    for (const auto& client : slowClients)
        stillHeld += !client->HasHeardFromServer();

    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 200);
    EXPECT_GT(answer->body.size(), 0u);
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->status, 200);
    EXPECT_GE(stream->body.size(), 16000u);
    EXPECT_EQ(stillHeld, kAddresses * kClientsPerAddress) << "the slow clients were still sending";

    int cut = 0;
    for (const auto& client : slowClients)
        cut += client->ReadUntilClosed().starts_with("HTTP/1.1 408 ");
    stopDripping = true;
    dripper.join();
    EXPECT_EQ(cut, kAddresses * kClientsPerAddress);
    EXPECT_EQ(server.RequestLog().filter(" GET /stationlist.zip 408 ").size(), kAddresses * kClientsPerAddress);
}

TEST(ConnectionHandlingTest, ConnectionsBeyondTheLimitOfAnAddressAreRefusedAndOthersServed)
{
    StationServer server({.extraArguments = {"--connections-per-address", "4"}});
    ASSERT_TRUE(server.Start()) << server.Error().toStdString();

    std::vector<std::unique_ptr<RawClient>> held;
    for (int i = 0; i < 4; ++i) {
        held.push_back(std::make_unique<RawClient>("127.0.0.2", server.Port()));
        ASSERT_TRUE(held.back()->Connected());
    }
    RawClient oneTooMany("127.0.0.2", server.Port());
    ASSERT_TRUE(oneTooMany.Connected());
    EXPECT_TRUE(oneTooMany.ReadUntilClosed().starts_with("HTTP/1.1 503 "));

    const auto answer = HttpFetch::Get(server.Port(), "/stationlist.zip");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 200) << "another address is not held back";

    // A place comes free when one of the connections closes.
    held.pop_back();
    std::string reply;
    const QDeadlineTimer deadline(kWaitMs);
    while (!deadline.hasExpired() && !reply.starts_with("HTTP/1.1 200 ")) {
        RawClient next("127.0.0.2", server.Port());
        next.Send("GET /stationlist.zip HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
        reply = next.ReadUntilClosed();
        if (!reply.starts_with("HTTP/1.1 200 "))
            QThread::msleep(50);
    }
    EXPECT_TRUE(reply.starts_with("HTTP/1.1 200 ")) << reply.substr(0, 40);
}

TEST(ConnectionHandlingTest, KeptAliveAndPipelinedRequestsAreAnsweredInOrder)
{
    StationServer server;
    ASSERT_TRUE(server.Start()) << server.Error().toStdString();

    RawClient client("127.0.0.1", server.Port());
    ASSERT_TRUE(client.Connected());
    // Two requests in one piece, a stray line end between them, then a
    // third after the answers, on the same connection.
    client.Send("GET /banners/kestrel-radio.html HTTP/1.1\r\nHost: a\r\n\r\n\r\n"
                "GET /no-such-page HTTP/1.1\r\nHost: a\r\n\r\n");
    const std::string first = client.ReadUntil("Nothing is served at /no-such-page");
    EXPECT_TRUE(first.starts_with("HTTP/1.1 200 ")) << first.substr(0, 40);
    EXPECT_EQ(Occurrences(first, "HTTP/1.1 "), 2u);
    EXPECT_NE(first.find("HTTP/1.1 404 "), std::string::npos);

    client.Send("GET /stationlist.zip HTTP/1.1\r\nHost: a\r\nConnection: close\r\n\r\n");
    const std::string last = client.ReadUntilClosed();
    EXPECT_TRUE(last.starts_with("HTTP/1.1 200 ")) << last.substr(0, 40);
    EXPECT_EQ(server.CountRequests("/banners/kestrel-radio.html"), 1);
    EXPECT_EQ(server.CountRequests("/stationlist.zip"), 1);
}

TEST(ConnectionHandlingTest, AnOversizedRequestHeadIsRefused)
{
    StationServer server;
    ASSERT_TRUE(server.Start()) << server.Error().toStdString();

    RawClient client("127.0.0.1", server.Port());
    ASSERT_TRUE(client.Connected());
    client.Send("GET /stationlist.zip HTTP/1.1\r\n");
    const std::string header = "X-Filler: " + std::string(1000, 'x') + "\r\n";
    for (int i = 0; i < 70; ++i)
        client.Send(header);
    EXPECT_TRUE(client.ReadUntilClosed().starts_with("HTTP/1.1 431 "));
    EXPECT_EQ(server.RequestLog().filter(" GET /stationlist.zip 431 ").size(), 1);
}

}
