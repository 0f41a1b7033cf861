#include "frame/CCustomMFCRibbonBar.h"

#include "res/PrivateMessages.h"
#include "fw/CWinApp.h"

BOOL CCustomMFCRibbonBar::SetActiveCategory(CMFCRibbonCategory* pCategory, BOOL bForceRestore)
{
    const int nIndex = GetCategoryIndex(pCategory);
    CWnd* pMainWnd = AfxGetMainWnd();
    if (IsWindow(pMainWnd))
        pMainWnd->PostMessage(WM_CATEGORY_CHANGED, static_cast<WPARAM>(static_cast<LPARAM>(nIndex)), nIndex);
    return CMFCRibbonBar::SetActiveCategory(pCategory, bForceRestore);
}

BOOL CCustomMFCRibbonBar::OnShowRibbonContextMenu(CWnd*, int, int, CMFCRibbonBaseElement*)
{
    return TRUE;
}
