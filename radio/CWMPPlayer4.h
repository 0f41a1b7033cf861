#pragma once

#include "fw/CWnd.h"
#include "fw/Types.h"
#include "radio/CWMPControls.h"
#include "radio/WMPPlayState.h"

#include <memory>

class IMediaEngine;
class CNowPlayingPanel;
class CPlayerTransportBar;
class CStreamPlayback;
class CVideoSurface;
class QStackedWidget;

// The radio page's media player: setting the URL alone starts playing it.
// It shows its own face: TV pictures or the station's now-playing title, play
// or pause, stop, mute, the volume (remembered in the profile) and the status
// line. Its events come on the user-interface thread: StatusChange after the
// status text changed, PlayStateChange with the new play state.
class CWMPPlayer4 : public CWnd
{
    Q_OBJECT

public:
    explicit CWMPPlayer4(QWidget* pParent = nullptr);
    ~CWMPPlayer4() override;

    CString GetURL() const;
    void SetURL(const CString& strURL);
    CWMPControls GetControls();
    CString GetStatus() const;
    // The control's volume, 0 to 100. Setting it remembers it, as the
    // listener's own choice on the slider is remembered.
    int GetVolume() const;
    void SetVolume(int nPercent);

    // The engine underneath, for what the face does not show.
    IMediaEngine& Engine();
    // To the live edge of the time-shift buffer, or to the station again
    // once its stream has ended.
    void GoLive();

signals:
    void StatusChange();
    void PlayStateChange(long nNewState);
    void VolumeChange(int nPercent);

private:
    friend class CWMPControls;

    void Resume();
    void Pause();
    void Stop();
    void OnPlayStateChanged(WMPPlayState newState);
    void OnPlayPauseClicked();
    void OnVolumeChosen(int nPercent);
    void RefreshNowPlaying();
    void OnVideoChanged(bool bHasVideo);

    CString m_strURL;
    int m_nVolume = 0;
    QStackedWidget* m_pDisplay;
    CNowPlayingPanel* m_pNowPlaying;
    // The video surface draws through the engine: the destructor deletes
    // it while the engine is still there.
    std::unique_ptr<IMediaEngine> m_pEngine;
    CVideoSurface* m_pVideo;
    CPlayerTransportBar* m_pTransport;
    std::unique_ptr<CStreamPlayback> m_pPlayback;
};
