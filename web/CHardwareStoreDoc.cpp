#include "web/CHardwareStoreDoc.h"

void CHardwareStoreDoc::SetTitle(const CString&)
{
    CDocument::SetTitle(CString());
}
