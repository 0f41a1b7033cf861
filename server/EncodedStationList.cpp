#include "EncodedStationList.h"

#include "Gzip.h"
#include "StationList.h"

#include <zlib.h>

#include <cstdio>

namespace stationserver {
namespace {

// A strong tag from the length and the CRC-32 of the station list, both in
// hex; the gzipped bytes are another representation and get a tag of their
// own.
// Formatted in one go: GCC 12 at -O3 takes a chain of string additions here
// for an overlapping copy (-Wrestrict) that it is not.
std::string EntityTag(std::string_view bytes, std::string_view suffix)
{
    const uLong crc = crc32_z(crc32_z(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(bytes.data()), bytes.size());
    char text[64];
    std::snprintf(text, sizeof text, "\"%zx-%08lx%.*s\"", bytes.size(), static_cast<unsigned long>(crc),
                  static_cast<int>(suffix.size()), suffix.data());
    return text;
}

}

std::shared_ptr<const EncodedStationList> EncodeStationList(const Catalogue& catalogue, std::string_view serverBaseUrl)
{
    auto list = std::make_shared<EncodedStationList>();
    list->identity = BuildStationList(catalogue, serverBaseUrl);
    list->gzip = GzipCompressed(list->identity);
    list->identityTag = EntityTag(list->identity, "");
    list->gzipTag = EntityTag(list->identity, "-gzip");
    return list;
}

}
