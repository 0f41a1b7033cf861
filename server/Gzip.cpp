#include "Gzip.h"

#include <zlib.h>

#include <limits>
#include <stdexcept>

namespace stationserver {
namespace {

// zlib writes a gzip header and trailer instead of its own when 16 is added
// to the window bits.
constexpr int kGzipWindowBits = 15 + 16;
constexpr int kMemoryLevel = 8;
constexpr std::size_t kPieceSize = 256 * 1024;

}

std::string GzipCompressed(std::string_view bytes)
{
    if (bytes.size() > std::numeric_limits<uInt>::max())
        throw std::runtime_error("too much to compress in one piece");
    z_stream stream{};
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, kGzipWindowBits, kMemoryLevel, Z_DEFAULT_STRATEGY) !=
        Z_OK)
        throw std::runtime_error("zlib cannot start compressing");

    std::string compressed;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    int result = Z_OK;
    while (result == Z_OK) {
        const std::size_t used = compressed.size();
        compressed.resize(used + kPieceSize);
        stream.next_out = reinterpret_cast<Bytef*>(compressed.data() + used);
        stream.avail_out = static_cast<uInt>(kPieceSize);
        result = deflate(&stream, Z_FINISH);
        compressed.resize(used + kPieceSize - stream.avail_out);
    }
    deflateEnd(&stream);
    if (result != Z_STREAM_END)
        throw std::runtime_error("zlib failed to compress the station list");
    return compressed;
}

}
