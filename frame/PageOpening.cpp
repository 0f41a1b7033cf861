#include "frame/PageOpening.h"

#include "res/PrivateMessages.h"
#include "frame/CMainFrame.h"
#include "fw/CView.h"
#include "fw/CWinApp.h"

void MaximizePageFrame(CView* pView)
{
    if (CFrameWnd* pChildFrame = pView->GetParentFrame()) {
        pChildFrame->ShowWindow(SW_SHOWMAXIMIZED);
        pChildFrame->RecalcLayout();
    }
}

void ShowPageWithEmptyStatus()
{
    if (auto* pMainFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd())) {
        pMainFrame->PostMessage(WM_UPDATE_STATUS_PANES, 0, 0);
        pMainFrame->SetStatusText(CString());
    }
}
