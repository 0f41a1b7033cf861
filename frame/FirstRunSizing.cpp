#include "frame/FirstRunSizing.h"

#include "frame/CMainFrame.h"
#include "fw/CView.h"
#include "fw/CWinApp.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QMdiArea>

void SizeMainWindowOnFirstRun(CView* pView, const CString& strFlagName)
{
    if (GetSettingInt(strFlagName, SettingDefaults::kFirstRunSizingDone) != 0)
        return;
    auto* pMainFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    CFrameWnd* pChildFrame = pView->GetParentFrame();
    if (pMainFrame == nullptr || pChildFrame == nullptr)
        return;

    CRect rectChild;
    pChildFrame->GetWindowRect(&rectChild);
    CRect rectStatusBar;
    pMainFrame->GetStatusBar().GetWindowRect(&rectStatusBar);
    // The ribbon draws the caption, so the window has no caption of its own
    // to add; only its borders beside the client area, which would otherwise
    // cut the page's right edge.
    const QWidget* pClient = pMainFrame->GetMDIClient();
    const int nBorders = pClient != nullptr ? pMainFrame->width() - pClient->width() : 0;
    const int nWidth = rectChild.Width() + nBorders;
    const int nHeight = rectChild.Height() + rectStatusBar.Height() + pMainFrame->GetRibbonBar().height();
    pMainFrame->SetWindowPos(nullptr, 0, 0, nWidth, nHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    WriteSettingInt(strFlagName, 1);
}
