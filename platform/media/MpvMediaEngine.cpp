#include "platform/media/MpvMediaEngine.h"

#include "platform/media/MediaLog.h"
#include "platform/media/MpvFunctions.h"
#include "platform/media/MpvLibrary.h"
#include "platform/media/MpvOptions.h"
#include "platform/media/MpvPlaybackTracker.h"
#include "platform/media/MpvTimeShift.h"
#include "platform/media/MpvVideoRenderer.h"

#include <QPointer>
#include <clocale>

namespace {
// The reply id of the engine's own requests, whose replies nobody reads.
constexpr std::uint64_t kNoReply = 0;

// libmpv reads numbers with the C library, and refuses to run under a
// numeric locale whose decimal mark is not a dot; the program sets "C" once,
// at its start.
bool HasCNumericLocale()
{
    const char* pLocale = std::setlocale(LC_NUMERIC, nullptr);
    return pLocale != nullptr && qstrcmp(pLocale, "C") == 0;
}
}

CMpvMediaEngine::CMpvMediaEngine(QObject* pParent)
    : IMediaEngine(pParent)
{
    MpvLibrary::Preload();
}

CMpvMediaEngine::~CMpvMediaEngine()
{
    Shutdown();
}

ITimeShift* CMpvMediaEngine::TimeShift()
{
    return Start() ? m_pTimeShift.get() : nullptr;
}

bool CMpvMediaEngine::Start()
{
    if (m_bStarted)
        return m_pHandle != nullptr;
    m_bStarted = true;
    if (!HasCNumericLocale()) {
        qCWarning(lcMedia, "Media playback is off: the numeric locale is \"%s\", and libmpv needs \"C\"",
                  std::setlocale(LC_NUMERIC, nullptr));
        return false;
    }
    m_pMpv = MpvLibrary::Functions();
    if (m_pMpv == nullptr)
        return false;
    m_pHandle = m_pMpv->create();
    if (m_pHandle == nullptr) {
        qCWarning(lcMedia, "Media playback is off: libmpv could not be created");
        return false;
    }
    m_pTracker = std::make_unique<CMpvPlaybackTracker>(*m_pMpv, m_pHandle);
    if (!MpvOptions::Apply(*m_pMpv, m_pHandle) || m_pMpv->initialize(m_pHandle) < 0 || !m_pTracker->Attach()) {
        // The address filter and the state the engine reports depend on the
        // load hook and the observed properties as much as on the options:
        // an engine without any of them is not run.
        qCWarning(lcMedia, "Media playback is off: libmpv refused part of its set-up");
        Shutdown();
        return false;
    }
    // Pictures need a render context before anything plays; without one a
    // TV channel plays its sound alone.
    m_pRenderer = CMpvVideoRenderer::Create(*m_pMpv, m_pHandle);
    if (m_pRenderer)
        connect(m_pRenderer.get(), &CMpvVideoRenderer::FrameDue, this, &IMediaEngine::VideoFrameReady);
    m_pTracker->SetAddressFilter(m_addressFilter);
    ConnectTracker();
    m_pTimeShift = std::make_unique<CMpvTimeShift>(*m_pMpv, m_pHandle, CMpvTimeShift::DefaultCacheFolder());
    if (!m_pTimeShift->Observe())
        qCWarning(lcMedia, "libmpv will not report its buffer: time-shift is off");
    m_pMpv->set_wakeup_callback(m_pHandle, &CMpvMediaEngine::OnWakeup, this);
    // What was asked before libmpv was set up.
    if (m_nVolumeAsked)
        SetVolume(*m_nVolumeAsked);
    if (m_bMutedAsked)
        SetMuted(*m_bMutedAsked);
    return true;
}

void CMpvMediaEngine::Shutdown()
{
    if (m_pHandle == nullptr)
        return;
    m_pMpv->set_wakeup_callback(m_pHandle, nullptr, nullptr);
    m_pRenderer.reset();
    m_pTimeShift.reset();
    m_pTracker.reset();
    m_pMpv->terminate_destroy(m_pHandle);
    m_pHandle = nullptr;
}

