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
    , m_pEngine(CreateMediaEngine())
    , m_pVideo(new CVideoSurface(*m_pEngine, m_pDisplay))
    , m_pTransport(new CPlayerTransportBar(this))
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
    connect(m_pEngine.get(), &IMediaEngine::MetadataChanged, this, &CWMPPlayer4::RefreshNowPlaying);
    connect(m_pEngine.get(), &IMediaEngine::VideoChanged, this, &CWMPPlayer4::OnVideoChanged);
    connect(m_pEngine.get(), &IMediaEngine::MutedChanged, m_pTransport, &CPlayerTransportBar::SetMuted);
    connect(m_pTransport, &CPlayerTransportBar::PlayPauseClicked, this, &CWMPPlayer4::OnPlayPauseClicked);
    connect(m_pTransport, &CPlayerTransportBar::StopClicked, this, &CWMPPlayer4::Stop);
    connect(m_pTransport, &CPlayerTransportBar::MuteToggled, m_pEngine.get(), &IMediaEngine::SetMuted);
    connect(m_pTransport, &CPlayerTransportBar::VolumeChanged, m_pEngine.get(), &IMediaEngine::SetVolume);
    connect(m_pTransport, &CPlayerTransportBar::VolumeChosen, this, &CWMPPlayer4::OnVolumeChosen);
    connect(m_pTransport, &CPlayerTransportBar::VolumeChanged, this, [this](int nPercent) {
        m_nVolume = nPercent;
        emit VolumeChange(nPercent);
    });
}

CWMPPlayer4::~CWMPPlayer4()
{
    // The engine goes before the widgets: the surface that draws through it
    // goes before the engine.
    delete m_pVideo;
}

CString CWMPPlayer4::GetURL() const
{
    return m_strURL;
}

void CWMPPlayer4::SetURL(const CString& strURL)
{
    m_strURL = strURL;
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

IMediaEngine& CWMPPlayer4::Engine()
{
    return *m_pEngine;
}

void CWMPPlayer4::Resume()
{
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

void CWMPPlayer4::GoLive()
{
    m_pPlayback->GoLive();
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
