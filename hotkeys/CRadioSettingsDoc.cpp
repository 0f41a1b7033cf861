#include "hotkeys/CRadioSettingsDoc.h"

void CRadioSettingsDoc::SetTitle(const CString&)
{
    CDocument::SetTitle(CString());
}
