#include "fw/ribbon/CMFCRibbonPanel.h"

#include "fw/ribbon/CMFCRibbonBar.h"
#include "fw/ribbon/CMFCRibbonBaseElement.h"
#include "fw/ribbon/CMFCRibbonButton.h"
#include "fw/ribbon/CMFCRibbonCategory.h"
#include "fw/ribbon/RibbonPanelWidget.h"

#include <QBoxLayout>

CMFCRibbonPanel::CMFCRibbonPanel(CMFCRibbonCategory* pParent, const CString& strName, const QIcon& icon)
    : m_pParent(pParent)
    , m_strName(strName)
    , m_icon(icon)
    , m_pWidget(new RibbonPanelWidget(strName, pParent->GetWidget()))
{
    if (auto* pLayout = qobject_cast<QBoxLayout*>(pParent->GetWidget()->layout()))
        pLayout->insertWidget(pLayout->count() - 1, m_pWidget);
}

CMFCRibbonPanel::~CMFCRibbonPanel()
{
    qDeleteAll(m_elements);
    delete m_pWidget.data();
}

void CMFCRibbonPanel::Add(CMFCRibbonBaseElement* pElem)
{
    if (pElem == nullptr || m_elements.contains(pElem))
        return;
    m_elements.append(pElem);
    pElem->m_pParentPanel = this;
    QWidget* pWidget = pElem->EnsureWidget(m_pWidget);
    // Its look depends on where it is, so the element redraws now that it
    // knows its panel.
    pElem->UpdateWidget();
    const auto* pButton = dynamic_cast<const CMFCRibbonButton*>(pElem);
    m_pWidget->AddElementWidget(pWidget, pButton != nullptr && pButton->IsLargeButton());
    if (CMFCRibbonBar* pBar = m_pParent->GetParentRibbonBar())
        pBar->WatchElementWidget(pWidget);
}

CMFCRibbonBaseElement* CMFCRibbonPanel::GetElement(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_elements.size() ? m_elements.at(nIndex) : nullptr;
}

CMFCRibbonBaseElement* CMFCRibbonPanel::FindByID(UINT nID) const
{
    for (CMFCRibbonBaseElement* pElement : m_elements) {
        if (pElement->GetID() == nID)
            return pElement;
    }
    return nullptr;
}

QWidget* CMFCRibbonPanel::GetWidget() const
{
    return m_pWidget.data();
}
