#include "platform/webview/GuardedWebPage.h"

#include <QCoreApplication>

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

bool IsWebAddress(const QUrl& url)
{
    const QString strScheme = url.scheme().toLower();
    return strScheme == QLatin1String("http") || strScheme == QLatin1String("https");
}

// What a frame inside a page may hold besides web addresses: content the
// page made itself.
bool IsPageOwnContent(const QUrl& url)
{
    const QString strScheme = url.scheme().toLower();
    return strScheme == QLatin1String("about") || strScheme == QLatin1String("data") ||
        strScheme == QLatin1String("blob");
}

// The engine asks whether to leave a page that wants to keep its reader
// (beforeunload) as a confirm with this text of its own.
QString LeavePageQuestion()
{
    return QCoreApplication::translate(
        "QWebEnginePage", "Are you sure you want to leave this page? Changes that you made may not be saved.");
}

bool IsReadersChoice(QWebEnginePage::NavigationType type)
{
    return type == QWebEnginePage::NavigationTypeLinkClicked || type == QWebEnginePage::NavigationTypeFormSubmitted;
}
}

CGuardedWebPage::CGuardedWebPage(WebLinkPolicy links, QObject* pParent)
    : QWebEnginePage(pParent)
    , m_links(links)
{
}

bool CGuardedWebPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool bIsMainFrame)
{
    if (!bIsMainFrame)
        return IsWebAddress(url) || IsPageOwnContent(url);
    if (m_links == WebLinkPolicy::FollowInView) {
        if (IsWebAddress(url))
            return true;
        // Mail and the like go to the desktop's own program, and only when
        // the reader asked.
        if (IsReadersChoice(type))
            emit OutsideLinkRequested(url);
        return false;
    }
    switch (type) {
    case NavigationTypeTyped:
    case NavigationTypeReload:
    case NavigationTypeRedirect:
        return IsWebAddress(url);
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
    return new CWindowCatcher(this);
}

void CGuardedWebPage::javaScriptAlert(const QUrl&, const QString&)
{
}

bool CGuardedWebPage::javaScriptConfirm(const QUrl&, const QString& strMessage)
{
    // A page may not keep the program from leaving it: the ribbon's Refresh
    // and the program's own navigations always go through.
    return strMessage == LeavePageQuestion();
}

bool CGuardedWebPage::javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*)
{
    return false;
}
