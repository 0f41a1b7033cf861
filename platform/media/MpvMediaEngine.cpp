#include "platform/media/MpvMediaEngine.h"

#include "platform/media/MediaLog.h"
#include "platform/media/MpvFunctions.h"
#include "platform/media/MpvLibrary.h"
#include "platform/media/MpvTimeShift.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QThread>
#include <clocale>
#include <cmath>
#include <vector>

namespace {
// Reply ids of the asynchronous requests and observed properties.
enum ReplyId : std::uint64_t {
    kReplyIgnored = 0,
    kReplyLoadfile,
    kPropertyCoreIdle,
    kPropertyPausedForCache,
    kPropertyBufferingState,
    kPropertyPause,
    kPropertyIcyTitle,
    kPropertyTagTitle,
    kPropertyIcyName,
    kPropertyVideoConfigured,
    kPropertySeekable,
    kPropertyVolume,
    kPropertyMute,
    kPropertyIdleActive,
};

struct ObservedProperty
{
    ReplyId id;
    const char* name;
    mpv_format format;
};

constexpr ObservedProperty kObservedProperties[] = {
    {kPropertyCoreIdle, "core-idle", MPV_FORMAT_FLAG},
    {kPropertyPausedForCache, "paused-for-cache", MPV_FORMAT_FLAG},
    {kPropertyBufferingState, "cache-buffering-state", MPV_FORMAT_INT64},
    {kPropertyPause, "pause", MPV_FORMAT_FLAG},
    {kPropertyIcyTitle, "metadata/by-key/icy-title", MPV_FORMAT_STRING},
    {kPropertyTagTitle, "metadata/by-key/title", MPV_FORMAT_STRING},
    {kPropertyIcyName, "metadata/by-key/icy-name", MPV_FORMAT_STRING},
    {kPropertyVideoConfigured, "vo-configured", MPV_FORMAT_FLAG},
    {kPropertySeekable, "seekable", MPV_FORMAT_FLAG},
    {kPropertyVolume, "volume", MPV_FORMAT_DOUBLE},
    {kPropertyMute, "mute", MPV_FORMAT_FLAG},
    {kPropertyIdleActive, "idle-active", MPV_FORMAT_FLAG},
};

// The addresses in the station list come from the network, so nothing but
// the player itself decides what runs: no configuration files, scripts,
// site helpers or key bindings, and playlists may not reach local files.
struct Option
{
    const char* name;
    const char* value;
    // Without it the engine is not safe to run, so it does not run.
    bool bRequired;
};

constexpr Option kOptions[] = {
    {"config", "no", true},
    {"load-scripts", "no", true},
    {"ytdl", "no", true},
    {"osc", "no", true},
    {"load-stats-overlay", "no", true},
    {"load-osd-console", "no", true},
    {"load-auto-profiles", "no", true},
    {"input-default-bindings", "no", true},
    {"input-vo-keyboard", "no", true},
    {"input-cursor", "no", true},
    {"input-terminal", "no", true},
    {"terminal", "no", true},
    {"load-unsafe-playlists", "no", true},
    {"autoload-files", "no", true},
    {"tls-verify", "yes", true},
    {"idle", "yes", true},
    {"keep-open", "no", false},
    {"audio-display", "no", false},
    {"osd-level", "0", false},
    {"cursor-autohide", "no", false},
    {"vo", "gpu,x11", false},
    // No picture until the program hands over a window: without one the
    // video output would open a window of its own (a TV channel started in
    // the tray). SetVideoWindow turns video on.
    {"vid", "no", true},
    // Through GLX, the player's context and the web pages' engine in the
    // same process close each other's files once a video page goes; EGL
    // keeps them apart.
    {"gpu-context", "x11egl", false},
    {"ao", "pulse,alsa,null", false},
    {"hwdec", "no", false},
    {"network-timeout", "15", false},
    // Stations play live, and nothing ever seeks back, so little of what
    // has played is kept: by default the player keeps up to 50 MiB of it,
    // and lends it whatever the read-ahead does not use, which a tray player
    // that plays all day would carry for good. None at all would lose the
    // station's song titles, which travel with the data they belong to.
    // Ahead, it buffers at most 32 MiB (the default is 150 MiB), which a
    // live stream fills only while paused: half an hour of radio, half a
    // minute of HD TV.
    {"demuxer-max-back-bytes", "1MiB", false},
    {"demuxer-donate-buffer", "no", false},
    {"demuxer-max-bytes", "32MiB", false},
    {"user-agent", "KestrelRadio (libmpv)", false},
    {"audio-client-name", "Kestrel Radio", false},
};

// Network protocols only; "file", "data" and the like are missing on purpose.
constexpr char kProtocolWhitelist[] =
    "http,https,tcp,tls,crypto,httpproxy,mmsh,mmst,rtsp,rtsps,rtp,srtp,udp,rtmp,rtmpt,rtmps,rtmpts";

// While an address opens, the log is read at this level to learn why an
// opening might fail; once it opened or its failure is told, no log is
// wanted. Changing the level drops the lines not yet read. A 404 shows at
// "warn", a refused connection at "error", a server that connects and then
// says nothing only at "debug" ("Successfully connected"), and a redirect
// that the HTTP client will not follow only at "trace" (its Location
// header): trace it is, for the few hundred lines of an opening.
constexpr char kOpeningLogLevel[] = "trace";
constexpr char kQuietLogLevel[] = "no";

// How long the window's owner waits for the video output to close.
constexpr int kVideoCloseTimeoutMs = 2000;
constexpr int kVideoClosePollMs = 5;

// What a refused address is replaced by: a protocol that libmpv does not
// have, so that it opens nothing and fails at once, and a playlist goes on
// to its next entry.
constexpr char kRefusedAddressStandIn[] = "kestrel-refused://";

// libmpv reads numbers with the C library, and refuses to run under a
// numeric locale whose decimal mark is not a dot; the program sets "C" once,
// at its start.
bool HasCNumericLocale()
{
    const char* pLocale = std::setlocale(LC_NUMERIC, nullptr);
    return pLocale != nullptr && qstrcmp(pLocale, "C") == 0;
}

bool SetKeyValueOption(const MpvFunctions& mpv, mpv_handle* pHandle, const char* name, const char* key,
                       const char* value)
{
    char* keys[] = {const_cast<char*>(key)};
    mpv_node values[1];
    values[0].format = MPV_FORMAT_STRING;
    values[0].u.string = const_cast<char*>(value);
    mpv_node_list list{1, values, keys};
    mpv_node map;
    map.format = MPV_FORMAT_NODE_MAP;
    map.u.list = &list;
    return mpv.set_option(pHandle, name, MPV_FORMAT_NODE, &map) >= 0;
}

QString StringValue(const mpv_event_property& property)
{
    if (property.format != MPV_FORMAT_STRING || property.data == nullptr)
        return QString();
    return QString::fromUtf8(*static_cast<char**>(property.data));
}

bool FlagValue(const mpv_event_property& property, bool bDefault)
{
    if (property.format != MPV_FORMAT_FLAG || property.data == nullptr)
        return bDefault;
    return *static_cast<int*>(property.data) != 0;
}

std::int64_t EntryIdOfReply(const mpv_event_command& reply)
{
    if (reply.result.format != MPV_FORMAT_NODE_MAP)
        return -1;
    const mpv_node_list* pMap = reply.result.u.list;
    for (int i = 0; i < pMap->num; ++i) {
        if (qstrcmp(pMap->keys[i], "playlist_entry_id") == 0 && pMap->values[i].format == MPV_FORMAT_INT64)
            return pMap->values[i].u.int64;
    }
    return -1;
}
}

