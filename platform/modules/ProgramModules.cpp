#include "platform/modules/ProgramModules.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
constexpr char kInstalledModuleFolder[] = "/../lib/kestrel-radio/";
}

namespace ProgramModules {

QString Path(const QString& strFileName, const QString& strBuildPath)
{
    const QString strInstalled =
        QCoreApplication::applicationDirPath() + QLatin1String(kInstalledModuleFolder) + strFileName;
    if (QFileInfo::exists(strInstalled))
        return strInstalled;
    return QFileInfo::exists(strBuildPath) ? strBuildPath : QString();
}

}
