#pragma once

#include "fw/Accelerator.h"
#include "fw/CFrameWnd.h"

#include <QList>
#include <QPointer>

class CMDIChildWndEx;
class QMdiArea;
class QMdiSubWindow;

// The top-level frame of a multi-page program: bars around an MDI client
// area that holds the pages' child frames. Commands go first to the active
// child frame (and so to its view). The frame is created by LoadFrame, which
// runs PreCreateWindow and then OnCreate (WM_CREATE). Its close button
// sends WM_CLOSE, which OnClose handles; its accelerator table turns keys
// into WM_COMMAND for the commands that have a handler on the route.
class CMDIFrameWndEx : public CFrameWnd
{
    Q_OBJECT

public:
    explicit CMDIFrameWndEx(QWidget* pParent = nullptr);
    ~CMDIFrameWndEx() override;

    // Creates the window with the title of string nIDResource: the style
    // goes through PreCreateWindow, then OnCreate runs. FALSE when either
    // refuses (the window is then destroyed again).
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    // Replaces the accelerator table. Keys pressed anywhere in this window
    // are looked up; an entry whose command has a handler on the command
    // route sends WM_COMMAND and eats the key, any other key goes on to the
    // control that has the focus.
    BOOL LoadAccelTable(const QList<ACCEL>& table);

    QMdiArea* GetMDIClient() const { return m_pMDIClient; }
    // The active child frame (the last one activated while it lives),
    // whether or not this window has the desktop's focus.
    CMDIChildWndEx* MDIGetActive(BOOL* pbMaximized = nullptr) const;
    void MDIActivate(CWnd* pWndActivate);
    QList<CMDIChildWndEx*> GetMDIChildren() const;

    CFrameWnd* GetActiveChildFrame() const override;
    CDocument* GetActiveDocument() const override;

    // The framework's windows dialog: the open pages, to activate or close.
    // It does not block: it is window-modal and returns at once.
    void ShowWindowsDialog();

    // A bar that draws the caption (a ribbon) asks for this: the window
    // loses the desktop's title bar and keeps a thin border for resizing;
    // the bar moves the window by its caption.
    void SetCaptionReplaced(BOOL bReplaced);
    BOOL IsCaptionReplaced() const { return m_bCaptionReplaced ? TRUE : FALSE; }

protected:
    // The client of an MDI frame is the MDI client area.
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    void closeEvent(QCloseEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    friend class CMDIChildWndEx;
    void OnSubWindowActivated(QMdiSubWindow* pSubWindow);
    bool TranslateAccelerator(QObject* pReceiver, const QKeyEvent& keyEvent);
    Qt::Edges EdgesAt(const QPoint& point) const;
    void ApplyStyle();

    QMdiArea* m_pMDIClient = nullptr;
    QPointer<CMDIChildWndEx> m_pActiveChild;
    QList<ACCEL> m_accelerators;
    bool m_bCaptionReplaced = false;
};
