#include "frame/CCustomMFCRibbonApplicationButton.h"

#include "res/PrivateMessages.h"
#include "fw/CWinApp.h"
#include "fw/CWnd.h"

void CCustomMFCRibbonApplicationButton::OnLButtonDown(CPoint)
{
    if (CWnd* pMainWnd = AfxGetMainWnd())
        pMainWnd->PostMessage(WM_NEXT_APP_LOOK, 0, 0);
}

void CCustomMFCRibbonApplicationButton::OnLButtonDblClk(CPoint point)
{
    OnLButtonDown(point);
}
