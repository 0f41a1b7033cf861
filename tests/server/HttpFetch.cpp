#include "HttpFetch.h"

namespace HttpFetch {
namespace {

httplib::Client ClientFor(int port, std::chrono::milliseconds readTimeout = std::chrono::seconds(10))
{
    httplib::Client client("127.0.0.1", port);
    client.set_connection_timeout(5);
    client.set_read_timeout(readTimeout);
    return client;
}

}

std::string Answer::Header(const std::string& name) const
{
    const auto found = headers.find(name);
    return found == headers.end() ? std::string() : found->second;
}

std::optional<Answer> Get(int port, const std::string& path, const httplib::Headers& headers)
{
    httplib::Client client = ClientFor(port);
    const httplib::Result result = client.Get(path, headers);
    if (!result)
        return std::nullopt;
    return Answer{result->status, result->headers, result->body, true};
}

std::optional<Answer> GetFor(int port, const std::string& path, std::chrono::milliseconds duration,
                             const httplib::Headers& headers, std::size_t maxBytes)
{
    // A silent server must not keep the reader longer than asked either.
    httplib::Client client = ClientFor(port, duration);
    Answer answer;
    bool answered = false;
    const auto deadline = std::chrono::steady_clock::now() + duration;
    const httplib::Result result = client.Get(
        path, headers,
        [&](const httplib::Response& response) {
            answered = true;
            answer.status = response.status;
            answer.headers = response.headers;
            return true;
        },
        [&](const char* data, std::size_t length) {
            answer.body.append(data, length);
            return answer.body.size() < maxBytes && std::chrono::steady_clock::now() < deadline;
        });
    if (!answered)
        return std::nullopt;
    answer.complete = static_cast<bool>(result);
    return answer;
}

}
