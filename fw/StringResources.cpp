#include "fw/StringResources.h"

#include <QStringList>

namespace {
StringResourceLoader& Loader()
{
    static StringResourceLoader loader;
    return loader;
}
}

void AfxSetStringResourceLoader(StringResourceLoader loader)
{
    Loader() = std::move(loader);
}

CString AfxLoadString(UINT nID)
{
    return Loader() ? Loader()(nID) : CString();
}

CString AfxExtractSubString(const CString& strFull, int nIndex)
{
    const QStringList parts = strFull.split(QLatin1Char('\n'));
    return nIndex >= 0 && nIndex < parts.size() ? parts.at(nIndex) : CString();
}
