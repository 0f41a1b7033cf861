#include "platform/datafolder/UserDataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
const char kProcessExecutableLink[] = "/proc/self/exe";
const char kDefaultDataHome[] = "/.local/share";

// The XDG data home. A relative XDG_DATA_HOME is invalid and ignored, as the
// XDG base directory rules require.
QString DataHome()
{
    const QString strHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!strHome.isEmpty() && QDir::isAbsolutePath(strHome))
        return strHome;
    return QDir::homePath() + QLatin1String(kDefaultDataHome);
}
}

bool CUserDataFolder::IsAvailable()
{
    return !Path().isEmpty();
}

QString CUserDataFolder::Path()
{
    const QString strHome = DataHome();
    // Created on request, like the shell's special folders with their create flag.
    return QDir().mkpath(strHome) ? strHome : QString();
}

QString CUserDataFolder::ExecutablePath()
{
    const QString strTarget = QFileInfo(QLatin1String(kProcessExecutableLink)).symLinkTarget();
    if (!strTarget.isEmpty())
        return strTarget;
    return QCoreApplication::instance() != nullptr ? QCoreApplication::applicationFilePath() : QString();
}

bool CUserDataFolder::CreateFolder(const QString& strPath)
{
    QDir().mkdir(strPath);
    return QFileInfo(strPath).isDir();
}
