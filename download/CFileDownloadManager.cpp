#include "download/CFileDownloadManager.h"

#include "fw/CWinApp.h"
#include "platform/download/UrlDownloader.h"

#include <QDebug>
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
    qWarning().noquote() << QStringLiteral("Download of %1 failed: %2").arg(m_strUrl, result.strDetail);
    m_strError.clear();
    return FALSE;
}

void CFileDownloadManager::MakeTempFileName()
{
    // The system picks a unique name by creating the file; only the name is
    // kept, and the file goes with the QTemporaryFile at the end of this scope.
    QTemporaryFile reservation(QDir(QDir::tempPath()).filePath(QLatin1String(kTempFileTemplate)));
    m_strTempFile = reservation.open() ? reservation.fileName() : CString();
}
