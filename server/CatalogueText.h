#pragma once

#include <string>
#include <string_view>

namespace stationserver {

// Text from elsewhere made fit for one field of a catalogue line, whose
// fields are separated by commas and which ends at a line break: every
// control character and line or paragraph separator becomes a space, a
// comma becomes " -" (so "Rock, Pop" reads "Rock - Pop"), runs of spaces
// shrink to one and the ends are trimmed; the server placeholder
// "{server}" becomes "(server)", so that the text stays as it came. The
// text must be valid UTF-8.
std::string CatalogueFieldText(std::string_view text);

// A web address made fit for the stream address field: trimmed, with
// commas, spaces, braces and control characters percent-encoded, which
// leaves the address it names unchanged (and never makes the server
// placeholder).
std::string CatalogueAddress(std::string_view address);

// True when the address is an http or https URL with a host (not only
// user information or a port: "http://a@/x" has none).
bool IsWebAddress(std::string_view address);

}
