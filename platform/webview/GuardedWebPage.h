#pragma once

#include "platform/webview/WebEngineBackend.h"

#include <QWebEnginePage>

// A page that keeps to the view's link policy. Only web addresses (http and
// https) ever load inside it; what the reader follows elsewhere, and every
// window the page asks for, is handed out instead of loaded.
class CGuardedWebPage : public QWebEnginePage
{
    Q_OBJECT

public:
    CGuardedWebPage(WebLinkPolicy links, QObject* pParent);

signals:
    void OutsideLinkRequested(const QUrl& url);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool bIsMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    WebLinkPolicy m_links;
};
