#pragma once

#include <QWidget>

class QLabel;
class QSlider;
class QToolButton;

// The player's row of controls: play or pause, stop, the status line, mute
// and the volume. It only shows and reports; the player acts.
class CPlayerTransportBar : public QWidget
{
    Q_OBJECT

public:
    // Object names of the parts, for the accessibility tree and for tests.
    static constexpr char kPlayPauseName[] = "playPauseButton";
    static constexpr char kStopName[] = "stopButton";
    static constexpr char kStatusName[] = "statusLine";
    static constexpr char kMuteName[] = "muteButton";
    static constexpr char kVolumeName[] = "volumeSlider";

    explicit CPlayerTransportBar(QWidget* pParent = nullptr);

    // Whether the play button offers to pause.
    void SetPlaying(bool bPlaying);
    void SetStatus(const QString& strStatus);
    void SetVolume(int nPercent);
    void SetMuted(bool bMuted);

signals:
    void PlayPauseClicked();
    void StopClicked();
    void MuteToggled(bool bMuted);
    // While the listener moves the slider.
    void VolumeChanged(int nPercent);
    // Once the listener has settled on a volume.
    void VolumeChosen(int nPercent);

private:
    void RefreshMuteButton();
    void RefreshVolumeTip();

    QToolButton* m_pPlayPause;
    QToolButton* m_pStop;
    QLabel* m_pStatus;
    QToolButton* m_pMute;
    QSlider* m_pVolume;
};
