#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace stationserver {

// One line of the catalogue as the maintainer wrote it (UTF-8, without its
// line end), with its line number for messages.
struct CatalogueLine {
    int lineNumber = 0;
    std::string text;
};

// The catalogue that the station list is made from. Its first line that is
// neither blank nor a comment is the header: the titles of the program's
// channel list columns, in the same seven fields as a channel.
struct Catalogue {
    CatalogueLine header;
    std::vector<CatalogueLine> channels;
};

// A catalogue the server refuses to serve; what() reads
// "FILE:LINE: reason" (or "FILE: reason" for the file as a whole).
class CatalogueError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Reads and checks the catalogue file. Throws CatalogueError.
Catalogue ReadCatalogue(const std::string& path);

// Checks the catalogue text; fileName only names the file in messages.
// Throws CatalogueError.
Catalogue ParseCatalogue(std::string_view text, const std::string& fileName);

}