void CMpvMediaEngine::HandleDeleter::operator()(mpv_handle* pHandle) const
{
    pMpv->terminate_destroy(pHandle);
}

CMpvMediaEngine::CMpvMediaEngine(QObject* pParent)
    : CMediaEngine(pParent)
{
    MpvLibrary::Preload();
}

CMpvMediaEngine::~CMpvMediaEngine()
{
    if (m_pHandle)
        m_pMpv->set_wakeup_callback(m_pHandle.get(), nullptr, nullptr);
}

CTimeShift* CMpvMediaEngine::TimeShift()
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
    m_pHandle = std::unique_ptr<mpv_handle, HandleDeleter>(m_pMpv->create(), HandleDeleter{m_pMpv});
    if (!m_pHandle) {
        qCWarning(lcMedia, "Media playback is off: libmpv could not be created");
        return false;
    }
    // The address filter and the state the engine reports depend on the
    // load hook and the observed properties as much as on the options: an
    // engine without any of them is not run.
    if (!Configure() || m_pMpv->initialize(m_pHandle.get()) < 0 || !ObserveProperties()
        || m_pMpv->hook_add(m_pHandle.get(), kReplyIgnored, "on_load", 0) < 0) {
        qCWarning(lcMedia, "Media playback is off: libmpv refused part of its set-up");
        m_pHandle.reset();
        return false;
    }
    m_pTimeShift = std::make_unique<CMpvTimeShift>(*m_pMpv, m_pHandle.get(), CMpvTimeShift::DefaultCacheFolder());
    if (!m_pTimeShift->Observe())
        qCWarning(lcMedia, "libmpv will not report its buffer: time-shift is off");
    m_pMpv->set_wakeup_callback(m_pHandle.get(), &CMpvMediaEngine::OnWakeup, this);
    // What was asked before libmpv was set up.
    if (m_nVolumeAsked)
        SetVolume(*m_nVolumeAsked);
    if (m_bMutedAsked)
        SetMuted(*m_bMutedAsked);
    if (m_videoWindowAsked)
        SetVideoWindow(*m_videoWindowAsked);
    return true;
}

