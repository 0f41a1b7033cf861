#include "platform/webview/WebEngineModule.h"

#include "platform/modules/ProgramModules.h"
#include "platform/webview/WebEngineBackend.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QOpenGLContext>
#include <QPluginLoader>
#include <QStringList>

// Qt's GUI module keeps the context that every OpenGL context of the program
// shares with.
QOpenGLContext* qt_gl_global_share_context();
void qt_gl_set_global_share_context(QOpenGLContext* pContext);

Q_LOGGING_CATEGORY(lcWebView, "kestrel.webview", QtInfoMsg)

namespace {
constexpr char kHelperProcessName[] = "QtWebEngineProcess";
constexpr char kHelperProcessVariable[] = "QTWEBENGINEPROCESS_PATH";

QPluginLoader* g_pLoader = nullptr;
IWebEngineBackend* g_pBackend = nullptr;

QString ModulePath()
{
    return ProgramModules::Path(QStringLiteral(KESTREL_WEBENGINE_MODULE_NAME),
                                QStringLiteral(KESTREL_WEBENGINE_MODULE_BUILD_PATH));
}

bool IsHelperInstalled()
{
    const QString strOverridden = qEnvironmentVariable(kHelperProcessVariable);
    if (!strOverridden.isEmpty())
        return QFileInfo(strOverridden).isExecutable();
    const QString strHelper = QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + '/' + kHelperProcessName;
    return QFileInfo(strHelper).isExecutable();
}
}

namespace WebEngineModule {

bool IsInstalled()
{
    return !ModulePath().isEmpty() && IsHelperInstalled();
}

IWebEngineBackend* Backend()
{
    if (g_pLoader != nullptr)
        return g_pBackend;
    // QtWebEngine asks for the context that OpenGL contexts share with as
    // its library loads, and reads its format; the pages are drawn in
    // software, so the context is never made.
    if (qt_gl_global_share_context() == nullptr)
        qt_gl_set_global_share_context(new QOpenGLContext(qApp));
    g_pLoader = new QPluginLoader(ModulePath(), qApp);
    g_pBackend = qobject_cast<IWebEngineBackend*>(g_pLoader->instance());
    if (g_pBackend == nullptr)
        qCWarning(lcWebView, "Web pages cannot be shown: %s", qPrintable(g_pLoader->errorString()));
    return g_pBackend;
}

bool IsLoaded()
{
    return g_pLoader != nullptr && g_pLoader->isLoaded();
}

}
