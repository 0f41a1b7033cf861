#include "platform/media/MpvTimeShift.h"

#include "platform/download/AbandonedFiles.h"
#include "platform/media/MediaLog.h"
#include "platform/media/MpvFunctions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cmath>

namespace {
enum Id : std::uint64_t {
    kPropertyCacheState = CMpvTimeShift::kFirstReplyId,
    kPropertyTimePos,
    kReplySeek,
    kFirstSaveReply,
};

constexpr char kCacheSubfolder[] = "/KestrelRadio/TimeShift";
// libmpv names its buffer files so.
constexpr char kCacheFilePattern[] = "mpv-cache-*.dat";

// libmpv keeps the index of the packets on disk in memory, some hundred
// bytes a packet, so the index's size follows the packets' rate, not the
// stream's bit rate. It is bounded by the buffer's time at this many bytes a
// second of stream (libmpv's own figure for a typical stream, 50 MB an hour)
// until the stream in play has been measured.
constexpr double kGuessedIndexBytesPerSecond = 50.0 * 1000 * 1000 / 3600;
// The stream time that the index must span before its rate is measured, and
// the rates believed.
constexpr double kIndexMeasureSeconds = 20;
constexpr double kLeastIndexBytesPerSecond = 1000;
constexpr double kMostIndexBytesPerSecond = 1000 * 1000;
// A measured rate this far from the one in force replaces it.
constexpr double kIndexRateTolerance = 0.1;
// Beyond the buffer's time, the index has room for the stream that arrives
// while a pause point waits to be moved on (KeepWithinBound), so that the
// stream never stops arriving.
constexpr double kIndexSlackSeconds = 60;
constexpr qint64 kLeastIndexBytes = 1024 * 1024;
// The index behind the play position takes its room from what lies ahead
// (libmpv lends the back buffer what the read-ahead leaves), so that the
// whole index, ahead and behind, stays within one bound whether the
// listener plays or pauses. libmpv lends only to a back buffer of its own,
// so it has the least there is.
constexpr char kLeastBackBytes[] = "1";
// The newest sound the live edge leaves out, so that play does not starve.
constexpr double kLiveEdgeSeconds = 2.0;

// The libmpv options that time-shift sets; their values without it are
// kept from the engine's set-up.
constexpr const char* kCacheOptions[] = {"cache",
                                         "cache-on-disk",
                                         "cache-dir",
                                         "cache-unlink-files",
                                         "demuxer-max-back-bytes",
                                         "demuxer-max-bytes",
                                         "demuxer-donate-buffer",
                                         "demuxer-seekable-cache"};

// The file type that holds each audio codec without encoding it again;
// anything else, and every stream with pictures, goes into Matroska.
struct CodecFile {
    const char* codec;
    const char* extension;
};
constexpr CodecFile kCodecFiles[] = {
    {"mp3", "mp3"}, {"vorbis", "ogg"}, {"opus", "opus"}, {"aac", "aac"}, {"flac", "flac"}, {"mp2", "mp2"},
};
constexpr char kAnyCodecExtension[] = "mka";
constexpr char kVideoExtension[] = "mkv";

const mpv_node* Find(const mpv_node& map, const char* key)
{
    if (map.format != MPV_FORMAT_NODE_MAP)
        return nullptr;
    for (int i = 0; i < map.u.list->num; ++i) {
        if (qstrcmp(map.u.list->keys[i], key) == 0)
            return &map.u.list->values[i];
    }
    return nullptr;
}

double NumberOf(const mpv_node* pNode, double dDefault = 0)
{
    if (pNode == nullptr)
        return dDefault;
    if (pNode->format == MPV_FORMAT_DOUBLE)
        return pNode->u.double_;
    if (pNode->format == MPV_FORMAT_INT64)
        return static_cast<double>(pNode->u.int64);
    return dDefault;
}

bool FlagOf(const mpv_node* pNode)
{
    return pNode != nullptr && pNode->format == MPV_FORMAT_FLAG && pNode->u.flag != 0;
}
}

CMpvTimeShift::CMpvTimeShift(const MpvFunctions& mpv, mpv_handle* pHandle, QString strCacheFolder, QObject* pParent)
    : ITimeShift(pParent)
    , m_mpv(mpv)
    , m_pHandle(pHandle)
    , m_strCacheFolder(std::move(strCacheFolder))
    , m_cacheFile(m_strCacheFolder)
    , m_dIndexBytesPerSecond(kGuessedIndexBytesPerSecond)
    , m_nNextSaveId(kFirstSaveReply)
{
    for (const char* name : kCacheOptions) {
        char* pValue = m_mpv.get_property_string(m_pHandle, (QByteArray("options/") + name).constData());
        m_offValues.insert(name, QString::fromUtf8(pValue));
        m_mpv.free(pValue);
    }
}