bool CMpvMediaEngine::IsAvailable()
{
    return Start();
}

void CMpvMediaEngine::SetAddressFilter(AddressFilter filter)
{
    m_addressFilter = std::move(filter);
}

void CMpvMediaEngine::SetVideoWindow(WId window)
{
    m_videoWindowAsked = window;
    if (!m_pHandle)
        return;
    auto nWindow = static_cast<std::int64_t>(window);
    if (m_pMpv->set_property(m_pHandle.get(), "wid", MPV_FORMAT_INT64, &nWindow) < 0) {
        qCWarning(lcMedia, "libmpv refused the video window");
        return;
    }
    // The video output reads the window only when it starts: one closed
    // for the window that went starts anew, into this one.
    if (m_bVideoReleased) {
        m_bVideoReleased = false;
        const char* track = "auto";
        m_pMpv->set_property_async(m_pHandle.get(), kReplyIgnored, "vid", MPV_FORMAT_STRING, &track);
    }
}

void CMpvMediaEngine::ReleaseVideoWindow()
{
    m_videoWindowAsked.reset();
    if (!m_pHandle || !HasVideoOutput())
        return;
    // A video output left drawing into a destroyed window meets X errors
    // that end the program: it is closed, and waited for, first.
    if (m_pMpv->set_property_string(m_pHandle.get(), "vid", "no") < 0) {
        qCWarning(lcMedia, "libmpv would not close its video output");
        return;
    }
    m_bVideoReleased = true;
    QElapsedTimer waited;
    waited.start();
    while (HasVideoOutput() && waited.elapsed() < kVideoCloseTimeoutMs)
        QThread::msleep(kVideoClosePollMs);
    if (HasVideoOutput())
        qCWarning(lcMedia, "libmpv's video output did not close in time");
}

bool CMpvMediaEngine::HasVideoOutput() const
{
    char* pOutput = m_pMpv->get_property_string(m_pHandle.get(), "current-vo");
    m_pMpv->free(pOutput);
    return pOutput != nullptr;
}

