#include "fw/CWnd.h"

#include "fw/CFrameWnd.h"
#include "fw/PlainText.h"
#include "fw/CWinApp.h"
#include "fw/HotKeyRegistration.h"
#include "fw/WindowMessages.h"

#include <QCoreApplication>
#include <QSet>

namespace {
// Windows alive now, so that IsWindow can answer for a dangling pointer.
QSet<const CWnd*>& LiveWindows()
{
    static QSet<const CWnd*> windows;
    return windows;
}
}

CWindowMessageEvent::CWindowMessageEvent(UINT message, WPARAM wParam, LPARAM lParam)
    : QEvent(EventType())
    , m_message(message)
    , m_wParam(wParam)
    , m_lParam(lParam)
{
}

QEvent::Type CWindowMessageEvent::EventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

CWnd::CWnd(QWidget* pParent)
    : QWidget(pParent)
{
    LiveWindows().insert(this);
}

CWnd::~CWnd()
{
    LiveWindows().remove(this);
    if (CWinApp* pApp = AfxGetApp(); pApp != nullptr && pApp->m_pMainWnd == this)
        pApp->m_pMainWnd = nullptr;
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    QCoreApplication::postEvent(this, new CWindowMessageEvent(message, wParam, lParam));
    return TRUE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return WindowProc(message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && OnCommand(wParam, lParam))
        return 0;
    switch (message) {
    case WM_CREATE:
        return OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam));
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    default:
        return DefWindowProc(message, wParam, lParam);
    }
}

LRESULT CWnd::DefWindowProc(UINT, WPARAM, LPARAM)
{
    return 0;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM)
{
    return OnCmdMsg(LOWORD(wParam), nullptr);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT&)
{
    return TRUE;
}

int CWnd::OnCreate(LPCREATESTRUCT)
{
    return 0;
}

void CWnd::OnClose()
{
    DestroyWindow();
}

void CWnd::OnDestroy()
{
}

void CWnd::PostNcDestroy()
{
}

QWidget* CWnd::OuterWidget() const
{
    return const_cast<CWnd*>(this);
}

CFrameWnd* CWnd::GetParentFrame() const
{
    for (QWidget* pParent = parentWidget(); pParent != nullptr; pParent = pParent->parentWidget()) {
        if (auto* pFrame = dynamic_cast<CFrameWnd*>(pParent))
            return pFrame;
    }
    return nullptr;
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    QWidget* pOuter = OuterWidget();
    const BOOL bWasVisible = pOuter->isVisible() ? TRUE : FALSE;
    switch (nCmdShow) {
    case SW_HIDE:
        pOuter->hide();
        break;
    case SW_SHOWMAXIMIZED:
        pOuter->showMaximized();
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
        pOuter->showMinimized();
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
        pOuter->showNormal();
        break;
    default:
        pOuter->show();
        break;
    }
    return bWasVisible;
}

BOOL CWnd::IsWindowVisible() const
{
    return OuterWidget()->isVisible() ? TRUE : FALSE;
}

void CWnd::GetWindowRect(CRect* lpRect) const
{
    const QWidget* pOuter = OuterWidget();
    if (pOuter->isWindow()) {
        *lpRect = CRect(pOuter->frameGeometry());
        return;
    }
    *lpRect = CRect(QRect(pOuter->mapToGlobal(QPoint(0, 0)), pOuter->size()));
}

void CWnd::CalcWindowRect(CRect* lpClientRect) const
{
    const QWidget* pOuter = OuterWidget();
    QMargins around;
    if (pOuter != this)
        around = pOuter->contentsMargins();
    if (pOuter->isWindow()) {
        const QRect frame = pOuter->frameGeometry();
        const QRect inside = pOuter->geometry();
        around += QMargins(inside.left() - frame.left(), inside.top() - frame.top(), frame.right() - inside.right(),
                           frame.bottom() - inside.bottom());
    }
    *lpClientRect = CRect(lpClientRect->ToQRect().marginsAdded(around));
}

