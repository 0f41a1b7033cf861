#include "radio/NowPlayingPublisher.h"

#include "platform/media/MediaEngine.h"
#include "radio/CWMPPlayer4.h"
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
    // A live stream cannot wait: pausing it would only fill the buffer and
    // play old sound later. It is stopped cleanly, and Play opens the same
    // channel anew.
    if (m_player.Engine().IsSeekable())
        m_player.GetControls().pause();
    else
        m_player.GetControls().stop();
}

void CNowPlayingPublisher::OnResumeRequested()
{
    if (Relay() != nullptr)
        m_player.GetControls().play();
}

void CNowPlayingPublisher::OnVolumeRequested(int nPercent)
{
    if (Relay() != nullptr)
        m_player.SetVolume(nPercent);
}
