#include "fw/CMDIChildWndEx.h"

#include "fw/CDocument.h"
#include "fw/CMDIFrameWndEx.h"
#include "fw/CView.h"
#include "fw/CWinApp.h"
#include "fw/StringResources.h"
#include "fw/WindowMessages.h"

#include <QCloseEvent>
#include <QMdiArea>

CMDIChildWndEx::CMDIChildWndEx()
    : CFrameWnd(nullptr)
{
}

CMDIChildWndEx::~CMDIChildWndEx()
{
    // Deleted on its own, the frame leaves no empty sub-window behind.
    if (m_pSubWindow != nullptr && m_pSubWindow->widget() == this)
        m_pSubWindow->deleteLater();
}

BOOL CMDIChildWndEx::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    auto* pMDIFrame = dynamic_cast<CMDIFrameWndEx*>(pParentWnd != nullptr ? pParentWnd : AfxGetMainWnd());
    CREATESTRUCT cs;
    cs.style = dwDefaultStyle | WS_CHILD;
    cs.lpCreateParams = pContext;
    if (pMDIFrame == nullptr || pMDIFrame->GetMDIClient() == nullptr || !PreCreateWindow(cs)) {
        DestroyWindow();
        return FALSE;
    }
    SetStyle(cs.style);
    SetTitle(AfxExtractSubString(AfxLoadString(nIDResource), 0));

    m_pSubWindow = new QMdiSubWindow;
    m_pSubWindow->setAttribute(Qt::WA_DeleteOnClose, false);
    m_pSubWindow->setWidget(this);
    m_pSubWindow->installEventFilter(this);
    ApplyStyle();
    connect(m_pSubWindow, &QMdiSubWindow::windowStateChanged, this, [this] { ApplyStyle(); });
    pMDIFrame->GetMDIClient()->addSubWindow(m_pSubWindow);
    m_pSubWindow->hide();

    if (SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

void CMDIChildWndEx::ApplyStyle()
{
    if (m_pSubWindow == nullptr)
        return;
    const DWORD style = GetStyle();
    Qt::WindowFlags flags = Qt::SubWindow | Qt::CustomizeWindowHint;
    // A maximised page fills the client area; its frame and caption would
    // only repeat what the main window shows.
    flags |= m_pSubWindow->isMaximized() ? Qt::WindowFlags(Qt::FramelessWindowHint) : CaptionHintsOfStyle(style);
    if (m_pSubWindow->windowFlags() != flags) {
        const bool bHidden = m_pSubWindow->isHidden();
        const Qt::WindowStates states = m_pSubWindow->windowState();
        m_pSubWindow->setWindowFlags(flags);
        m_pSubWindow->setWindowState(states);
        m_pSubWindow->setHidden(bHidden);
    }
}

CMDIFrameWndEx* CMDIChildWndEx::GetMDIFrame() const
{
    return dynamic_cast<CMDIFrameWndEx*>(GetParentFrame());
}

void CMDIChildWndEx::MDIActivate()
{
    if (CMDIFrameWndEx* pMDIFrame = GetMDIFrame())
        pMDIFrame->MDIActivate(this);
}

void CMDIChildWndEx::MDIMaximize()
{
    if (m_pSubWindow != nullptr)
        m_pSubWindow->showMaximized();
}

BOOL CMDIChildWndEx::IsMaximized() const
{
    return m_pSubWindow != nullptr && m_pSubWindow->isMaximized() ? TRUE : FALSE;
}

void CMDIChildWndEx::ActivateFrame(int nCmdShow)
{
    if (m_pSubWindow == nullptr)
        return;
    if (nCmdShow == -1) {
        // A new page opens maximised when the page before it was.
        const CMDIFrameWndEx* pMDIFrame = GetMDIFrame();
        const CMDIChildWndEx* pActive = pMDIFrame != nullptr ? pMDIFrame->MDIGetActive() : nullptr;
        if (!m_pSubWindow->isHidden())
            nCmdShow = SW_SHOW;
        else if (pActive != nullptr && pActive != this && pActive->IsMaximized())
            nCmdShow = SW_SHOWMAXIMIZED;
        else
            nCmdShow = SW_SHOWNORMAL;
    }
    ShowWindow(nCmdShow);
    MDIActivate();
}

void CMDIChildWndEx::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    CString strTitle = GetTitle();
    if (bAddToTitle) {
        if (CDocument* pDoc = GetActiveDocument())
            strTitle = pDoc->GetTitle();
    }
    SetWindowText(strTitle);
    if (CMDIFrameWndEx* pMDIFrame = GetMDIFrame())
        pMDIFrame->OnUpdateFrameTitle(TRUE);
}

QWidget* CMDIChildWndEx::OuterWidget() const
{
    if (m_pSubWindow != nullptr)
        return m_pSubWindow.data();
    return CFrameWnd::OuterWidget();
}

void CMDIChildWndEx::OnClose()
{
    CDocument* pDoc = GetActiveDocument();
    if (pDoc != nullptr) {
        bool bLastFrame = true;
        for (CView* pView : pDoc->GetViews())
            bLastFrame = bLastFrame && pView->GetParentFrame() == this;
        if (bLastFrame) {
            pDoc->OnCloseDocument();
            return;
        }
    }
    DestroyWindow();
}

void CMDIChildWndEx::PostNcDestroy()
{
    if (m_pSubWindow != nullptr) {
        QMdiSubWindow* pSubWindow = m_pSubWindow;
        m_pSubWindow = nullptr;
        delete pSubWindow;
        return;
    }
    CFrameWnd::PostNcDestroy();
}

bool CMDIChildWndEx::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched == m_pSubWindow && pEvent->type() == QEvent::Close) {
        // Qt closes the sub-window from inside its own event handling, so
        // the frame's close runs once that is over.
        pEvent->ignore();
        PostMessage(WM_CLOSE);
        return true;
    }
    if (pWatched == m_pSubWindow && pEvent->type() == QEvent::Resize && m_pSubWindow->isMaximized()) {
        // A maximised page that was sized (to fit its form) keeps that size
        // for whoever measures it now, and fills the client area again once
        // the current message is done.
        QMetaObject::invokeMethod(
            this,
            [this] {
                QMdiArea* pArea = m_pSubWindow != nullptr ? m_pSubWindow->mdiArea() : nullptr;
                if (pArea != nullptr && m_pSubWindow->isMaximized() &&
                    m_pSubWindow->size() != pArea->viewport()->size())
                    m_pSubWindow->setGeometry(pArea->viewport()->rect());
            },
            Qt::QueuedConnection);
    }
    return CFrameWnd::eventFilter(pWatched, pEvent);
}
