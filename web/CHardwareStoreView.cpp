#include "web/CHardwareStoreView.h"

#include "download/ServerAddresses.h"
#include "frame/FirstRunSizing.h"
#include "frame/PageOpening.h"
#include "fw/CWinApp.h"
#include "res/PrivateMessages.h"

namespace {
constexpr char kFirstRunFlag[] = "CHardwareStoreView";
}

void CHardwareStoreView::OnInitialUpdate()
{
    CHtmlView::OnInitialUpdate();
    CWaitCursor wait;
    MaximizePageFrame(this);
    SizeMainWindowOnFirstRun(this, kFirstRunFlag);
    // The first navigation runs from the queue, after this update.
    PostMessage(WM_RELOAD_MUSIC_PAGE, 0, 0);
    ShowPageWithEmptyStatus();
}

LRESULT CHardwareStoreView::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_RELOAD_MUSIC_PAGE)
        ShowHomePage();
    return CHtmlView::DefWindowProc(message, wParam, lParam);
}

void CHardwareStoreView::ShowHomePage()
{
    Navigate(ServerAddresses::MusicSiteUrl());
    Refresh();
}
