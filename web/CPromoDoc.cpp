#include "web/CPromoDoc.h"

void CPromoDoc::SetTitle(const CString&)
{
    CDocument::SetTitle(CString());
}
