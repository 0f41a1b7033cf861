#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

// The desktop's own media controls (panel widgets, the lock screen, the
// keyboard's media keys): the program tells them what plays and hears their
// requests. Every setter returns at once when nothing changed; a change
// reaches the desktop from the event loop, several changes made together in
// one message.
class IDesktopMediaControls : public QObject
{
    Q_OBJECT

public:
    // What the desktop is told about the program, once.
    struct Description {
        QString identity;
        // The name of the installed desktop entry, without ".desktop".
        QString desktopEntry;
        QStringList uriSchemes;
        QStringList mimeTypes;
    };

    enum class PlaybackStatus { Stopped, Playing, Paused };
    Q_ENUM(PlaybackStatus)

    // What is playing. Every text is plain text, shown as it is.
    struct Track {
        // Changes whenever another track starts; 0 = no track.
        quint64 nId = 0;
        QString title;
        QString artist;
        QString album;
        QString url;
        QString artUrl;
        // A note on how it plays now, such as how far behind live; it
        // changes while the track stays the same.
        QString comment;

        bool operator==(const Track&) const = default;
    };

    explicit IDesktopMediaControls(QObject* pParent = nullptr);
    ~IDesktopMediaControls() override;

    // Offers the controls to the desktop. False when the desktop has no
    // place for them (no session bus); the program then runs without them.
    [[nodiscard]] virtual bool Start(const Description& description) = 0;
    virtual bool IsAvailable() const = 0;

    virtual void SetPlaybackStatus(PlaybackStatus status) = 0;
    virtual void SetTrack(const Track& track) = 0;
    // 0.0 to 1.0.
    virtual void SetVolume(double dVolume) = 0;
    // Whether the player may be controlled now: play, pause, next, previous
    // and the volume.
    virtual void SetControllable(bool bControllable) = 0;
    // Whether what plays can move back and forth (a time-shifted channel).
    virtual void SetSeekable(bool bSeekable) = 0;

signals:
    void RaiseRequested();
    void QuitRequested();
    void PlayRequested();
    void PauseRequested();
    void PlayPauseRequested();
    void StopRequested();
    void NextRequested();
    void PreviousRequested();
    // 0.0 to 1.0; only while controllable.
    void VolumeRequested(double dVolume);
    // Move the play position by this many microseconds; only while seekable.
    void SeekRequested(qint64 nOffsetMicroseconds);
};

// The desktop media controls of this platform.
std::unique_ptr<IDesktopMediaControls> CreateDesktopMediaControls(QObject* pParent = nullptr);
