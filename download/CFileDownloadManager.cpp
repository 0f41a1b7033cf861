#include "download/CFileDownloadManager.h"

#include "download/DownloadLog.h"
#include "fw/CWinApp.h"
#include "platform/download/AbandonedFiles.h"
#include "platform/download/UrlDownloader.h"
#include "platform/signals/TerminationSignalWatcher.h"

#include <QDir>
#include <QTemporaryFile>

namespace {
// Temporary files of ours are named KRF followed by a unique part.
const char kTempFileTemplate[] = "KRFXXXXXX.tmp";
const char kTempFileWildcard[] = "KRF??????.tmp";

std::optional<std::chrono::milliseconds>& DeadlineOverride()
{
    static std::optional<std::chrono::milliseconds> deadline;
    return deadline;
}

UrlDownloadOptions DownloadOptions()
{
    UrlDownloadOptions options;
    options.overallTimeout = DeadlineOverride().value_or(CFileDownloadManager::kDownloadDeadline);
    // A termination signal cannot be served while the download holds the
    // event loop: the download stops, and the program ends right after.
    options.cancelRequested = &CTerminationSignalWatcher::IsTerminationRequested;
    return options;
}
}

CFileDownloadManager::CFileDownloadManager()
    : CFileDownloadManager(CUrlDownloader::Create(DownloadOptions()))
{
}

CFileDownloadManager::CFileDownloadManager(std::unique_ptr<CUrlDownloader> pDownloader)
    : m_pDownloader(std::move(pDownloader))
{
}

CFileDownloadManager::~CFileDownloadManager() = default;

BOOL CFileDownloadManager::Download()
{
    CWaitCursor waitCursor;
    MakeTempFileName();
    UrlDownloadResult result;
    if (!m_pDownloader || !m_pDownloader->IsAvailable())
        result.strDetail = QStringLiteral("no URL download service is available");
    else
        result = m_pDownloader->Download(m_strUrl, m_strTempFile);
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
