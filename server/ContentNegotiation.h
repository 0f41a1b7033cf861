#pragma once

#include <string_view>

namespace stationserver {

// True when an Accept-Encoding header value takes gzip: named (or x-gzip),
// or covered by "*", with a quality above zero.
bool AcceptsGzip(std::string_view acceptEncoding);

// True when an If-None-Match header value names the entity tag (compared
// weakly, as that header asks) or is "*".
bool IfNoneMatchNames(std::string_view ifNoneMatch, std::string_view entityTag);

}
