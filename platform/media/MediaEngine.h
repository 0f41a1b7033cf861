#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>

class ITimeShift;

// A media player engine: it opens one stream address at a time and plays its
// sound, and hands its pictures to whoever draws them. Commands return at once and
// never wait for the network; what happens is reported through the signals,
// always on the thread that owns the engine.
class IMediaEngine : public QObject
{
    Q_OBJECT

public:
    enum class State { Idle, Opening, Buffering, Playing, Paused };
    Q_ENUM(State)

    // Why the address in play stopped playing.
    enum class EndReason { Finished, Stopped, Failed };
    Q_ENUM(EndReason)

    // What went wrong when the reason is Failed, as far as the engine can tell.
    enum class Failure {
        None,
        NotFound,
        AccessDenied,
        ServerError,
        CannotConnect,
        TimedOut,
        UnsupportedFormat,
        // The server answered, and closed the stream before its first byte.
        EmptyStream,
        AddressRefused,
        Other
    };
    Q_ENUM(Failure)

    // Asked for every address the engine is about to open, including the
    // entries of a playlist it expands; false refuses the address.
    using AddressFilter = std::function<bool(const QString& address)>;

    explicit IMediaEngine(QObject* pParent = nullptr);
    ~IMediaEngine() override;

    // Sets the media library up, the first time only (Open does so too):
    // it is loaded beside the program's start and set up when first needed.
    // False when it could not be set up; the commands then do nothing.
    [[nodiscard]] virtual bool Start() = 0;
    // Whether the media library has been set up and works.
    virtual bool IsAvailable() const = 0;

    virtual void SetAddressFilter(AddressFilter filter) = 0;
    // Replaces whatever is playing.
    virtual void Open(const QString& address) = 0;
    virtual void Stop() = 0;
    virtual void SetPaused(bool bPaused) = 0;
    // 0 to 100.
    virtual void SetVolume(int nPercent) = 0;
    // The engine's time-shift of live streams; null when it has none (or
    // the media library could not be set up).
    virtual ITimeShift* TimeShift() { return nullptr; }
    virtual void SetMuted(bool bMuted) = 0;
    // Draws the picture due now (after VideoFrameReady), or the last one
    // again, scaled to fit the image with black bars around. The image is
    // laid out as QImage::Format_RGB32, but the top byte of each pixel,
    // which that format keeps at 0xff, is left as it comes. False when there
    // is no picture to draw.
    [[nodiscard]] virtual bool RenderVideoFrame(QImage& image) = 0;
    // Lets the picture due now go undrawn, when no one can see it.
    virtual void SkipVideoFrame() = 0;

    State GetState() const { return m_state; }
    // How full the buffer is while the state is Buffering, 0 to 100.
    int BufferingPercent() const { return m_nBufferingPercent; }
    // The title the station sends with the stream (ICY metadata), if any.
    QString StreamTitle() const { return m_strStreamTitle; }
    // The station's own name from the stream's headers, if any.
    QString StationName() const { return m_strStationName; }
    bool HasVideo() const { return m_bHasVideo; }
    // The size the pictures are meant to be seen at (their own aspect
    // applied); empty while it is not known.
    QSize VideoSize() const { return m_videoSize; }
    // True for a file of known length; a live stream cannot seek.
    bool IsSeekable() const { return m_bSeekable; }
    // The volume and mute state that the media library has applied.
    int Volume() const { return m_nVolume; }
    bool IsMuted() const { return m_bMuted; }

signals:
    void StateChanged(IMediaEngine::State state);
    void BufferingPercentChanged(int nPercent);
    void MetadataChanged();
    void VideoChanged(bool bHasVideo);
    // A picture is due: RenderVideoFrame or SkipVideoFrame takes it.
    void VideoFrameReady();
    // The engine began to open an address (after the address filter, when an
    // address is refused there, comes Ended with AddressRefused).
    void LoadStarted(const QString& address);
    void Ended(IMediaEngine::EndReason reason, IMediaEngine::Failure failure);
    void VolumeChanged(int nPercent);
    void MutedChanged(bool bMuted);

protected:
    // Backends report what the media library tells them through these; each
    // emits its signal only when the value changed.
    void UpdateState(State state);
    void UpdateBufferingPercent(int nPercent);
    void UpdateMetadata(const QString& strStreamTitle, const QString& strStationName);
    void UpdateHasVideo(bool bHasVideo);
    void UpdateVideoSize(QSize size);
    void UpdateSeekable(bool bSeekable);
    void UpdateVolume(int nPercent);
    void UpdateMuted(bool bMuted);

private:
    State m_state = State::Idle;
    int m_nBufferingPercent = 0;
    QString m_strStreamTitle;
    QString m_strStationName;
    bool m_bHasVideo = false;
    QSize m_videoSize;
    bool m_bSeekable = false;
    int m_nVolume = 100;
    bool m_bMuted = false;
};

// The engine of this platform.
std::unique_ptr<IMediaEngine> CreateMediaEngine(QObject* pParent = nullptr);
