#include "ConnectionLimiter.h"

namespace stationserver {

ConnectionLimiter::ConnectionLimiter(std::size_t perAddress)
    : m_perAddress(perAddress)
    , m_counts(std::make_shared<Counts>())
{
}

ConnectionLimiter::Admission::Admission(std::shared_ptr<Counts> counts, std::string address)
    : m_counts(std::move(counts))
    , m_address(std::move(address))
{
}

ConnectionLimiter::Admission::~Admission()
{
    if (!m_counts)
        return;
    const std::lock_guard lock(m_counts->mutex);
    const auto found = m_counts->open.find(m_address);
    if (found != m_counts->open.end() && --found->second == 0)
        m_counts->open.erase(found);
}

std::optional<ConnectionLimiter::Admission> ConnectionLimiter::Admit(const std::string& address)
{
    {
        const std::lock_guard lock(m_counts->mutex);
        std::size_t& open = m_counts->open[address];
        if (m_perAddress != 0 && open >= m_perAddress)
            return std::nullopt;
        ++open;
    }
    return Admission(m_counts, address);
}

}
