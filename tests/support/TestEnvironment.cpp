#include "TestEnvironment.h"

#include <QDir>
#include <QTemporaryDir>
#include <QStandardPaths>
#include <cstdlib>
#include <memory>

namespace {
std::unique_ptr<QTemporaryDir>& RootDir()
{
    static std::unique_ptr<QTemporaryDir> dir;
    return dir;
}
}

namespace TestEnvironment {

void IsolateUserFolders()
{
    RootDir() = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/kestrel-test-XXXXXX");
    const QString root = RootDir()->path();
    for (const char* sub : {"config", "data", "tmp", "cache"})
        QDir(root).mkpath(sub);
    setenv("XDG_CONFIG_HOME", qPrintable(root + "/config"), 1);
    setenv("XDG_DATA_HOME", qPrintable(root + "/data"), 1);
    setenv("XDG_CACHE_HOME", qPrintable(root + "/cache"), 1);
    setenv("TMPDIR", qPrintable(root + "/tmp"), 1);
}

QString Root()
{
    return RootDir() ? RootDir()->path() : QString();
}

QString SourceDir()
{
    return QStringLiteral(KESTREL_TESTS_SOURCE_DIR);
}

}
