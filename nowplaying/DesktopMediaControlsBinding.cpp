#include "nowplaying/DesktopMediaControlsBinding.h"

#include "nowplaying/NowPlayingRelay.h"

#include <cmath>

namespace {
constexpr double kPercent = 100.0;
constexpr double kMicrosecondsPerSecond = 1e6;

IDesktopMediaControls::PlaybackStatus StatusOf(CNowPlayingRelay::PlayState state)
{
    switch (state) {
    case CNowPlayingRelay::PlayState::Playing:
        return IDesktopMediaControls::PlaybackStatus::Playing;
    case CNowPlayingRelay::PlayState::Paused:
        return IDesktopMediaControls::PlaybackStatus::Paused;
    case CNowPlayingRelay::PlayState::Stopped:
        break;
    }
    return IDesktopMediaControls::PlaybackStatus::Stopped;
}
}

CDesktopMediaControlsBinding::CDesktopMediaControlsBinding(CNowPlayingRelay& relay, IDesktopMediaControls& controls,
                                                           QString strArtUrl)
    : m_relay(relay)
    , m_controls(controls)
    , m_strArtUrl(std::move(strArtUrl))
{
    connect(&relay, &CNowPlayingRelay::ChannelChanged, this, &CDesktopMediaControlsBinding::PublishTrack);
    connect(&relay, &CNowPlayingRelay::StreamTitleChanged, this, &CDesktopMediaControlsBinding::PublishTrack);
    connect(&relay, &CNowPlayingRelay::LiveEdgeTextChanged, this, &CDesktopMediaControlsBinding::PublishTrack);
    connect(&relay, &CNowPlayingRelay::PlayStateChanged, this, &CDesktopMediaControlsBinding::PublishPlayState);
    connect(&relay, &CNowPlayingRelay::VolumeChanged, this, &CDesktopMediaControlsBinding::PublishVolume);
    connect(&relay, &CNowPlayingRelay::RadioPageOpenChanged, this, &CDesktopMediaControlsBinding::PublishControllable);
    connect(&relay, &CNowPlayingRelay::CanSeekChanged, &controls, &IDesktopMediaControls::SetSeekable);

    connect(&controls, &IDesktopMediaControls::PlayRequested, &relay, &CNowPlayingRelay::Play);
    connect(&controls, &IDesktopMediaControls::PauseRequested, &relay, &CNowPlayingRelay::Pause);
    connect(&controls, &IDesktopMediaControls::PlayPauseRequested, &relay, &CNowPlayingRelay::PlayPause);
    connect(&controls, &IDesktopMediaControls::StopRequested, &relay, &CNowPlayingRelay::Stop);
    connect(&controls, &IDesktopMediaControls::NextRequested, &relay, &CNowPlayingRelay::Next);
    connect(&controls, &IDesktopMediaControls::PreviousRequested, &relay, &CNowPlayingRelay::Previous);
    connect(&controls, &IDesktopMediaControls::VolumeRequested, this, &CDesktopMediaControlsBinding::OnVolumeRequested);
    connect(&controls, &IDesktopMediaControls::SeekRequested, &relay, [&relay](qint64 nOffsetMicroseconds) {
        relay.Seek(static_cast<double>(nOffsetMicroseconds) / kMicrosecondsPerSecond);
    });

    PublishTrack();
    PublishPlayState();
    PublishVolume();
    PublishControllable();
    controls.SetSeekable(relay.CanSeek());
}

IDesktopMediaControls::Track CDesktopMediaControlsBinding::TrackOf(const CNowPlayingRelay& relay,
                                                                   const QString& strArtUrl)
{
    IDesktopMediaControls::Track track;
    const QString strChannel = relay.ChannelName();
    const QString strSong = relay.StreamTitle();
    if (strChannel.isEmpty() && strSong.isEmpty() && relay.StreamAddress().isEmpty())
        return track;
    track.title = strSong.isEmpty() ? strChannel : strSong;
    if (!strSong.isEmpty())
        track.artist = strChannel;
    track.album = strChannel;
    track.url = relay.StreamAddress();
    track.artUrl = strArtUrl;
    track.comment = relay.LiveEdgeText();
    return track;
}

void CDesktopMediaControlsBinding::PublishTrack()
{
    IDesktopMediaControls::Track track = TrackOf(m_relay, m_strArtUrl);
    if (track == m_lastTrack)
        return;
    // Every song and every channel is a track of its own to the desktop;
    // how it plays is a note on the same track.
    IDesktopMediaControls::Track same = m_lastTrack;
    same.comment = track.comment;
    const bool bNewTrack = track != same;
    m_lastTrack = track;
    if (track != IDesktopMediaControls::Track())
        track.nId = bNewTrack ? ++m_nTracks : m_nTracks;
    m_controls.SetTrack(track);
}

void CDesktopMediaControlsBinding::PublishPlayState()
{
    m_controls.SetPlaybackStatus(StatusOf(m_relay.GetPlayState()));
}

void CDesktopMediaControlsBinding::PublishVolume()
{
    m_controls.SetVolume(m_relay.Volume() / kPercent);
}

void CDesktopMediaControlsBinding::PublishControllable()
{
    m_controls.SetControllable(m_relay.IsRadioPageOpen());
}

void CDesktopMediaControlsBinding::OnVolumeRequested(double dVolume)
{
    m_relay.RequestVolume(static_cast<int>(std::lround(dVolume * kPercent)));
}
