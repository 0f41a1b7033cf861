#include "app/CKestrelRadioDoc.h"

void CKestrelRadioDoc::SetTitle(const CString&)
{
    CDocument::SetTitle(CString());
}
