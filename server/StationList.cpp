#include "StationList.h"

#include "TextEncoding.h"

namespace stationserver {
namespace {

std::string Substituted(std::string line, std::string_view serverBaseUrl)
{
    std::size_t pos = 0;
    while ((pos = line.find(kServerPlaceholder, pos)) != std::string::npos) {
        line.replace(pos, kServerPlaceholder.size(), serverBaseUrl);
        pos += serverBaseUrl.size();
    }
    return line;
}

void AppendLine(const CatalogueLine& line, std::string_view serverBaseUrl, std::string& out)
{
    AppendUtf16Le(Substituted(line.text, serverBaseUrl), out);
    AppendUtf16Le("\r\n", out);
}

}

std::string BuildStationList(const Catalogue& catalogue, std::string_view serverBaseUrl)
{
    std::string out;
    AppendLine(catalogue.header, serverBaseUrl, out);
    for (const CatalogueLine& channel : catalogue.channels)
        AppendLine(channel, serverBaseUrl, out);
    return out;
}

}