QString CMpvTimeShift::DefaultCacheFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QLatin1String(kCacheSubfolder);
}

void RemoveStaleTimeShiftFiles()
{
    RemoveAbandonedFiles(CMpvTimeShift::DefaultCacheFolder(), QLatin1String(kCacheFilePattern));
}

bool CMpvTimeShift::Observe()
{
    return m_mpv.observe_property(m_pHandle, kPropertyCacheState, "demuxer-cache-state", MPV_FORMAT_NODE) >= 0 &&
        m_mpv.observe_property(m_pHandle, kPropertyTimePos, "time-pos", MPV_FORMAT_DOUBLE) >= 0;
}

void CMpvTimeShift::SetBufferSeconds(int nSeconds)
{
    nSeconds = qMax(0, nSeconds);
    if (m_nBufferSeconds == nSeconds)
        return;
    m_nBufferSeconds = nSeconds;
    Apply();
}

QString CMpvTimeShift::ErrorText() const
{
    return m_strError;
}

bool CMpvTimeShift::IsEnabled() const
{
    return m_nBufferSeconds > 0 && m_strError.isEmpty();
}

void CMpvTimeShift::Apply()
{
    m_strError.clear();
    bool bOn = m_nBufferSeconds > 0;
    if (bOn && (!QDir().mkpath(m_strCacheFolder) || !QFileInfo(m_strCacheFolder).isWritable())) {
        m_strError = QStringLiteral("Time-shift is off: the folder %1 cannot be written").arg(m_strCacheFolder);
        qCWarning(lcMedia, "%s", qPrintable(m_strError));
        bOn = false;
    }
    if (!bOn) {
        for (auto value = m_offValues.cbegin(); value != m_offValues.cend(); ++value)
            SetOption(value.key().constData(), value.value());
        return;
    }
    SetOption("cache", QStringLiteral("yes"));
    SetOption("cache-on-disk", QStringLiteral("yes"));
    SetOption("cache-dir", m_strCacheFolder);
    SetOption("cache-unlink-files", QStringLiteral("immediate"));
    SetOption("demuxer-seekable-cache", QStringLiteral("yes"));
    SetOption("demuxer-donate-buffer", QStringLiteral("yes"));
    SetOption("demuxer-max-back-bytes", QLatin1String(kLeastBackBytes));
    ApplyIndexBound();
}

void CMpvTimeShift::ApplyIndexBound()
{
    const double dSeconds = m_nBufferSeconds + kIndexSlackSeconds;
    const qint64 nBytes = qMax(kLeastIndexBytes, static_cast<qint64>(std::ceil(dSeconds * m_dIndexBytesPerSecond)));
    SetOption("demuxer-max-bytes", QString::number(nBytes));
}

// Measured once for each stream, once the index spans enough of it: the
// rate of its packets stays as it is.
void CMpvTimeShift::MeasureIndex(qint64 nIndexBytes)
{
    const double dSpan = m_buffer.dEnd - m_dOldestCached;
    if (m_bIndexMeasured || !IsEnabled() || !(dSpan >= kIndexMeasureSeconds) || nIndexBytes <= 0)
        return;
    m_bIndexMeasured = true;
    const double dRate = qBound(kLeastIndexBytesPerSecond, nIndexBytes / dSpan, kMostIndexBytesPerSecond);
    if (std::abs(dRate - m_dIndexBytesPerSecond) <= kIndexRateTolerance * m_dIndexBytesPerSecond)
        return;
    m_dIndexBytesPerSecond = dRate;
    ApplyIndexBound();
}

void CMpvTimeShift::SetOption(const char* name, const QString& strValue)
{
    const QByteArray value = strValue.toUtf8();
    if (m_mpv.set_property_string(m_pHandle, (QByteArray("options/") + name).constData(), value.constData()) < 0)
        qCWarning(lcMedia, "libmpv refused the option %s=%s", name, value.constData());
}

