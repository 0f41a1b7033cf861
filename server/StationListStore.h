#pragma once

#include "EncodedStationList.h"

#include <memory>
#include <mutex>

namespace stationserver {

// The station list being served. A request takes the current list once and
// answers from it to the end, so that a reload in between never mixes two
// lists in one answer; the old list lives on until its last request ends.
class StationListStore
{
public:
    explicit StationListStore(std::shared_ptr<const EncodedStationList> list)
        : m_list(std::move(list))
    {
    }

    std::shared_ptr<const EncodedStationList> Current() const
    {
        const std::lock_guard lock(m_mutex);
        return m_list;
    }

    void Replace(std::shared_ptr<const EncodedStationList> list)
    {
        const std::lock_guard lock(m_mutex);
        m_list.swap(list);
    }

private:
    mutable std::mutex m_mutex;
    std::shared_ptr<const EncodedStationList> m_list;
};

}
