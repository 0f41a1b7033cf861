// A full sync of the station server's catalogue with a stand-in of the
// Radio Browser directory on loopback: 50,000 stations in pages of 10,000,
// then 100,000 in one answer. Prints the sync's wall time and its peak
// memory (the resident set of the kestrel-station-server process).

#include "FakeDirectory.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr double kWallTargetSeconds = 10.0;
constexpr double kMemoryTargetMiB = 200.0;

struct Run {
    int status = -1;
    double seconds = 0;
    double peakMiB = 0;
};

// A row of the summary table that scripts/bench.sh prints at its end.
void AddTableRow(const std::string& figure, const std::string& ours, const std::string& target)
{
    const char* table = std::getenv("KESTREL_BENCH_TABLE");
    if (table == nullptr || *table == '\0')
        return;
    if (FILE* file = std::fopen(table, "a")) {
        std::fprintf(file, "%s\t%s\t%s\t-\n", figure.c_str(), ours.c_str(), target.c_str());
        std::fclose(file);
    }
}

Run Sync(const std::string& baseUrl, const std::string& catalogue, std::size_t pageSize)
{
    const std::string page = std::to_string(pageSize);
    std::vector<const char*> arguments{KESTREL_STATION_SERVER_PATH,
                                       "sync",
                                       "--directory",
                                       baseUrl.c_str(),
                                       "--catalogue",
                                       catalogue.c_str(),
                                       "--full",
                                       "--pause",
                                       "0",
                                       "--page-size",
                                       page.c_str(),
                                       "--timeout",
                                       "300",
                                       nullptr};
    const auto started = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execv(arguments[0], const_cast<char* const*>(arguments.data()));
        _exit(127);
    }
    Run run;
    rusage usage{};
    int status = 0;
    if (child < 0 || wait4(child, &status, 0, &usage) != child)
        return run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return run;
}

std::string Figure(double value, const char* unit)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.1f %s", value, unit);
    return text;
}

}

int main()
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("directory-sync-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    int failures = 0;
    struct Case {
        std::size_t stations;
        std::size_t pageSize;
        bool withTarget;
    };
    for (const Case& benchCase : {Case{50000, 10000, true}, Case{100000, 100000, false}}) {
        FakeDirectory directory;
        directory.SetMadeUpStations(benchCase.stations);
        const std::string catalogue = (folder / ("catalogue-" + std::to_string(benchCase.stations) + ".txt")).string();
        const Run run = Sync(directory.BaseUrl(), catalogue, benchCase.pageSize);
        std::printf("full sync of %zu stations in pages of %zu: exit %d, %.1f s, peak memory %.1f MiB\n",
                    benchCase.stations, benchCase.pageSize, run.status, run.seconds, run.peakMiB);
        failures += run.status != 0;
        const std::string what = "directory sync, " + std::to_string(benchCase.stations) + " stations";
        AddTableRow(what + ": wall time", Figure(run.seconds, "s"),
                    benchCase.withTarget ? "< " + Figure(kWallTargetSeconds, "s") : "-");
        AddTableRow(what + ": peak memory", Figure(run.peakMiB, "MiB"),
                    benchCase.withTarget ? "< " + Figure(kMemoryTargetMiB, "MiB") : "-");
    }
    std::filesystem::remove_all(folder);
    return failures == 0 ? 0 : 1;
}
