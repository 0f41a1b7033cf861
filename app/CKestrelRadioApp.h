#pragma once

#include "fw/CWinApp.h"
#include "nowplaying/NowPlayingRelay.h"
#include "platform/instance/InstanceService.h"
#include "settings/SettingsCache.h"

#include <QStringList>
#include <memory>

class IDesktopMediaControls;
class CDesktopMediaControlsBinding;
class CFrameWnd;
class ISongHistory;
class CSongHistoryRecorder;
class CTerminationSignalWatcher;
class IWindowActivation;

// The application object: one running instance per user, the command line
// that decides whether the main window shows, the four page templates in
// their fixed order, the main frame and its saved placement, the about box.
class CKestrelRadioApp : public CWinAppEx, private IInstanceReceiver
{
public:
    // arguments: the program's command line, its name first;
    // strActivationToken: the token its launcher gave it, which a later
    // start hands to the running instance.
    explicit CKestrelRadioApp(QStringList arguments, QString strActivationToken = QString());
    ~CKestrelRadioApp() override;

    // TRUE when the main window was created; FALSE to end the process (another
    // instance runs, or the frame could not be made).
    BOOL InitInstance();

    // Puts the saved normal rectangle on the frame, hidden whatever was saved
    // (the frame's own placement code does it). TRUE when a placement was
    // saved and applied.
    BOOL ReloadWindowPlacement(CFrameWnd* pFrame);

    void OnAppAbout();

    // The one way the program ends: the tray's Exit, SIGTERM, SIGINT and
    // SIGHUP, the desktop's media controls and the session all come here.
    // The single-instance claim goes first, so that a start right after finds
    // no one; then every modal dialog and box (a web page's included) is
    // closed and its loop left to return; only then does the main frame's
    // own close handling close the pages and destroy the frame.
    void EndApplication() override;

    // The settings cached here (radio, TV, last category); -1 = not read yet.
    CSettingsCache m_cache;
    // The numeric command-line argument; -1 = none.
    int m_nForwardedArgument = -1;
    // How the main window starts: SW_SHOW, or SW_HIDE.
    int m_nCmdShow = -1;

private:
    // Finds the running instance when claim says another holds it, reads the
    // command line into m_nCmdShow and m_nForwardedArgument, and forwards a
    // number to the instance found.
    BOOL FindRunningInstance(InstanceClaim claim, std::unique_ptr<IRunningInstance>& pRunning);
    // Ends the program cleanly on SIGTERM, SIGINT, SIGHUP and the session's end.
    void InstallTerminationHandling();
    void RegisterDocTemplates();
    // Offers what plays to the desktop's media controls, when the desktop
    // has them.
    void StartDesktopMediaControls();
    // Keeps the songs heard in the data folder.
    void StartSongHistory();

    std::intptr_t OnInstanceMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void OnShowAndActivate(const QString& strActivationToken) override;

    QStringList m_arguments;
    QString m_strActivationToken;
    std::unique_ptr<IWindowActivation> m_pWindowActivation;
    std::unique_ptr<IInstanceService> m_pInstanceService;
    std::unique_ptr<CTerminationSignalWatcher> m_pTerminationWatcher;
    // What plays, for the status bar, the tray and the desktop.
    CNowPlayingRelay m_nowPlaying;
    std::unique_ptr<IDesktopMediaControls> m_pMediaControls;
    std::unique_ptr<CDesktopMediaControlsBinding> m_pMediaControlsBinding;
    // An end waits for a modal loop to return.
    bool m_bEndPending = false;
    std::unique_ptr<ISongHistory> m_pSongHistory;
    std::unique_ptr<CSongHistoryRecorder> m_pSongHistoryRecorder;
};
