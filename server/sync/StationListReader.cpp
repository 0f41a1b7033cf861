#include "StationListReader.h"

#include <nlohmann/json.hpp>

namespace stationserver {
namespace {

using Json = nlohmann::json;

// Depths while reading: the array is depth 1, a station's fields depth 2.
constexpr int kArrayDepth = 1;
constexpr int kFieldDepth = 2;

// The library's events for the parts of the text the sync keeps: the keys
// and plain values of each station object; nested values are skipped.
class StationSax : public nlohmann::json_sax<Json>
{
public:
    StationSax(const StationListReader::StationHandler& onStation, std::size_t& notStations)
        : m_onStation(onStation)
        , m_notStations(notStations)
    {
    }

    bool null() override { return Value(); }
    bool boolean(bool value) override { return Number(value ? 1 : 0); }
    bool number_integer(number_integer_t value) override { return Number(value); }
    bool number_unsigned(number_unsigned_t value) override
    {
        return Number(value > static_cast<number_unsigned_t>(INT64_MAX) ? INT64_MAX : static_cast<std::int64_t>(value));
    }
    bool number_float(number_float_t value, const string_t&) override
    {
        return Number(static_cast<std::int64_t>(value));
    }
    bool string(string_t& value) override
    {
        if (m_depth == kFieldDepth && m_inStation)
            m_station.SetText(m_key, std::move(value));
        return Value();
    }
    bool binary(binary_t&) override { return Value(); }

    bool start_object(std::size_t) override
    {
        if (m_depth == 0)
            return NotAList();
        ++m_depth;
        if (m_depth == kFieldDepth) {
            m_inStation = true;
            m_station = {};
        }
        return true;
    }
    bool key(string_t& key) override
    {
        if (m_depth == kFieldDepth)
            m_key = std::move(key);
        return true;
    }
    bool end_object() override
    {
        if (m_depth == kFieldDepth && m_inStation) {
            m_inStation = false;
            m_onStation(std::move(m_station));
            m_station = {};
        }
        --m_depth;
        return true;
    }
    bool start_array(std::size_t) override
    {
        ++m_depth;
        if (m_depth == kFieldDepth)
            ++m_notStations;
        return true;
    }
    bool end_array() override
    {
        --m_depth;
        return true;
    }

    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& error) override
    {
        const std::string_view what = error.what();
        const std::size_t tagEnd = what.find("] ");
        m_error = "not valid JSON: " + std::string(tagEnd == std::string_view::npos ? what : what.substr(tagEnd + 2));
        return false;
    }

    const std::string& Error() const { return m_error; }

private:
    bool NotAList()
    {
        m_error = "not a list of stations (a JSON array of station objects is needed)";
        return false;
    }

    bool Number(std::int64_t value)
    {
        if (m_depth == kFieldDepth && m_inStation)
            m_station.SetNumber(m_key, value);
        return Value();
    }

    // A plain value: an element of the array that is no object, or the
    // whole text when that is no array.
    bool Value()
    {
        if (m_depth == 0)
            return NotAList();
        if (m_depth == kArrayDepth)
            ++m_notStations;
        return true;
    }

    const StationListReader::StationHandler& m_onStation;
    std::size_t& m_notStations;
    DirectoryStation m_station;
    std::string m_key;
    std::string m_error;
    int m_depth = 0;
    bool m_inStation = false;
};

}

StationListReader::StationListReader(StationHandler onStation)
    : m_onStation(std::move(onStation))
{
}

void StationListReader::Read(std::istream& text)
{
    StationSax sax(m_onStation, m_notStations);
    bool complete = false;
    try {
        complete = Json::sax_parse(text, &sax);
    } catch (const Json::exception& error) {
        throw StationListError(std::string("not valid JSON: ") + error.what());
    }
    if (!complete)
        throw StationListError(sax.Error().empty() ? "not a list of stations" : sax.Error());
}

}
