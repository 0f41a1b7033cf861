#pragma once

#include "frame/CCustomMFCRibbonApplicationButton.h"
#include "frame/CCustomMFCRibbonBar.h"
#include "frame/IStatusTextSink.h"
#include "frame/MainFrameTrayIcon.h"
#include "fw/CMDIFrameWndEx.h"
#include "fw/CMFCToolBarImages.h"
#include "fw/ribbon/CMFCRibbonStatusBar.h"

class CCmdUI;
class CMFCRibbonStatusBarPane;

// The main window: the ribbon that draws its caption, the status bar with
// its two panes, and the client area where exactly one page is open. Every
// activation of a ribbon category replaces the open page by a fresh page of
// that category.
class CMainFrame : public CMDIFrameWndEx, public IStatusTextSink
{
    Q_OBJECT

public:
    CMainFrame();
    ~CMainFrame() override;

    // The radio page's status: shown in the left pane once the posted
    // WM_UPDATE_STATUS_PANES is handled.
    void SetStatusText(const CString& strText) override;
    CString GetStatusText() const { return m_strStatusText; }

    // Command 310: brings the station list anew and has the page in front
    // reload it. Non-zero when the list arrived.
    void OnRefreshChannelsList();
    BOOL RefreshChannelsList();

    // The web pages' commands: open the site in the user's web browser
    // (311, 315), send the page in front back to its home page (312, 316).
    void OnOpenPromoSite();
    void OnOpenMusicSite();
    void OnReloadPromoPage();
    void OnReloadMusicPage();

    // The look commands 210-218 (also any other id, stored as it is).
    void OnApplicationLook(UINT nID);
    void OnUpdateApplicationLook(CCmdUI* pCmdUI);
    void OnNextAppLook();
    // The command id of the current look (210-218, or what was stored).
    int GetAppLook() const { return m_nAppLook; }

    // The last step of the program's end (the application's
    // EndApplication, once no modal loop runs): the frame's own close
    // handling, which closes every page and destroys the frame.
    void CloseAndDestroy();

    // The icon in the notification area, its tip and its menu; closing the
    // window hides it there.
    BOOL AddTrayIcon();
    void UpdateTrayTip(const CString& strText);
    void RemoveTrayIcon();
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    void OnTrayShow();
    void OnTrayExit();
    void OnHideToTray();
    void OnCustomizeMenu();
    const CMainFrameTrayIcon& GetTrayIcon() const { return m_trayIcon; }

    // Start at log-in (command 322) and auto play (command 323).
    void OnAutoStartup();
    void OnUpdateAutoStartup(CCmdUI* pCmdUI);
    void SetAutoStartup(BOOL bEnable);
    void OnAutoPlay();
    void OnUpdateAutoPlay(CCmdUI* pCmdUI);

    CCustomMFCRibbonBar& GetRibbonBar() { return m_wndRibbonBar; }
    CMFCRibbonStatusBar& GetStatusBar() { return m_wndStatusBar; }
    CMFCRibbonStatusBarPane* GetStatusPane() const { return m_pStatusPane; }
    CMFCRibbonStatusBarPane* GetContactPane() const { return m_pContactPane; }

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    // WM_CLOSE only hides the window.
    void OnClose() override;
    void OnDestroy() override;

private:
    void InitializeRibbon();
    void OnCategoryChanged(int nIndex);
    void OpenCategoryPage(int nIndex);
    void OnOpenPage(WPARAM wParam);
    void UpdateStatusPanes();
    void OnWindowManager();
    // Sends the message to the active page's view, if there is one.
    void SendToActiveView(UINT message);
    // Posts the message to the active page's view, if there is one.
    void PostToActiveView(UINT message);

    int m_nAutoStartState = -1;
    int m_nAutoPlayState = -1;
    CMainFrameTrayIcon m_trayIcon{this};
    CString m_strStatusText;
    int m_nAppLook = -1;
    CMFCRibbonStatusBarPane* m_pStatusPane = nullptr;
    CMFCRibbonStatusBarPane* m_pContactPane = nullptr;
    CCustomMFCRibbonBar m_wndRibbonBar;
    CCustomMFCRibbonApplicationButton m_MainButton;
    CMFCToolBarImages m_PanelImages;
    CMFCRibbonStatusBar m_wndStatusBar;
};
