#pragma once

#include "fw/CFrameWnd.h"

#include <QMdiSubWindow>
#include <QPointer>

class CMDIFrameWndEx;

// The frame of one page inside the MDI frame's client area. It lives in a
// sub-window whose caption buttons follow the style: WS_SYSMENU gives the
// system menu and the close button, WS_MINIMIZEBOX and WS_MAXIMIZEBOX the
// minimise and maximise buttons. Subclasses change the style in
// PreCreateWindow. A maximised child fills the client area without a
// caption of its own.
class CMDIChildWndEx : public CFrameWnd
{
    Q_OBJECT

public:
    CMDIChildWndEx();
    ~CMDIChildWndEx() override;

    // Creates the frame in pParentWnd's client area (the application's main
    // window when null) with its view from pContext.
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);

    CMDIFrameWndEx* GetMDIFrame() const;
    QMdiSubWindow* GetSubWindow() const { return m_pSubWindow; }

    void MDIActivate();
    void MDIMaximize();
    BOOL IsMaximized() const;

    void ActivateFrame(int nCmdShow = -1) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;

protected:
    QWidget* OuterWidget() const override;
    // The last frame of a document closes the document; others just go.
    void OnClose() override;
    // Deletes the sub-window, and with it the frame and its view, at once.
    void PostNcDestroy() override;
    // A close of the sub-window (its close button, Ctrl+F4) becomes WM_CLOSE.
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void ApplyStyle();

    QPointer<QMdiSubWindow> m_pSubWindow;
};
