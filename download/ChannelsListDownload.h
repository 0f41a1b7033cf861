#pragma once

#include "fw/Types.h"

class QWidget;

// What the download dialog says while the channel list comes.
inline constexpr char kLoadingChannelsListMessage[] = "Loading Channels List Now...";

// The text of the box that tells the user the channel list could not be
// brought: it ends with our support address and a full stop.
CString ChannelsListFailureMessage();

// The download part of "Refresh Channels List": brings the station list from
// strUrl to strStationListPath inside the download dialog, owned by pOwner.
// On failure it tells the user in a box owned by pOwner, waits for the user
// to close it and returns 0; the file at strStationListPath then is as it was.
BOOL DownloadChannelsList(QWidget* pOwner, const CString& strUrl, const CString& strStationListPath);
