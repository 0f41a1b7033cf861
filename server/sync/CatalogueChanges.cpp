#include "CatalogueChanges.h"

#include <unordered_map>

namespace stationserver {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr int kIdField = 3;

std::string_view IdOf(std::string_view line)
{
    std::size_t start = 0;
    for (int field = 0; field < kIdField; ++field) {
        start = line.find(',', start);
        if (start == std::string_view::npos)
            return line;
        ++start;
    }
    const std::size_t end = line.find(',', start);
    const std::string_view id =
        line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    return id.empty() ? line : id;
}

}

std::vector<std::string_view> ChannelLines(std::string_view catalogue)
{
    if (catalogue.starts_with(kByteOrderMark))
        catalogue.remove_prefix(kByteOrderMark.size());
    std::vector<std::string_view> lines;
    bool headerSeen = false;
    while (!catalogue.empty()) {
        const std::size_t end = catalogue.find('\n');
        std::string_view line = catalogue.substr(0, end);
        catalogue.remove_prefix(end == std::string_view::npos ? catalogue.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos || line[first] == '#')
            continue;
        if (headerSeen)
            lines.emplace_back(line);
        headerSeen = true;
    }
    return lines;
}

CatalogueChanges CatalogueChanges::Between(const std::vector<std::string_view>& before,
                                           const std::vector<std::string_view>& after)
{
    std::unordered_map<std::string_view, std::string_view> earlier;
    for (const std::string_view line : before)
        earlier.emplace(IdOf(line), line);
    CatalogueChanges changes;
    for (const std::string_view line : after) {
        const auto found = earlier.find(IdOf(line));
        if (found == earlier.end()) {
            changes.added.push_back(line);
            continue;
        }
        if (found->second != line)
            changes.changed.emplace_back(found->second, line);
        earlier.erase(found);
    }
    for (const std::string_view line : before) {
        if (earlier.contains(IdOf(line)))
            changes.removed.push_back(line);
    }
    return changes;
}

}
