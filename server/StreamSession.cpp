#include "StreamSession.h"

#include "IcyMetadata.h"
#include "MediaLibrary.h"
#include "RequestLog.h"
#include "StopFlag.h"

#include <algorithm>
#include <cmath>

namespace stationserver {
namespace {

constexpr std::size_t kPieceSize = 4096;
constexpr std::chrono::milliseconds kLongestWait{100};

}

StreamSession::StreamSession(std::shared_ptr<const StreamMedia> media, const StreamSettings& settings,
                             Metadata metadata, std::shared_ptr<ProviderTally> tally, const StopFlag& stopFlag)
    : m_media(std::move(media))
    , m_settings(settings)
    , m_metadata(metadata)
    , m_tally(std::move(tally))
    , m_stopFlag(stopFlag)
    , m_bytesUntilMetadata(kIcyMetaInterval)
{
}

bool StreamSession::SendNext(httplib::DataSink& sink)
{
    if (m_stopFlag.IsRaised())
        return false;
    const Clock::time_point now = Clock::now();
    if (!m_started) {
        m_started = true;
        m_start = now;
        m_tally->LogStreamStart();
    }
    const Clock::duration elapsed = now - m_start;
    if (m_settings.dropAfter.count() > 0 && elapsed >= m_settings.dropAfter)
        return false;

    const double allowed = AllowedBytes(elapsed);
    const double sent = static_cast<double>(m_mediaBytesSent);
    if (sent + kPieceSize > allowed) {
        const std::chrono::duration<double> untilNextPiece((sent + kPieceSize - allowed) /
                                                           (m_media->bytesPerSecond * m_settings.speed));
        const auto wait = std::min(std::chrono::ceil<std::chrono::milliseconds>(untilNextPiece), kLongestWait);
        if (!m_stopFlag.SleepFor(wait))
            return false;
        if (AllowedBytes(Clock::now() - m_start) < sent + kPieceSize)
            return true;
    }
    const std::string piece = NextPiece(kPieceSize);
    return m_tally->Write(sink, piece.data(), piece.size());
}

double StreamSession::AllowedBytes(Clock::duration elapsed) const
{
    const double seconds = std::chrono::duration<double>(elapsed).count() * m_settings.speed +
        std::chrono::duration<double>(m_settings.burst).count();
    return seconds * m_media->bytesPerSecond;
}

std::string StreamSession::NextPiece(std::size_t mediaBytes)
{
    std::string piece;
    while (mediaBytes > 0) {
        const bool withMetadata = m_metadata == Metadata::WithIcyBlocks;
        if (withMetadata && m_bytesUntilMetadata == 0) {
            piece += NextMetadataBlock();
            m_bytesUntilMetadata = kIcyMetaInterval;
        }
        if (!m_pass)
            m_pass = m_media->pass(m_passNumber);
        const std::string& pass = *m_pass;
        std::size_t take = std::min(mediaBytes, pass.size() - m_position);
        if (withMetadata)
            take = std::min(take, m_bytesUntilMetadata);
        piece.append(pass, m_position, take);
        m_position += take;
        m_mediaBytesSent += take;
        mediaBytes -= take;
        if (withMetadata)
            m_bytesUntilMetadata -= take;
        if (m_position == pass.size()) {
            m_position = 0;
            m_pass.reset();
            ++m_passNumber;
        }
    }
    return piece;
}

// Like Icecast, the title goes out when it changes and an empty block in
// between. The track number follows the stream time, so that every
// listener hears the same track change after the same stretch of stream.
std::string StreamSession::NextMetadataBlock()
{
    const double bytesPerTrack = m_media->bytesPerSecond * static_cast<double>(m_settings.titleInterval.count());
    const auto track = static_cast<long long>(std::floor(static_cast<double>(m_mediaBytesSent) / bytesPerTrack)) + 1;
    const std::string title = DemoTrackTitle(track);
    if (title == m_announcedTitle)
        return IcyMetadataBlock({});
    m_announcedTitle = title;
    return IcyMetadataBlock(title);
}

}
