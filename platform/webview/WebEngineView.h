#pragma once

#include "platform/webview/WebView.h"

class QWebEngineView;

// The web view over QtWebEngine.
class CWebEngineView final : public CWebView
{
    Q_OBJECT

public:
    CWebEngineView(const Options& options, QWidget* pParent);

    void Navigate(const QUrl& url) override;
    void Reload() override;
    QUrl Url() const override;

private:
    QWebEngineView* m_pView;
};
