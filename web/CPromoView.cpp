#include "web/CPromoView.h"

#include "download/ServerAddresses.h"
#include "res/PrivateMessages.h"

namespace {
// The name under which the first opening is remembered, as stored profiles
// hold it.
constexpr char kFirstRunFlag[] = "CPromoView";
}

CPromoView::CPromoView()
    : CSiteHomeView({kFirstRunFlag, WM_RELOAD_PROMO_PAGE, &ServerAddresses::PromoSiteUrl})
{
}