bool CMpvTimeShift::HandlePropertyChange(std::uint64_t nId, const mpv_event_property& property)
{
    switch (nId) {
    case kPropertyTimePos:
        m_dTimePos = property.format == MPV_FORMAT_DOUBLE ? *static_cast<double*>(property.data) : 0;
        break;
    case kPropertyCacheState: {
        m_bHasCache = property.format == MPV_FORMAT_NODE;
        if (!m_bHasCache) {
            m_cacheFile.Reset();
            m_bIndexMeasured = false;
            break;
        }
        const mpv_node& state = *static_cast<mpv_node*>(property.data);
        m_buffer.dEnd = NumberOf(Find(state, "cache-end"));
        m_buffer.bStreamEnded = FlagOf(Find(state, "eof"));
        m_buffer.dStart = m_buffer.dEnd;
        m_dOldestCached = qQNaN();
        const mpv_node* pRanges = Find(state, "seekable-ranges");
        if (pRanges != nullptr && pRanges->format == MPV_FORMAT_NODE_ARRAY && pRanges->u.list->num > 0) {
            // The range that reaches the newest sound.
            const mpv_node& last = pRanges->u.list->values[pRanges->u.list->num - 1];
            m_buffer.dStart = NumberOf(Find(last, "start"), m_buffer.dEnd);
            m_dOldestCached = m_buffer.dStart;
            for (int i = 0; i < pRanges->u.list->num; ++i) {
                // A range without a start leaves the oldest unknown.
                const double dStart = NumberOf(Find(pRanges->u.list->values[i], "start"), qQNaN());
                if (std::isnan(dStart)) {
                    m_dOldestCached = qQNaN();
                    break;
                }
                m_dOldestCached = qMin(m_dOldestCached, dStart);
            }
        }
        const qint64 nFileBytes = static_cast<qint64>(NumberOf(Find(state, "file-cache-bytes")));
        m_cacheFile.Note(m_buffer.dEnd, nFileBytes);
        // Only what the index has dropped goes from the file, and with no
        // range to seek in, the index reports nothing of what it holds.
        if (IsEnabled() && !std::isnan(m_dOldestCached))
            m_cacheFile.ReleaseOlderThan(m_dOldestCached);
        m_buffer.nFileBytes = qMax<qint64>(0, nFileBytes - m_cacheFile.ReleasedBytes());
        MeasureIndex(static_cast<qint64>(NumberOf(Find(state, "total-bytes"))));
        break;
    }
    default:
        return false;
    }
    Publish();
    KeepWithinBound();
    return true;
}

bool CMpvTimeShift::HandleCommandReply(const mpv_event& event)
{
    if (event.reply_userdata == kReplySeek)
        return true;
    const auto save = m_savesInFlight.constFind(event.reply_userdata);
    if (save == m_savesInFlight.cend())
        return false;
    const QString strPath = save.value();
    m_savesInFlight.erase(save);
    if (event.error < 0) {
        // What libmpv began to write is no song.
        QFile::remove(strPath);
        emit SaveFinished(strPath, false, QString::fromUtf8(m_mpv.error_string(event.error)));
    } else {
        emit SaveFinished(strPath, true, QString());
    }
    return true;
}

void CMpvTimeShift::Publish()
{
    m_buffer.bActive = m_bHasCache && IsEnabled() && m_buffer.dEnd > 0;
    m_buffer.dPosition = m_dTimePos;
    UpdateBuffer(m_buffer);
}

void CMpvTimeShift::KeepWithinBound()
{
    if (!IsActive() || m_nBufferSeconds == 0)
        return;
    const double dOldestKept = BufferEnd() - m_nBufferSeconds;
    if (Position() < dOldestKept - kLiveMarginSeconds)
        SeekTo(dOldestKept);
}

void CMpvTimeShift::SeekBy(double dSeconds)
{
    if (IsActive())
        SeekTo(Position() + dSeconds);
}

void CMpvTimeShift::SeekToLive()
{
    if (IsActive())
        SeekTo(BufferEnd() - kLiveEdgeSeconds);
}

void CMpvTimeShift::SeekTo(double dPosition)
{
    dPosition = qBound(BufferStart(), dPosition, qMax(BufferStart(), BufferEnd() - kLiveEdgeSeconds));
    const QByteArray position = QByteArray::number(dPosition, 'f', 3);
    const char* args[] = {"seek", position.constData(), "absolute", nullptr};
    m_mpv.command_async(m_pHandle, kReplySeek, args);
}

void CMpvTimeShift::Save(double dFrom, double dTo, const QString& strPath)
{
    const QByteArray from = QByteArray::number(dFrom, 'f', 3);
    const QByteArray to = QByteArray::number(dTo, 'f', 3);
    const QByteArray path = QFile::encodeName(strPath);
    const char* args[] = {"dump-cache", from.constData(), to.constData(), path.constData(), nullptr};
    const std::uint64_t nId = m_nNextSaveId++;
    m_savesInFlight.insert(nId, strPath);
    if (m_mpv.command_async(m_pHandle, nId, args) < 0) {
        m_savesInFlight.remove(nId);
        emit SaveFinished(strPath, false, QStringLiteral("libmpv refused to write the stream"));
    }
}

QString CMpvTimeShift::SaveExtension() const
{
    char* pVideo = m_mpv.get_property_string(m_pHandle, "video-codec");
    m_mpv.free(pVideo);
    if (pVideo != nullptr)
        return QLatin1String(kVideoExtension);
    char* pCodec = m_mpv.get_property_string(m_pHandle, "audio-codec-name");
    const QByteArray codec(pCodec);
    m_mpv.free(pCodec);
    for (const CodecFile& file : kCodecFiles) {
        if (codec == file.codec)
            return QLatin1String(file.extension);
    }
    return QLatin1String(kAnyCodecExtension);
}
