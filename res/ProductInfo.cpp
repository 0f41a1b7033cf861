#include "res/ProductInfo.h"

#include "BuildConfig.h"

namespace ProductInfo {

QString MakerDomain()
{
    return QString::fromLatin1(BuildConfig::kMakerDomain);
}

QString ApplicationTitle()
{
    return QStringLiteral("Kestrel Radio by ") + MakerDomain();
}

QString ApplicationId()
{
    return QString::fromLatin1(BuildConfig::kApplicationId);
}

QString SupportAddress()
{
    return QStringLiteral("support@") + MakerDomain();
}

QString WebSiteName()
{
    return QStringLiteral("www.") + MakerDomain();
}

}
