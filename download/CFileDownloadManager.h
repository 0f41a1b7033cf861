#pragma once

#include "fw/Types.h"

#include <chrono>
#include <memory>
#include <optional>

class CUrlDownloader;

// Fetches one URL into a fresh temporary file, always from the server. One
// call does the whole transfer on the calling thread, with the wait cursor
// shown. The file a successful download leaves behind is the caller's.
class CFileDownloadManager
{
public:
    // The longest one download may take in all, however slowly the server
    // sends: the program waits for it with its window unable to respond.
    static constexpr std::chrono::seconds kDownloadDeadline{60};

    // Downloads through the platform's URL download service, within the
    // deadline, and gives up as soon as the program is asked to end.
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

    // Removes temporary files that earlier runs left behind when they were
    // killed mid-download; only one running program may do this.
    static void RemoveStaleTempFiles();

    CString m_strUrl;
    CString m_strTempFile;
    // Empty after a failure: the reason goes to the diagnostic log instead.
    CString m_strError;

private:
    std::unique_ptr<CUrlDownloader> m_pDownloader;
};

// While it lives, managers made with the platform's service give a download
// this long instead of kDownloadDeadline; tests use it.
class CDownloadDeadlineOverride
{
public:
    explicit CDownloadDeadlineOverride(std::chrono::milliseconds deadline);
    ~CDownloadDeadlineOverride();
    CDownloadDeadlineOverride(const CDownloadDeadlineOverride&) = delete;
    CDownloadDeadlineOverride& operator=(const CDownloadDeadlineOverride&) = delete;

private:
    std::optional<std::chrono::milliseconds> m_previous;
};
