#pragma once

#include "platform/media/MediaEngine.h"
#include "platform/media/MpvLogClassifier.h"

#include <QObject>
#include <QSize>
#include <cstdint>
#include <optional>

struct MpvFunctions;
struct mpv_handle;
struct mpv_event;

// Opens addresses on a libmpv handle and follows what becomes of them: it
// reads libmpv's events and observed properties and tells the engine's
// state, buffering, metadata and the end of each address, with the reason.
// Every address libmpv is about to open passes the address filter first.
// Runs on the thread that reads the handle's events.
class CMpvPlaybackTracker final : public QObject
{
    Q_OBJECT

public:
    CMpvPlaybackTracker(const MpvFunctions& mpv, mpv_handle* pHandle);

    // Asks libmpv for the properties and the load hook it follows, once the
    // handle is initialised; false when libmpv refused one.
    bool Attach();
    void SetAddressFilter(IMediaEngine::AddressFilter filter);
    // Replaces whatever is playing; the outcome is told later.
    void Open(const QString& address);
    void HandleEvent(const mpv_event& event);
    // Every event waiting has been read.
    void FinishEvents();

signals:
    void StateFound(IMediaEngine::State state);
    void BufferingPercentFound(int nPercent);
    void MetadataFound(const QString& strStreamTitle, const QString& strStationName);
    void VideoFound(bool bHasVideo);
    void VideoSizeFound(QSize size);
    void SeekableFound(bool bSeekable);
    void VolumeFound(int nPercent);
    void MutedFound(bool bMuted);
    void LoadStarted(const QString& address);
    void Ended(IMediaEngine::EndReason reason, IMediaEngine::Failure failure);

private:
    void HandlePropertyChange(const mpv_event& event);
    void HandleLoadHook(std::uint64_t nHookId);
    void HandleLoadfileReply(const mpv_event& event);
    // libmpv would not open the address: the opening ends failed.
    void ReportLoadfileRefused();
    void HandleStartFile(const mpv_event& event);
    void HandleFileLoaded();
    void HandleEndFile(const mpv_event& event);
    void ReportPendingEnd();
    void RefreshState();
    void RefreshMetadata();
    void SendStop();

    const MpvFunctions& m_mpv;
    mpv_handle* m_pHandle;
    IMediaEngine::AddressFilter m_addressFilter;
    CMpvLogClassifier m_classifier;

    // Playlist entries below this id belong to addresses replaced since;
    // while a load command is on its way the id is not known yet.
    std::int64_t m_nFirstCurrentEntryId = 0;
    int m_nLoadsInFlight = 0;
    bool m_bAddressRefused = false;

    struct PendingEnd {
        IMediaEngine::EndReason reason;
        bool bAddressRefused;
    };
    std::optional<PendingEnd> m_pendingEnd;
    // libmpv went idle after the end: it is told once the log is read.
    bool m_bEndDue = false;

    bool m_bLoading = false;
    bool m_bLoaded = false;
    bool m_bCoreIdle = true;
    bool m_bPausedForCache = false;
    bool m_bPause = false;
    QString m_strIcyTitle;
    QString m_strTagTitle;
    QString m_strIcyName;
    QSize m_videoSize{0, 0};
};
