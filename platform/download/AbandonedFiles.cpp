#include "platform/download/AbandonedFiles.h"

#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool IsAbandoned(int nDescriptor)
{
    struct stat status {};
    return fstat(nDescriptor, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == getuid() &&
        flock(nDescriptor, LOCK_EX | LOCK_NB) == 0;
}
}

int RemoveAbandonedFiles(const QString& strFolder, const QString& strWildcard)
{
    int nRemoved = 0;
    const QDir folder(strFolder);
    for (const QString& strName : folder.entryList({strWildcard}, QDir::Files | QDir::Hidden | QDir::System)) {
        const QByteArray path = QFile::encodeName(folder.filePath(strName));
        // O_NOFOLLOW: a link planted under a matching name is never followed.
        const int nDescriptor = open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (nDescriptor < 0)
            continue;
        // Removed while still locked, so that no one can take it up between
        // the check and the removal.
        if (IsAbandoned(nDescriptor) && unlink(path.constData()) == 0)
            ++nRemoved;
        close(nDescriptor);
    }
    return nRemoved;
}
