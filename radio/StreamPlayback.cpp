#include "radio/StreamPlayback.h"

#include "catalogue/StreamAddressPolicy.h"
#include "platform/media/TimeShift.h"
#include "radio/LiveEdgeText.h"
#include "radio/PlayerTexts.h"
#include "radio/SystemPlaybackClock.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

namespace {
using Failure = IMediaEngine::Failure;

constexpr int kSecondsPerMinute = 60;
// The longest buffer the setting may ask for: a day.
constexpr int kLongestTimeShiftMinutes = 24 * 60;

QString FailureText(Failure failure)
{
    switch (failure) {
    case Failure::NotFound:
        return PlayerTexts::kStreamNotFound;
    case Failure::AccessDenied:
        return PlayerTexts::kAccessDenied;
    case Failure::ServerError:
        return PlayerTexts::kServerError;
    case Failure::CannotConnect:
        return PlayerTexts::kCannotConnect;
    case Failure::TimedOut:
        return PlayerTexts::kTimedOut;
    case Failure::UnsupportedFormat:
        return PlayerTexts::kUnsupportedFormat;
    case Failure::EmptyStream:
        return PlayerTexts::kEmptyStream;
    case Failure::AddressRefused:
        return PlayerTexts::kAddressRefused;
    case Failure::None:
    case Failure::Other:
        break;
    }
    return PlayerTexts::kCannotPlay;
}

// Worth another attempt once a stream has played: the station may be back
// in a moment. A missing stream or a refusal will not change by waiting.
bool IsPassing(Failure failure)
{
    switch (failure) {
    case Failure::CannotConnect:
    case Failure::TimedOut:
    case Failure::ServerError:
    case Failure::EmptyStream:
    case Failure::Other:
        return true;
    default:
        return false;
    }
}
}

CStreamPlayback::CStreamPlayback(IMediaEngine& engine, std::unique_ptr<IPlaybackClock> pClock, QObject* pParent)
    : QObject(pParent)
    , m_engine(engine)
    , m_pClock(pClock ? std::move(pClock) : std::make_unique<CSystemPlaybackClock>())
{
    connect(m_pClock.get(), &IPlaybackClock::Ticked, this, &CStreamPlayback::OnReconnectTick);
    connect(&m_engine, &IMediaEngine::StateChanged, this, &CStreamPlayback::OnEngineStateChanged);
    connect(&m_engine, &IMediaEngine::BufferingPercentChanged, this, &CStreamPlayback::RefreshActiveStatus);
    connect(&m_engine, &IMediaEngine::MetadataChanged, this, &CStreamPlayback::RefreshActiveStatus);
    connect(&m_engine, &IMediaEngine::Ended, this, &CStreamPlayback::OnEngineEnded);
    // Playlists name further addresses; they pass the same test.
    m_engine.SetAddressFilter(&CStreamAddressPolicy::IsAllowed);
}

void CStreamPlayback::Play(const QString& address)
{
    m_pClock->StopTicking();
    m_bReconnecting = false;
    m_bHasPlayed = false;
    m_backoff.Reset();
    switch (CStreamAddressPolicy::Check(address)) {
    case CStreamAddressPolicy::Verdict::Empty:
        m_strAddress.clear();
        m_engine.Stop();
        EndWith(PlayerTexts::kNoAddress, wmppsReady);
        return;
    case CStreamAddressPolicy::Verdict::Refused:
        m_strAddress.clear();
        m_engine.Stop();
        EndWith(PlayerTexts::kAddressRefused, wmppsReady);
        return;
    case CStreamAddressPolicy::Verdict::Accepted:
        break;
    }
    m_strAddress = CStreamAddressPolicy::Normalised(address);
    if (!m_engine.Start()) {
        EndWith(PlayerTexts::kUnavailable, wmppsUndefined);
        return;
    }
    StartOpening();
}

void CStreamPlayback::Resume()
{
    if (m_phase == Phase::Active) {
        if (m_engine.GetState() == IMediaEngine::State::Paused)
            m_engine.SetPaused(false);
        return;
    }
    if (m_strAddress.isEmpty() || !m_engine.Start())
        return;
    m_pClock->StopTicking();
    m_bReconnecting = false;
    m_bHasPlayed = false;
    m_backoff.Reset();
    StartOpening();
}

void CStreamPlayback::Pause()
{
    if (m_phase == Phase::Active)
        m_engine.SetPaused(true);
    else if (m_phase == Phase::WaitingToReconnect)
        Stop();
}

void CStreamPlayback::Stop()
{
    m_pClock->StopTicking();
    m_bReconnecting = false;
    m_engine.Stop();
    EndWith(PlayerTexts::kStopped, wmppsStopped);
}

void CStreamPlayback::GoLive()
{
    ITimeShift* pTimeShift = m_engine.TimeShift();
    if (m_phase != Phase::Active || pTimeShift == nullptr || !pTimeShift->IsActive())
        return;
    if (!pTimeShift->HasStreamEnded()) {
        pTimeShift->SeekToLive();
        return;
    }
    // What is left of the buffer is not live; the wait says so in silence.
    ScheduleReconnect();
    m_engine.Stop();
}

void CStreamPlayback::OnEngineStateChanged(IMediaEngine::State state)
{
    if (m_phase != Phase::Active)
        return;
    if (state == IMediaEngine::State::Playing) {
        m_bReconnecting = false;
        m_bHasPlayed = true;
        m_bSeekable = m_engine.IsSeekable();
        m_nPlayingSince = m_pClock->NowMilliseconds();
    }
    RefreshActiveStatus();
}

