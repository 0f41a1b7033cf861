#include "StreamMountHandler.h"

#include "IcyMetadata.h"
#include "MediaLibrary.h"
#include "RequestLog.h"
#include "StreamSession.h"

#include <cmath>

namespace stationserver {

StreamMountHandler::StreamMountHandler(const MediaLibrary& library, const StreamSettings& settings, RequestLog& log,
                                       const StopFlag& stopFlag)
    : m_library(library)
    , m_settings(settings)
    , m_log(log)
    , m_stopFlag(stopFlag)
{
}

void StreamMountHandler::operator()(const httplib::Request& request, httplib::Response& response) const
{
    const std::shared_ptr<const StreamMedia> media = m_library.Find(request.matches[1].str());
    if (!media) {
        response.status = 404;
        response.set_content("No stream is mounted at " + request.path + ".\n", "text/plain");
        return;
    }

    const bool wantsMetadata = request.get_header_value("Icy-MetaData") == "1";
    response.status = 200;
    response.set_header("icy-name", "Kestrel Radio demo: " + media->name);
    response.set_header("icy-description", "A demonstration stream of the Kestrel Radio station server");
    response.set_header("icy-genre", "Demo");
    response.set_header("icy-pub", "0");
    response.set_header("icy-br", std::to_string(std::lround(media->bytesPerSecond * 8 / 1000)));
    if (wantsMetadata)
        response.set_header("icy-metaint", std::to_string(kIcyMetaInterval));
    response.set_header("Cache-Control", "no-store, no-cache");
    // The stream has no length and ends only when the connection does.
    response.set_header("Connection", "close");

    auto tally = std::make_shared<ProviderTally>(m_log, request, response.status);
    auto session = std::make_shared<StreamSession>(
        media, m_settings, wantsMetadata ? StreamSession::Metadata::WithIcyBlocks : StreamSession::Metadata::Without,
        tally, m_stopFlag);
    response.set_content_provider(
        media->contentType, [session](std::size_t, httplib::DataSink& sink) { return session->SendNext(sink); },
        ProviderTally::LogWhenReleased(tally));
}

}
