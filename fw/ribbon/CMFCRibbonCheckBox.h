#pragma once

#include "fw/ribbon/CMFCRibbonBaseElement.h"

// A ribbon check box: its check mark shows what update-UI says; a click
// sends its command and leaves the mark to the next update.
class CMFCRibbonCheckBox : public CMFCRibbonBaseElement
{
public:
    CMFCRibbonCheckBox(UINT nID, const CString& strText);

protected:
    QWidget* CreateWidget(QWidget* pParent) override;
    void UpdateWidget() override;
};
