#include "fw/CFrameWnd.h"

#include "fw/CCreateContext.h"
#include "fw/CDocument.h"
#include "fw/CView.h"
#include "fw/CWinApp.h"
#include "fw/WindowMessages.h"

#include <QVBoxLayout>

CFrameWnd::CFrameWnd(QWidget* pParent)
    : CWnd(pParent)
{
}

CWnd* CFrameWnd::GetActiveView() const
{
    return m_pActiveView.data();
}

void CFrameWnd::SetActiveView(CWnd* pView)
{
    m_pActiveView = pView;
}

CDocument* CFrameWnd::GetActiveDocument() const
{
    const auto* pView = dynamic_cast<const CView*>(GetActiveView());
    return pView != nullptr ? pView->GetDocument() : nullptr;
}

CFrameWnd* CFrameWnd::GetActiveChildFrame() const
{
    return nullptr;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, CCmdUI* pCmdUI)
{
    if (CFrameWnd* pChild = GetActiveChildFrame(); pChild != nullptr && pChild->OnCmdMsg(nID, pCmdUI))
        return TRUE;
    if (CWnd* pView = GetActiveView(); pView != nullptr && pView->OnCmdMsg(nID, pCmdUI))
        return TRUE;
    if (DispatchOwnCommand(nID, pCmdUI))
        return TRUE;
    if (GetParentFrame() == nullptr) {
        if (CWinApp* pApp = AfxGetApp(); pApp != nullptr && pApp->OnCmdMsg(nID, pCmdUI))
            return TRUE;
    }
    return FALSE;
}

void CFrameWnd::SetTitle(const CString& strTitle)
{
    m_strTitle = strTitle;
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    CString strCaption = m_strTitle;
    if (bAddToTitle && (GetStyle() & FWS_ADDTOTITLE) != 0) {
        if (CDocument* pDoc = GetActiveDocument(); pDoc != nullptr && !pDoc->GetTitle().isEmpty())
            strCaption =
                strCaption.isEmpty() ? pDoc->GetTitle() : strCaption + QStringLiteral(" - ") + pDoc->GetTitle();
    }
    // A frame without a title of its own keeps the caption it was given.
    if (!strCaption.isEmpty())
        SetWindowText(strCaption);
}

QBoxLayout* CFrameWnd::FrameLayout()
{
    if (m_pLayout == nullptr) {
        m_pLayout = new QVBoxLayout(this);
        m_pLayout->setContentsMargins(0, 0, 0, 0);
        m_pLayout->setSpacing(0);
        m_pTopBars = new QVBoxLayout;
        m_pTopBars->setSpacing(0);
        m_pBottomBars = new QVBoxLayout;
        m_pBottomBars->setSpacing(0);
        m_pLayout->addLayout(m_pTopBars);
        m_pLayout->addStretch(1);
        m_pLayout->addLayout(m_pBottomBars);
    }
    return m_pLayout;
}

void CFrameWnd::DockBar(QWidget* pBar, DWORD nAlign)
{
    FrameLayout();
    if ((nAlign & CBRS_ALIGN_BOTTOM) != 0)
        m_pBottomBars->insertWidget(0, pBar);
    else
        m_pTopBars->addWidget(pBar);
}

void CFrameWnd::SetClientWidget(QWidget* pClient)
{
    QBoxLayout* pLayout = FrameLayout();
    const int nClientIndex = pLayout->indexOf(m_pTopBars) + 1;
    delete pLayout->takeAt(nClientIndex);
    pLayout->insertWidget(nClientIndex, pClient, 1);
    m_pClient = pClient;
}

void CFrameWnd::RecalcLayout(BOOL)
{
    if (m_pLayout != nullptr)
        m_pLayout->activate();
}

void CFrameWnd::CalcWindowRect(CRect* lpClientRect) const
{
    int nBars = 0;
    for (const QBoxLayout* pBars : {m_pTopBars, m_pBottomBars}) {
        for (int i = 0; pBars != nullptr && i < pBars->count(); ++i) {
            const QWidget* pBar = pBars->itemAt(i)->widget();
            if (pBar != nullptr && !pBar->isHidden())
                nBars += pBar->sizeHint().height();
        }
    }
    lpClientRect->bottom += nBars;
    if (m_pLayout != nullptr) {
        const QMargins margins = m_pLayout->contentsMargins();
        *lpClientRect = CRect(lpClientRect->ToQRect().marginsAdded(margins));
    }
    CWnd::CalcWindowRect(lpClientRect);
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    auto* pContext = static_cast<CCreateContext*>(lpCreateStruct != nullptr ? lpCreateStruct->lpCreateParams : nullptr);
    return OnCreateClient(lpCreateStruct, pContext) ? 0 : -1;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    if (pContext != nullptr && pContext->m_pNewViewClass) {
        CView* pView = CreateView(pContext);
        if (pView == nullptr)
            return FALSE;
        SetActiveView(pView);
    }
    return TRUE;
}

CView* CFrameWnd::CreateView(CCreateContext* pContext)
{
    CView* pView = pContext->m_pNewViewClass();
    if (pView == nullptr)
        return nullptr;
    if (pContext->m_pCurrentDoc != nullptr)
        pContext->m_pCurrentDoc->AddView(pView);
    CREATESTRUCT cs;
    cs.style = WS_CHILD | WS_VISIBLE;
    cs.lpCreateParams = pContext;
    if (!pView->PreCreateWindow(cs)) {
        delete pView;
        return nullptr;
    }
    pView->setParent(this);
    SetClientWidget(pView);
    if (pView->SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        delete pView;
        return nullptr;
    }
    pView->show();
    return pView;
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible)
{
    if (GetActiveView() == nullptr && pDoc != nullptr) {
        for (CView* pView : pDoc->GetViews()) {
            if (pView->GetParentFrame() == this) {
                SetActiveView(pView);
                break;
            }
        }
    }
    for (CView* pView : findChildren<CView*>()) {
        if (pView->GetParentFrame() == this)
            pView->OnInitialUpdate();
    }
    if (bMakeVisible)
        ActivateFrame();
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1)
        nCmdShow = OuterWidget()->isHidden() ? SW_SHOWNORMAL : SW_SHOW;
    ShowWindow(nCmdShow);
    SetForegroundWindow();
}

void CFrameWnd::OnClose()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd == this)
        pApp->CloseAllDocuments(FALSE);
    DestroyWindow();
}

void CFrameWnd::PostNcDestroy()
{
    if (m_bAutoDelete)
        deleteLater();
}
