#pragma once

#include "platform/webview/WebEngineBackend.h"

#include <QWebEnginePage>

// A page that keeps to the view's link policy. Only web addresses (http and
// https) ever load inside it; what the reader follows elsewhere, and every
// window the page asks for, is handed out instead of loaded.
//
// A page shows no dialogs of its own: alert, confirm and prompt are
// refused, as if the reader had cancelled each at once. A modal box a page
// can raise again and again would hold the whole program (the tray menu
// included) for as long as the page likes; the program's pages have nothing
// to ask the reader that way.
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
    void javaScriptAlert(const QUrl& securityOrigin, const QString& strMessage) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& strMessage) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& strMessage, const QString& strDefault,
                          QString* pResult) override;

private:
    WebLinkPolicy m_links;
};
