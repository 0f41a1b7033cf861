#include "FakeDirectory.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <numeric>

namespace {

// With a charset, which the directory sends too, httplib leaves the
// answer uncompressed: compressing 100 MB would take the fake longer than
// the sync.
constexpr char kJson[] = "application/json; charset=utf-8";

std::size_t Number(const httplib::Request& request, const char* name, std::size_t otherwise)
{
    return request.has_param(name) ? std::stoul(request.get_param_value(name)) : otherwise;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

}

std::string FakeDirectory::Request::Param(const std::string& name) const
{
    const auto found = params.find(name);
    return found == params.end() ? std::string() : found->second;
}

FakeDirectory::FakeDirectory()
{
    m_server.Get("/json/stations/search", [this](const httplib::Request& q, httplib::Response& r) { Search(q, r); });
    m_server.Get("/json/stations/changed", [this](const httplib::Request& q, httplib::Response& r) { Changes(q, r); });
    m_port = m_server.bind_to_any_port("127.0.0.1");
    m_thread = std::thread([this] { m_server.listen_after_bind(); });
    // The socket listens from the bind on; stop() needs the loop running.
    while (!m_server.is_running())
        std::this_thread::yield();
}

FakeDirectory::~FakeDirectory()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_released.notify_all();
    m_server.stop();
    m_thread.join();
}

void FakeDirectory::SetStations(const nlohmann::json& stations)
{
    std::vector<Station> kept;
    for (const nlohmann::json& station : stations)
        kept.push_back(Kept(station));
    std::lock_guard lock(m_mutex);
    m_stations = std::move(kept);
}

FakeDirectory::Station FakeDirectory::Kept(const nlohmann::json& station)
{
    return {station.dump(), Lower(station.value("countrycode", "")), station.value("clickcount", 0LL),
            station.value("votes", 0LL), station.value("lastcheckok", 0) == 1};
}

void FakeDirectory::SetChanges(const nlohmann::json& changes)
{
    std::lock_guard lock(m_mutex);
    m_changes.clear();
    m_changeIds.clear();
    for (const nlohmann::json& change : changes) {
        m_changes.push_back(change.dump());
        m_changeIds.push_back(change.value("changeuuid", ""));
    }
}

void FakeDirectory::SetBehaviour(Behaviour behaviour)
{
    std::lock_guard lock(m_mutex);
    m_behaviour = behaviour;
}

std::string FakeDirectory::BaseUrl() const
{
    return "http://127.0.0.1:" + std::to_string(m_port);
}

std::vector<FakeDirectory::Request> FakeDirectory::Requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

void FakeDirectory::Search(const httplib::Request& request, httplib::Response& response)
{
    std::string body = "[";
    {
        std::lock_guard lock(m_mutex);
        m_requests.push_back(
            {request.path, {request.params.begin(), request.params.end()}, request.get_header_value("User-Agent")});
        const bool hideBroken = request.get_param_value("hidebroken") == "true";
        const std::string country = Lower(request.get_param_value("countrycode"));
        const bool byVotes = request.get_param_value("order") == "votes";
        std::vector<std::size_t> order(m_stations.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return byVotes ? m_stations[a].votes > m_stations[b].votes : m_stations[a].clicks > m_stations[b].clicks;
        });
        std::size_t skip = Number(request, "offset", 0);
        std::size_t left = Number(request, "limit", 100000);
        for (const std::size_t index : order) {
            const Station& station = m_stations[index];
            if ((hideBroken && !station.working) || (!country.empty() && station.countryCode != country))
                continue;
            if (skip > 0) {
                --skip;
                continue;
            }
            if (left-- == 0)
                break;
            body += (body.size() > 1 ? "," : "") + station.text;
        }
    }
    body += "]";
    Send(std::move(body), response);
}

