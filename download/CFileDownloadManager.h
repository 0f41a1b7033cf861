#pragma once

#include "fw/Types.h"
#include "platform/download/UrlDownloader.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class CWaitCursor;
class QObject;
class QThread;

// Fetches one URL into a fresh temporary file, always from the server, with
// the wait cursor shown. Download does the whole transfer on the calling
// thread; StartDownload runs it on a thread of its own and reports at the
// end, so that the window goes on answering however slowly the server
// sends. The file a successful download leaves behind is the caller's.
class CFileDownloadManager
{
public:
    // The longest one download may take in all, however slowly the server
    // sends.
    static constexpr std::chrono::seconds kDownloadDeadline{60};

    // Downloads through the platform's URL download service, within the
    // deadline, and gives up as soon as the program is asked to end or
    // GiveUp is called.
    CFileDownloadManager();
    // Downloads through pDownloader, which brings its own limits: GiveUp
    // does not reach it.
    explicit CFileDownloadManager(std::unique_ptr<IUrlDownloader> pDownloader);
    CFileDownloadManager(const CFileDownloadManager&) = delete;
    CFileDownloadManager& operator=(const CFileDownloadManager&) = delete;
    // A download still running is given up, waited for, and its file removed.
    virtual ~CFileDownloadManager();

    // Non-zero when m_strUrl's bytes now lie in m_strTempFile. A failed
    // download leaves no file behind.
    BOOL Download();
    // Starts what Download does and returns at once. Once the transfer has
    // ended, onEnded gets Download's result on this thread, unless pContext
    // has gone by then. m_strUrl and m_strTempFile are not to be changed
    // until then.
    void StartDownload(QObject* pContext, std::function<void(BOOL)> onEnded);
    // Whether a download started with StartDownload has not reported yet.
    bool IsDownloading() const;
    // Asks the running transfer to stop soon; it then ends as a failure.
    void GiveUp();

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
    // Shows the wait cursor and reserves the temporary name.
    void BeginDownload();
    // The download service when it can fetch anything at all, else null.
    IUrlDownloader* AvailableDownloader() const;
    // The transfer alone, on whichever thread runs it.
    static UrlDownloadResult Transfer(IUrlDownloader* pDownloader, const QString& strUrl, const QString& strTempFile);
    // Hides the wait cursor and turns the result into Download's.
    BOOL EndDownload(const UrlDownloadResult& result);

    // Set by GiveUp, read by the transfer's thread.
    std::shared_ptr<std::atomic<bool>> m_pGiveUp;
    std::unique_ptr<IUrlDownloader> m_pDownloader;
    std::unique_ptr<CWaitCursor> m_pWaitCursor;
    std::unique_ptr<QThread> m_pTransferThread;
    UrlDownloadResult m_transferResult;
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
