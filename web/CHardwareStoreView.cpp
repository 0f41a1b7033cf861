#include "web/CHardwareStoreView.h"

#include "res/PrivateMessages.h"
#include "frame/FirstRunSizing.h"
#include "frame/PageOpening.h"
#include "fw/CWinApp.h"

namespace {
constexpr char kFirstRunFlag[] = "CHardwareStoreView";
}

void CHardwareStoreView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    CWaitCursor wait;
    MaximizePageFrame(this);
    SizeMainWindowOnFirstRun(this, kFirstRunFlag);
    // The first navigation runs from the queue, after this update.
    PostMessage(WM_RELOAD_MUSIC_PAGE, 0, 0);
    ShowPageWithEmptyStatus();
}
