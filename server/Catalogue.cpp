#include "Catalogue.h"

#include "TextEncoding.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace stationserver {
namespace {

constexpr int kFieldCount = 7;
constexpr int kStreamAddressField = 3;
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The catalogue's fields as the program will split them: six commas
// separate seven fields, and the seventh takes the rest of the line.
struct SplitLine {
    int fieldCount = 0;
    std::array<std::string_view, kFieldCount> fields;
};

SplitLine Split(std::string_view line)
{
    SplitLine split;
    std::size_t start = 0;
    while (split.fieldCount < kFieldCount - 1) {
        const std::size_t comma = line.find(',', start);
        if (comma == std::string_view::npos)
            break;
        split.fields[split.fieldCount++] = line.substr(start, comma - start);
        start = comma + 1;
    }
    split.fields[split.fieldCount++] = line.substr(start);
    return split;
}

std::string_view Trimmed(std::string_view text)
{
    constexpr std::string_view kSpace = " \t";
    const std::size_t first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

bool IsCommentOrBlank(std::string_view line)
{
    const std::string_view trimmed = Trimmed(line);
    return trimmed.empty() || trimmed.front() == '#';
}

class LineChecker
{
public:
    explicit LineChecker(const std::string& fileName)
        : m_fileName(fileName)
    {
    }

    [[noreturn]] void Fail(int lineNumber, const std::string& reason) const
    {
        throw CatalogueError(m_fileName + ":" + std::to_string(lineNumber) + ": " + reason);
    }

    void CheckEncoding(std::string_view line, int lineNumber) const
    {
        const std::size_t bad = FindInvalidUtf8(line);
        if (bad != std::string_view::npos)
            Fail(lineNumber, "not valid UTF-8 (byte " + std::to_string(bad + 1) + " of the line)");
        // A control character would end or break the line in the program's
        // reader (a carriage return ends a line there), so none may pass.
        for (const char c : line) {
            const auto byte = static_cast<unsigned char>(c);
            if ((byte < 0x20 && byte != '\t') || byte == 0x7F) {
                char code[8];
                std::snprintf(code, sizeof code, "%02X", byte);
                Fail(lineNumber, std::string("control character U+00") + code + " in the line");
            }
        }
    }

    void CheckFields(std::string_view line, int lineNumber, bool isHeader) const
    {
        const SplitLine split = Split(line);
        if (split.fieldCount < kFieldCount) {
            Fail(lineNumber,
                 "only " + std::to_string(split.fieldCount) + " field" + (split.fieldCount == 1 ? "" : "s") +
                     "; a line needs 7, separated by commas");
        }
        if (isHeader && Trimmed(split.fields[0]).empty())
            Fail(lineNumber, "the header's first field (the category column) is empty");
        if (!isHeader && Trimmed(split.fields[kStreamAddressField - 1]).empty())
            Fail(lineNumber, "the stream address (field 3) is empty");
    }

private:
    const std::string& m_fileName;
};

}

Catalogue ParseCatalogue(std::string_view text, const std::string& fileName)
{
    if (text.starts_with(kUtf8ByteOrderMark))
        text.remove_prefix(kUtf8ByteOrderMark.size());

    const LineChecker checker(fileName);
    Catalogue catalogue;
    bool haveHeader = false;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (line.ends_with('\r'))
            line.remove_suffix(1);

        checker.CheckEncoding(line, lineNumber);
        if (IsCommentOrBlank(line))
            continue;
        checker.CheckFields(line, lineNumber, !haveHeader);
        CatalogueLine entry{lineNumber, std::string(line)};
        if (haveHeader) {
            catalogue.channels.push_back(std::move(entry));
        } else {
            catalogue.header = std::move(entry);
            haveHeader = true;
        }
    }
    if (!haveHeader)
        throw CatalogueError(fileName + ": no header line (the file has no line that is not blank or a comment)");
    return catalogue;
}

Catalogue ReadCatalogue(const std::string& path)
{
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        throw CatalogueError(path + ": is a folder, not a catalogue file");
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw CatalogueError(path + ": cannot be read: " + std::strerror(errno));
    std::ostringstream contents;
    contents << file.rdbuf();
    if (file.bad())
        throw CatalogueError(path + ": cannot be read: " + std::strerror(errno));
    return ParseCatalogue(contents.view(), path);
}

}