void FakeDirectory::Changes(const httplib::Request& request, httplib::Response& response)
{
    std::string body = "[";
    {
        std::lock_guard lock(m_mutex);
        m_requests.push_back(
            {request.path, {request.params.begin(), request.params.end()}, request.get_header_value("User-Agent")});
        const auto last = std::find(m_changeIds.begin(), m_changeIds.end(), request.get_param_value("lastchangeuuid"));
        if (last == m_changeIds.end()) {
            response.status = 404;
            return;
        }
        std::size_t left = Number(request, "limit", 100000);
        for (auto change = last + 1; change != m_changeIds.end() && left-- > 0; ++change)
            body += (body.size() > 1 ? "," : "") + m_changes[static_cast<std::size_t>(change - m_changeIds.begin())];
    }
    body += "]";
    Send(std::move(body), response);
}

void FakeDirectory::Send(std::string body, httplib::Response& response)
{
    std::unique_lock lock(m_mutex);
    switch (m_behaviour) {
    case Behaviour::Answer:
        response.set_content(std::move(body), kJson);
        return;
    case Behaviour::Fail:
        response.status = 503;
        response.set_content("busy", "text/plain");
        return;
    case Behaviour::Stall:
        m_released.wait(lock, [this] { return m_stopping; });
        response.status = 503;
        return;
    case Behaviour::CutShort: {
        auto whole = std::make_shared<std::string>(std::move(body));
        response.set_content_provider(whole->size(), kJson, [whole](std::size_t, std::size_t, httplib::DataSink& sink) {
            sink.write(whole->data(), whole->size() / 2);
            return false;
        });
        return;
    }
    }
}

void FakeDirectory::SetMadeUpStations(std::size_t count)
{
    static const char* const kCountries[][3] = {{"DE", "Germany", "german"},
                                                {"FR", "France", "french"},
                                                {"US", "The United States Of America", "english"},
                                                {"BR", "Brazil", "portuguese"}};
    std::vector<Station> stations;
    stations.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto& country = kCountries[i % std::size(kCountries)];
        char uuid[48];
        std::snprintf(uuid, sizeof uuid, "0b5e0000-0000-4000-8000-%012zu", i);
        char change[48];
        std::snprintf(change, sizeof change, "c4a90000-0000-4000-8000-%012zu", i);
        const std::string n = std::to_string(i);
        stations.push_back(Kept({
            {"changeuuid", change},
            {"stationuuid", uuid},
            {"serveruuid", nullptr},
            {"name", "Made-up Station " + n},
            {"url", "http://stream" + n + ".example.org/listen.pls"},
            {"url_resolved", "http://stream" + n + ".example.org/live.mp3"},
            {"homepage", "https://station" + n + ".example.org/"},
            {"favicon", "https://station" + n + ".example.org/favicon.png"},
            {"tags", "pop,rock,hits,80s,charts"},
            {"country", country[1]},
            {"countrycode", country[0]},
            {"iso_3166_2", nullptr},
            {"state", "Somewhere"},
            {"language", country[2]},
            {"languagecodes", "xx"},
            {"votes", static_cast<long long>(i % 1000)},
            {"lastchangetime", "2025-01-01 10:00:00"},
            {"lastchangetime_iso8601", "2025-01-01T10:00:00Z"},
            {"codec", "MP3"},
            {"bitrate", 128},
            {"hls", 0},
            {"lastcheckok", 1},
            {"lastchecktime", "2025-02-01 08:00:00"},
            {"lastchecktime_iso8601", "2025-02-01T08:00:00Z"},
            {"lastcheckoktime", "2025-02-01 08:00:00"},
            {"lastcheckoktime_iso8601", "2025-02-01T08:00:00Z"},
            {"lastlocalchecktime", "2025-02-01 08:00:00"},
            {"lastlocalchecktime_iso8601", "2025-02-01T08:00:00Z"},
            {"clicktimestamp", "2025-02-01 09:00:00"},
            {"clicktimestamp_iso8601", "2025-02-01T09:00:00Z"},
            {"clickcount", static_cast<long long>(count - i)},
            {"clicktrend", 0},
            {"ssl_error", 0},
            {"geo_lat", 48.1},
            {"geo_long", 11.6},
            {"has_extended_info", false},
        }));
    }
    std::lock_guard lock(m_mutex);
    m_stations = std::move(stations);
}
