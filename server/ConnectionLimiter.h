#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

namespace stationserver {

// Counts the open connections of each client address and turns away those
// beyond the limit, so that one client cannot take every connection the
// server has for list clients and listeners.
class ConnectionLimiter
{
    struct Counts;

public:
    // perAddress 0: no limit.
    explicit ConnectionLimiter(std::size_t perAddress);

    // A connection's place in the count, given back when it is destroyed.
    class Admission
    {
    public:
        Admission(std::shared_ptr<Counts> counts, std::string address);
        ~Admission();
        Admission(Admission&& other) noexcept = default;
        Admission& operator=(Admission&&) = delete;
        Admission(const Admission&) = delete;
        Admission& operator=(const Admission&) = delete;

    private:
        std::shared_ptr<Counts> m_counts;
        std::string m_address;
    };

    // A place for one more connection from the address, or nothing when it
    // has as many as it may.
    std::optional<Admission> Admit(const std::string& address);

private:
    struct Counts {
        std::mutex mutex;
        std::unordered_map<std::string, std::size_t> open;
    };

    std::size_t m_perAddress;
    std::shared_ptr<Counts> m_counts;
};

}
