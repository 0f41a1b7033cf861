#include "fw/CFrameWnd.h"

#include "fw/CWinApp.h"

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
