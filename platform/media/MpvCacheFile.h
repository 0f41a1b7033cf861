#pragma once

#include <QString>
#include <QtGlobal>
#include <deque>
#include <sys/types.h>

struct stat;

// The file that libmpv's demuxer cache writes to disk. libmpv only appends
// to it, and reads back only the packets that its index still holds: what
// the index has dropped is never read again, yet its space stays taken for
// as long as the stream plays. This finds the file among the process's open
// files and gives that space back to the file system (a hole punched into
// the file, whose length stays), so that the file takes no more room than
// the buffer it holds.
//
// Stream times map to places in the file through the cache's own reports
// (its newest time and the file's length, read together): all that was
// written before a report whose newest time is older than the index's
// oldest has been dropped. Where the stream's clock goes back, that no
// longer holds, and nothing more of that file is given back.
class CMpvCacheFile
{
public:
    // strFolder is where libmpv makes its cache files.
    explicit CMpvCacheFile(QString strFolder);
    ~CMpvCacheFile();
    CMpvCacheFile(const CMpvCacheFile&) = delete;
    CMpvCacheFile& operator=(const CMpvCacheFile&) = delete;

    // The cache reported its newest time and the length of its file.
    void Note(double dNewest, qint64 nFileBytes);
    // The cache's index holds nothing older than dOldest (stream time):
    // gives back the space of what was written well before it.
    void ReleaseOlderThan(double dOldest);
    // The cache has closed; the next report is of another file.
    void Reset();
    // The bytes of the current file given back so far.
    qint64 ReleasedBytes() const { return m_nReleasedBytes; }

private:
    struct Report {
        double dNewest;
        qint64 nFileBytes;
    };
    struct Identity {
        int fd = -1;
        dev_t device = 0;
        ino_t inode = 0;
    };

    // A new descriptor of the cache file, opened anew so that libmpv's own
    // file position is left alone; -1 when it is not (or no longer) open.
    int Open(struct stat* pStatus);
    int Find(struct stat* pStatus);
    void Forget();
    void StopReleasing(const QString& strWhy);

    QString m_strFolder;
    std::deque<Report> m_reports;
    Identity m_file;
    // The file's length as last reported.
    qint64 m_nFileBytes = 0;
    qint64 m_nReleasedBytes = 0;
    // Nothing more of the current file is given back.
    bool m_bStopped = false;
    // The folder's file system cannot punch holes: no file there ever will.
    bool m_bUnsupported = false;
};
