#include "web/CPromoView.h"

#include "download/ServerAddresses.h"
#include "frame/FirstRunSizing.h"
#include "frame/PageOpening.h"
#include "fw/CWinApp.h"
#include "res/PrivateMessages.h"

namespace {
constexpr char kFirstRunFlag[] = "CPromoView";
}

void CPromoView::OnInitialUpdate()
{
    CHtmlView::OnInitialUpdate();
    CWaitCursor wait;
    MaximizePageFrame(this);
    SizeMainWindowOnFirstRun(this, kFirstRunFlag);
    // The first navigation runs from the queue, after this update.
    PostMessage(WM_RELOAD_PROMO_PAGE, 0, 0);
    ShowPageWithEmptyStatus();
}

LRESULT CPromoView::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_RELOAD_PROMO_PAGE)
        ShowHomePage();
    return CHtmlView::DefWindowProc(message, wParam, lParam);
}

void CPromoView::ShowHomePage()
{
    Navigate(ServerAddresses::PromoSiteUrl());
    Refresh();
}
