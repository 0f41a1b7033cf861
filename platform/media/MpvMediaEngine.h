#pragma once

#include "platform/media/MediaEngine.h"

#include <atomic>
#include <memory>
#include <optional>

class CMpvPlaybackTracker;
class CMpvTimeShift;
class CMpvVideoRenderer;
struct MpvFunctions;
struct mpv_event;
struct mpv_handle;

// The media engine over libmpv. libmpv runs its own threads; they only wake
// this object up, and the events are read and acted on here, on the thread
// that owns the engine. Every command that may touch the network is sent
// asynchronously, so a slow or dead server never blocks the caller.
// libmpv is loaded on a thread of its own when the engine is made, and set
// up the first time an address opens or Start is called: the volume
// and mute state asked for before then are applied then. What becomes of an
// address is followed by the playback tracker; pictures come through the
// video renderer.
class CMpvMediaEngine final : public IMediaEngine
{
    Q_OBJECT

public:
    explicit CMpvMediaEngine(QObject* pParent = nullptr);
    ~CMpvMediaEngine() override;

    bool Start() override;
    bool IsAvailable() const override;
    void SetAddressFilter(AddressFilter filter) override;
    void Open(const QString& address) override;
    void Stop() override;
    void SetPaused(bool bPaused) override;
    void SetVolume(int nPercent) override;
    void SetMuted(bool bMuted) override;
    bool RenderVideoFrame(QImage& image) override;
    void SkipVideoFrame() override;
    ITimeShift* TimeShift() override;

private:
    // The render context goes before the handle it was made for.
    void Shutdown();
    void ConnectTracker();
    // True when the event was the time-shift's.
    bool HandleTimeShiftEvent(const mpv_event& event);
    static void OnWakeup(void* pContext);
    void DrainEvents();

    bool m_bStarted = false;
    const MpvFunctions* m_pMpv = nullptr;
    mpv_handle* m_pHandle = nullptr;
    std::unique_ptr<CMpvPlaybackTracker> m_pTracker;
    std::unique_ptr<CMpvVideoRenderer> m_pRenderer;
    std::unique_ptr<CMpvTimeShift> m_pTimeShift;
    std::optional<int> m_nVolumeAsked;
    std::optional<bool> m_bMutedAsked;
    AddressFilter m_addressFilter;
    std::atomic<bool> m_bDrainQueued = false;
};
