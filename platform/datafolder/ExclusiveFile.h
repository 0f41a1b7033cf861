#pragma once

#include <QString>
#include <QtGlobal>

// A regular file opened for reading only, that no other writer changes while
// it is open. On Linux the file carries an exclusive advisory lock (flock)
// for as long as it is open: programs that take the lock too (our own
// download among them) wait their turn, but a program that ignores advisory
// locks can still write to it.
class CExclusiveFile
{
public:
    CExclusiveFile() = default;
    ~CExclusiveFile();
    CExclusiveFile(const CExclusiveFile&) = delete;
    CExclusiveFile& operator=(const CExclusiveFile&) = delete;

    // False when the file is missing, not a regular file, unreadable, or
    // held by someone else.
    bool Open(const QString& strPath);
    void Close();

    // The length in bytes, taken when the file was opened.
    quint64 GetLength() const { return m_nLength; }

    // Reads up to nSize bytes: the count read, 0 at the end, -1 on an error.
    qint64 Read(char* pBuffer, qint64 nSize);

private:
    int m_nDescriptor = -1;
    quint64 m_nLength = 0;
};
