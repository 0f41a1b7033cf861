#pragma once

#include "fw/CDocument.h"

// The hot key settings page's document.
// It holds no data and keeps an empty title, so the main window's caption
// stays the application title.
class CRadioSettingsDoc : public CDocument
{
public:
    void SetTitle(const CString& strTitle) override;
};
