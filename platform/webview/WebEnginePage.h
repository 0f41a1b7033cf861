#pragma once

#include "platform/webview/WebEngineBackend.h"

#include <QWidget>

class CGuardedWebPage;
class QWebEngineView;

// One page of the program over a QWebEngineView.
class CWebEnginePage final : public QWidget, public IWebPage
{
    Q_OBJECT

public:
    CWebEnginePage(const WebPageOptions& options, IWebPageClient& client, QWidget* pParent);

    QWidget* Widget() override { return this; }
    void Navigate(const QUrl& url) override;
    void Reload() override;
    QUrl Url() const override;
    QString Title() const override;
    void SetDormant(bool bDormant) override;

private:
    QWebEngineView* m_pView;
    CGuardedWebPage* m_pPage;
};
