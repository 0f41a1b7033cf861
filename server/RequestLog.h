#pragma once

#include <httplib.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

namespace stationserver {

// The request log that tests read: one line per answered request,
//   <ISO-8601 UTC time> <METHOD> <path> <status> <bytes sent>
// Bytes sent count the body only. An answer whose body is known in full is
// logged just before it goes out, so that a client that has its answer
// always finds the line. An answer from a content provider
// (a stream, a faulty body) is logged when it has ended, with what really
// went out; a stream also gets a line ending in "STREAM-START" when it
// begins.
class RequestLog
{
public:
    // An empty path keeps no log. Throws std::runtime_error when the file
    // cannot be opened.
    explicit RequestLog(const std::string& path);
    ~RequestLog();
    RequestLog(const RequestLog&) = delete;
    RequestLog& operator=(const RequestLog&) = delete;

    void WriteCompleted(const std::string& method, const std::string& path, int status, std::uint64_t bytesSent);
    void WriteStreamStart(const std::string& method, const std::string& path, int status);

    // Wraps a route's handler so that answers with a body are logged;
    // answers from a content provider are logged by their ProviderTally.
    // A handler that leaves the status unset answers 200.
    httplib::Server::Handler Logged(httplib::Server::Handler handler);
    // For set_error_handler: gives httplib's own error answers (no route,
    // a bad request) a short text and logs them. Answers from our handlers
    // always carry a body of their own and were logged already.
    httplib::Server::Handler ErrorHandler();

private:
    void WriteAnswer(const httplib::Request& request, const httplib::Response& response);
    void Write(const std::string& method, const std::string& path, int status, const std::string& last);

    std::mutex m_mutex;
    std::FILE* m_file = nullptr;
};

// Counts what a content provider sends and writes the request's log line
// when httplib releases the provider, that is when the answer has ended for
// whatever reason, unless the provider wrote it before its last piece.
class ProviderTally
{
public:
    ProviderTally(RequestLog& log, const httplib::Request& request, int status);

    // Writes to the sink; false when the client is gone.
    bool Write(httplib::DataSink& sink, const char* data, std::size_t size);
    std::uint64_t BytesSent() const { return m_bytesSent.load(); }
    // Writes the stream's "STREAM-START" line.
    void LogStreamStart();
    // Writes the answer's line now, with the bytes it will have sent, for a
    // provider about to write its last piece; the line is written once.
    void LogAnswer(std::uint64_t bytesSent);

    // The releaser for Response::set_content_provider.
    static httplib::ContentProviderResourceReleaser LogWhenReleased(std::shared_ptr<ProviderTally> tally);

private:
    RequestLog& m_log;
    std::string m_method;
    std::string m_path;
    int m_status;
    std::atomic<std::uint64_t> m_bytesSent{0};
    std::atomic<bool> m_logged{false};
};

}