void CMpvMediaEngine::Open(const QString& address)
{
    if (!Start())
        return;
    ++m_nLoadsInFlight;
    const QByteArray utf8 = address.toUtf8();
    if (!SendCommand(kReplyLoadfile, {"loadfile", utf8.constData(), "replace"})) {
        --m_nLoadsInFlight;
        qCWarning(lcMedia, "libmpv refused to open an address");
        // Told after the caller has returned, as every outcome is.
        QMetaObject::invokeMethod(this, &CMpvMediaEngine::ReportLoadfileRefused, Qt::QueuedConnection);
    }
}

void CMpvMediaEngine::Stop()
{
    if (m_pHandle)
        SendCommand(kReplyIgnored, {"stop"});
}

void CMpvMediaEngine::SetPaused(bool bPaused)
{
    if (!m_pHandle)
        return;
    int nFlag = bPaused ? 1 : 0;
    m_pMpv->set_property_async(m_pHandle.get(), kReplyIgnored, "pause", MPV_FORMAT_FLAG, &nFlag);
}

void CMpvMediaEngine::SetVolume(int nPercent)
{
    m_nVolumeAsked = nPercent;
    if (!m_pHandle)
        return;
    double dVolume = qBound(0, nPercent, 100);
    m_pMpv->set_property_async(m_pHandle.get(), kReplyIgnored, "volume", MPV_FORMAT_DOUBLE, &dVolume);
}

void CMpvMediaEngine::SetMuted(bool bMuted)
{
    m_bMutedAsked = bMuted;
    if (!m_pHandle)
        return;
    int nFlag = bMuted ? 1 : 0;
    m_pMpv->set_property_async(m_pHandle.get(), kReplyIgnored, "mute", MPV_FORMAT_FLAG, &nFlag);
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
        const mpv_event* pEvent = m_pMpv->wait_event(m_pHandle.get(), 0);
        if (pEvent->event_id == MPV_EVENT_NONE)
            break;
        HandleEvent(*pEvent);
        // A listener may have destroyed the engine.
        if (!guard)
            return;
    }
    // libmpv hands out its log lines only once no other event waits, so the
    // lines that tell why an opening failed have all been read by now.
    if (m_bEndDue)
        ReportPendingEnd();
}

void CMpvMediaEngine::HandleEvent(const mpv_event& event)
{
    switch (event.event_id) {
    case MPV_EVENT_PROPERTY_CHANGE:
        HandlePropertyChange(event);
        break;
    case MPV_EVENT_LOG_MESSAGE:
        m_classifier.Feed(QString::fromUtf8(static_cast<mpv_event_log_message*>(event.data)->text));
        break;
    case MPV_EVENT_HOOK:
        HandleLoadHook(static_cast<mpv_event_hook*>(event.data)->id);
        break;
    case MPV_EVENT_COMMAND_REPLY:
        if (event.reply_userdata == kReplyLoadfile)
            HandleLoadfileReply(event);
        else if (m_pTimeShift)
            m_pTimeShift->HandleCommandReply(event);
        break;
    case MPV_EVENT_START_FILE:
        HandleStartFile(event);
        break;
    case MPV_EVENT_FILE_LOADED:
        if (m_nLoadsInFlight == 0 && m_bLoading && !m_bAddressRefused) {
            m_bLoaded = true;
            m_pMpv->request_log_messages(m_pHandle.get(), kQuietLogLevel);
            RefreshState();
        }
        break;
    case MPV_EVENT_END_FILE:
        HandleEndFile(event);
        break;
    default:
        break;
    }
}

