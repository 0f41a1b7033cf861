#include "SyncCommandLine.h"

#include <charconv>
#include <fstream>
#include <functional>
#include <sstream>
#include <string_view>
#include <utility>
#include <vector>

namespace stationserver {
namespace {

constexpr int kExitDone = 0;
constexpr int kExitBadInput = 2;
constexpr char kProgram[] = "kestrel-station-server: ";
constexpr std::size_t kLargestPage = 100000;
constexpr double kLongestSeconds = 86400;
constexpr double kLongestDays = 3660;

constexpr char kUsage[] = "Usage: kestrel-station-server sync --catalogue OUT [--config FILE] [options]\n"
                          "\n"
                          "Keeps the catalogue OUT in step with the Radio Browser directory\n"
                          "(radio-browser.info): reads the stations the filters select from its API and\n"
                          "puts a new catalogue in place of OUT, which a running server reads by itself.\n"
                          "The catalogue it replaces is kept as OUT.previous. A sync that fails, or whose\n"
                          "catalogue would have fewer than half the stations of OUT, leaves OUT as it is.\n"
                          "\n"
                          "  --catalogue OUT       the catalogue to keep in step\n"
                          "  --config FILE         the filter file: lines of name = value, with the names\n"
                          "                        of the options below (without --); # starts a comment\n"
                          "  --dry-run             print the stations that would be added, removed and\n"
                          "                        changed, and write nothing\n"
                          "  --full                read every selected station, not only the changes\n"
                          "  --force               take a catalogue however much smaller than OUT\n"
                          "  --help                show this help\n"
                          "\n"
                          "Which stations (only those the directory's last check found working):\n"
                          "  --country CODES       country codes, comma-separated (DE,AT,CH)\n"
                          "  --language NAMES      languages (german,english)\n"
                          "  --tag TAGS            tags (jazz,blues)\n"
                          "  --codec CODEC         the audio codec (MP3, AAC, OGG...)\n"
                          "  --min-votes N         at least N votes\n"
                          "  --min-clicks N        at least N clicks\n"
                          "  --max-stations N      at most N stations, the first in the order (0: all)\n"
                          "  --order clicks|votes  most played (default) or most voted for first\n"
                          "\n"
                          "How the directory is asked:\n"
                          "  --directory URL       ask this server (a mirror) instead of the directory's\n"
                          "                        own, found through all.api.radio-browser.info; may be\n"
                          "                        given more than once, the next is asked on a failure\n"
                          "  --cache FILE          the stations of the last sync (default: OUT.cache); later\n"
                          "                        syncs ask only for the changes since\n"
                          "  --full-every DAYS     read every selected station again after DAYS (7)\n"
                          "  --page-size N         stations asked for in one request (10000)\n"
                          "  --pause SECONDS       between two requests (2)\n"
                          "  --max-requests N      requests in one sync at most (50)\n"
                          "  --timeout SECONDS     for one whole answer (120)\n"
                          "  --min-fraction F      refuse a catalogue with fewer than F times the stations\n"
                          "                        of OUT (0.5)\n"
                          "\n"
                          "Exit status: 0 when the catalogue is in step (or on a dry run), 1 when it could\n"
                          "not be written, 2 for a bad command line or filter file, 3 when the directory\n"
                          "could not be read, 4 when its stations were refused as too few.\n";

// A setting's value applied to the settings; an error text, or empty.
using Apply = std::function<std::string(SyncSettings&, const std::string&)>;

struct Setting {
    std::string_view name;
    Apply apply;
};

template <typename Number>
std::string NumberText(Number number)
{
    std::ostringstream text;
    text << number;
    return text.str();
}

template <typename Number>
std::string ParseNumber(const std::string& text, Number& number, Number least, Number most)
{
    Number parsed{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, parsed);
    if (error != std::errc() || stop != end || parsed < least || parsed > most)
        return "needs a number from " + NumberText(least) + " to " + NumberText(most) + ", not '" + text + "'";
    number = parsed;
    return {};
}

std::string ParseSeconds(const std::string& text, std::chrono::milliseconds& duration, double least)
{
    double seconds = 0;
    const std::string error = ParseNumber(text, seconds, least, kLongestSeconds);
    if (error.empty())
        duration = std::chrono::milliseconds(static_cast<std::int64_t>(seconds * 1000));
    return error;
}

const std::vector<Setting>& Settings()
{
    static const std::vector<Setting> settings{
        {"catalogue",
         [](SyncSettings& s, const std::string& v) {
             s.catalogueFile = v;
             return std::string();
         }},
        {"cache",
         [](SyncSettings& s, const std::string& v) {
             s.cacheFile = v;
             return std::string();
         }},
        {"directory",
         [](SyncSettings& s, const std::string& v) {
             if (!v.starts_with("http://") && !v.starts_with("https://"))
                 return "needs an http or https address, not '" + v + "'";
             s.directories.push_back(v);
             return std::string();
         }},
        {"country",
         [](SyncSettings& s, const std::string& v) {
             s.filter.countryCodes = ListItems(v);
             return std::string();
         }},
        {"language",
         [](SyncSettings& s, const std::string& v) {
             s.filter.languages = ListItems(v);
             return std::string();
         }},
        {"tag",
         [](SyncSettings& s, const std::string& v) {
             s.filter.tags = ListItems(v);
             return std::string();
         }},
        {"codec",
         [](SyncSettings& s, const std::string& v) {
             const std::vector<std::string> items = ListItems(v);
             s.filter.codec = items.empty() ? std::string() : items.front();
             return std::string();
         }},
        {"min-votes",
         [](SyncSettings& s, const std::string& v) {
             return ParseNumber<std::int64_t>(v, s.filter.minVotes, 0, INT64_MAX);
         }},
        {"min-clicks",
         [](SyncSettings& s, const std::string& v) {
             return ParseNumber<std::int64_t>(v, s.filter.minClicks, 0, INT64_MAX);
         }},
        {"max-stations",
         [](SyncSettings& s, const std::string& v) {
             return ParseNumber<std::size_t>(v, s.filter.maxStations, 0, SIZE_MAX);
         }},
        {"order",
         [](SyncSettings& s, const std::string& v) {
             if (v != "clicks" && v != "votes")
                 return "needs clicks or votes, not '" + v + "'";
             s.filter.order = v == "votes" ? StationOrder::Votes : StationOrder::Clicks;
             return std::string();
         }},
        {"page-size",
         [](SyncSettings& s, const std::string& v) {
             return ParseNumber<std::size_t>(v, s.pageSize, 1, kLargestPage);
         }},
        {"pause", [](SyncSettings& s, const std::string& v) { return ParseSeconds(v, s.pause, 0); }},
        {"max-requests",
         [](SyncSettings& s, const std::string& v) { return ParseNumber<std::size_t>(v, s.maxRequests, 1, 100000); }},
        {"timeout", [](SyncSettings& s, const std::string& v) { return ParseSeconds(v, s.http.deadline, 0.001); }},
        {"min-fraction", [](SyncSettings& s, const std::string& v) { return ParseNumber(v, s.minFraction, 0.0, 1.0); }},
        {"full-every",
         [](SyncSettings& s, const std::string& v) {
             double days = 0;
             const std::string error = ParseNumber(v, days, 0.0, kLongestDays);
             if (error.empty())
                 s.fullEvery = std::chrono::hours(static_cast<std::int64_t>(days * 24));
             return error;
         }},
    };
    return settings;
}

const Setting* FindSetting(std::string_view name)
{
    for (const Setting& setting : Settings()) {
        if (setting.name == name)
            return &setting;
    }
    return nullptr;
}

std::string Trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Applies the filter file; an error text naming its file and line, or empty.
std::string ReadFilterFile(const std::string& path, SyncSettings& settings)
{
    std::ifstream file(path);
    if (!file)
        return path + ": the filter file cannot be read";
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        const std::string text = Trimmed(line);
        if (text.empty() || text.front() == '#')
            continue;
        const std::string where = path + ":" + std::to_string(number) + ": ";
        const std::size_t equals = text.find('=');
        if (equals == std::string::npos)
            return where + "a setting needs the form name = value";
        const std::string name = Trimmed(text.substr(0, equals));
        const Setting* setting = FindSetting(name);
        if (setting == nullptr)
            return where + "unknown setting '" + name + "'";
        const std::string error = setting->apply(settings, Trimmed(text.substr(equals + 1)));
        if (!error.empty())
            return where + name + " " + error;
    }
    return {};
}

SyncCommandLine Failure(const std::string& message)
{
    return {std::nullopt, kProgram + message + "\nTry kestrel-station-server sync --help.\n", kExitBadInput};
}

}

