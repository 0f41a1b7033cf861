#pragma once

#include "platform/webview/WebEngineBackend.h"

#include <QObject>

// The web engine module's entry: QtWebEngine behind the program's web page
// interface. Every page shares the engine's one profile, so the banner and
// the web pages share one set of helper processes.
class CWebEngineBackendModule : public QObject, public IWebEngineBackend
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID KESTREL_WEB_ENGINE_BACKEND_IID)
    Q_INTERFACES(IWebEngineBackend)

public:
    CWebEngineBackendModule();

    std::unique_ptr<IWebPage> CreatePage(const WebPageOptions& options, IWebPageClient& client,
                                         QWidget* pParent) override;

private:
    void SetUpProfile();

    bool m_bProfileSetUp = false;
};