void CMpvMediaEngine::HandlePropertyChange(const mpv_event& event)
{
    const auto& property = *static_cast<mpv_event_property*>(event.data);
    switch (event.reply_userdata) {
    case kPropertyCoreIdle:
        m_bCoreIdle = FlagValue(property, true);
        RefreshState();
        break;
    case kPropertyPausedForCache:
        m_bPausedForCache = FlagValue(property, false);
        RefreshState();
        break;
    case kPropertyPause:
        m_bPause = FlagValue(property, false);
        RefreshState();
        break;
    case kPropertyBufferingState:
        if (property.format == MPV_FORMAT_INT64)
            UpdateBufferingPercent(static_cast<int>(*static_cast<std::int64_t*>(property.data)));
        break;
    case kPropertyIcyTitle:
        m_strIcyTitle = StringValue(property);
        RefreshMetadata();
        break;
    case kPropertyTagTitle:
        m_strTagTitle = StringValue(property);
        RefreshMetadata();
        break;
    case kPropertyIcyName:
        m_strIcyName = StringValue(property);
        RefreshMetadata();
        break;
    case kPropertyVideoConfigured:
        UpdateHasVideo(FlagValue(property, false));
        break;
    case kPropertySeekable:
        UpdateSeekable(FlagValue(property, false));
        break;
    case kPropertyVolume:
        if (property.format == MPV_FORMAT_DOUBLE)
            UpdateVolume(static_cast<int>(std::lround(*static_cast<double*>(property.data))));
        break;
    case kPropertyMute:
        UpdateMuted(FlagValue(property, false));
        break;
    case kPropertyIdleActive:
        m_bEndDue = FlagValue(property, false) && m_pendingEnd;
        break;
    default:
        if (m_pTimeShift)
            m_pTimeShift->HandlePropertyChange(event.reply_userdata, property);
        break;
    }
}

void CMpvMediaEngine::HandleLoadHook(std::uint64_t nHookId)
{
    // libmpv waits for this answer before it opens anything, which makes it
    // the one place that sees every address, playlist entries included.
    char* pAddress = m_pMpv->get_property_string(m_pHandle.get(), "stream-open-filename");
    const QString address = QString::fromUtf8(pAddress);
    m_pMpv->free(pAddress);
    bool bAllowed = pAddress != nullptr && (!m_addressFilter || m_addressFilter(address));
    if (!bAllowed) {
        // Only this entry fails; a playlist goes on to its next one. When
        // the stand-in cannot be put in place, nothing is opened at all.
        m_bAddressRefused = true;
        if (m_pMpv->set_property_string(m_pHandle.get(), "stream-open-filename", kRefusedAddressStandIn) < 0) {
            const char* stop[] = {"stop", nullptr};
            m_pMpv->command(m_pHandle.get(), stop);
        }
    }
    m_pMpv->hook_continue(m_pHandle.get(), nHookId);
    if (bAllowed)
        emit LoadStarted(address);
}

void CMpvMediaEngine::HandleLoadfileReply(const mpv_event& event)
{
    --m_nLoadsInFlight;
    if (event.error >= 0) {
        m_nFirstCurrentEntryId = qMax(m_nFirstCurrentEntryId, EntryIdOfReply(*static_cast<mpv_event_command*>(event.data)));
        return;
    }
    qCWarning(lcMedia, "libmpv could not open an address: %s", m_pMpv->error_string(event.error));
    if (m_nLoadsInFlight == 0)
        ReportLoadfileRefused();
}

void CMpvMediaEngine::ReportLoadfileRefused()
{
    // A later address on its way answers for itself.
    if (m_nLoadsInFlight > 0)
        return;
    // Whatever played before is not left playing under a failed status.
    SendCommand(kReplyIgnored, {"stop"});
    m_bLoading = false;
    m_bLoaded = false;
    RefreshState();
    emit Ended(EndReason::Failed, Failure::Other);
}

void CMpvMediaEngine::HandleStartFile(const mpv_event& event)
{
    const auto& start = *static_cast<mpv_event_start_file*>(event.data);
    if (m_nLoadsInFlight > 0 || start.playlist_entry_id < m_nFirstCurrentEntryId)
        return;
    m_bLoading = true;
    m_bLoaded = false;
    m_bAddressRefused = false;
    m_pendingEnd.reset();
    m_bEndDue = false;
    m_classifier.Reset();
    m_pMpv->request_log_messages(m_pHandle.get(), kOpeningLogLevel);
    RefreshState();
}

