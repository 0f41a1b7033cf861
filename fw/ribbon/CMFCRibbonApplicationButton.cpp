#include "fw/ribbon/CMFCRibbonApplicationButton.h"

#include "fw/ribbon/RibbonApplicationButtonWidget.h"

CMFCRibbonApplicationButton::CMFCRibbonApplicationButton()
    : CMFCRibbonButton(0, CString())
{
}

void CMFCRibbonApplicationButton::SetImage(const QPixmap& image)
{
    m_image = image;
    UpdateWidget();
}

void CMFCRibbonApplicationButton::OnLButtonDown(CPoint)
{
}

void CMFCRibbonApplicationButton::OnLButtonDblClk(CPoint)
{
}

QWidget* CMFCRibbonApplicationButton::CreateWidget(QWidget* pParent)
{
    return new RibbonApplicationButtonWidget(this, pParent);
}

void CMFCRibbonApplicationButton::UpdateWidget()
{
    if (QWidget* pWidget = GetWidget())
        pWidget->update();
}
