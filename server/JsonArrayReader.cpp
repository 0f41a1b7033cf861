#include "JsonArrayReader.h"

#include <algorithm>
#include <cctype>

namespace stationserver {
namespace {

using Traits = std::char_traits<char>;

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
// Where a number or literal ends: JSON's white space and structure.
constexpr std::string_view kValueEnd = " \t\r\n,:[]{}\"";

bool IsSpace(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string Shown(int c)
{
    if (c == Traits::eof())
        return "the end of the text";
    if (c < 0x20 || c >= 0x7F)
        return "byte " + std::to_string(c);
    return std::string("'") + static_cast<char>(c) + "'";
}

// What the value that starts with c is, for a text that is not an array.
std::string KindOfValue(int c)
{
    switch (c) {
    case '{':
        return "an object";
    case '"':
        return "a string";
    case 't':
    case 'f':
        return "a boolean";
    case 'n':
        return "null";
    default:
        return std::isdigit(c) || c == '-' ? "a number" : std::string();
    }
}

// "syntax error while parsing value - invalid literal; last read: 'tru'"
// out of the library's message, whose tag and position are its own.
std::string Explanation(const nlohmann::json::parse_error& error)
{
    const std::string_view what = error.what();
    const std::size_t column = what.find("column ");
    const std::size_t start = what.find(": ", column == std::string_view::npos ? 0 : column);
    return std::string(start == std::string_view::npos ? what : what.substr(start + 2));
}

}

JsonArrayReader::JsonArrayReader(std::istream& input, FieldFilter keepField)
    : m_input(*input.rdbuf())
    , m_keepField(std::move(keepField))
{
}

int JsonArrayReader::Peek()
{
    return m_input.sgetc();
}

int JsonArrayReader::Take()
{
    const int c = m_input.sbumpc();
    if (c == '\n') {
        ++m_next.line;
        m_next.column = 1;
    } else if (c != Traits::eof()) {
        ++m_next.column;
    }
    return c;
}

void JsonArrayReader::SkipSpace()
{
    while (IsSpace(Peek()))
        Take();
}

JsonArrayReader::Position JsonArrayReader::Here() const
{
    return m_next;
}

void JsonArrayReader::Fail(Position where, const std::string& what) const
{
    throw JsonSyntaxError("parse error at line " + std::to_string(where.line) + ", column " +
                          std::to_string(where.column) + ": " + what);
}

void JsonArrayReader::Expect(char wanted, const char* after)
{
    SkipSpace();
    const Position where = Here();
    const int c = Take();
    if (c != wanted)
        Fail(where, std::string("expected '") + wanted + "' " + after + ", found " + Shown(c));
}

void JsonArrayReader::StartArray()
{
    for (const char mark : kUtf8ByteOrderMark) {
        if (Peek() != static_cast<unsigned char>(mark))
            break;
        Take();
    }
    SkipSpace();
    const Position where = Here();
    const int c = Peek();
    if (c == '[') {
        Take();
        m_place = Place::InArray;
        return;
    }
    if (c == Traits::eof())
        Fail(where, "the text is empty");
    const std::string kind = KindOfValue(c);
    if (kind.empty())
        Fail(where, "the text does not begin with a JSON value (found " + Shown(c) + ")");
    throw JsonNotAnArray(kind);
}

std::string JsonArrayReader::ValueText(Position& start)
{
    SkipSpace();
    start = Here();
    std::string text;
    int c = Peek();
    if (c == '"') {
        text += static_cast<char>(Take());
        TakeStringRest(text);
    } else if (c == '[' || c == '{') {
        // Only the brackets are counted here; the parser checks that they
        // pair up.
        int depth = 0;
        do {
            c = Take();
            if (c == Traits::eof())
                break;
            text += static_cast<char>(c);
            if (c == '"')
                TakeStringRest(text);
            else if (c == '[' || c == '{')
                ++depth;
            else if (c == ']' || c == '}')
                --depth;
        } while (depth > 0);
    } else {
        while ((c = Peek()) != Traits::eof() && kValueEnd.find(static_cast<char>(c)) == std::string_view::npos)
            text += static_cast<char>(Take());
        if (text.empty())
            Fail(start, "expected a value, found " + Shown(c));
    }
    return text;
}

void JsonArrayReader::TakeStringRest(std::string& text)
{
    for (int c = Take(); c != Traits::eof(); c = Take()) {
        text += static_cast<char>(c);
        if (c == '"')
            return;
        if (c == '\\') {
            c = Take();
            if (c == Traits::eof())
                return;
            text += static_cast<char>(c);
        }
    }
}

JsonArrayReader::Json JsonArrayReader::Parse(const std::string& text, Position start, bool& tooLarge) const
{
    tooLarge = false;
    try {
        return Json::parse(text);
    } catch (const Json::out_of_range&) {
        tooLarge = true;
        return {};
    } catch (const Json::parse_error& error) {
        // The library counts the bytes it read, the one it stopped at
        // among them; the position is that byte's in the whole text.
        const std::size_t stop = std::min(error.byte > 0 ? error.byte - 1 : 0, text.size());
        for (std::size_t i = 0; i < stop; ++i) {
            if (text[i] == '\n') {
                ++start.line;
                start.column = 1;
            } else {
                ++start.column;
            }
        }
        Fail(start, Explanation(error));
    }
}

JsonArrayReader::Json JsonArrayReader::ReadObject()
{
    Take();
    Json object = Json::object();
    SkipSpace();
    if (Peek() == '}') {
        Take();
        return object;
    }
    for (;;) {
        SkipSpace();
        Position start = Here();
        if (Peek() != '"')
            Fail(start, "expected a field name in double quotes, found " + Shown(Peek()));
        bool tooLarge = false;
        const std::string name = Parse(ValueText(start), start, tooLarge).get<std::string>();
        Expect(':', "after a field name");
        const Json value = Parse(ValueText(start), start, tooLarge);
        if (tooLarge) {
            ++m_fieldsTooLarge;
            object.erase(name);
        } else if (m_keepField(name)) {
            object[name] = value;
        }
        SkipSpace();
        const Position where = Here();
        const int c = Take();
        if (c == '}')
            return object;
        if (c != ',')
            Fail(where, "expected ',' or '}' after a field, found " + Shown(c));
    }
}

JsonArrayReader::Json JsonArrayReader::ReadOther()
{
    // Parsed only to be sure it is JSON; it is no object and so no record.
    Position start;
    bool tooLarge = false;
    Parse(ValueText(start), start, tooLarge);
    return {};
}

bool JsonArrayReader::Next(Json& element)
{
    if (m_place == Place::BeforeArray) {
        StartArray();
        SkipSpace();
        if (Peek() == ']') {
            Take();
            m_place = Place::AfterArray;
        }
    }
    if (m_place == Place::AfterArray) {
        SkipSpace();
        if (Peek() != Traits::eof())
            Fail(Here(), "more text after the array's end (" + Shown(Peek()) + ")");
        return false;
    }

    SkipSpace();
    element = Peek() == '{' ? ReadObject() : ReadOther();
    SkipSpace();
    const Position where = Here();
    const int c = Take();
    if (c == ']')
        m_place = Place::AfterArray;
    else if (c != ',')
        Fail(where, "expected ',' or ']' after an element, found " + Shown(c));
    return true;
}

}
