#pragma once

#include "fw/ribbon/CMFCRibbonBar.h"

// The ribbon of the main frame. Every category activation, whether the
// category is already active or not, is reported to the main window before
// the ribbon switches, so that the frame opens that category's page. The
// ribbon offers no right-click menu.
class CCustomMFCRibbonBar : public CMFCRibbonBar
{
    Q_OBJECT

public:
    using CMFCRibbonBar::CMFCRibbonBar;

    BOOL SetActiveCategory(CMFCRibbonCategory* pCategory, BOOL bForceRestore = FALSE) override;
    BOOL OnShowRibbonContextMenu(CWnd* pWnd, int x, int y, CMFCRibbonBaseElement* pHit) override;
};
