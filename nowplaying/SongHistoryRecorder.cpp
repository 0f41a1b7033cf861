#include "nowplaying/SongHistoryRecorder.h"

#include "nowplaying/NowPlayingRelay.h"
#include "platform/history/SongHistory.h"

namespace {
CSongHistoryRecorder* g_pRecorder = nullptr;

QDateTime SystemTime()
{
    return QDateTime::currentDateTimeUtc();
}
}

CSongHistoryRecorder::CSongHistoryRecorder(CNowPlayingRelay& relay, ISongHistory& history, Clock clock,
                                           int nSettleMilliseconds)
    : m_relay(relay)
    , m_history(history)
    , m_clock(clock ? std::move(clock) : Clock(&SystemTime))
{
    m_settleTimer.setSingleShot(true);
    m_settleTimer.setInterval(nSettleMilliseconds);
    connect(&m_settleTimer, &QTimer::timeout, this, &CSongHistoryRecorder::OnSettled);
    connect(&relay, &CNowPlayingRelay::ChannelChanged, this, &CSongHistoryRecorder::OnRelayChanged);
    connect(&relay, &CNowPlayingRelay::StreamTitleChanged, this, &CSongHistoryRecorder::OnRelayChanged);
    connect(&relay, &CNowPlayingRelay::PlayStateChanged, this, &CSongHistoryRecorder::OnRelayChanged);
    OnRelayChanged();
}

CSongHistoryRecorder::~CSongHistoryRecorder()
{
    EndWritten(m_clock());
    if (g_pRecorder == this)
        g_pRecorder = nullptr;
}

CSongHistoryRecorder* CSongHistoryRecorder::Get()
{
    return g_pRecorder;
}

void CSongHistoryRecorder::Set(CSongHistoryRecorder* pRecorder)
{
    g_pRecorder = pRecorder;
}

std::optional<CSongHistoryRecorder::Heard> CSongHistoryRecorder::HeardNow() const
{
    if (m_relay.ChannelName().isEmpty())
        return std::nullopt;
    switch (m_relay.GetPlayState()) {
    case CNowPlayingRelay::PlayState::Playing:
        break;
    case CNowPlayingRelay::PlayState::Paused:
        // The song heard before the pause goes on.
        if (m_nWrittenId != 0)
            return m_written;
        return m_pending;
    case CNowPlayingRelay::PlayState::Stopped:
        return std::nullopt;
    }
    return Heard{m_relay.ChannelName(), m_relay.StreamTitle(), m_clock()};
}

void CSongHistoryRecorder::OnRelayChanged()
{
    const std::optional<Heard> heard = HeardNow();
    if (heard && m_nWrittenId != 0 && m_written->IsSameSong(*heard)) {
        m_pending.reset();
        m_settleTimer.stop();
        return;
    }
    if (heard && m_pending && m_pending->IsSameSong(*heard))
        return;
    const QDateTime now = m_clock();
    EndWritten(now);
    m_pending = heard;
    if (m_pending)
        m_settleTimer.start();
    else
        m_settleTimer.stop();
}

void CSongHistoryRecorder::OnSettled()
{
    if (!m_pending)
        return;
    const Heard heard = *m_pending;
    m_pending.reset();
    // Back within the settling time after a title that did not stand: the
    // same song goes on.
    if (m_written && m_written->IsSameSong(heard) && m_nWrittenId == 0 && m_writtenEndedId != 0 &&
        m_writtenEnded.msecsTo(heard.started) <= m_settleTimer.interval()) {
        m_nWrittenId = m_writtenEndedId;
        m_history.EndSong(m_nWrittenId, QDateTime());
        return;
    }
    m_nWrittenId = m_history.AddSong(heard.strChannel, heard.strTitle, heard.started);
    if (m_nWrittenId != 0)
        m_written = heard;
}

void CSongHistoryRecorder::EndWritten(const QDateTime& ended)
{
    if (m_nWrittenId == 0)
        return;
    m_history.EndSong(m_nWrittenId, ended);
    m_writtenEndedId = m_nWrittenId;
    m_writtenEnded = ended;
    m_nWrittenId = 0;
}