SyncCommandLine ParseSyncCommandLine(int argumentCount, const char* const* arguments)
{
    SyncSettings settings;
    std::string configFile;
    std::vector<std::pair<const Setting*, std::string>> given;
    for (int i = 0; i < argumentCount; ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--help" || argument == "-h")
            return {std::nullopt, kUsage, kExitDone};
        if (argument == "--dry-run") {
            settings.dryRun = true;
            continue;
        }
        if (argument == "--full") {
            settings.forceFull = true;
            continue;
        }
        if (argument == "--force") {
            settings.forceSmaller = true;
            continue;
        }
        if (!argument.starts_with("--"))
            return Failure("sync takes no " + std::string(argument) + "; the catalogue goes with --catalogue");
        const std::size_t equals = argument.find('=');
        const std::string name(argument.substr(2, equals == std::string_view::npos ? argument.npos : equals - 2));
        std::string value;
        if (equals != std::string_view::npos)
            value = argument.substr(equals + 1);
        else if (i + 1 < argumentCount)
            value = arguments[++i];
        else
            return Failure("--" + name + " needs a value");
        if (name == "config") {
            configFile = value;
            continue;
        }
        const Setting* setting = FindSetting(name);
        if (setting == nullptr)
            return Failure("unknown option --" + name + " for sync");
        given.emplace_back(setting, value);
    }

    if (!configFile.empty()) {
        const std::string error = ReadFilterFile(configFile, settings);
        if (!error.empty())
            return Failure(error);
    }
    bool directoriesGiven = false;
    for (const auto& [setting, value] : given) {
        if (setting->name == "directory" && !directoriesGiven) {
            settings.directories.clear();
            directoriesGiven = true;
        }
        const std::string error = setting->apply(settings, value);
        if (!error.empty())
            return Failure("--" + std::string(setting->name) + " " + error);
    }
    if (settings.catalogueFile.empty())
        return Failure("sync needs the catalogue to keep in step (--catalogue OUT)");
    return {std::move(settings), {}, kExitDone};
}

}
