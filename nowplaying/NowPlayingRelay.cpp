#include "nowplaying/NowPlayingRelay.h"

#include "fw/CWinApp.h"
#include "fw/CWnd.h"
#include "fw/WindowMessages.h"
#include "res/Resource.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

namespace {
CNowPlayingRelay* g_pRelay = nullptr;

constexpr int kMinimumVolume = 0;
constexpr int kMaximumVolume = 100;
}

CNowPlayingRelay::CNowPlayingRelay() = default;

CNowPlayingRelay::~CNowPlayingRelay()
{
    if (g_pRelay == this)
        g_pRelay = nullptr;
}

CNowPlayingRelay* CNowPlayingRelay::Get()
{
    return g_pRelay;
}

void CNowPlayingRelay::Set(CNowPlayingRelay* pRelay)
{
    g_pRelay = pRelay;
}

void CNowPlayingRelay::Attach(const QObject* pPublisher)
{
    if (m_pPublisher == pPublisher)
        return;
    const bool bWasOpen = IsRadioPageOpen();
    Clear();
    m_pPublisher = pPublisher;
    if (!bWasOpen)
        emit RadioPageOpenChanged(true);
}

void CNowPlayingRelay::Detach(const QObject* pPublisher)
{
    if (pPublisher == nullptr || m_pPublisher != pPublisher)
        return;
    m_pPublisher = nullptr;
    // The page took its player with it: nothing plays any more.
    Clear();
    emit RadioPageOpenChanged(false);
}

bool CNowPlayingRelay::IsPublisher(const QObject* pPublisher) const
{
    return pPublisher != nullptr && m_pPublisher == pPublisher;
}

void CNowPlayingRelay::SetChannel(const QString& strName, const QString& strAddress)
{
    if (m_strChannelName == strName && m_strStreamAddress == strAddress)
        return;
    m_strChannelName = strName;
    m_strStreamAddress = strAddress;
    m_strStreamTitle.clear();
    emit ChannelChanged();
}

void CNowPlayingRelay::SetStreamTitle(const QString& strTitle)
{
    if (m_strStreamTitle == strTitle)
        return;
    m_strStreamTitle = strTitle;
    emit StreamTitleChanged(strTitle);
}

void CNowPlayingRelay::SetPlayState(PlayState state)
{
    if (m_playState == state)
        return;
    m_playState = state;
    emit PlayStateChanged(state);
}

void CNowPlayingRelay::SetStatusText(const QString& strText)
{
    if (m_strStatusText == strText)
        return;
    m_strStatusText = strText;
    emit StatusTextChanged(strText);
}

int CNowPlayingRelay::Volume() const
{
    if (m_nVolume >= 0)
        return m_nVolume;
    return qBound(kMinimumVolume, GetSettingInt(SettingNames::kPlayerVolume, SettingDefaults::kPlayerVolume),
                  kMaximumVolume);
}

void CNowPlayingRelay::SetVolume(int nPercent)
{
    nPercent = qBound(kMinimumVolume, nPercent, kMaximumVolume);
    if (m_nVolume == nPercent)
        return;
    m_nVolume = nPercent;
    emit VolumeChanged(nPercent);
}

void CNowPlayingRelay::SetCanSeek(bool bCanSeek)
{
    if (m_bCanSeek == bCanSeek)
        return;
    m_bCanSeek = bCanSeek;
    emit CanSeekChanged(bCanSeek);
}

void CNowPlayingRelay::SetLiveEdgeText(const QString& strText)
{
    if (m_strLiveEdgeText == strText)
        return;
    m_strLiveEdgeText = strText;
    emit LiveEdgeTextChanged(strText);
}

void CNowPlayingRelay::Seek(double dSeconds)
{
    if (m_bCanSeek && IsRadioPageOpen())
        emit SeekRequested(dSeconds);
}

void CNowPlayingRelay::Play()
{
    // Playing already: nothing to do. Paused: go on where it stopped.
    if (m_playState == PlayState::Playing)
        return;
    if (m_playState == PlayState::Paused && IsRadioPageOpen())
        emit ResumeRequested();
    else
        PostCommand(ID_PLAY);
}

void CNowPlayingRelay::Pause()
{
    if (m_playState == PlayState::Playing && IsRadioPageOpen())
        emit PauseRequested();
}

void CNowPlayingRelay::PlayPause()
{
    if (m_playState == PlayState::Playing)
        Pause();
    else
        Play();
}

void CNowPlayingRelay::Stop()
{
    PostCommand(ID_STOP);
}

void CNowPlayingRelay::Next()
{
    PostCommand(ID_PLAY_NEXT);
}

void CNowPlayingRelay::Previous()
{
    PostCommand(ID_PLAY_PREVIOUS);
}

void CNowPlayingRelay::RequestVolume(int nPercent)
{
    if (IsRadioPageOpen())
        emit VolumeRequested(qBound(kMinimumVolume, nPercent, kMaximumVolume));
}

void CNowPlayingRelay::PostCommand(unsigned nID) const
{
    // The tray menu's road: main frame, active page, its view.
    if (CWnd* pMainWnd = AfxGetMainWnd())
        pMainWnd->PostMessage(WM_COMMAND, nID, 0);
}

void CNowPlayingRelay::Clear()
{
    SetChannel(QString(), QString());
    SetStreamTitle(QString());
    SetPlayState(PlayState::Stopped);
    SetStatusText(QString());
    SetCanSeek(false);
    SetLiveEdgeText(QString());
}
