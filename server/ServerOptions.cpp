#include "ServerOptions.h"

#include <charconv>
#include <functional>
#include <map>
#include <string_view>

namespace stationserver {
namespace {

constexpr int kUsageError = 2;

std::string Usage(const ServerOptions& defaults)
{
    return "Usage: kestrel-station-server [options]\n"
           "       kestrel-station-server import FILE.json [--catalogue OUT]\n"
           "\n"
           "Serves Kestrel Radio's station list, banner page and demo streams, and the\n"
           "music and promotion sites' home pages, each site on its own port. The import\n"
           "makes a catalogue of the stations in a Radio Browser dump (import --help).\n"
           "\n"
           "  --listen ADDR            listen address (default 127.0.0.1)\n"
           "  --port N                 station server port (default 8580; 0 picks a free one)\n"
           "  --music-port N           music site port (default 8581; 0 picks a free one)\n"
           "  --promo-port N           promotion site port (default 8582; 0 picks a free one)\n"
           "  --catalogue FILE         the UTF-8 channel catalogue (default\n"
           "                           " +
        defaults.catalogueFile +
        ")\n"
        "  --media DIR              demo media folder (default\n"
        "                           " +
        defaults.mediaFolder +
        ")\n"
        "  --request-log FILE       append one line per request: time method path status bytes\n"
        "  --ready-file FILE        once listening, write station=PORT, music=PORT, promo=PORT\n"
        "  --fault KIND             misbehave when serving /stationlist.zip: " +
        std::string(kFaultForms) +
        "\n"
        "  --drop-streams-after S   close every stream connection after S seconds (0: never)\n"
        "  --title-interval S       seconds of stream between two track titles (default 10)\n"
        "  --burst S                seconds of stream sent at once to a new listener (default 2)\n"
        "  --stream-speed N         send the streams N times faster than they play (default 1)\n"
        "  --threads N              connection threads of the station server (default 300)\n"
        "  --header-timeout S       seconds a client has to send a request's line and\n"
        "                           headers, however slowly they come (default 10)\n"
        "  --connections-per-address N\n"
        "                           connections open at once from one client address\n"
        "                           (default 32; 0: no limit, as behind a reverse proxy)\n"
        "  --help                   show this help\n"
        "\n"
        "In the catalogue, {server} stands for the station server's base URL. SIGHUP,\n"
        "or a change of the catalogue file, makes the server read it again; a faulty\n"
        "new catalogue is refused and the old one served on. SIGTERM or SIGINT stops\n"
        "the server. Exit status: 0 after a clean stop, 1 when a site cannot listen, 2\n"
        "for a bad command line or catalogue.\n";
}

std::optional<int> Number(std::string_view text, int lowest, int highest)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

CommandLine Failure(const std::string& message)
{
    return {std::nullopt, "kestrel-station-server: " + message + "\nTry kestrel-station-server --help.\n", kUsageError};
}

}

CommandLine ParseCommandLine(int argc, const char* const* argv, const ServerOptions& defaults)
{
    ServerOptions options = defaults;
    std::string error;

    auto number = [&error](int& target, int lowest, int highest) {
        return [&target, &error, lowest, highest](std::string_view option, std::string_view value) {
            const auto parsed = Number(value, lowest, highest);
            if (!parsed)
                error = std::string(option) + " needs a whole number from " + std::to_string(lowest) + " to " +
                    std::to_string(highest) + ", not \"" + std::string(value) + "\"";
            else
                target = *parsed;
        };
    };
    auto text = [](std::string& target) {
        return [&target](std::string_view, std::string_view value) { target = value; };
    };
    int dropAfterSeconds = static_cast<int>(options.streams.dropAfter.count());
    int titleIntervalSeconds = static_cast<int>(options.streams.titleInterval.count());
    int burstSeconds = static_cast<int>(options.streams.burst.count());

    const std::map<std::string_view, std::function<void(std::string_view, std::string_view)>> valueOptions{
        {"--listen", text(options.listenAddress)},
        {"--port", number(options.stationPort, 0, 65535)},
        {"--music-port", number(options.musicPort, 0, 65535)},
        {"--promo-port", number(options.promoPort, 0, 65535)},
        {"--catalogue", text(options.catalogueFile)},
        {"--media", text(options.mediaFolder)},
        {"--request-log", text(options.requestLogFile)},
        {"--ready-file", text(options.readyFile)},
        {"--drop-streams-after", number(dropAfterSeconds, 0, 86400)},
        {"--title-interval", number(titleIntervalSeconds, 1, 86400)},
        {"--burst", number(burstSeconds, 0, 3600)},
        {"--stream-speed", number(options.streams.speed, 1, 1000)},
        {"--threads", number(options.connectionThreads, 4, 10000)},
        {"--header-timeout", number(options.headerTimeoutSeconds, 1, 3600)},
        {"--connections-per-address", number(options.connectionsPerAddress, 0, 100000)},
        {"--fault",
         [&](std::string_view, std::string_view value) {
             const auto fault = ParseFault(value);
             if (!fault)
                 error = "unknown fault \"" + std::string(value) + "\"; use one of " + std::string(kFaultForms);
             else
                 options.fault = *fault;
         }},
    };

    for (int i = 1; i < argc; ++i) {
        std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h")
            return {std::nullopt, Usage(defaults), 0};
        std::string_view value;
        bool hasValue = false;
        if (const std::size_t equals = argument.find('=');
            argument.starts_with("--") && equals != std::string_view::npos) {
            value = argument.substr(equals + 1);
            argument = argument.substr(0, equals);
            hasValue = true;
        }
        const auto option = valueOptions.find(argument);
        if (option == valueOptions.end())
            return Failure("unknown option " + std::string(argument));
        if (!hasValue) {
            if (i + 1 >= argc)
                return Failure(std::string(argument) + " needs a value");
            value = argv[++i];
        }
        option->second(argument, value);
        if (!error.empty())
            return Failure(error);
    }
    options.streams.dropAfter = std::chrono::seconds(dropAfterSeconds);
    options.streams.titleInterval = std::chrono::seconds(titleIntervalSeconds);
    options.streams.burst = std::chrono::seconds(burstSeconds);
    return {options, {}, 0};
}

}
