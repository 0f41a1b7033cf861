#include "HttpSite.h"

#include "ClientConnection.h"
#include "ConnectionLimiter.h"
#include "ConnectionStream.h"
#include "RequestHeadReader.h"
#include "RequestLog.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace stationserver {
namespace {

// httplib listens with a queue of five pending connections; a burst of
// clients (two hundred list fetches at once) needs a longer one.
constexpr int kPendingConnections = 1024;
constexpr std::size_t kKeepAliveRequests = 100;
// A kept-alive connection waits for its next request on the head reader,
// without a thread of its own, so it may wait as long as clients expect;
// a client busy reading a large list must not find it closed.
constexpr std::chrono::seconds kKeepAliveTime{15};
constexpr char kUnknown[] = "-";
constexpr FinalAnswer kStopping{503, "Service Unavailable", "The server is stopping.\n"};
constexpr FinalAnswer kBusyAddress{503, "Service Unavailable",
                                   "Too many connections from your address; close some and try again.\n"};

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

std::chrono::milliseconds Milliseconds(time_t seconds, time_t microseconds)
{
    return std::chrono::seconds(seconds) +
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::microseconds(microseconds));
}

int NewStopEvent()
{
    const int event = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (event < 0)
        throw SiteError(std::string("cannot set up a site: ") + std::strerror(errno));
    return event;
}

// httplib cuts a range out of any answer by itself, and does it wrongly
// for an answer from a content provider: it never checks the range against
// the length (a start past the end is sent as a 206 of an impossible
// length, "bytes=-0" as "bytes 2958-2957/2958"), and labels the parts of a
// multi-range answer "/0", empty when open-ended. So it is handed no range:
// an answer is whole unless its handler cuts it (the station list does,
// see ByteRange.h). A Range header httplib cannot read at all it still
// answers 416 itself, before this runs.
void TakeRangesAway(httplib::Request& request)
{
    request.ranges.clear();
}

// httplib's thread pool, which must have ended before it is destroyed.
class ConnectionThreads
{
public:
    explicit ConnectionThreads(std::size_t count)
        : m_pool(count)
    {
    }
    ~ConnectionThreads() { Finish(); }
    ConnectionThreads(const ConnectionThreads&) = delete;
    ConnectionThreads& operator=(const ConnectionThreads&) = delete;

    void Run(std::function<void()> task) { m_pool.enqueue(std::move(task)); }
    // Runs what is queued, then ends every thread; once.
    void Finish()
    {
        if (!m_finished.exchange(true))
            m_pool.shutdown();
    }

private:
    httplib::ThreadPool m_pool;
    std::atomic<bool> m_finished{false};
};

// httplib hands each accepted connection to its task queue. Ours takes it
// at once on the listening thread: all that happens there is the count per
// address and the hand-over to the head reader, which never blocks.
class AcceptedConnections : public httplib::TaskQueue
{
public:
    void enqueue(std::function<void()> task) override { task(); }
    void shutdown() override {}
};

}

// httplib's server with its connections handed to our head reader and
// answered by our threads. This is the one place that reaches into
// httplib's protected members (process_request, svr_sock_, the timeouts and
// the keep-alive count) and its private hook process_and_close_socket:
// they are no API of the library and change between its versions, which
// is why server/CMakeLists.txt accepts only the 0.11 series this was
// written against.
class HttpSite::ListeningServer : public httplib::Server
{
public:
    ListeningServer(std::size_t connectionThreads, const ConnectionPolicy& policy, RequestLog& log)
        : m_limiter(policy.connectionsPerAddress)
        , m_log(log)
        , m_stopEvent(NewStopEvent())
        , m_workers(connectionThreads)
        , m_heads({policy.headDeadline, kKeepAliveTime}, log, [this](std::shared_ptr<ClientConnection> connection) {
            m_workers.Run([this, connection] { Answer(connection); });
        })
    {
        new_task_queue = [] { return new AcceptedConnections; };
        set_socket_options(SetSocketOptions);
        set_keep_alive_max_count(kKeepAliveRequests);
        // Only named in the answers' Keep-Alive header; the head reader
        // keeps the time.
        set_keep_alive_timeout(kKeepAliveTime.count());
    }

    ~ListeningServer() override
    {
        StopServing();
        m_workers.Finish();
        ::close(m_stopEvent);
    }

    void WidenPendingQueue() { ::listen(svr_sock_, kPendingConnections); }

    // Stops accepting and closes the connections that wait for a request;
    // reads of the connections being answered give up.
    void StopServing()
    {
        if (m_stopping.exchange(true))
            return;
        m_heads.Stop();
        stop();
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_stopEvent, &one, sizeof one);
    }

    // Waits for the answers under way; call once the listener has ended.
    void FinishConnections() { m_workers.Finish(); }

private:
    bool process_and_close_socket(socket_t socket) override
    {
        SocketEnd peer = PeerEnd(socket);
        std::optional<ConnectionLimiter::Admission> admission = m_limiter.Admit(peer.address);
        if (!admission || m_stopping) {
            const FinalAnswer& answer = admission ? kStopping : kBusyAddress;
            m_log.WriteCompleted(kUnknown, kUnknown, answer.status, answer.body.size());
            SendFinalAnswer(socket, answer);
            ::shutdown(socket, SHUT_RDWR);
            ::close(socket);
            return false;
        }
        m_heads.Add(std::make_shared<ClientConnection>(socket, std::move(peer), std::move(*admission)),
                    RequestHeadReader::Start::NewConnection);
        return true;
    }

    // Answers the request whose head has arrived, then hands the connection
    // back to the head reader to wait for the next one, unless it ends.
    void Answer(std::shared_ptr<ClientConnection> connection)
    {
        ConnectionStream stream(*connection, Milliseconds(read_timeout_sec_, read_timeout_usec_),
                                Milliseconds(write_timeout_sec_, write_timeout_usec_), m_stopEvent);
        const bool lastRequest = m_stopping || connection->AnsweredRequests() + 1 >= keep_alive_max_count_;
        bool connectionClosed = false;
        const bool answered = process_request(stream, lastRequest, connectionClosed, TakeRangesAway);
        connection->CountAnswer();
        if (answered && !connectionClosed && !lastRequest)
            m_heads.Add(std::move(connection), RequestHeadReader::Start::BetweenRequests);
    }

    ConnectionLimiter m_limiter;
    RequestLog& m_log;
    int m_stopEvent;
    std::atomic<bool> m_stopping{false};
    ConnectionThreads m_workers;
    // Last, so that it goes first: it hands heads to the workers.
    RequestHeadReader m_heads;
};

HttpSite::HttpSite(std::string description, std::string portOption, std::size_t connectionThreads,
                   const ConnectionPolicy& policy, RequestLog& log)
    : m_description(std::move(description))
    , m_portOption(std::move(portOption))
    , m_server(std::make_unique<ListeningServer>(connectionThreads, policy, log))
{
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
    const bool bound =
        port == 0 ? (m_port = m_server->bind_to_any_port(address)) > 0 : m_server->bind_to_port(address, port);
    if (!bound) {
        const int error = errno;
        if (error == EADDRINUSE) {
            throw SiteError("port " + std::to_string(port) + " is already in use (" + m_description +
                            "; choose another with " + m_portOption + ")");
        }
        throw SiteError("cannot listen on " + address + " port " + std::to_string(port) + " (" + m_description +
                        "): " + (error ? std::strerror(error) : "the address cannot be used"));
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
    m_server->StopServing();
    if (m_listener.joinable())
        m_listener.join();
    m_server->FinishConnections();
}

}
