#pragma once

#include "fw/CCmdTarget.h"
#include "fw/CRect.h"
#include "fw/Types.h"
#include "fw/WindowStyles.h"

#include <QEvent>
#include <QWidget>

class CFrameWnd;

// A window: a widget that receives numbered window messages. PostMessage
// queues a message behind everything already queued; SendMessage handles it
// before it returns. WM_COMMAND takes the command route; WM_CREATE, WM_CLOSE
// and WM_DESTROY go to OnCreate, OnClose and OnDestroy; every other message
// goes to DefWindowProc, which subclasses override to see it first and then
// pass it on.
class CWnd : public QWidget, public CCmdTarget
{
    Q_OBJECT

public:
    explicit CWnd(QWidget* pParent = nullptr);
    ~CWnd() override;

    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // The message's whole journey: the command route, the creation and
    // closing handlers, or DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // The window that owns this one as its frame, if any.
    CFrameWnd* GetParentFrame() const;

    // The style the window was created with (WS_*, FWS_*).
    DWORD GetStyle() const { return m_dwStyle; }
    // The title and caption buttons that the style asks for, as Qt hints.
    static Qt::WindowFlags CaptionHintsOfStyle(DWORD style);

    // Shows, hides, maximises or restores the window (SW_*). Returns whether
    // it was visible before.
    virtual BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    // The window's outer rectangle on the screen.
    void GetWindowRect(CRect* lpRect) const;
    // Grows a client rectangle into the window rectangle around it: the
    // caption, borders and bars the window puts around its client.
    virtual void CalcWindowRect(CRect* lpClientRect) const;
    // Moves and sizes the outer window; the insertion window is ignored (the
    // stacking order follows activation here).
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void SetWindowText(const CString& strText);
    CString GetWindowText() const;
    BOOL RedrawWindow(const CRect* lpRectUpdate = nullptr, const void* prgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    void UpdateWindow();
    // Raises the window and gives it the keyboard focus of the desktop.
    BOOL SetForegroundWindow();

    // Sends WM_DESTROY to the window and then to every window inside it,
    // hides it, and runs PostNcDestroy. A destroyed window gets no second
    // WM_DESTROY. Destroying the application's main window ends the
    // application's message loop.
    virtual BOOL DestroyWindow();
    bool IsDestroyed() const { return m_bDestroyed; }

    // Called before the window is created: may change the style it asks
    // for. FALSE stops the creation.
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);

protected:
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // WM_COMMAND: the command id in the low word of wParam, on its route.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);

    // OnCreate runs as the window is created (0 to go on, -1 to fail).
    virtual int OnCreate(LPCREATESTRUCT lpCreateStruct);
    // WM_CLOSE: the default destroys the window.
    virtual void OnClose();
    // WM_DESTROY, while the window and its children still exist.
    virtual void OnDestroy();
    // The last call a destroyed window gets; frames delete themselves here.
    virtual void PostNcDestroy();

    // The widget that is this window on the desktop: the window itself, or
    // the decorated frame that holds it (an MDI child's sub-window).
    virtual QWidget* OuterWidget() const;
    void SetStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }

    bool event(QEvent* pEvent) override;

private:
    DWORD m_dwStyle = 0;
    bool m_bDestroyed = false;
};

// The queued form of a window message.
class CWindowMessageEvent : public QEvent
{
public:
    CWindowMessageEvent(UINT message, WPARAM wParam, LPARAM lParam);
    static QEvent::Type EventType();

    UINT m_message;
    WPARAM m_wParam;
    LPARAM m_lParam;
};

// Whether pWnd is a live window, like IsWindow on a handle: null is not.
BOOL IsWindow(const CWnd* pWnd);
