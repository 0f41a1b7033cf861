#pragma once

#include "download/CFileDownloadManager.h"
#include "fw/CDialog.h"

#include <QIcon>
#include <functional>

// The small modal dialog that a download runs in: it shows m_strMessage,
// starts the download a second after it opens, so that it is drawn first,
// and closes itself when the download ends: with OK when the file arrived.
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
    // success; 0 when the download failed, m_acceptDownload refused what
    // came, the copy failed, or the user closed the dialog before the
    // download began. On failure strDestination is as it was.
    BOOL DownloadFile(CString strUrl, CString strDestination);

    QIcon m_hIcon;
    CFileDownloadManager m_manager;
    CString m_strUrl;
    CString m_strTempFile;
    CString m_strMessage;
    // What a download must be to replace the destination, asked with the
    // downloaded file; empty: anything the server sent.
    std::function<bool(const CString& strDownloadedFile)> m_acceptDownload;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnTimer(UINT nIDEvent) override;

private:
    void BuildTemplate();
};
