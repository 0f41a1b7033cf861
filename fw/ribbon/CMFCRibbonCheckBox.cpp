#include "fw/ribbon/CMFCRibbonCheckBox.h"

#include <QCheckBox>

CMFCRibbonCheckBox::CMFCRibbonCheckBox(UINT nID, const CString& strText)
{
    SetID(nID);
    SetText(strText);
}

QWidget* CMFCRibbonCheckBox::CreateWidget(QWidget* pParent)
{
    auto* pCheckBox = new QCheckBox(pParent);
    pCheckBox->setObjectName(QStringLiteral("ribbonCheckBox"));
    pCheckBox->setFocusPolicy(Qt::NoFocus);
    QObject::connect(pCheckBox, &QCheckBox::clicked, pCheckBox, [this, pCheckBox] {
        // The mark is update-UI's to set, not the click's.
        pCheckBox->setChecked(IsChecked() != FALSE);
        OnClick();
    });
    return pCheckBox;
}

void CMFCRibbonCheckBox::UpdateWidget()
{
    CMFCRibbonBaseElement::UpdateWidget();
    auto* pCheckBox = qobject_cast<QCheckBox*>(GetWidget());
    if (pCheckBox == nullptr)
        return;
    pCheckBox->setText(GetText());
    pCheckBox->setTristate(GetCheck() == 2);
    pCheckBox->setCheckState(GetCheck() == 2 ? Qt::PartiallyChecked : GetCheck() != 0 ? Qt::Checked : Qt::Unchecked);
}
