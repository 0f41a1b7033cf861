#include "platform/media/MpvCacheFile.h"

#include "platform/media/MediaLog.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {
// What was written this much stream time before the index's oldest packet
// is given back: room for the packets a stream keeps before its first
// keyframe, and for sound and pictures written a little apart.
constexpr double kMarginSeconds = 60;
// Space goes back in pieces at least this large, not on every report.
constexpr qint64 kLeastReleaseBytes = 1024 * 1024;
// A newest time this much older than the one before means the stream's
// clock went back.
constexpr double kClockJitterSeconds = 1;
// libmpv names its cache files so.
constexpr char kFilePrefix[] = "mpv-cache-";
constexpr char kOwnFolder[] = "/proc/self/fd";

// The cache files that the program's engines have found, so that two
// engines never take the same one.
std::set<std::pair<dev_t, ino_t>>& TakenFiles()
{
    static std::set<std::pair<dev_t, ino_t>> files;
    return files;
}

int OpenDescriptor(const QByteArray& descriptor, struct stat* pStatus)
{
    const int fd = ::open((QByteArray(kOwnFolder) + '/' + descriptor).constData(), O_WRONLY | O_CLOEXEC);
    if (fd >= 0 && ::fstat(fd, pStatus) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}
}

CMpvCacheFile::CMpvCacheFile(QString strFolder)
    : m_strFolder(std::move(strFolder))
{
}

CMpvCacheFile::~CMpvCacheFile()
{
    Forget();
}

void CMpvCacheFile::Note(double dNewest, qint64 nFileBytes)
{
    if (nFileBytes <= 0 || m_bUnsupported)
        return;
    // A shorter file is another file: the stream was opened again.
    if (nFileBytes < m_nFileBytes)
        Forget();
    m_nFileBytes = nFileBytes;
    if (m_bStopped)
        return;
    if (!m_reports.empty() && dNewest < m_reports.back().dNewest - kClockJitterSeconds) {
        StopReleasing(QStringLiteral("the stream's clock went back"));
        return;
    }
    m_reports.push_back({dNewest, nFileBytes});
}

void CMpvCacheFile::ReleaseOlderThan(double dOldest)
{
    if (m_bStopped || m_bUnsupported || m_reports.empty())
        return;
    // The newest report written wholly before the margin.
    const double dLimit = dOldest - kMarginSeconds;
    auto last = m_reports.cend();
    for (auto report = m_reports.cbegin(); report != m_reports.cend() && report->dNewest <= dLimit; ++report)
        last = report;
    if (last == m_reports.cend() || last->nFileBytes - m_nReleasedBytes < kLeastReleaseBytes)
        return;

    struct stat status {};
    const int fd = Open(&status);
    if (fd < 0)
        return;
    if (status.st_size < m_nFileBytes) {
        // Shorter than the cache has reported: not the file the reports
        // are of.
        ::close(fd);
        Forget();
        return;
    }
    const qint64 nBlock = qMax<qint64>(status.st_blksize, 1);
    const qint64 nEnd = last->nFileBytes / nBlock * nBlock;
    const int nResult = nEnd > m_nReleasedBytes
        ? ::fallocate(fd, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, m_nReleasedBytes, nEnd - m_nReleasedBytes)
        : 0;
    const int nError = errno;
    ::close(fd);
    if (nResult == 0) {
        m_nReleasedBytes = qMax(m_nReleasedBytes, nEnd);
        m_reports.erase(m_reports.cbegin(), last + 1);
    } else if (nError == EOPNOTSUPP || nError == ENOSYS) {
        m_bUnsupported = true;
        m_reports.clear();
        qCWarning(lcMedia,
                  "The file system of %s cannot give back space from inside a file: the time-shift file grows "
                  "with the stream until the channel changes or stops",
                  qPrintable(m_strFolder));
    } else {
        StopReleasing(QString::fromLocal8Bit(std::strerror(nError)));
    }
}

void CMpvCacheFile::Reset()
{
    Forget();
}

int CMpvCacheFile::Open(struct stat* pStatus)
{
    if (m_file.fd < 0)
        return Find(pStatus);
    const int fd = OpenDescriptor(QByteArray::number(m_file.fd), pStatus);
    if (fd >= 0 && pStatus->st_dev == m_file.device && pStatus->st_ino == m_file.inode)
        return fd;
    // libmpv has closed the file (and may have opened another under the
    // same number): what the reports say is of a file that is gone.
    if (fd >= 0)
        ::close(fd);
    Forget();
    return -1;
}

int CMpvCacheFile::Find(struct stat* pStatus)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(m_strFolder).canonicalFilePath());
    if (folder.isEmpty())
        return -1;
    const QByteArray prefix = folder + '/' + kFilePrefix;
    int nBestFd = -1;
    qint64 nBestDistance = 0;
    struct stat best {};
    const QStringList descriptors =
        QDir(QLatin1String(kOwnFolder)).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& strDescriptor : descriptors) {
        // Where the open file was when it was opened (libmpv removes its
        // cache files from the folder at once, and the link says so).
        char target[4096];
        const QByteArray link = QByteArray(kOwnFolder) + '/' + strDescriptor.toLatin1();
        const ssize_t nLength = ::readlink(link.constData(), target, sizeof target);
        if (nLength <= 0 || !QByteArray(target, nLength).startsWith(prefix) ||
            QByteArray(target, nLength).indexOf('/', prefix.size()) >= 0)
            continue;
        struct stat status {};
        const int fd = OpenDescriptor(strDescriptor.toLatin1(), &status);
        if (fd < 0)
            continue;
        ::close(fd);
        if (!S_ISREG(status.st_mode) || TakenFiles().count({status.st_dev, status.st_ino}) != 0)
            continue;
        // Of the program's cache files, the one whose length is nearest the
        // length reported.
        const qint64 nDistance = qAbs(static_cast<qint64>(status.st_size) - m_nFileBytes);
        if (nBestFd < 0 || nDistance < nBestDistance) {
            nBestFd = strDescriptor.toInt();
            nBestDistance = nDistance;
            best = status;
        }
    }
    if (nBestFd < 0) {
        StopReleasing(QStringLiteral("its file is not open in %1").arg(m_strFolder));
        return -1;
    }
    m_file = {nBestFd, best.st_dev, best.st_ino};
    TakenFiles().insert({best.st_dev, best.st_ino});
    return Open(pStatus);
}

void CMpvCacheFile::Forget()
{
    if (m_file.fd >= 0)
        TakenFiles().erase({m_file.device, m_file.inode});
    m_file = {};
    m_reports.clear();
    m_nFileBytes = 0;
    m_nReleasedBytes = 0;
    m_bStopped = false;
}

void CMpvCacheFile::StopReleasing(const QString& strWhy)
{
    qCWarning(lcMedia, "The time-shift file keeps the whole stream until it closes: %s", qPrintable(strWhy));
    m_bStopped = true;
    m_reports.clear();
}
