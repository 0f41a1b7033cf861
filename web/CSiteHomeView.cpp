#include "web/CSiteHomeView.h"

#include "frame/FirstRunSizing.h"
#include "frame/PageOpening.h"
#include "fw/CWinApp.h"

CSiteHomeView::CSiteHomeView(const Site& site)
    : m_site(site)
{
}

void CSiteHomeView::OnInitialUpdate()
{
    CHtmlView::OnInitialUpdate();
    CWaitCursor wait;
    MaximizePageFrame(this);
    SizeMainWindowOnFirstRun(this, m_site.pszFirstRunFlag);
    // The first navigation runs from the queue, after this update.
    PostMessage(m_site.nReloadMessage, 0, 0);
    ShowPageWithEmptyStatus();
}

LRESULT CSiteHomeView::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == m_site.nReloadMessage)
        ShowHomePage();
    return CHtmlView::DefWindowProc(message, wParam, lParam);
}

void CSiteHomeView::ShowHomePage()
{
    Navigate(m_site.pHomePageUrl());
    Refresh();
}
