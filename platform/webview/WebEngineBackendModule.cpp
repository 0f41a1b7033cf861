#include "platform/webview/WebEngineBackendModule.h"

#include "platform/webview/WebEnginePage.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QOpenGLContext>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

// Qt's GUI module keeps the context that every OpenGL context of the program
// shares with; QtWebEngine needs one, and it is made here rather than at
// start-up, so that a program without web pages never starts OpenGL.
QOpenGLContext* qt_gl_global_share_context();
void qt_gl_set_global_share_context(QOpenGLContext* pContext);

namespace {
constexpr char kChromiumFlagsVariable[] = "QTWEBENGINE_CHROMIUM_FLAGS";
// The engine's process model, chosen for memory: the program shows one
// small page at a time, from its own servers, so one renderer serves them
// all and no spare renderer waits beside it.
constexpr char kProcessModelFlags[] = "--renderer-process-limit=1";
}

CWebEngineBackendModule::CWebEngineBackendModule()
{
    if (qt_gl_global_share_context() == nullptr) {
        auto* pShareContext = new QOpenGLContext(qApp);
        pShareContext->create();
        qt_gl_set_global_share_context(pShareContext);
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    }
    // Read once, when the engine starts: that is after this module is loaded
    // and before its first page. Flags the user set come first and keep
    // their say.
    QByteArray flags = qgetenv(kChromiumFlagsVariable);
    if (!flags.isEmpty())
        flags += ' ';
    qputenv(kChromiumFlagsVariable, flags + kProcessModelFlags);
}

IWebPage* CWebEngineBackendModule::CreatePage(const WebPageOptions& options, IWebPageClient& client,
                                              QWidget* pParent)
{
    SetUpProfile();
    return new CWebEnginePage(options, client, pParent);
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
