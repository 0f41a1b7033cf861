#pragma once

#include <httplib.h>

#include <condition_variable>
#include <cstddef>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

// A stand-in for one server of the Radio Browser directory, on a free
// loopback port, speaking real HTTP: /json/stations/search (hidebroken,
// countrycode, order, reverse, offset, limit) and /json/stations/changed
// (lastchangeuuid, limit) over the stations and changes it is given. It
// can also misbehave in the ways a server on the internet does.
class FakeDirectory
{
public:
    enum class Behaviour {
        Answer,
        Fail,  // 503 to everything
        CutShort,  // announces the whole answer, sends half, closes
        Stall,  // answers nothing until the directory is destroyed
    };

    struct Request {
        std::string path;
        std::multimap<std::string, std::string> params;
        std::string userAgent;
        std::string Param(const std::string& name) const;
    };

    FakeDirectory();
    ~FakeDirectory();
    FakeDirectory(const FakeDirectory&) = delete;
    FakeDirectory& operator=(const FakeDirectory&) = delete;

    void SetStations(const nlohmann::json& stations);
    void SetChanges(const nlohmann::json& changes);
    void SetBehaviour(Behaviour behaviour);

    std::string BaseUrl() const;
    int Port() const { return m_port; }
    std::vector<Request> Requests() const;

    // Made-up stations shaped like the directory's, the most played first;
    // each is made and kept as text, so that many need little memory.
    void SetMadeUpStations(std::size_t count);

private:
    struct Station {
        std::string text;
        std::string countryCode;
        long long clicks = 0;
        long long votes = 0;
        bool working = false;
    };

    static Station Kept(const nlohmann::json& station);
    void Search(const httplib::Request& request, httplib::Response& response);
    void Changes(const httplib::Request& request, httplib::Response& response);
    // Sends the answer as the behaviour has it.
    void Send(std::string body, httplib::Response& response);

    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
    mutable std::mutex m_mutex;
    std::condition_variable m_released;
    bool m_stopping = false;
    Behaviour m_behaviour = Behaviour::Answer;
    std::vector<Station> m_stations;
    std::vector<std::string> m_changes;
    std::vector<std::string> m_changeIds;
    std::vector<Request> m_requests;
};
