#pragma once

#include "StreamSettings.h"

#include <httplib.h>

namespace stationserver {

class MediaLibrary;
class RequestLog;
class StopFlag;

// The path pattern of the stream mounts; the first group is the mount name.
inline constexpr char kStreamMountPattern[] = R"(/streams/([^/]+))";

// GET /streams/<name>: an endless Icecast-style stream of the media file
// with that name, or 404 when there is none.
class StreamMountHandler
{
public:
    StreamMountHandler(const MediaLibrary& library, const StreamSettings& settings, RequestLog& log,
                       const StopFlag& stopFlag);

    void operator()(const httplib::Request& request, httplib::Response& response) const;

private:
    const MediaLibrary& m_library;
    StreamSettings m_settings;
    RequestLog& m_log;
    const StopFlag& m_stopFlag;
};

}
