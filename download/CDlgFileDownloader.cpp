#include "download/CDlgFileDownloader.h"

#include "download/HandwritingFont.h"
#include "fw/CWinApp.h"
#include "fw/MessageBox.h"
#include "fw/PlainText.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QSaveFile>

namespace {
const char kTemplateCaption[] = "Downloading File...";
const char kTemplateMessage[] = "Static";
const int kFontPointSize = 12;
// The message's place in the template, in dialog units; the dialog is the
// message and its margin.
const QRect kMessageRect(7, 7, 93, 8);
const qint64 kCopyChunkBytes = 64 * 1024;

// Replaces strDestination with a copy of strSource in one step: a reader
// sees the old file or the new one, and a failed copy keeps the old one.
bool ReplaceWithCopy(const QString& strSource, const QString& strDestination)
{
    QFile source(strSource);
    QSaveFile destination(strDestination);
    if (!source.open(QIODevice::ReadOnly) || !destination.open(QIODevice::WriteOnly))
        return false;
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(kCopyChunkBytes);
        if (chunk.isEmpty() || destination.write(chunk) != chunk.size()) {
            destination.cancelWriting();
            return false;
        }
    }
    // The last bytes wait in a buffer until the commit, which would not
    // notice a full disk refusing them and put a short file in place: they
    // are handed to the system here, where a refusal shows.
    if (!destination.flush() || destination.size() != source.size()) {
        destination.cancelWriting();
        return false;
    }
    return destination.commit();
}
}

CDlgFileDownloader::CDlgFileDownloader(QWidget* pParent)
    : CDialog(IDD, pParent)
{
    BuildTemplate();
}

CDlgFileDownloader::~CDlgFileDownloader() = default;

void CDlgFileDownloader::BuildTemplate()
{
    setWindowTitle(QLatin1String(kTemplateCaption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(HandwritingFont(kFontPointSize));

    auto* pMessage = new QLabel(QLatin1String(kTemplateMessage), this);
    ShowAsPlainText(pMessage);
    pMessage->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    SetDlgItem(IDC_MESSAGE, pMessage);

    // The message keeps its place and the dialog grows to fit it, so no
    // face, however wide, cuts the message short.
    QRect place = kMessageRect;
    MapDialogRect(place);
    pMessage->setMinimumSize(place.size());
    auto* pLayout = new QHBoxLayout(this);
    pLayout->setContentsMargins(place.x(), place.y(), place.x(), place.y());
    pLayout->addWidget(pMessage);
    pLayout->setSizeConstraint(QLayout::SetFixedSize);
}

BOOL CDlgFileDownloader::DownloadFile(CString strUrl, CString strDestination)
{
    m_strUrl = strUrl;
    if (DoModal() != IDOK)
        return FALSE;
    const bool bAcceptable = !m_acceptDownload || m_acceptDownload(m_strTempFile);
    const BOOL bCopied = bAcceptable && ReplaceWithCopy(m_strTempFile, strDestination) ? TRUE : FALSE;
    QFile::remove(m_strTempFile);
    return bCopied;
}

void CDlgFileDownloader::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_MESSAGE, m_strMessage);
}

BOOL CDlgFileDownloader::OnInitDialog()
{
    CDialog::OnInitDialog();
    // Icon 128 is the application's own icon.
    m_hIcon = QApplication::windowIcon();
    SetIcon(m_hIcon, TRUE);
    SetTimer(kDownloadTimerId, kDownloadDelayMs);
    if (CWinApp* pApp = AfxGetApp())
        setWindowTitle(pApp->m_pszAppName);
    return TRUE;
}

void CDlgFileDownloader::OnTimer(UINT nIDEvent)
{
    KillTimer(kDownloadTimerId);
    m_manager.m_strUrl = m_strUrl;
    m_manager.StartDownload(this, [this](BOOL bDownloaded) { OnDownloadEnded(bDownloaded); });
    CDialog::OnTimer(nIDEvent);
}

void CDlgFileDownloader::OnDownloadEnded(BOOL bDownloaded)
{
    if (bDownloaded) {
        m_strTempFile = m_manager.m_strTempFile;
        EndDialog(IDOK);
    } else {
        EndDialog(IDCANCEL);
    }
}

void CDlgFileDownloader::OnCancel()
{
    // Escape and the close box end the dialog only before the download
    // begins; after that it ends with the download.
    if (!m_manager.IsDownloading())
        CDialog::OnCancel();
}

void CDlgFileDownloader::closeEvent(QCloseEvent* pEvent)
{
    // The close box comes from the desktop; the program closes open dialogs
    // itself when it ends, and then does not wait for the server.
    if (m_manager.IsDownloading() && !pEvent->spontaneous()) {
        m_bGivenUp = true;
        m_manager.GiveUp();
        pEvent->ignore();
        return;
    }
    CDialog::closeEvent(pEvent);
}
