#include "download/CFileDownloadManager.h"

#include "download/DownloadLog.h"
#include "fw/CWinApp.h"
#include "platform/download/AbandonedFiles.h"
#include "platform/signals/TerminationSignalWatcher.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <QThread>

namespace {
// Temporary files of ours are named KRF followed by a unique part.
const char kTempFileTemplate[] = "KRFXXXXXX.tmp";
const char kTempFileWildcard[] = "KRF??????.tmp";

std::optional<std::chrono::milliseconds>& DeadlineOverride()
{
    static std::optional<std::chrono::milliseconds> deadline;
    return deadline;
}

UrlDownloadOptions DownloadOptions(const std::shared_ptr<std::atomic<bool>>& pGiveUp)
{
    UrlDownloadOptions options;
    options.overallTimeout = DeadlineOverride().value_or(CFileDownloadManager::kDownloadDeadline);
    // A program asked to end does not wait for the server: the download
    // stops, and the program ends right after.
    options.cancelRequested = [pGiveUp] { return *pGiveUp || CTerminationSignalWatcher::IsTerminationRequested(); };
    return options;
}
}

CFileDownloadManager::CFileDownloadManager()
    : m_pGiveUp(std::make_shared<std::atomic<bool>>(false))
    , m_pDownloader(CreateUrlDownloader(DownloadOptions(m_pGiveUp)))
{
}

CFileDownloadManager::CFileDownloadManager(std::unique_ptr<IUrlDownloader> pDownloader)
    : m_pGiveUp(std::make_shared<std::atomic<bool>>(false))
    , m_pDownloader(std::move(pDownloader))
{
}

CFileDownloadManager::~CFileDownloadManager()
{
    if (!m_pTransferThread)
        return;
    // No one takes the result any more.
    GiveUp();
    m_pTransferThread->wait();
    if (m_transferResult.Succeeded())
        QFile::remove(m_strTempFile);
}

BOOL CFileDownloadManager::Download()
{
    BeginDownload();
    return EndDownload(Transfer(AvailableDownloader(), m_strUrl, m_strTempFile));
}

void CFileDownloadManager::StartDownload(QObject* pContext, std::function<void(BOOL)> onEnded)
{
    BeginDownload();
    *m_pGiveUp = false;
    m_pTransferThread.reset(
        QThread::create([this, pDownloader = AvailableDownloader(), strUrl = m_strUrl, strTempFile = m_strTempFile] {
            m_transferResult = Transfer(pDownloader, strUrl, strTempFile);
        }));
    // Queued to this thread, once the transfer's thread has written the
    // result. The flag lives as long as this manager: a report that comes
    // after the manager has gone is dropped.
    const std::weak_ptr<std::atomic<bool>> pManagerAlive = m_pGiveUp;
    const auto report = [this, pManagerAlive, onEnded = std::move(onEnded)] {
        if (pManagerAlive.expired())
            return;
        // The thread says it has finished just before it ends.
        m_pTransferThread->wait();
        m_pTransferThread.reset();
        onEnded(EndDownload(m_transferResult));
    };
    QObject::connect(m_pTransferThread.get(), &QThread::finished, pContext, report);
    m_pTransferThread->start();
}

bool CFileDownloadManager::IsDownloading() const
{
    return m_pTransferThread != nullptr;
}

void CFileDownloadManager::GiveUp()
{
    *m_pGiveUp = true;
}

void CFileDownloadManager::BeginDownload()
{
    m_pWaitCursor = std::make_unique<CWaitCursor>();
    MakeTempFileName();
}

IUrlDownloader* CFileDownloadManager::AvailableDownloader() const
{
    // Asked on the caller's thread: the first question sets the library up.
    return m_pDownloader && m_pDownloader->IsAvailable() ? m_pDownloader.get() : nullptr;
}

UrlDownloadResult CFileDownloadManager::Transfer(IUrlDownloader* pDownloader, const QString& strUrl,
                                                 const QString& strTempFile)
{
    if (pDownloader == nullptr)
        return UrlDownloadResult{UrlDownloadStatus::TransferFailed,
                                 QStringLiteral("no URL download service is available")};
    return pDownloader->Download(strUrl, strTempFile);
}

BOOL CFileDownloadManager::EndDownload(const UrlDownloadResult& result)
{
    m_pWaitCursor.reset();
    if (result.Succeeded())
        return TRUE;
    qCWarning(lcDownload).noquote() << QStringLiteral("Download of %1 failed: %2").arg(m_strUrl, result.strDetail);
    m_strError.clear();
    return FALSE;
}

void CFileDownloadManager::MakeTempFileName()
{
    m_strTempFile.clear();
    // Without a temporary folder the name would land wherever the program
    // happens to run.
    const QString strFolder = QDir::tempPath();
    if (strFolder.isEmpty())
        return;
    // The system picks a unique name by creating the file; only the name is
    // kept, and the file goes with the QTemporaryFile at the end of this scope.
    QTemporaryFile reservation(QDir(strFolder).filePath(QLatin1String(kTempFileTemplate)));
    if (reservation.open())
        m_strTempFile = reservation.fileName();
}

void CFileDownloadManager::RemoveStaleTempFiles()
{
    const QString strFolder = QDir::tempPath();
    if (!strFolder.isEmpty())
        RemoveAbandonedFiles(strFolder, QLatin1String(kTempFileWildcard));
}

CDownloadDeadlineOverride::CDownloadDeadlineOverride(std::chrono::milliseconds deadline)
    : m_previous(std::exchange(DeadlineOverride(), deadline))
{
}

CDownloadDeadlineOverride::~CDownloadDeadlineOverride()
{
    DeadlineOverride() = m_previous;
}
