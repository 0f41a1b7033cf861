#pragma once

#include "Fault.h"

#include <httplib.h>

#include <memory>
#include <string>

namespace stationserver {

class RequestLog;
class StopFlag;

// GET /stationlist.zip: the station list, never to be cached, or the fault
// chosen for this run.
class StationListHandler {
public:
    StationListHandler(std::string stationList, Fault fault, RequestLog& log, const StopFlag& stopFlag);

    void operator()(const httplib::Request& request, httplib::Response& response) const;

private:
    void AnswerWithFault(const httplib::Request& request, httplib::Response& response) const;

    std::shared_ptr<const std::string> m_stationList;
    Fault m_fault;
    RequestLog& m_log;
    const StopFlag& m_stopFlag;
};

}