void CStreamPlayback::OnEngineEnded(IMediaEngine::EndReason reason, IMediaEngine::Failure failure)
{
    if (m_phase != Phase::Active)
        return;
    switch (reason) {
    case IMediaEngine::EndReason::Stopped:
        EndWith(PlayerTexts::kStopped, wmppsStopped);
        return;
    case IMediaEngine::EndReason::Finished:
        // A file of known length has simply ended; a live stream that ends
        // has dropped.
        if (m_bHasPlayed && m_bSeekable)
            EndWith(PlayerTexts::kFinished, wmppsMediaEnded);
        else if (m_bHasPlayed || m_bReconnecting)
            ScheduleReconnect();
        else
            EndWith(PlayerTexts::kCannotPlay, wmppsReady);
        return;
    case IMediaEngine::EndReason::Failed:
        if ((m_bHasPlayed || m_bReconnecting) && IsPassing(failure))
            ScheduleReconnect();
        else
            EndWith(FailureText(failure), wmppsReady);
        return;
    }
}

void CStreamPlayback::OnReconnectTick()
{
    if (--m_nSecondsToReconnect > 0) {
        SetStatus(QString(PlayerTexts::kReconnectingIn).arg(m_nSecondsToReconnect), wmppsReconnecting);
        return;
    }
    m_pClock->StopTicking();
    StartOpening();
}

void CStreamPlayback::RefreshActiveStatus()
{
    if (m_phase != Phase::Active)
        return;
    switch (m_engine.GetState()) {
    case IMediaEngine::State::Idle:
        break;
    case IMediaEngine::State::Opening:
        if (m_bReconnecting)
            SetStatus(PlayerTexts::kReconnecting, wmppsReconnecting);
        else
            SetStatus(PlayerTexts::kConnecting, wmppsTransitioning);
        break;
    case IMediaEngine::State::Buffering:
        SetStatus(QString(PlayerTexts::kBuffering).arg(m_engine.BufferingPercent()), wmppsBuffering);
        break;
    case IMediaEngine::State::Playing:
        SetStatus(PlayingText(), wmppsPlaying);
        break;
    case IMediaEngine::State::Paused:
        SetStatus(PlayerTexts::kPaused, wmppsPaused);
        break;
    }
}

void CStreamPlayback::PrepareTimeShift()
{
    ITimeShift* pTimeShift = m_engine.TimeShift();
    if (pTimeShift == nullptr)
        return;
    const int nMinutes = GetSettingInt(SettingNames::kTimeShiftMinutes, SettingDefaults::kTimeShiftMinutes);
    pTimeShift->SetBufferSeconds(qBound(0, nMinutes, kLongestTimeShiftMinutes) * kSecondsPerMinute);
    if (!m_bFollowingTimeShift) {
        m_bFollowingTimeShift = true;
        connect(pTimeShift, &ITimeShift::Changed, this, &CStreamPlayback::RefreshActiveStatus);
    }
}

void CStreamPlayback::StartOpening()
{
    m_phase = Phase::Active;
    PrepareTimeShift();
    m_engine.SetPaused(false);
    m_engine.Open(m_strAddress);
    if (m_bReconnecting)
        SetStatus(PlayerTexts::kReconnecting, wmppsReconnecting);
    else
        SetStatus(PlayerTexts::kConnecting, wmppsTransitioning);
}

void CStreamPlayback::ScheduleReconnect()
{
    if (m_nPlayingSince >= 0 && m_pClock->NowMilliseconds() - m_nPlayingSince >= kSteadyPlaySeconds * 1000)
        m_backoff.Reset();
    m_nPlayingSince = -1;
    m_bReconnecting = true;
    m_phase = Phase::WaitingToReconnect;
    m_nSecondsToReconnect = m_backoff.NextDelaySeconds();
    m_pClock->StartTicking();
    SetStatus(QString(PlayerTexts::kReconnectingIn).arg(m_nSecondsToReconnect), wmppsReconnecting);
}

void CStreamPlayback::EndWith(const QString& strStatus, WMPPlayState playState)
{
    m_phase = Phase::Ended;
    SetStatus(strStatus, playState);
}

void CStreamPlayback::SetStatus(const QString& strStatus, WMPPlayState playState)
{
    const bool bStatusChanged = m_strStatus != strStatus;
    const bool bPlayStateChanged = m_playState != playState;
    m_strStatus = strStatus;
    m_playState = playState;
    if (bPlayStateChanged)
        emit PlayStateChanged(playState);
    if (bStatusChanged)
        emit StatusChanged(strStatus);
}

QString CStreamPlayback::PlayingText() const
{
    QString title = m_engine.StreamTitle();
    if (title.isEmpty())
        title = m_engine.StationName();
    const ITimeShift* pTimeShift = m_engine.TimeShift();
    const double dBehind = pTimeShift != nullptr ? pTimeShift->SecondsBehindLive() : 0;
    if (dBehind > 0) {
        if (title.isEmpty())
            return QString(PlayerTexts::kBehindLive).arg(LiveEdgeText::ClockText(dBehind));
        return QString(PlayerTexts::kBehindLiveTitle).arg(LiveEdgeText::ClockText(dBehind), title);
    }
    const QString strPlaying =
        title.isEmpty() ? QString(PlayerTexts::kPlaying) : QString(PlayerTexts::kPlayingTitle).arg(title);
    // Only a channel kept in the buffer has a live edge to tell.
    if (pTimeShift != nullptr && pTimeShift->IsActive())
        return QString(PlayerTexts::kAtLive).arg(strPlaying);
    return strPlaying;
}
