#pragma once

#include "fw/CDocument.h"

// The music page's document.
// It holds no data and keeps an empty title, so the main window's caption
// stays the application title.
class CHardwareStoreDoc : public CDocument
{
public:
    void SetTitle(const CString& strTitle) override;
};
