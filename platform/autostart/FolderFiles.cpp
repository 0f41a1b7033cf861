#include "platform/autostart/FolderFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace FolderFiles {

namespace {
// Readable by all, as the desktop's own entries are.
constexpr mode_t kEntryMode = S_IRUSR | S_IWUSR | S_IRGRP | S_IROTH;

// The file a path names once its links are followed, when that file lies in
// the folder itself; nothing when it lies elsewhere or does not exist.
std::optional<QString> ResolvedInFolder(const QString& strFolder, const QString& strPath)
{
    const QFileInfo path(strPath);
    if (!path.isSymLink())
        return strPath;
    const QString strTarget = path.canonicalFilePath();
    const QString strCanonicalFolder = QFileInfo(strFolder).canonicalFilePath();
    if (strTarget.isEmpty() || strCanonicalFolder.isEmpty() || QFileInfo(strTarget).path() != strCanonicalFolder)
        return std::nullopt;
    return strTarget;
}

bool WriteAll(int fd, const QByteArray& bytes)
{
    qsizetype nDone = 0;
    while (nDone < bytes.size()) {
        const ssize_t nWritten = ::write(fd, bytes.constData() + nDone, static_cast<size_t>(bytes.size() - nDone));
        if (nWritten < 0 && errno == EINTR)
            continue;
        if (nWritten <= 0)
            return false;
        nDone += nWritten;
    }
    return true;
}

class CFileDescriptor
{
public:
    explicit CFileDescriptor(int fd)
        : m_fd(fd)
    {
    }
    ~CFileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CFileDescriptor(const CFileDescriptor&) = delete;
    CFileDescriptor& operator=(const CFileDescriptor&) = delete;
    int Get() const { return m_fd; }
    // Closes now, for a caller that must know that the close went well.
    bool Close() { return ::close(std::exchange(m_fd, -1)) == 0; }

private:
    int m_fd;
};
}

std::optional<QByteArray> ReadRegularFile(const QString& strFolder, const QString& strPath, qint64 nMaxSize)
{
    const std::optional<QString> target = ResolvedInFolder(strFolder, strPath);
    if (!target)
        return std::nullopt;
    // No link is followed here any more: one put in place since the check
    // fails the open. A FIFO opens at once without a writer, and is then
    // turned away as not a regular file.
    const CFileDescriptor file(
        ::open(QFile::encodeName(*target).constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    struct stat status = {};
    if (file.Get() < 0 || ::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > nMaxSize)
        return std::nullopt;
    // The file may grow while it is read; no more than nMaxSize is taken.
    QByteArray bytes(nMaxSize + 1, Qt::Uninitialized);
    qint64 nRead = 0;
    while (nRead < bytes.size()) {
        const ssize_t n = ::read(file.Get(), bytes.data() + nRead, static_cast<size_t>(bytes.size() - nRead));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        nRead += n;
    }
    if (nRead > nMaxSize)
        return std::nullopt;
    bytes.truncate(nRead);
    return bytes;
}

bool ReplaceFile(const QString& strFolder, const QString& strPath, const QByteArray& bytes)
{
    // A hidden name that the desktop does not take for an entry.
    const QString strTemporary = QLatin1Char('.') + QFileInfo(strPath).fileName() + QStringLiteral(".XXXXXX");
    QByteArray temporaryName = QFile::encodeName(QDir(strFolder).filePath(strTemporary));
    CFileDescriptor file(::mkostemp(temporaryName.data(), O_CLOEXEC));
    if (file.Get() < 0)
        return false;
    const bool bWritten = ::fchmod(file.Get(), kEntryMode) == 0 && WriteAll(file.Get(), bytes) &&
        ::fsync(file.Get()) == 0 && file.Close();
    // rename() replaces the name itself: a link at strPath goes, and the file
    // it pointed to stays as it was.
    if (bWritten && ::rename(temporaryName.constData(), QFile::encodeName(strPath).constData()) == 0)
        return true;
    ::unlink(temporaryName.constData());
    return false;
}

}
