#include "platform/media/MpvPlaybackTracker.h"

#include "platform/media/MediaLog.h"
#include "platform/media/MpvFunctions.h"

#include <cmath>

namespace {
// Reply ids of the load command and the observed properties; 0 is what the
// engine's other requests use, whose replies nobody reads.
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
    kPropertyDisplayWidth,
    kPropertyDisplayHeight,
    kPropertySeekable,
    kPropertyVolume,
    kPropertyMute,
    kPropertyIdleActive,
};

struct ObservedProperty {
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
    {kPropertyDisplayWidth, "dwidth", MPV_FORMAT_INT64},
    {kPropertyDisplayHeight, "dheight", MPV_FORMAT_INT64},
    {kPropertySeekable, "seekable", MPV_FORMAT_FLAG},
    {kPropertyVolume, "volume", MPV_FORMAT_DOUBLE},
    {kPropertyMute, "mute", MPV_FORMAT_FLAG},
    {kPropertyIdleActive, "idle-active", MPV_FORMAT_FLAG},
};

// While an address opens, the log is read at this level to learn why an
// opening might fail; once it opened or its failure is told, no log is
// wanted. Changing the level drops the lines not yet read. A 404 shows at
// "warn", a refused connection at "error", a server that connects and then
// says nothing only at "debug" ("Successfully connected"), and a redirect
// that the HTTP client will not follow only at "trace" (its Location
// header): trace it is, for the few hundred lines of an opening.
constexpr char kOpeningLogLevel[] = "trace";
constexpr char kQuietLogLevel[] = "no";

// What a refused address is replaced by: a protocol that libmpv does not
// have, so that it opens nothing and fails at once, and a playlist goes on
// to its next entry.
constexpr char kRefusedAddressStandIn[] = "kestrel-refused://";

QString StringValue(const mpv_event_property& property)
{
    if (property.format != MPV_FORMAT_STRING || property.data == nullptr)
        return QString();
    return QString::fromUtf8(*static_cast<char**>(property.data));
}

// 0 while the property is unavailable.
int IntValue(const mpv_event_property& property)
{
    if (property.format != MPV_FORMAT_INT64 || property.data == nullptr)
        return 0;
    return static_cast<int>(*static_cast<std::int64_t*>(property.data));
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

CMpvPlaybackTracker::CMpvPlaybackTracker(const MpvFunctions& mpv, mpv_handle* pHandle)
    : m_mpv(mpv)
    , m_pHandle(pHandle)
{
}

bool CMpvPlaybackTracker::Attach()
{
    for (const ObservedProperty& property : kObservedProperties) {
        if (m_mpv.observe_property(m_pHandle, property.id, property.name, property.format) < 0)
            return false;
    }
    return m_mpv.hook_add(m_pHandle, kReplyIgnored, "on_load", 0) >= 0;
}

void CMpvPlaybackTracker::SetAddressFilter(IMediaEngine::AddressFilter filter)
{
    m_addressFilter = std::move(filter);
}

void CMpvPlaybackTracker::Open(const QString& address)
{
    const QByteArray utf8 = address.toUtf8();
    const char* args[] = {"loadfile", utf8.constData(), "replace", nullptr};
    if (m_mpv.command_async(m_pHandle, kReplyLoadfile, args) >= 0) {
        ++m_nLoadsInFlight;
        return;
    }
    qCWarning(lcMedia, "libmpv refused to open an address");
    // Told after the caller has returned, as every outcome is.
    QMetaObject::invokeMethod(this, &CMpvPlaybackTracker::ReportLoadfileRefused, Qt::QueuedConnection);
}

void CMpvPlaybackTracker::HandleEvent(const mpv_event& event)
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
        break;
    case MPV_EVENT_START_FILE:
        HandleStartFile(event);
        break;
    case MPV_EVENT_FILE_LOADED:
        HandleFileLoaded();
        break;
    case MPV_EVENT_END_FILE:
        HandleEndFile(event);
        break;
    default:
        break;
    }
}

void CMpvPlaybackTracker::FinishEvents()
{
    // libmpv hands out its log lines only once no other event waits, so the
    // lines that tell why an opening failed have all been read by now.
    if (m_bEndDue)
        ReportPendingEnd();
}

