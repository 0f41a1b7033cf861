#pragma once

#include "platform/webview/WebView.h"

#include <QWebEnginePage>

// A page that keeps to the view's link policy: with links opening outside,
// a followed link or a new window is handed out instead of loaded.
class CGuardedWebPage : public QWebEnginePage
{
    Q_OBJECT

public:
    CGuardedWebPage(CWebView::LinkPolicy links, QObject* pParent);

signals:
    void OutsideLinkRequested(const QUrl& url);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool bIsMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    CWebView::LinkPolicy m_links;
};
