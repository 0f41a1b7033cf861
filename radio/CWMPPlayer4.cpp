#include "radio/CWMPPlayer4.h"

#include "platform/media/MediaEngine.h"
#include "radio/NowPlayingPanel.h"
#include "radio/VolumeRange.h"
#include "radio/PlayerTransportBar.h"
#include "radio/StreamPlayback.h"
#include "radio/VideoSurface.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QStackedWidget>
#include <QVBoxLayout>

namespace {
int StoredVolume()
{
    const int nVolume = GetSettingInt(SettingNames::kPlayerVolume, SettingDefaults::kPlayerVolume);
    return qBound(VolumeRange::kMinimum, nVolume, VolumeRange::kMaximum);
}

bool IsUnderway(WMPPlayState state)
{
    return state == wmppsPlaying || state == wmppsBuffering;
}
}

CWMPPlayer4::CWMPPlayer4(QWidget* pParent)
    : CWnd(pParent)
    , m_pDisplay(new QStackedWidget(this))
    , m_pNowPlaying(new CNowPlayingPanel(m_pDisplay))
    , m_pVideo(new CVideoSurface(m_pDisplay))
    , m_pTransport(new CPlayerTransportBar(this))
    , m_pEngine(CreateMediaEngine())
    , m_pPlayback(std::make_unique<CStreamPlayback>(*m_pEngine))
{
    m_pDisplay->addWidget(m_pNowPlaying);
    m_pDisplay->addWidget(m_pVideo);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    pLayout->addWidget(m_pDisplay, 1);
    pLayout->addWidget(m_pTransport);

    m_nVolume = StoredVolume();
    m_pEngine->SetVolume(m_nVolume);
    m_pTransport->SetVolume(m_nVolume);

    connect(m_pPlayback.get(), &CStreamPlayback::StatusChanged, this, [this](const QString& strStatus) {
        m_pTransport->SetStatus(strStatus);
        RefreshNowPlaying();
        emit StatusChange();
    });
    connect(m_pPlayback.get(), &CStreamPlayback::PlayStateChanged, this, &CWMPPlayer4::OnPlayStateChanged);
    connect(m_pEngine.get(), &CMediaEngine::MetadataChanged, this, &CWMPPlayer4::RefreshNowPlaying);
    connect(m_pEngine.get(), &CMediaEngine::VideoChanged, this, &CWMPPlayer4::OnVideoChanged);
    connect(m_pVideo, &CVideoSurface::NativeWindowGoing, this, &CWMPPlayer4::ReleaseVideoSurface);
    // Queued: the surface tells while its old window goes, before the new
    // one exists.
    connect(m_pVideo, &CVideoSurface::NativeWindowChanged, this, &CWMPPlayer4::UseVideoSurface,
            Qt::QueuedConnection);
    connect(m_pEngine.get(), &CMediaEngine::MutedChanged, m_pTransport, &CPlayerTransportBar::SetMuted);
    connect(m_pTransport, &CPlayerTransportBar::PlayPauseClicked, this, &CWMPPlayer4::OnPlayPauseClicked);
    connect(m_pTransport, &CPlayerTransportBar::StopClicked, this, &CWMPPlayer4::Stop);
    connect(m_pTransport, &CPlayerTransportBar::MuteToggled, m_pEngine.get(), &CMediaEngine::SetMuted);
    connect(m_pTransport, &CPlayerTransportBar::VolumeChanged, m_pEngine.get(), &CMediaEngine::SetVolume);
    connect(m_pTransport, &CPlayerTransportBar::VolumeChosen, this, &CWMPPlayer4::OnVolumeChosen);
    connect(m_pTransport, &CPlayerTransportBar::VolumeChanged, this, [this](int nPercent) {
        m_nVolume = nPercent;
        emit VolumeChange(nPercent);
    });
}

CWMPPlayer4::~CWMPPlayer4()
{
    // The engine goes before the widgets, whose native windows go last.
    disconnect(m_pVideo, nullptr, this, nullptr);
}

CString CWMPPlayer4::GetURL() const
{
    return m_strURL;
}

void CWMPPlayer4::SetURL(const CString& strURL)
{
    m_strURL = strURL;
    UseVideoSurface();
    m_pPlayback->Play(strURL);
}

CWMPControls CWMPPlayer4::GetControls()
{
    return CWMPControls(this);
}

CString CWMPPlayer4::GetStatus() const
{
    return m_pPlayback->Status();
}

int CWMPPlayer4::GetVolume() const
{
    return m_nVolume;
}

void CWMPPlayer4::SetVolume(int nPercent)
{
    nPercent = qBound(VolumeRange::kMinimum, nPercent, VolumeRange::kMaximum);
    if (m_nVolume == nPercent)
        return;
    m_nVolume = nPercent;
    m_pTransport->SetVolume(nPercent);
    m_pEngine->SetVolume(nPercent);
    WriteSettingInt(SettingNames::kPlayerVolume, nPercent);
    emit VolumeChange(nPercent);
}

CMediaEngine& CWMPPlayer4::Engine()
{
    return *m_pEngine;
}

void CWMPPlayer4::Resume()
{
    UseVideoSurface();
    m_pPlayback->Resume();
}

void CWMPPlayer4::Pause()
{
    m_pPlayback->Pause();
}

void CWMPPlayer4::Stop()
{
    m_pPlayback->Stop();
}

void CWMPPlayer4::UseVideoSurface()
{
    // The native window is made once the player sits in its final window,
    // and made anew if it moves: it is asked for before each opening, and
    // handed on whenever it changes. Not while the main window is hidden (a
    // start in the tray): a native window made then breaks the web pages'
    // engine when the window is first shown and the banner's engine adds
    // its own.
    if (!m_pVideo->window()->isVisible())
        return;
    const WId window = m_pVideo->winId();
    if (window == m_videoWindow)
        return;
    m_videoWindow = window;
    m_pEngine->SetVideoWindow(window);
}

void CWMPPlayer4::ReleaseVideoSurface()
{
    m_videoWindow = 0;
    m_pEngine->ReleaseVideoWindow();
}

void CWMPPlayer4::OnPlayStateChanged(WMPPlayState newState)
{
    m_pTransport->SetPlaying(IsUnderway(newState));
    emit PlayStateChange(newState);
}

void CWMPPlayer4::OnPlayPauseClicked()
{
    if (IsUnderway(m_pPlayback->PlayState()))
        Pause();
    else
        Resume();
}

void CWMPPlayer4::OnVolumeChosen(int nPercent)
{
    WriteSettingInt(SettingNames::kPlayerVolume, nPercent);
}

void CWMPPlayer4::RefreshNowPlaying()
{
    // Until the station names itself, the panel tells what the player does.
    const QString title = m_pEngine->StreamTitle();
    const QString stationName = m_pEngine->StationName();
    if (title.isEmpty() && stationName.isEmpty())
        m_pNowPlaying->SetTitle(QString(), m_pPlayback->Status());
    else
        m_pNowPlaying->SetTitle(title, stationName);
}

void CWMPPlayer4::OnVideoChanged(bool bHasVideo)
{
    m_pDisplay->setCurrentWidget(bHasVideo ? static_cast<QWidget*>(m_pVideo) : m_pNowPlaying);
}
