#pragma once

#include "fw/Types.h"

#include <memory>

class CUrlDownloader;

// Fetches one URL into a fresh temporary file, always from the server. One
// call does the whole transfer on the calling thread, with the wait cursor
// shown. The file a successful download leaves behind is the caller's.
class CFileDownloadManager
{
public:
    // Downloads through the platform's URL download service.
    CFileDownloadManager();
    explicit CFileDownloadManager(std::unique_ptr<CUrlDownloader> pDownloader);
    CFileDownloadManager(const CFileDownloadManager&) = delete;
    CFileDownloadManager& operator=(const CFileDownloadManager&) = delete;
    virtual ~CFileDownloadManager();

    // Non-zero when m_strUrl's bytes now lie in m_strTempFile. A failed
    // download leaves no file behind.
    BOOL Download();
    // Sets m_strTempFile to a fresh, unique temporary path where no file
    // exists; empty when the temporary folder cannot be written.
    void MakeTempFileName();

    CString m_strUrl;
    CString m_strTempFile;
    // Empty after a failure: the reason goes to the diagnostic log instead.
    CString m_strError;

private:
    std::unique_ptr<CUrlDownloader> m_pDownloader;
};
