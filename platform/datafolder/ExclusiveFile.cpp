#include "platform/datafolder/ExclusiveFile.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

CExclusiveFile::~CExclusiveFile()
{
    Close();
}

bool CExclusiveFile::Open(const QString& strPath)
{
    Close();
    const QByteArray path = QFile::encodeName(strPath);
    // Non-blocking, so that a FIFO put in the file's place cannot hang the open.
    const int nDescriptor = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (nDescriptor < 0)
        return false;
    struct stat status {};
    if (::fstat(nDescriptor, &status) != 0 || !S_ISREG(status.st_mode) ||
        ::flock(nDescriptor, LOCK_EX | LOCK_NB) != 0) {
        ::close(nDescriptor);
        return false;
    }
    m_nDescriptor = nDescriptor;
    m_nLength = static_cast<quint64>(status.st_size);
    return true;
}

void CExclusiveFile::Close()
{
    if (m_nDescriptor < 0)
        return;
    // Closing the last descriptor of the file releases the lock.
    ::close(m_nDescriptor);
    m_nDescriptor = -1;
    m_nLength = 0;
}

qint64 CExclusiveFile::Read(char* pBuffer, qint64 nSize)
{
    if (m_nDescriptor < 0)
        return -1;
    for (;;) {
        const ssize_t nRead = ::read(m_nDescriptor, pBuffer, static_cast<size_t>(nSize));
        if (nRead >= 0)
            return nRead;
        if (errno != EINTR)
            return -1;
    }
}
