#pragma once

#include "platform/media/MpvCacheFile.h"
#include "platform/media/TimeShift.h"

#include <QHash>
#include <QtNumeric>
#include <cstdint>

struct MpvFunctions;
struct mpv_handle;
struct mpv_event_property;
struct mpv_event;

// Time-shift over libmpv's demuxer cache, kept on disk in a folder of the
// user's cache: the buffer's packets go to a file there (removed from the
// folder as soon as it is made, so a killed run leaves nothing behind), and
// memory holds only their index. Both are bounded by the buffer's time: the
// index by a byte bound measured from the stream's own packets, the file by
// giving back the space of what the index has dropped. Seeking within the cache and dump-cache
// need no network. The engine hands this the events whose ids it owns.
class CMpvTimeShift final : public ITimeShift
{
    Q_OBJECT

public:
    // Reply and property ids from here on are this object's.
    static constexpr std::uint64_t kFirstReplyId = 0x7100;

    CMpvTimeShift(const MpvFunctions& mpv, mpv_handle* pHandle, QString strCacheFolder, QObject* pParent = nullptr);

    // The folder the buffer's files go into.
    static QString DefaultCacheFolder();

    // False when libmpv would not report the buffer.
    bool Observe();
    // True when the event was this object's.
    bool HandlePropertyChange(std::uint64_t nId, const mpv_event_property& property);
    bool HandleCommandReply(const mpv_event& event);

    void SetBufferSeconds(int nSeconds) override;
    QString ErrorText() const override;
    bool IsEnabled() const override;
    void SeekBy(double dSeconds) override;
    void SeekToLive() override;
    void Save(double dFrom, double dTo, const QString& strPath) override;
    QString SaveExtension() const override;

private:
    void Apply();
    // Bounds the index of the buffer's packets, which libmpv keeps in
    // memory, by the buffer's time.
    void ApplyIndexBound();
    void MeasureIndex(qint64 nIndexBytes);
    void SetOption(const char* name, const QString& strValue);
    void SeekTo(double dPosition);
    // A pause longer than the buffer drops the oldest sound: the pause
    // point moves on with the stream.
    void KeepWithinBound();
    void Publish();

    const MpvFunctions& m_mpv;
    mpv_handle* m_pHandle;
    QString m_strCacheFolder;
    QString m_strError;
    int m_nBufferSeconds = 0;
    // The cache options as the engine set them, restored when time-shift
    // is off.
    QHash<QByteArray, QString> m_offValues;

    CMpvCacheFile m_cacheFile;
    // Index bytes a second of the stream in play, as measured or guessed.
    double m_dIndexBytesPerSecond;
    bool m_bIndexMeasured = false;

    bool m_bHasCache = false;
    // The oldest time that any of the buffer's ranges holds; NaN with none.
    double m_dOldestCached = qQNaN();
    double m_dTimePos = 0;
    Buffer m_buffer;
    std::uint64_t m_nNextSaveId;
    QHash<std::uint64_t, QString> m_savesInFlight;
};
