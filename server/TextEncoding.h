#pragma once

#include <string>
#include <string_view>

namespace stationserver {

// Byte offset of the first byte that breaks well-formed UTF-8 (a stray
// continuation byte, a truncated sequence, an overlong form, a surrogate or
// a code point above U+10FFFF), or std::string_view::npos when there is none.
std::size_t FindInvalidUtf8(std::string_view text);

// Appends well-formed UTF-8 text as UTF-16 little-endian code units;
// characters beyond the Basic Multilingual Plane become surrogate pairs.
void AppendUtf16Le(std::string_view utf8, std::string& out);

}
