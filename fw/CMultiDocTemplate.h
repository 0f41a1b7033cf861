#pragma once

#include "fw/CDocTemplate.h"

// A template whose documents can be open side by side, each in its own MDI
// child frame. New documents are named after the template's document name
// and a running number (KestrelRadio1, KestrelRadio2, ...), unless the
// document chooses otherwise in SetTitle.
class CMultiDocTemplate : public CDocTemplate
{
public:
    using CDocTemplate::CDocTemplate;

    CDocument* OpenDocumentFile(const CString* lpszPathName, BOOL bMakeVisible = TRUE) override;
    void SetDefaultTitle(CDocument* pDocument) override;

private:
    UINT m_nUntitledCount = 0;
};
