#include "fw/ribbon/CMFCRibbonStatusBarPane.h"

#include "fw/ribbon/RibbonStatusPaneWidget.h"

CMFCRibbonStatusBarPane::CMFCRibbonStatusBarPane(UINT nCmdID, const CString& strText, BOOL bIsStatic, const QIcon& icon,
                                                 const CString& strAlmostLargeText)
    : m_bIsStatic(bIsStatic != FALSE)
    , m_icon(icon)
    , m_strAlmostLargeText(strAlmostLargeText)
{
    SetID(nCmdID);
    SetText(strText);
}

void CMFCRibbonStatusBarPane::SetText(const CString& strText)
{
    SetLabel(strText, CString());
}

void CMFCRibbonStatusBarPane::SetAlmostLargeText(const CString& strAlmostLargeText)
{
    m_strAlmostLargeText = strAlmostLargeText;
    UpdateWidget();
}

CString CMFCRibbonStatusBarPane::GetToolTipText() const
{
    return GetDescription();
}

CString CMFCRibbonStatusBarPane::GetDescription() const
{
    return GetOwnDescription();
}

void CMFCRibbonStatusBarPane::UpdateWidget()
{
    CMFCRibbonBaseElement::UpdateWidget();
    if (QWidget* pWidget = GetWidget())
        pWidget->updateGeometry();
}

void CMFCRibbonStatusBarPane::Redraw()
{
    if (QWidget* pWidget = GetWidget())
        pWidget->update();
}

QWidget* CMFCRibbonStatusBarPane::CreateWidget(QWidget* pParent)
{
    return new RibbonStatusPaneWidget(this, pParent);
}