BOOL CWnd::SetWindowPos(const CWnd*, int x, int y, int cx, int cy, UINT nFlags)
{
    QWidget* pOuter = OuterWidget();
    if ((nFlags & SWP_NOSIZE) == 0) {
        // The size given is the outer size; a top-level window's frame
        // drawn by the desktop is not the widget's to size.
        const QSize decoration = pOuter->isWindow() ? pOuter->frameGeometry().size() - pOuter->size() : QSize(0, 0);
        pOuter->resize(QSize(cx, cy) - decoration);
    }
    if ((nFlags & SWP_NOMOVE) == 0)
        pOuter->move(x, y);
    if ((nFlags & SWP_NOACTIVATE) == 0 && pOuter->isVisible())
        pOuter->activateWindow();
    return TRUE;
}

void CWnd::SetWindowText(const CString& strText)
{
    // A caption may carry a document's or a page's title: it is shown as written.
    const QString strTitle = PlainWindowTitle(strText);
    OuterWidget()->setWindowTitle(strTitle);
    if (OuterWidget() != this)
        setWindowTitle(strTitle);
}

CString CWnd::GetWindowText() const
{
    return TextOfPlainWindowTitle(windowTitle());
}

BOOL CWnd::RedrawWindow(const CRect* lpRectUpdate, const void*, UINT flags)
{
    QWidget* pTarget = (flags & RDW_FRAME) != 0 ? OuterWidget() : this;
    if (lpRectUpdate != nullptr)
        pTarget->update(lpRectUpdate->ToQRect());
    else
        pTarget->update();
    if ((flags & RDW_ALLCHILDREN) != 0) {
        for (QWidget* pChild : pTarget->findChildren<QWidget*>())
            pChild->update();
    }
    if ((flags & RDW_UPDATENOW) != 0 && pTarget->isVisible())
        pTarget->repaint();
    return TRUE;
}

void CWnd::UpdateWindow()
{
    if (isVisible())
        repaint();
}

BOOL CWnd::SetForegroundWindow()
{
    QWidget* pWindow = OuterWidget()->window();
    pWindow->raise();
    pWindow->activateWindow();
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    if (m_bDestroyed)
        return FALSE;
    // WM_DESTROY reaches the window first and then every window inside it,
    // while all of them still exist.
    m_bDestroyed = true;
    SendMessage(WM_DESTROY);
    ReleaseHotKeys(this);
    for (CWnd* pChild : findChildren<CWnd*>()) {
        if (!pChild->m_bDestroyed) {
            pChild->m_bDestroyed = true;
            pChild->SendMessage(WM_DESTROY);
            ReleaseHotKeys(pChild);
        }
    }
    OuterWidget()->hide();
    CWinApp* pApp = AfxGetApp();
    const bool bMainWindow = pApp != nullptr && pApp->m_pMainWnd == this;
    if (bMainWindow)
        pApp->m_pMainWnd = nullptr;
    // The window may delete itself here (at once, or queued before the
    // end of the message loop below, so that it is gone before the loop is).
    PostNcDestroy();
    if (bMainWindow)
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { QCoreApplication::quit(); }, Qt::QueuedConnection);
    return TRUE;
}

bool CWnd::event(QEvent* pEvent)
{
    if (pEvent->type() == CWindowMessageEvent::EventType()) {
        const auto* pMessage = static_cast<CWindowMessageEvent*>(pEvent);
        WindowProc(pMessage->m_message, pMessage->m_wParam, pMessage->m_lParam);
        return true;
    }
    return QWidget::event(pEvent);
}

BOOL IsWindow(const CWnd* pWnd)
{
    return pWnd != nullptr && LiveWindows().contains(pWnd) ? TRUE : FALSE;
}

Qt::WindowFlags CWnd::CaptionHintsOfStyle(DWORD style)
{
    Qt::WindowFlags flags;
    if ((style & WS_CAPTION) != 0)
        flags |= Qt::WindowTitleHint;
    if ((style & WS_SYSMENU) != 0)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if ((style & WS_MINIMIZEBOX) != 0)
        flags |= Qt::WindowMinimizeButtonHint;
    if ((style & WS_MAXIMIZEBOX) != 0)
        flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}
