#include "radio/NowPlayingPublisher.h"

#include "platform/media/MediaEngine.h"
#include "platform/media/TimeShift.h"
#include "radio/CWMPPlayer4.h"
#include "radio/LiveEdgeText.h"
#include "radio/WMPPlayState.h"

namespace {
CNowPlayingRelay::PlayState RelayStateOf(long nPlayState)
{
    switch (nPlayState) {
    case wmppsPlaying:
    case wmppsBuffering:
    case wmppsTransitioning:
    case wmppsReconnecting:
        return CNowPlayingRelay::PlayState::Playing;
    case wmppsPaused:
        return CNowPlayingRelay::PlayState::Paused;
    default:
        return CNowPlayingRelay::PlayState::Stopped;
    }
}
}

CNowPlayingPublisher::CNowPlayingPublisher(CWMPPlayer4& player)
    : m_player(player)
    , m_pRelay(CNowPlayingRelay::Get())
{
    if (m_pRelay == nullptr)
        return;
    m_pRelay->Attach(this);
    connect(&player, &CWMPPlayer4::PlayStateChange, this, &CNowPlayingPublisher::PublishPlayState);
    connect(&player, &CWMPPlayer4::VolumeChange, this, &CNowPlayingPublisher::PublishVolume);
    connect(&player.Engine(), &IMediaEngine::MetadataChanged, this, &CNowPlayingPublisher::PublishStreamTitle);
    connect(m_pRelay, &CNowPlayingRelay::PauseRequested, this, &CNowPlayingPublisher::OnPauseRequested);
    connect(m_pRelay, &CNowPlayingRelay::ResumeRequested, this, &CNowPlayingPublisher::OnResumeRequested);
    connect(m_pRelay, &CNowPlayingRelay::VolumeRequested, this, &CNowPlayingPublisher::OnVolumeRequested);
    connect(m_pRelay, &CNowPlayingRelay::SeekRequested, this, &CNowPlayingPublisher::OnSeekRequested);
    // The engine makes its buffer when it first opens a channel.
    connect(&player, &CWMPPlayer4::PlayStateChange, this, &CNowPlayingPublisher::FollowTimeShift);
    PublishVolume(player.GetVolume());
}

CNowPlayingPublisher::~CNowPlayingPublisher()
{
    if (m_pRelay != nullptr)
        m_pRelay->Detach(this);
}

CNowPlayingRelay* CNowPlayingPublisher::Relay() const
{
    return m_pRelay != nullptr && m_pRelay->IsPublisher(this) ? m_pRelay.data() : nullptr;
}

void CNowPlayingPublisher::PublishChannel(const QString& strName, const QString& strAddress)
{
    if (CNowPlayingRelay* pRelay = Relay())
        pRelay->SetChannel(strName, strAddress);
}

void CNowPlayingPublisher::PublishStatus(const QString& strStatus)
{
    if (CNowPlayingRelay* pRelay = Relay())
        pRelay->SetStatusText(strStatus);
}

void CNowPlayingPublisher::PublishPlayState(long nNewState)
{
    if (CNowPlayingRelay* pRelay = Relay())
        pRelay->SetPlayState(RelayStateOf(nNewState));
    PublishTimeShift();
}

void CNowPlayingPublisher::PublishStreamTitle()
{
    if (CNowPlayingRelay* pRelay = Relay())
        pRelay->SetStreamTitle(m_player.Engine().StreamTitle());
}

void CNowPlayingPublisher::PublishVolume(int nPercent)
{
    if (CNowPlayingRelay* pRelay = Relay())
        pRelay->SetVolume(nPercent);
}

void CNowPlayingPublisher::OnPauseRequested()
{
    if (Relay() == nullptr)
        return;
    // A live stream waits in the time-shift buffer. Without one it cannot
    // wait: pausing it would stall the stream and play old sound later, so
    // it is stopped cleanly, and Play opens the same channel anew.
    const ITimeShift* pTimeShift = m_player.Engine().TimeShift();
    if (m_player.Engine().IsSeekable() || (pTimeShift != nullptr && pTimeShift->IsEnabled()))
        m_player.GetControls().pause();
    else
        m_player.GetControls().stop();
}

void CNowPlayingPublisher::OnResumeRequested()
{
    if (Relay() != nullptr)
        m_player.GetControls().play();
}

void CNowPlayingPublisher::FollowTimeShift()
{
    if (m_bFollowingTimeShift)
        return;
    if (ITimeShift* pTimeShift = m_player.Engine().TimeShift()) {
        m_bFollowingTimeShift = true;
        connect(pTimeShift, &ITimeShift::Changed, this, &CNowPlayingPublisher::PublishTimeShift);
        PublishTimeShift();
    }
}

void CNowPlayingPublisher::PublishTimeShift()
{
    CNowPlayingRelay* pRelay = Relay();
    if (pRelay == nullptr)
        return;
    const ITimeShift* pTimeShift = m_player.Engine().TimeShift();
    pRelay->SetCanSeek(pTimeShift != nullptr && pTimeShift->IsActive());
    // Only a channel that plays or waits in the buffer stands anywhere.
    const CNowPlayingRelay::PlayState state = pRelay->GetPlayState();
    pRelay->SetLiveEdgeText(state == CNowPlayingRelay::PlayState::Stopped
                                ? QString()
                                : LiveEdgeText::Of(pTimeShift, state == CNowPlayingRelay::PlayState::Paused));
}

void CNowPlayingPublisher::OnSeekRequested(double dSeconds)
{
    ITimeShift* pTimeShift = m_player.Engine().TimeShift();
    if (Relay() != nullptr && pTimeShift != nullptr)
        pTimeShift->SeekBy(dSeconds);
}

void CNowPlayingPublisher::OnVolumeRequested(int nPercent)
{
    if (Relay() != nullptr)
        m_player.SetVolume(nPercent);
}
