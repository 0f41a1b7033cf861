#include "RequestLog.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <stdexcept>

namespace stationserver {
namespace {

std::string UtcTimestamp()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
    std::snprintf(text + length, sizeof text - length, ".%03dZ", static_cast<int>(milliseconds));
    return text;
}

// Keeps every line five space-separated fields: a path with a space or a
// control character in it is written with those bytes percent-encoded.
std::string LoggedPath(const std::string& path)
{
    std::string logged;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F || byte == '%') {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            logged += escaped;
        } else {
            logged += c;
        }
    }
    return logged.empty() ? "-" : logged;
}

}

RequestLog::RequestLog(const std::string& path)
{
    if (path.empty())
        return;
    m_file = std::fopen(path.c_str(), "a");
    if (!m_file)
        throw std::runtime_error("cannot open the request log " + path + ": " + std::strerror(errno));
}

RequestLog::~RequestLog()
{
    if (m_file)
        std::fclose(m_file);
}

void RequestLog::WriteCompleted(const std::string& method, const std::string& path, int status, std::uint64_t bytesSent)
{
    Write(method, path, status, std::to_string(bytesSent));
}

void RequestLog::WriteStreamStart(const std::string& method, const std::string& path, int status)
{
    Write(method, path, status, "STREAM-START");
}

void RequestLog::Write(const std::string& method, const std::string& path, int status, const std::string& last)
{
    if (!m_file)
        return;
    const std::string line =
        UtcTimestamp() + " " + method + " " + LoggedPath(path) + " " + std::to_string(status) + " " + last + "\n";
    const std::lock_guard lock(m_mutex);
    std::fputs(line.c_str(), m_file);
    std::fflush(m_file);
}

void RequestLog::WriteAnswer(const httplib::Request& request, const httplib::Response& response)
{
    const bool bodySent = request.method != "HEAD";
    WriteCompleted(request.method, request.path, response.status, bodySent ? response.body.size() : 0);
}

httplib::Server::Handler RequestLog::Logged(httplib::Server::Handler handler)
{
    return [this, handler = std::move(handler)](const httplib::Request& request, httplib::Response& response) {
        handler(request, response);
        if (response.content_provider_)
            return;
        if (response.status == -1)
            response.status = 200;
        WriteAnswer(request, response);
    };
}

httplib::Server::Handler RequestLog::ErrorHandler()
{
    return [this](const httplib::Request& request, httplib::Response& response) {
        if (!response.body.empty())
            return;
        // A 416 here is httplib's own, for a Range header it could not
        // read; it would cut a body of ours to the part of that header it
        // did read, so the answer stays empty.
        if (response.status != 416) {
            response.set_content(response.status == 404 ? "Nothing is served at " + request.path + ".\n"
                                                        : "The request could not be answered (status " +
                                         std::to_string(response.status) + ").\n",
                                 "text/plain");
        }
        WriteAnswer(request, response);
    };
}

ProviderTally::ProviderTally(RequestLog& log, const httplib::Request& request, int status)
    : m_log(log)
    , m_method(request.method)
    , m_path(request.path)
    , m_status(status)
{
}

bool ProviderTally::Write(httplib::DataSink& sink, const char* data, std::size_t size)
{
    if (!sink.write(data, size))
        return false;
    m_bytesSent += size;
    return true;
}

void ProviderTally::LogStreamStart()
{
    m_log.WriteStreamStart(m_method, m_path, m_status);
}

void ProviderTally::LogAnswer(std::uint64_t bytesSent)
{
    if (!m_logged.exchange(true))
        m_log.WriteCompleted(m_method, m_path, m_status, bytesSent);
}

httplib::ContentProviderResourceReleaser ProviderTally::LogWhenReleased(std::shared_ptr<ProviderTally> tally)
{
    return [tally = std::move(tally)](bool) { tally->LogAnswer(tally->BytesSent()); };
}

}
