#include "download/ChannelsListDownload.h"

#include "download/CDlgFileDownloader.h"
#include "fw/MessageBox.h"
#include "res/ProductInfo.h"

namespace {
const char kFailureMessageStart[] =
    "Failed to Update Load Channels List.\n\nPlease make sure you Computer is connected to Internet.\n\n"
    "In case the problem persists please do write to us at ";
const char kFailureMessageEnd[] = ".";
}

CString ChannelsListFailureMessage()
{
    return QLatin1String(kFailureMessageStart) + ProductInfo::SupportAddress() + QLatin1String(kFailureMessageEnd);
}

BOOL DownloadChannelsList(QWidget* pOwner, const CString& strUrl, const CString& strStationListPath)
{
    CDlgFileDownloader dialog(pOwner);
    dialog.m_strMessage = QLatin1String(kLoadingChannelsListMessage);
    const BOOL bDownloaded = dialog.DownloadFile(strUrl, strStationListPath);
    if (!bDownloaded)
        AfxMessageBox(ChannelsListFailureMessage(), MB_OK | MB_ICONINFORMATION, pOwner);
    return bDownloaded;
}
