#include "download/ChannelsListDownload.h"

#include "catalogue/StationListCheck.h"
#include "download/CDlgFileDownloader.h"
#include "fw/MessageBox.h"
#include "platform/signals/TerminationSignalWatcher.h"
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
    // An answer that is no station list (an empty body, an error page in
    // another encoding) would wipe the list: it counts as a failure.
    dialog.m_acceptDownload = &HoldsStationList;
    const BOOL bDownloaded = dialog.DownloadFile(strUrl, strStationListPath);
    // A download given up because the program is ending is no failure to
    // tell anyone about.
    if (!bDownloaded && !dialog.m_bGivenUp && !CTerminationSignalWatcher::IsTerminationRequested())
        AfxMessageBox(ChannelsListFailureMessage(), MB_OK | MB_ICONINFORMATION, pOwner);
    return bDownloaded;
}
