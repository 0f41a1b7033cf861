#pragma once

#include <httplib.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

// Small synchronous HTTP helpers over httplib's client for the station
// server's tests.
namespace HttpFetch {

struct Answer {
    int status = 0;
    httplib::Headers headers;
    std::string body;
    bool complete = false;  // the body ended as announced
    std::string Header(const std::string& name) const;
};

// GET of a whole answer; nothing when no answer arrived at all.
std::optional<Answer> Get(int port, const std::string& path, const httplib::Headers& headers = {});

// GET that reads the body for the given time, or until maxBytes have
// arrived, then drops the connection.
std::optional<Answer> GetFor(int port, const std::string& path, std::chrono::milliseconds duration,
                             const httplib::Headers& headers = {}, std::size_t maxBytes = SIZE_MAX);

}
