#pragma once

#include "StreamSettings.h"

#include <httplib.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

namespace stationserver {

class ProviderTally;
class StopFlag;
struct StreamMedia;

// One listener of a stream mount: the media file looped without end, paced
// at its own bit rate after an initial burst, with ICY metadata blocks after
// every kIcyMetaInterval bytes of media when the listener asked for them.
class StreamSession
{
public:
    enum class Metadata { Without, WithIcyBlocks };

    StreamSession(std::shared_ptr<const StreamMedia> media, const StreamSettings& settings, Metadata metadata,
                  std::shared_ptr<ProviderTally> tally, const StopFlag& stopFlag);

    // httplib's content provider: sends the next piece once the pace allows
    // it. False ends the connection: the listener has gone, the server is
    // stopping or the connection has lived its allotted time.
    bool SendNext(httplib::DataSink& sink);

private:
    using Clock = std::chrono::steady_clock;

    double AllowedBytes(Clock::duration elapsed) const;
    std::string NextPiece(std::size_t mediaBytes);
    std::string NextMetadataBlock();

    std::shared_ptr<const StreamMedia> m_media;
    StreamSettings m_settings;
    Metadata m_metadata;
    std::shared_ptr<ProviderTally> m_tally;
    const StopFlag& m_stopFlag;

    bool m_started = false;
    Clock::time_point m_start;
    std::uint64_t m_mediaBytesSent = 0;
    std::uint64_t m_passNumber = 0;
    std::shared_ptr<const std::string> m_pass;
    std::size_t m_position = 0;
    std::size_t m_bytesUntilMetadata;
    std::string m_announcedTitle;
};

}
