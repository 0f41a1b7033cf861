#pragma once

#include "platform/media/MediaEngine.h"

#include <QStringList>

// An engine that does what the test tells it, for the playback policy's
// unit tests. The real engine is tested against the station server.
class CFakeMediaEngine final : public IMediaEngine
{
    Q_OBJECT

public:
    bool Start() override { return m_bAvailable; }
    bool IsAvailable() const override { return m_bAvailable; }
    void SetAddressFilter(AddressFilter filter) override { m_filter = std::move(filter); }
    void Open(const QString& address) override { m_opened.append(address); }
    void Stop() override { ++m_nStops; }
    void SetPaused(bool bPaused) override { m_bPaused = bPaused; }
    void SetVolume(int nPercent) override { UpdateVolume(nPercent); }
    void SetMuted(bool bMuted) override { UpdateMuted(bMuted); }
    bool RenderVideoFrame(QImage&) override { return false; }
    void SkipVideoFrame() override {}
    ITimeShift* TimeShift() override { return m_pTimeShift; }

    // What the media library would report.
    void Play(const QString& strTitle = QString())
    {
        UpdateMetadata(strTitle, QString());
        UpdateState(State::Opening);
        UpdateState(State::Playing);
    }
    void Drop()
    {
        UpdateState(State::Idle);
        emit Ended(EndReason::Finished, Failure::None);
    }
    void Fail(Failure failure)
    {
        UpdateState(State::Opening);
        UpdateState(State::Idle);
        emit Ended(EndReason::Failed, failure);
    }
    // The media library would not even begin to open the address.
    void RefuseOpening() { emit Ended(EndReason::Failed, Failure::Other); }
    using IMediaEngine::UpdateBufferingPercent;
    using IMediaEngine::UpdateMetadata;
    using IMediaEngine::UpdateSeekable;
    using IMediaEngine::UpdateState;

    bool m_bAvailable = true;
    AddressFilter m_filter;
    QStringList m_opened;
    int m_nStops = 0;
    bool m_bPaused = false;
    // None unless the test gives one.
    ITimeShift* m_pTimeShift = nullptr;
};
