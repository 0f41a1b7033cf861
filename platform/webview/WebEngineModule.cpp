#include "platform/webview/WebEngineModule.h"

#include "platform/webview/WebEngineBackend.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPluginLoader>
#include <QStringList>

namespace {
constexpr char kHelperProcessName[] = "QtWebEngineProcess";
constexpr char kHelperProcessVariable[] = "QTWEBENGINEPROCESS_PATH";
// Where an installed program keeps the module, beside its executable's
// folder.
constexpr char kInstalledModuleFolder[] = "/../lib/kestrel-radio/";

QPluginLoader* g_pLoader = nullptr;
IWebEngineBackend* g_pBackend = nullptr;

// The module of an installed program first, then the one of the build tree
// that this program was built in (tests and benchmarks run from there).
QString ModulePath()
{
    const QString strInstalled = QCoreApplication::applicationDirPath() + QLatin1String(kInstalledModuleFolder)
                                 + QLatin1String(KESTREL_WEBENGINE_MODULE_NAME);
    if (QFileInfo::exists(strInstalled))
        return strInstalled;
    const QString strBuilt = QStringLiteral(KESTREL_WEBENGINE_MODULE_BUILD_PATH);
    return QFileInfo::exists(strBuilt) ? strBuilt : QString();
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
    g_pLoader = new QPluginLoader(ModulePath(), qApp);
    g_pBackend = qobject_cast<IWebEngineBackend*>(g_pLoader->instance());
    if (g_pBackend == nullptr)
        qWarning("web pages cannot be shown: %s", qPrintable(g_pLoader->errorString()));
    return g_pBackend;
}

bool IsLoaded()
{
    return g_pLoader != nullptr && g_pLoader->isLoaded();
}

}
