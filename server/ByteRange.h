#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace stationserver {

// What a request's Range header asks of a body of a known length.
struct ByteRange {
    enum class Kind {
        // No range, or one the server does not serve: the whole body, 200.
        Whole,
        // The bytes from offset on, count of them: 206.
        Part,
        // Nothing of the body: 416.
        Unsatisfiable,
    };
    Kind kind = Kind::Whole;
    std::size_t offset = 0;
    std::size_t count = 0;

    // The Content-Range header of a part ("bytes 10-29/2958") or of a 416
    // ("bytes */2958").
    std::string ContentRange(std::size_t length) const;
};

// Reads a Range header value for a body of the given length. One range of
// bytes is served: "bytes=10-29", an open end "bytes=10-" or the last bytes
// "bytes=-20", each cut at the body's end. It cannot be satisfied when it
// starts at or past the end or asks for no bytes ("bytes=-0"). Any other
// unit, a header that is not a range, and several ranges at once get the
// whole body, as a server may always answer them.
ByteRange SelectByteRange(std::string_view range, std::size_t length);

}