void CMpvMediaEngine::ConnectTracker()
{
    CMpvPlaybackTracker* pTracker = m_pTracker.get();
    connect(pTracker, &CMpvPlaybackTracker::StateFound, this, &CMpvMediaEngine::UpdateState);
    connect(pTracker, &CMpvPlaybackTracker::BufferingPercentFound, this, &CMpvMediaEngine::UpdateBufferingPercent);
    connect(pTracker, &CMpvPlaybackTracker::MetadataFound, this, &CMpvMediaEngine::UpdateMetadata);
    connect(pTracker, &CMpvPlaybackTracker::VideoFound, this, &CMpvMediaEngine::UpdateHasVideo);
    connect(pTracker, &CMpvPlaybackTracker::VideoSizeFound, this, &CMpvMediaEngine::UpdateVideoSize);
    connect(pTracker, &CMpvPlaybackTracker::SeekableFound, this, &CMpvMediaEngine::UpdateSeekable);
    connect(pTracker, &CMpvPlaybackTracker::VolumeFound, this, &CMpvMediaEngine::UpdateVolume);
    connect(pTracker, &CMpvPlaybackTracker::MutedFound, this, &CMpvMediaEngine::UpdateMuted);
    connect(pTracker, &CMpvPlaybackTracker::LoadStarted, this, &IMediaEngine::LoadStarted);
    connect(pTracker, &CMpvPlaybackTracker::Ended, this, &IMediaEngine::Ended);
}

bool CMpvMediaEngine::IsAvailable() const
{
    return m_pHandle != nullptr;
}

void CMpvMediaEngine::SetAddressFilter(AddressFilter filter)
{
    m_addressFilter = filter;
    if (m_pTracker)
        m_pTracker->SetAddressFilter(std::move(filter));
}

void CMpvMediaEngine::Open(const QString& address)
{
    if (Start())
        m_pTracker->Open(address);
}

void CMpvMediaEngine::Stop()
{
    if (!m_pHandle)
        return;
    const char* args[] = {"stop", nullptr};
    m_pMpv->command_async(m_pHandle, kNoReply, args);
}

void CMpvMediaEngine::SetPaused(bool bPaused)
{
    if (!m_pHandle)
        return;
    int nFlag = bPaused ? 1 : 0;
    m_pMpv->set_property_async(m_pHandle, kNoReply, "pause", MPV_FORMAT_FLAG, &nFlag);
}

void CMpvMediaEngine::SetVolume(int nPercent)
{
    m_nVolumeAsked = nPercent;
    if (!m_pHandle)
        return;
    double dVolume = qBound(0, nPercent, 100);
    m_pMpv->set_property_async(m_pHandle, kNoReply, "volume", MPV_FORMAT_DOUBLE, &dVolume);
}

void CMpvMediaEngine::SetMuted(bool bMuted)
{
    m_bMutedAsked = bMuted;
    if (!m_pHandle)
        return;
    int nFlag = bMuted ? 1 : 0;
    m_pMpv->set_property_async(m_pHandle, kNoReply, "mute", MPV_FORMAT_FLAG, &nFlag);
}

bool CMpvMediaEngine::RenderVideoFrame(QImage& image)
{
    return m_pRenderer && m_pRenderer->Render(image);
}

void CMpvMediaEngine::SkipVideoFrame()
{
    if (m_pRenderer)
        m_pRenderer->Skip();
}

void CMpvMediaEngine::OnWakeup(void* pContext)
{
    // Called on one of libmpv's threads: only ask the owner's thread to read
    // the events, once until it has done so.
    auto* pEngine = static_cast<CMpvMediaEngine*>(pContext);
    if (!pEngine->m_bDrainQueued.exchange(true))
        QMetaObject::invokeMethod(pEngine, &CMpvMediaEngine::DrainEvents, Qt::QueuedConnection);
}

void CMpvMediaEngine::DrainEvents()
{
    m_bDrainQueued = false;
    const QPointer<CMpvMediaEngine> guard(this);
    while (m_pHandle) {
        const mpv_event* pEvent = m_pMpv->wait_event(m_pHandle, 0);
        if (pEvent->event_id == MPV_EVENT_NONE)
            break;
        if (!HandleTimeShiftEvent(*pEvent))
            m_pTracker->HandleEvent(*pEvent);
        // A listener may have destroyed the engine.
        if (!guard)
            return;
    }
    if (m_pTracker)
        m_pTracker->FinishEvents();
}

bool CMpvMediaEngine::HandleTimeShiftEvent(const mpv_event& event)
{
    if (!m_pTimeShift)
        return false;
    if (event.event_id == MPV_EVENT_PROPERTY_CHANGE)
        return m_pTimeShift->HandlePropertyChange(event.reply_userdata, *static_cast<mpv_event_property*>(event.data));
    if (event.event_id == MPV_EVENT_COMMAND_REPLY)
        return m_pTimeShift->HandleCommandReply(event);
    return false;
}
