#pragma once

#include "platform/media/MediaEngine.h"
#include "platform/media/MpvLogClassifier.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

class CMpvTimeShift;
struct MpvFunctions;
struct mpv_handle;
struct mpv_event;

// The media engine over libmpv. libmpv runs its own threads; they only wake
// this object up, and the events are read and acted on here, on the thread
// that owns the engine. Every command that may touch the network is sent
// asynchronously, so a slow or dead server never blocks the caller.
// libmpv is loaded on a thread of its own when the engine is made, and set
// up the first time an address opens or availability is asked: the volume,
// mute state and video window asked for before then are applied then.
class CMpvMediaEngine final : public CMediaEngine
{
    Q_OBJECT

public:
    explicit CMpvMediaEngine(QObject* pParent = nullptr);
    ~CMpvMediaEngine() override;

    bool IsAvailable() override;
    void SetAddressFilter(AddressFilter filter) override;
    void SetVideoWindow(WId window) override;
    void ReleaseVideoWindow() override;
    void Open(const QString& address) override;
    void Stop() override;
    void SetPaused(bool bPaused) override;
    void SetVolume(int nPercent) override;
    void SetMuted(bool bMuted) override;
    CTimeShift* TimeShift() override;

private:
    struct HandleDeleter
    {
        void operator()(mpv_handle* pHandle) const;
        const MpvFunctions* pMpv;
    };

    // Sets libmpv up the first time; false when it could not be.
    bool Start();
    static void OnWakeup(void* pContext);
    void DrainEvents();
    void HandleEvent(const mpv_event& event);
    void HandlePropertyChange(const mpv_event& event);
    void HandleLoadHook(std::uint64_t nHookId);
    void HandleLoadfileReply(const mpv_event& event);
    // libmpv would not open the address: the opening ends failed.
    void ReportLoadfileRefused();
    void HandleStartFile(const mpv_event& event);
    void HandleEndFile(const mpv_event& event);
    void ReportPendingEnd();
    void RefreshState();
    void RefreshMetadata();
    // False when an option the engine's safety depends on was refused.
    bool Configure();
    bool ObserveProperties();
    // False when libmpv refused the command at once.
    bool SendCommand(std::uint64_t nReplyId, std::initializer_list<const char*> args);
    // libmpv has a video output open.
    bool HasVideoOutput() const;

    bool m_bStarted = false;
    const MpvFunctions* m_pMpv = nullptr;
    std::unique_ptr<mpv_handle, HandleDeleter> m_pHandle;
    // Goes before the handle it uses.
    std::unique_ptr<CMpvTimeShift> m_pTimeShift;
    std::optional<int> m_nVolumeAsked;
    std::optional<bool> m_bMutedAsked;
    std::optional<WId> m_videoWindowAsked;
    std::atomic<bool> m_bDrainQueued = false;
    AddressFilter m_addressFilter;
    CMpvLogClassifier m_classifier;

    // Playlist entries below this id belong to addresses replaced since;
    // while a load command is on its way the id is not known yet.
    std::int64_t m_nFirstCurrentEntryId = 0;
    int m_nLoadsInFlight = 0;
    bool m_bAddressRefused = false;

    struct PendingEnd
    {
        EndReason reason;
        bool bAddressRefused;
    };
    std::optional<PendingEnd> m_pendingEnd;
    // libmpv went idle after the end: it is told once the log is read.
    bool m_bEndDue = false;

    // Video is off until a window is handed over, and again once released.
    bool m_bVideoReleased = true;
    bool m_bLoading = false;
    bool m_bLoaded = false;
    bool m_bCoreIdle = true;
    bool m_bPausedForCache = false;
    bool m_bPause = false;
    QString m_strIcyTitle;
    QString m_strTagTitle;
    QString m_strIcyName;
};
