#include "platform/webview/GuardedWebPage.h"

#include <QWebEngineSettings>

namespace {
// Stands in for a window the page asked for: it hands out the address its
// first navigation goes to and is gone.
class CWindowCatcher : public QWebEnginePage
{
public:
    explicit CWindowCatcher(CGuardedWebPage* pOpener)
        : QWebEnginePage(pOpener->profile(), pOpener)
        , m_pOpener(pOpener)
    {
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override
    {
        emit m_pOpener->OutsideLinkRequested(url);
        deleteLater();
        return false;
    }

private:
    CGuardedWebPage* m_pOpener;
};
}

CGuardedWebPage::CGuardedWebPage(CWebView::LinkPolicy links, QObject* pParent)
    : QWebEnginePage(pParent)
    , m_links(links)
{
    QWebEngineSettings* pSettings = settings();
    pSettings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    pSettings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    pSettings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    pSettings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
}

bool CGuardedWebPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool bIsMainFrame)
{
    if (m_links == CWebView::LinkPolicy::FollowInView || !bIsMainFrame)
        return true;
    switch (type) {
    case NavigationTypeTyped:
    case NavigationTypeReload:
    case NavigationTypeRedirect:
        return true;
    case NavigationTypeLinkClicked:
    case NavigationTypeFormSubmitted:
        emit OutsideLinkRequested(url);
        return false;
    default:
        // The page may not lead itself elsewhere.
        return false;
    }
}

QWebEnginePage* CGuardedWebPage::createWindow(WebWindowType)
{
    if (m_links == CWebView::LinkPolicy::FollowInView)
        return this;
    return new CWindowCatcher(this);
}
