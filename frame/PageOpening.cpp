#include "frame/PageOpening.h"

#include "res/PrivateMessages.h"
#include "frame/IStatusTextSink.h"
#include "fw/CFrameWnd.h"
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
    if (CWnd* pMainWnd = AfxGetMainWnd())
        pMainWnd->PostMessage(WM_UPDATE_STATUS_PANES, 0, 0);
    ShowPageStatus(CString());
}

void ShowPageStatus(const CString& strText)
{
    if (auto* pSink = dynamic_cast<IStatusTextSink*>(AfxGetMainWnd()))
        pSink->SetStatusText(strText);
}
