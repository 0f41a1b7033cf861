#include "RequestHeadReader.h"

#include "ClientConnection.h"
#include "RequestLog.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <sys/epoll.h>
#include <climits>
#include <linux/sockios.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace stationserver {
namespace {

constexpr int kEventsAtOnce = 64;
constexpr std::size_t kReceiveSize = 16 * 1024;
constexpr std::string_view kHeadEnd = "\n\r\n";
constexpr char kUnknown[] = "-";
constexpr FinalAnswer kTooSlow{408, "Request Timeout", "The request did not arrive in time.\n"};
constexpr FinalAnswer kTooLarge{431, "Request Header Fields Too Large", "The request's head is too large.\n"};

// Line ends before a request line are to be ignored (a client may send one
// after a request body).
void DropLeadingLineEnds(ClientConnection& connection)
{
    const std::string_view pending = connection.Pending();
    connection.DropPending(std::min(pending.find_first_not_of("\r\n"), pending.size()));
}

// The method and path of a request line that has arrived whole, for the
// log; "-" for what is not known.
std::pair<std::string, std::string> MethodAndPath(std::string_view head)
{
    const std::size_t lineEnd = head.find('\n');
    if (lineEnd == std::string_view::npos)
        return {kUnknown, kUnknown};
    const std::string_view line = head.substr(0, lineEnd);
    const std::size_t methodEnd = line.find(' ');
    if (methodEnd == std::string_view::npos)
        return {kUnknown, kUnknown};
    const std::string_view target = line.substr(methodEnd + 1);
    return {std::string(line.substr(0, methodEnd)), std::string(target.substr(0, target.find_first_of(" ?\r")))};
}

}

RequestHeadReader::RequestHeadReader(HeadDeadlines deadlines, RequestLog& log, HeadReady headReady)
    : m_deadlines(deadlines)
    , m_log(log)
    , m_headReady(std::move(headReady))
{
    m_epoll = ::epoll_create1(EPOLL_CLOEXEC);
    m_wakeEvent = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_epoll < 0 || m_wakeEvent < 0)
        throw std::runtime_error("cannot set up the reading of request heads");
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = m_wakeEvent;
    ::epoll_ctl(m_epoll, EPOLL_CTL_ADD, m_wakeEvent, &event);
    m_thread = std::thread([this] { Run(); });
}

RequestHeadReader::~RequestHeadReader()
{
    Stop();
    ::close(m_wakeEvent);
    ::close(m_epoll);
}

void RequestHeadReader::Add(std::shared_ptr<ClientConnection> connection, Start start)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_stopping)
            return;
        m_arrivals.emplace_back(std::move(connection), start);
    }
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_wakeEvent, &one, sizeof one);
}

void RequestHeadReader::Stop()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_wakeEvent, &one, sizeof one);
    if (m_thread.joinable())
        m_thread.join();
}

void RequestHeadReader::Run()
{
    epoll_event events[kEventsAtOnce];
    for (;;) {
        const int ready = ::epoll_wait(m_epoll, events, kEventsAtOnce, MillisecondsToNextDeadline());
        for (int i = 0; i < ready; ++i) {
            if (events[i].data.fd != m_wakeEvent) {
                Receive(events[i].data.fd);
                continue;
            }
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t taken = ::read(m_wakeEvent, &count, sizeof count);
            {
                const std::lock_guard lock(m_mutex);
                if (m_stopping) {
                    m_arrivals.clear();
                    m_waiting.clear();
                    return;
                }
            }
            TakeArrivals();
        }
        CloseOverdue();
    }
}

