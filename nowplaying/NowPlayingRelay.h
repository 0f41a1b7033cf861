#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

// What is playing, in one place that outlives the pages: the radio page's
// player publishes its channel, the station's title, its play state, its
// status text and its volume here, and takes the listener's commands from
// here. The status bar, the tray tip and the desktop's media controls read
// it. The application object owns the one relay; the others reach it
// through CNowPlayingRelay::Get().
class CNowPlayingRelay : public QObject
{
    Q_OBJECT

public:
    enum class PlayState { Stopped, Playing, Paused };
    Q_ENUM(PlayState)

    CNowPlayingRelay();
    ~CNowPlayingRelay() override;

    // The relay in use, or null before the application object exists.
    static CNowPlayingRelay* Get();
    static void Set(CNowPlayingRelay* pRelay);

    // The radio page's side. A page attaches its publisher when it opens and
    // detaches it when it closes; the newest page is the one published.
    void Attach(const QObject* pPublisher);
    void Detach(const QObject* pPublisher);
    bool IsPublisher(const QObject* pPublisher) const;
    // A channel started: its name and stream address. The station's title
    // of the channel before is forgotten.
    void SetChannel(const QString& strName, const QString& strAddress);
    void SetStreamTitle(const QString& strTitle);
    void SetPlayState(PlayState state);
    void SetStatusText(const QString& strText);
    void SetVolume(int nPercent);
    // What plays can move back and forth in its time-shift buffer.
    void SetCanSeek(bool bCanSeek);
    // Where play stands against the live edge of a time-shifted channel
    // ("Paused", "-02:15 behind live", "Live"); empty without time-shift.
    void SetLiveEdgeText(const QString& strText);

    bool IsRadioPageOpen() const { return m_pPublisher != nullptr; }
    QString ChannelName() const { return m_strChannelName; }
    QString StreamAddress() const { return m_strStreamAddress; }
    QString StreamTitle() const { return m_strStreamTitle; }
    PlayState GetPlayState() const { return m_playState; }
    QString StatusText() const { return m_strStatusText; }
    bool CanSeek() const { return m_bCanSeek; }
    QString LiveEdgeText() const { return m_strLiveEdgeText; }
    // Before a player has published its volume, the stored one.
    int Volume() const;

    // The listener's commands from outside the page. Play, next, previous
    // and stop travel as the radio page's commands, so that they act only
    // while the radio page is open; pause and the volume go to the page's
    // player.
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void Next();
    void Previous();
    void RequestVolume(int nPercent);
    // Moves the play position by this many seconds, while it can seek.
    void Seek(double dSeconds);

signals:
    void RadioPageOpenChanged(bool bOpen);
    void ChannelChanged();
    void StreamTitleChanged(const QString& strTitle);
    void PlayStateChanged(CNowPlayingRelay::PlayState state);
    void StatusTextChanged(const QString& strText);
    void VolumeChanged(int nPercent);
    void CanSeekChanged(bool bCanSeek);
    void LiveEdgeTextChanged(const QString& strText);

    // To the radio page's player.
    void PauseRequested();
    void ResumeRequested();
    void VolumeRequested(int nPercent);
    void SeekRequested(double dSeconds);

private:
    void PostCommand(unsigned nID) const;
    void Clear();

    QPointer<const QObject> m_pPublisher;
    QString m_strChannelName;
    QString m_strStreamAddress;
    QString m_strStreamTitle;
    PlayState m_playState = PlayState::Stopped;
    QString m_strStatusText;
    // -1 until a player has published it.
    int m_nVolume = -1;
    bool m_bCanSeek = false;
    QString m_strLiveEdgeText;
};
