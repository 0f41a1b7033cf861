#include "download/CFileDownloadManager.h"

#include "download/DownloadLog.h"
#include "fw/CWinApp.h"
#include "platform/download/UrlDownloader.h"

#include <QDir>
#include <QTemporaryFile>

namespace {
// Temporary files of ours are named KRF followed by a unique part.
const char kTempFileTemplate[] = "KRFXXXXXX.tmp";
}

CFileDownloadManager::CFileDownloadManager()
    : CFileDownloadManager(CUrlDownloader::Create())
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
