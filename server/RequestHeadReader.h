#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

namespace stationserver {

class ClientConnection;
class RequestLog;
struct FinalAnswer;

// How long a client may take to send a request's head.
struct HeadDeadlines {
    // The request line and the headers together, however slowly they come:
    // from the connection's start for its first request, from the first
    // byte for a later one.
    std::chrono::milliseconds head;
    // A kept-alive connection waiting for its next request.
    std::chrono::milliseconds idle;
};

// Gathers the head (request line and headers) of each request on one
// thread for every connection of a site, so that a client that sends
// slowly holds no connection thread. A complete head goes on to headReady;
// a head that misses its deadline is answered 408, one larger than
// kMaxHeadBytes 431, and the connection closed.
class RequestHeadReader
{
public:
    static constexpr std::size_t kMaxHeadBytes = 64 * 1024;

    enum class Start { NewConnection, BetweenRequests };
    using HeadReady = std::function<void(std::shared_ptr<ClientConnection>)>;

    RequestHeadReader(HeadDeadlines deadlines, RequestLog& log, HeadReady headReady);
    ~RequestHeadReader();
    RequestHeadReader(const RequestHeadReader&) = delete;
    RequestHeadReader& operator=(const RequestHeadReader&) = delete;

    // Waits for the connection's next request head. After Stop() the
    // connection is closed instead.
    void Add(std::shared_ptr<ClientConnection> connection, Start start);
    // Closes every connection waiting here and ends the thread.
    void Stop();

private:
    using Clock = std::chrono::steady_clock;

    struct Waiting {
        std::shared_ptr<ClientConnection> connection;
        Clock::time_point deadline;
        bool headStarted = false;
        // Bytes of the last answer still on their way to the client.
        int unsent = 0;
    };

    void Run();
    void TakeArrivals();
    void Receive(int socket);
    void CloseOverdue();
    bool IsStillTakingItsAnswer(int socket, Waiting& waiting) const;
    void Forget(int socket);
    int MillisecondsToNextDeadline() const;
    void Refuse(ClientConnection& connection, const FinalAnswer& answer);

    HeadDeadlines m_deadlines;
    RequestLog& m_log;
    HeadReady m_headReady;
    int m_epoll = -1;
    int m_wakeEvent = -1;

    std::mutex m_mutex;
    std::vector<std::pair<std::shared_ptr<ClientConnection>, Start>> m_arrivals;
    bool m_stopping = false;

    // Only the reader thread touches these.
    std::unordered_map<int, Waiting> m_waiting;
    std::thread m_thread;
};

}
