#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <functional>
#include <istream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace stationserver {

// Text that is not JSON; what() says where and why ("parse error at line
// 3, column 14: ...").
class JsonSyntaxError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// JSON text whose value is not an array; what() names what it is ("an
// object").
class JsonNotAnArray : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Reads a JSON array from a stream one element at a time, so that a dump
// of any size takes the memory of its largest element: each element's text
// is gathered and parsed by itself, and of an object element only the
// fields asked for are kept. A number too large for a double (1e999) is
// not the end of the reading: its field is left out and counted, and the
// rest of the element is read. Everything else that is not JSON is an
// error, so that a text cut short is never taken for a whole one.
class JsonArrayReader
{
public:
    using Json = nlohmann::json;
    // Whether an object element's field of that name is kept.
    using FieldFilter = std::function<bool(std::string_view name)>;

    JsonArrayReader(std::istream& input, FieldFilter keepField);

    // The next element: an object with the kept fields, or null for any
    // other value. False after the last one. Throws JsonSyntaxError, and
    // JsonNotAnArray when the text holds another value than an array.
    bool Next(Json& element);

    // Fields of object elements left out for holding a number too large to
    // read (at any depth of their value).
    std::size_t FieldsTooLarge() const { return m_fieldsTooLarge; }

private:
    struct Position {
        std::size_t line = 1;
        std::size_t column = 1;
    };
    enum class Place { BeforeArray, InArray, AfterArray };

    int Peek();
    int Take();
    void SkipSpace();
    Position Here() const;
    [[noreturn]] void Fail(Position where, const std::string& what) const;
    void Expect(char wanted, const char* after);

    void StartArray();
    // Gathers the text of the value that starts here; it ends early, for
    // the parser to find, when the input does.
    std::string ValueText(Position& start);
    void TakeStringRest(std::string& text);
    // The parsed value; nothing (with tooLarge set) for a number too large.
    Json Parse(const std::string& text, Position start, bool& tooLarge) const;
    Json ReadObject();
    Json ReadOther();

    std::streambuf& m_input;
    FieldFilter m_keepField;
    Place m_place = Place::BeforeArray;
    Position m_next;
    std::size_t m_fieldsTooLarge = 0;
};

}
