#include "ImportCommand.h"

#include "AtomicFile.h"
#include "RadioBrowserImport.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string_view>

namespace stationserver {
namespace {

constexpr int kExitDone = 0;
constexpr int kExitNotWritten = 1;
constexpr int kExitBadInput = 2;
constexpr char kProgram[] = "kestrel-station-server: ";
constexpr std::string_view kStandardStream = "-";

constexpr char kUsage[] = "Usage: kestrel-station-server import FILE.json [--catalogue OUT]\n"
                          "\n"
                          "Makes a station server catalogue of the stations in FILE.json, a dump of the\n"
                          "Radio Browser directory (radio-browser.info): the JSON array of station objects\n"
                          "that its API answers, for example to /json/stations. FILE.json - reads\n"
                          "standard input.\n"
                          "\n"
                          "  --catalogue OUT   write the catalogue to OUT, replacing it only once the new\n"
                          "                    one is complete (default: standard output); OUT must be a\n"
                          "                    regular file or a new path, never a link, pipe or device\n"
                          "  --help            show this help\n"
                          "\n"
                          "Records without a name, without an http or https address, or repeating an\n"
                          "earlier station id are skipped, and a number too large to read leaves its field\n"
                          "out; the counts go to standard error. Exit status: 0\n"
                          "when the catalogue was written, 1 when it could not be, 2 for a bad command\n"
                          "line or a dump with no station to import.\n";

struct ImportArguments {
    std::string source;
    std::string catalogue;
};

int UsageError(const std::string& message)
{
    std::cerr << kProgram << message << "\nTry kestrel-station-server import --help.\n";
    return kExitBadInput;
}

// Reads the dump as it comes: it is never held whole in memory.
ImportResult ImportFrom(const std::string& source)
{
    if (source == kStandardStream) {
        // Without C stdio's buffer in between, standard input is read in
        // blocks rather than a call a byte.
        std::ios::sync_with_stdio(false);
        return ImportRadioBrowserStations(std::cin, source);
    }
    std::error_code error;
    if (std::filesystem::is_directory(source, error))
        throw ImportError(source + ": is a folder, not a station dump");
    std::ifstream file(source, std::ios::binary);
    if (!file)
        throw ImportError(source + ": cannot be read: " + std::strerror(errno));
    ImportResult result = ImportRadioBrowserStations(file, source);
    if (file.bad())
        throw ImportError(source + ": cannot be read: " + std::strerror(errno));
    return result;
}

void ReportSkipped(const ImportResult& result)
{
    std::cerr << kProgram << "skipped " << result.withoutName << " without a name\n"
              << kProgram << "skipped " << result.withoutWebAddress << " without an http or https address\n"
              << kProgram << "skipped " << result.duplicateIds << " repeating an earlier station id\n"
              << kProgram << "skipped " << result.notStations << " that are not station objects\n"
              << kProgram << "left out " << result.fieldsTooLarge << " fields holding a number too large to read\n";
}

}

int RunImport(int argumentCount, const char* const* arguments)
{
    ImportArguments parsed;
    for (int i = 0; i < argumentCount; ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            std::cout << kUsage;
            return kExitDone;
        }
        if (argument == "--catalogue" || argument.starts_with("--catalogue=")) {
            if (argument.starts_with("--catalogue="))
                parsed.catalogue = argument.substr(argument.find('=') + 1);
            else if (i + 1 < argumentCount)
                parsed.catalogue = arguments[++i];
            else
                return UsageError("--catalogue needs a value");
            if (parsed.catalogue.empty())
                return UsageError("--catalogue needs a file name");
        } else if (argument.starts_with("--")) {
            return UsageError("unknown option " + std::string(argument) + " for import");
        } else if (!parsed.source.empty()) {
            return UsageError("import reads one station dump; " + std::string(argument) + " is one too many");
        } else {
            parsed.source = argument;
        }
    }
    if (parsed.source.empty())
        return UsageError("import needs the station dump to read (FILE.json, or - for standard input)");

    // Refused before the dump is read, which may take a while; checked
    // again when the catalogue is written.
    if (!parsed.catalogue.empty()) {
        try {
            CheckReplaceable(parsed.catalogue);
        } catch (const FileWriteError& error) {
            std::cerr << kProgram << error.what() << "\n";
            return kExitNotWritten;
        }
    }

    ImportResult result;
    try {
        result = ImportFrom(parsed.source);
    } catch (const ImportError& error) {
        std::cerr << kProgram << error.what() << "\n";
        return kExitBadInput;
    }

    const std::string destination = parsed.catalogue.empty() ? "standard output" : parsed.catalogue;
    if (result.imported == 0) {
        std::cerr << kProgram << parsed.source << ": no station to import; " << destination
                  << (parsed.catalogue.empty() ? " gets nothing" : " is left as it was") << "\n";
        ReportSkipped(result);
        return kExitBadInput;
    }
    try {
        if (parsed.catalogue.empty()) {
            std::cout << result.catalogue << std::flush;
            if (!std::cout)
                throw FileWriteError("standard output: cannot be written");
        } else {
            WriteFileAtomically(parsed.catalogue, result.catalogue);
        }
    } catch (const FileWriteError& error) {
        std::cerr << kProgram << error.what() << "\n";
        return kExitNotWritten;
    }
    std::cerr << kProgram << "imported " << result.imported << " stations (" << result.videoStations << " TV, "
              << result.offAir << " off the air at the last check) into " << destination << "\n";
    ReportSkipped(result);
    return kExitDone;
}

}
