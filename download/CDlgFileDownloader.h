#pragma once

#include "download/CFileDownloadManager.h"
#include "fw/CDialog.h"

#include <QIcon>
#include <functional>

// The small modal dialog that a download runs in: it shows m_strMessage,
// starts the download a second after it opens and closes itself when the
// download ends: with OK when the file arrived. The transfer runs beside the
// dialog's loop, so the dialog and the window under it go on painting and
// answering the desktop. Once the download has begun the user cannot call
// it off; the program can, by closing the dialog as it ends.
class CDlgFileDownloader : public CDialog
{
    Q_OBJECT

public:
    static constexpr UINT IDD = 310;
    static constexpr int IDC_MESSAGE = 1001;
    static constexpr UINT kDownloadTimerId = 1;
    static constexpr UINT kDownloadDelayMs = 1000;

    explicit CDlgFileDownloader(QWidget* pParent = nullptr);
    ~CDlgFileDownloader() override;

    // Downloads strUrl and puts the bytes at strDestination. Non-zero on
    // success; 0 when the download failed or was given up, m_acceptDownload
    // refused what came, the copy failed, or the user closed the dialog
    // before the download began. On failure strDestination is as it was.
    BOOL DownloadFile(CString strUrl, CString strDestination);

    QIcon m_hIcon;
    CFileDownloadManager m_manager;
    CString m_strUrl;
    CString m_strTempFile;
    CString m_strMessage;
    // What a download must be to replace the destination, asked with the
    // downloaded file; empty: anything the server sent.
    std::function<bool(const CString& strDownloadedFile)> m_acceptDownload;
    // Set when the program closed the dialog during the transfer, which then
    // stopped: a failure that no one needs to be told of.
    bool m_bGivenUp = false;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnTimer(UINT nIDEvent) override;
    void OnCancel() override;
    void closeEvent(QCloseEvent* pEvent) override;

private:
    void BuildTemplate();
    void OnDownloadEnded(BOOL bDownloaded);
};