void CMpvPlaybackTracker::HandlePropertyChange(const mpv_event& event)
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
            emit BufferingPercentFound(static_cast<int>(*static_cast<std::int64_t*>(property.data)));
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
        emit VideoFound(FlagValue(property, false));
        break;
    case kPropertyDisplayWidth:
        m_videoSize.setWidth(IntValue(property));
        emit VideoSizeFound(m_videoSize);
        break;
    case kPropertyDisplayHeight:
        m_videoSize.setHeight(IntValue(property));
        emit VideoSizeFound(m_videoSize);
        break;
    case kPropertySeekable:
        emit SeekableFound(FlagValue(property, false));
        break;
    case kPropertyVolume:
        if (property.format == MPV_FORMAT_DOUBLE)
            emit VolumeFound(static_cast<int>(std::lround(*static_cast<double*>(property.data))));
        break;
    case kPropertyMute:
        emit MutedFound(FlagValue(property, false));
        break;
    case kPropertyIdleActive:
        m_bEndDue = FlagValue(property, false) && m_pendingEnd;
        break;
    default:
        break;
    }
}

void CMpvPlaybackTracker::HandleLoadHook(std::uint64_t nHookId)
{
    // libmpv waits for this answer before it opens anything, which makes it
    // the one place that sees every address, playlist entries included.
    char* pAddress = m_mpv.get_property_string(m_pHandle, "stream-open-filename");
    const QString address = QString::fromUtf8(pAddress);
    m_mpv.free(pAddress);
    bool bAllowed = pAddress != nullptr && (!m_addressFilter || m_addressFilter(address));
    if (!bAllowed) {
        // Only this entry fails; a playlist goes on to its next one. When
        // the stand-in cannot be put in place, nothing is opened at all.
        m_bAddressRefused = true;
        if (m_mpv.set_property_string(m_pHandle, "stream-open-filename", kRefusedAddressStandIn) < 0) {
            const char* stop[] = {"stop", nullptr};
            m_mpv.command(m_pHandle, stop);
        }
    }
    m_mpv.hook_continue(m_pHandle, nHookId);
    if (bAllowed)
        emit LoadStarted(address);
}

void CMpvPlaybackTracker::HandleLoadfileReply(const mpv_event& event)
{
    --m_nLoadsInFlight;
    if (event.error >= 0) {
        m_nFirstCurrentEntryId =
            qMax(m_nFirstCurrentEntryId, EntryIdOfReply(*static_cast<mpv_event_command*>(event.data)));
        return;
    }
    qCWarning(lcMedia, "libmpv could not open an address: %s", m_mpv.error_string(event.error));
    if (m_nLoadsInFlight == 0)
        ReportLoadfileRefused();
}

void CMpvPlaybackTracker::ReportLoadfileRefused()
{
    // A later address on its way answers for itself.
    if (m_nLoadsInFlight > 0)
        return;
    // Whatever played before is not left playing under a failed status.
    SendStop();
    m_bLoading = false;
    m_bLoaded = false;
    RefreshState();
    emit Ended(IMediaEngine::EndReason::Failed, IMediaEngine::Failure::Other);
}

void CMpvPlaybackTracker::HandleStartFile(const mpv_event& event)
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
    m_mpv.request_log_messages(m_pHandle, kOpeningLogLevel);
    RefreshState();
}

void CMpvPlaybackTracker::HandleFileLoaded()
{
    if (m_nLoadsInFlight > 0 || !m_bLoading || m_bAddressRefused)
        return;
    m_bLoaded = true;
    m_mpv.request_log_messages(m_pHandle, kQuietLogLevel);
    RefreshState();
}

void CMpvPlaybackTracker::HandleEndFile(const mpv_event& event)
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
    using EndReason = IMediaEngine::EndReason;
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

void CMpvPlaybackTracker::ReportPendingEnd()
{
    m_bEndDue = false;
    if (!m_pendingEnd)
        return;
    const PendingEnd end = *m_pendingEnd;
    m_pendingEnd.reset();
    IMediaEngine::Failure failure = IMediaEngine::Failure::None;
    if (end.bAddressRefused)
        failure = IMediaEngine::Failure::AddressRefused;
    else if (end.reason == IMediaEngine::EndReason::Failed)
        failure = m_classifier.Result();
    m_mpv.request_log_messages(m_pHandle, kQuietLogLevel);
    emit Ended(end.reason, failure);
}

void CMpvPlaybackTracker::RefreshState()
{
    using State = IMediaEngine::State;
    if (!m_bLoading)
        emit StateFound(State::Idle);
    else if (!m_bLoaded)
        emit StateFound(State::Opening);
    else if (m_bPause)
        emit StateFound(State::Paused);
    else if (m_bPausedForCache || m_bCoreIdle)
        emit StateFound(State::Buffering);
    else
        emit StateFound(State::Playing);
}

void CMpvPlaybackTracker::RefreshMetadata()
{
    emit MetadataFound(m_strIcyTitle.isEmpty() ? m_strTagTitle : m_strIcyTitle, m_strIcyName);
}

void CMpvPlaybackTracker::SendStop()
{
    const char* args[] = {"stop", nullptr};
    m_mpv.command_async(m_pHandle, kReplyIgnored, args);
}