void RequestHeadReader::TakeArrivals()
{
    std::vector<std::pair<std::shared_ptr<ClientConnection>, Start>> arrivals;
    {
        const std::lock_guard lock(m_mutex);
        arrivals.swap(m_arrivals);
    }
    const Clock::time_point now = Clock::now();
    for (auto& [connection, start] : arrivals) {
        DropLeadingLineEnds(*connection);
        // A client may have sent its next request along with the last one.
        if (connection->Pending().find(kHeadEnd) != std::string_view::npos) {
            m_headReady(std::move(connection));
            continue;
        }
        const bool headStarted = start == Start::NewConnection || !connection->Pending().empty();
        const int socket = connection->Socket();
        epoll_event event{};
        event.events = EPOLLIN | EPOLLRDHUP;
        event.data.fd = socket;
        if (::epoll_ctl(m_epoll, EPOLL_CTL_ADD, socket, &event) != 0)
            continue;
        m_waiting[socket] = {std::move(connection), now + (headStarted ? m_deadlines.head : m_deadlines.idle),
                             headStarted, INT_MAX};
    }
}

void RequestHeadReader::Receive(int socket)
{
    const auto found = m_waiting.find(socket);
    if (found == m_waiting.end())
        return;
    Waiting& waiting = found->second;
    ClientConnection& connection = *waiting.connection;

    char buffer[kReceiveSize];
    const ssize_t received = ::recv(socket, buffer, sizeof buffer, MSG_DONTWAIT);
    if (received < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (received <= 0) {
        Forget(socket);
        return;
    }
    connection.AppendReceived(buffer, static_cast<std::size_t>(received));
    if (!waiting.headStarted) {
        waiting.headStarted = true;
        waiting.deadline = Clock::now() + m_deadlines.head;
    }
    DropLeadingLineEnds(connection);

    if (connection.Pending().find(kHeadEnd) != std::string_view::npos) {
        std::shared_ptr<ClientConnection> ready = std::move(waiting.connection);
        Forget(socket);
        m_headReady(std::move(ready));
    } else if (connection.Pending().size() > kMaxHeadBytes) {
        Refuse(connection, kTooLarge);
        Forget(socket);
    }
}

void RequestHeadReader::CloseOverdue()
{
    const Clock::time_point now = Clock::now();
    std::vector<int> overdue;
    for (auto& [socket, waiting] : m_waiting) {
        if (waiting.deadline > now)
            continue;
        if (!waiting.headStarted && IsStillTakingItsAnswer(socket, waiting))
            waiting.deadline = now + m_deadlines.idle;
        else
            overdue.push_back(socket);
    }
    for (const int socket : overdue) {
        Waiting& waiting = m_waiting[socket];
        // An idle kept-alive connection just closes; a request that is
        // late gets an answer that says so.
        if (waiting.headStarted)
            Refuse(*waiting.connection, kTooSlow);
        Forget(socket);
    }
}

// A kept-alive connection is idle once the client has taken its last
// answer: under load a client may still be reading a large list when the
// idle time would be up, and would find its next request refused. It gets
// more time while the answer's unsent bytes keep going down.
bool RequestHeadReader::IsStillTakingItsAnswer(int socket, Waiting& waiting) const
{
    int unsent = 0;
    if (::ioctl(socket, SIOCOUTQ, &unsent) != 0 || unsent == 0 || unsent >= waiting.unsent)
        return false;
    waiting.unsent = unsent;
    return true;
}

// Logged before it goes out, like every answer, so that a client that has
// its answer finds the line.
void RequestHeadReader::Refuse(ClientConnection& connection, const FinalAnswer& answer)
{
    const auto [method, path] = MethodAndPath(connection.Pending());
    m_log.WriteCompleted(method, path, answer.status, answer.body.size());
    connection.SendFinalAnswer(answer);
}

void RequestHeadReader::Forget(int socket)
{
    ::epoll_ctl(m_epoll, EPOLL_CTL_DEL, socket, nullptr);
    m_waiting.erase(socket);
}

int RequestHeadReader::MillisecondsToNextDeadline() const
{
    if (m_waiting.empty())
        return -1;
    Clock::time_point next = Clock::time_point::max();
    for (const auto& entry : m_waiting)
        next = std::min(next, entry.second.deadline);
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(next - Clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, wait.count()));
}

}
