#pragma once

#include "Fault.h"

#include <httplib.h>

#include <memory>

namespace stationserver {

class RequestLog;
class StationListStore;
class StopFlag;
struct EncodedStationList;

// GET /stationlist.zip: the station list being served, never to be cached
// by the way, gzipped for a client that asks for it, with its entity tag
// (304 when the client has that list already); or the fault chosen for this
// run.
class StationListHandler
{
public:
    StationListHandler(const StationListStore& store, Fault fault, RequestLog& log, const StopFlag& stopFlag);

    void operator()(const httplib::Request& request, httplib::Response& response) const;

private:
    void AnswerWithList(const httplib::Request& request, httplib::Response& response,
                        std::shared_ptr<const EncodedStationList> list) const;
    void AnswerWithFault(const httplib::Request& request, httplib::Response& response,
                         std::shared_ptr<const EncodedStationList> list) const;

    const StationListStore& m_store;
    Fault m_fault;
    RequestLog& m_log;
    const StopFlag& m_stopFlag;
};

}
