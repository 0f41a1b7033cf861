#include "platform/datafolder/UserDataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
const char kProcessExecutableLink[] = "/proc/self/exe";
const char kDefaultDataHome[] = "/.local/share";

// The XDG data home as the environment names it; empty when it names none.
QString XdgDataHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString DefaultDataHome()
{
    return QDir::homePath() + QLatin1String(kDefaultDataHome);
}

// A data home the program can keep its folder in: an absolute path (a
// relative XDG_DATA_HOME is invalid, as the XDG base directory rules say),
// not the root of the file system, and a folder that exists or can be made.
bool IsUsable(const QString& strHome)
{
    if (strHome.isEmpty() || !QDir::isAbsolutePath(strHome) || QDir(strHome).isRoot())
        return false;
    // Created on request, like the shell's special folders with their create flag.
    return QDir().mkpath(strHome) && QFileInfo(strHome).isWritable();
}
}

bool CUserDataFolder::IsAvailable()
{
    return !Path().isEmpty();
}

QString CUserDataFolder::Path()
{
    // An unusable XDG_DATA_HOME falls back to the default data home, not
    // straight to the executable's folder, which for an installed program
    // is a system folder.
    for (const QString& strHome : {XdgDataHome(), DefaultDataHome()}) {
        if (IsUsable(strHome))
            return strHome;
    }
    return QString();
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