void CMpvMediaEngine::HandleEndFile(const mpv_event& event)
{
    const auto& end = *static_cast<mpv_event_end_file*>(event.data);
    if (m_nLoadsInFlight > 0 || end.playlist_entry_id < m_nFirstCurrentEntryId)
        return;
    // A playlist was read; its entries open next.
    if (end.reason == MPV_END_FILE_REASON_REDIRECT)
        return;
    m_bLoading = false;
    m_bLoaded = false;
    if (end.reason == MPV_END_FILE_REASON_ERROR && end.error == MPV_ERROR_UNKNOWN_FORMAT)
        m_classifier.NoteUnsupportedFormat();
    // The end is told once libmpv has gone idle: until then it may go on to
    // the next entry of a playlist, which is what a playlist's spare
    // addresses are for.
    if (m_bAddressRefused)
        m_pendingEnd = PendingEnd{EndReason::Failed, true};
    else if (end.reason == MPV_END_FILE_REASON_EOF)
        m_pendingEnd = PendingEnd{EndReason::Finished, false};
    else if (end.reason == MPV_END_FILE_REASON_ERROR)
        m_pendingEnd = PendingEnd{EndReason::Failed, false};
    else
        m_pendingEnd = PendingEnd{EndReason::Stopped, false};
    m_bAddressRefused = false;
    RefreshState();
}

void CMpvMediaEngine::ReportPendingEnd()
{
    m_bEndDue = false;
    if (!m_pendingEnd)
        return;
    const PendingEnd end = *m_pendingEnd;
    m_pendingEnd.reset();
    Failure failure = Failure::None;
    if (end.bAddressRefused)
        failure = Failure::AddressRefused;
    else if (end.reason == EndReason::Failed)
        failure = m_classifier.Result();
    m_pMpv->request_log_messages(m_pHandle.get(), kQuietLogLevel);
    emit Ended(end.reason, failure);
}

void CMpvMediaEngine::RefreshState()
{
    if (!m_bLoading)
        UpdateState(State::Idle);
    else if (!m_bLoaded)
        UpdateState(State::Opening);
    else if (m_bPause)
        UpdateState(State::Paused);
    else if (m_bPausedForCache || m_bCoreIdle)
        UpdateState(State::Buffering);
    else
        UpdateState(State::Playing);
}

void CMpvMediaEngine::RefreshMetadata()
{
    UpdateMetadata(m_strIcyTitle.isEmpty() ? m_strTagTitle : m_strIcyTitle, m_strIcyName);
}

bool CMpvMediaEngine::Configure()
{
    for (const Option& option : kOptions) {
        if (m_pMpv->set_option_string(m_pHandle.get(), option.name, option.value) < 0 && option.bRequired)
            return false;
    }
    return SetKeyValueOption(*m_pMpv, m_pHandle.get(), "stream-lavf-o", "protocol_whitelist", kProtocolWhitelist) &&
           SetKeyValueOption(*m_pMpv, m_pHandle.get(), "demuxer-lavf-o", "protocol_whitelist", kProtocolWhitelist);
}

bool CMpvMediaEngine::ObserveProperties()
{
    for (const ObservedProperty& property : kObservedProperties) {
        if (m_pMpv->observe_property(m_pHandle.get(), property.id, property.name, property.format) < 0)
            return false;
    }
    return true;
}

bool CMpvMediaEngine::SendCommand(std::uint64_t nReplyId, std::initializer_list<const char*> args)
{
    std::vector<const char*> argv(args);
    argv.push_back(nullptr);
    return m_pMpv->command_async(m_pHandle.get(), nReplyId, argv.data()) >= 0;
}


