#include "web/CHardwareStoreView.h"

#include "app/PrivateMessages.h"
#include "frame/CMainFrame.h"
#include "frame/FirstRunSizing.h"
#include "fw/CWinApp.h"

namespace {
constexpr char kFirstRunFlag[] = "CHardwareStoreView";
}

void CHardwareStoreView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    CWaitCursor wait;
    if (CFrameWnd* pChildFrame = GetParentFrame()) {
        pChildFrame->ShowWindow(SW_SHOWMAXIMIZED);
        pChildFrame->RecalcLayout();
    }
    SizeMainWindowOnFirstRun(this, kFirstRunFlag);
    // The first navigation runs from the queue, after this update.
    PostMessage(WM_RELOAD_MUSIC_PAGE, 0, 0);
    if (auto* pMainFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd())) {
        pMainFrame->PostMessage(WM_UPDATE_STATUS_PANES, 0, 0);
        pMainFrame->SetStatusText(CString());
    }
}
