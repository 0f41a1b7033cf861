#include "web/CHardwareStoreView.h"

#include "download/ServerAddresses.h"
#include "res/PrivateMessages.h"

namespace {
// The name under which the first opening is remembered, as stored profiles
// hold it.
constexpr char kFirstRunFlag[] = "CHardwareStoreView";
}

CHardwareStoreView::CHardwareStoreView()
    : CSiteHomeView({kFirstRunFlag, WM_RELOAD_MUSIC_PAGE, &ServerAddresses::MusicSiteUrl})
{
}
