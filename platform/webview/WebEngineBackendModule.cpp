#include "platform/webview/WebEngineBackendModule.h"

#include "platform/webview/WebEnginePage.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

namespace {
constexpr char kChromiumFlagsVariable[] = "QTWEBENGINE_CHROMIUM_FLAGS";
// The engine's process model, chosen for memory: the program shows one
// small page at a time, from its own servers, so one renderer serves them
// all and no spare renderer waits beside it. The pages are drawn in
// software, which for a banner and two plain pages costs nothing one can
// see and spares the program the graphics driver (with Mesa's software
// rasteriser, LLVM) and its memory. The GPU and network services run inside
// the program, so the zygote that would start unsandboxed helpers is not
// kept waiting. The pages' few scripts run without V8's optimising
// compilers.
constexpr char kProcessModelFlags[] =
    "--renderer-process-limit=1 --disable-gpu --no-unsandboxed-zygote --js-flags=--lite-mode";
}

CWebEngineBackendModule::CWebEngineBackendModule()
{
    // Before the engine makes its first Qt Quick window.
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    // Read once, when the engine starts: that is after this module is loaded
    // and before its first page. Flags the user set come first and keep
    // their say.
    QByteArray flags = qgetenv(kChromiumFlagsVariable);
    if (!flags.isEmpty())
        flags += ' ';
    qputenv(kChromiumFlagsVariable, flags + kProcessModelFlags);
}

std::unique_ptr<IWebPage> CWebEngineBackendModule::CreatePage(const WebPageOptions& options, IWebPageClient& client,
                                                              QWidget* pParent)
{
    SetUpProfile();
    return std::make_unique<CWebEnginePage>(options, client, pParent);
}

void CWebEngineBackendModule::SetUpProfile()
{
    if (m_bProfileSetUp)
        return;
    m_bProfileSetUp = true;
    // The program keeps no web data: nothing is written to disk, and every
    // visit asks the server afresh, as the pages' Refresh promises.
    QWebEngineProfile* pProfile = QWebEngineProfile::defaultProfile();
    pProfile->setHttpCacheType(QWebEngineProfile::NoCache);
    pProfile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    pProfile->setSpellCheckEnabled(false);
    QWebEngineSettings* pSettings = pProfile->settings();
    pSettings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    pSettings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    pSettings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    pSettings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    pSettings->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    pSettings->setAttribute(QWebEngineSettings::ErrorPageEnabled, true);
}
