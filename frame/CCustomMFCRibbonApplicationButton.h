#pragma once

#include "fw/ribbon/CMFCRibbonApplicationButton.h"

// The round application button: a skin switch. A press or a double-click
// asks the main window for the next application look; it opens no menu.
class CCustomMFCRibbonApplicationButton : public CMFCRibbonApplicationButton
{
public:
    void OnLButtonDown(CPoint point) override;
    void OnLButtonDblClk(CPoint point) override;
};
