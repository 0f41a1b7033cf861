#include "fw/ribbon/CMFCRibbonCategory.h"

#include "fw/ribbon/CMFCRibbonBaseElement.h"
#include "fw/ribbon/CMFCRibbonPanel.h"

#include <QHBoxLayout>
#include <QWidget>

CMFCRibbonCategory::CMFCRibbonCategory(CMFCRibbonBar* pParentRibbonBar, const CString& strName,
                                       const CMFCToolBarImages& smallImages, const CMFCToolBarImages& largeImages)
    : m_pParentRibbonBar(pParentRibbonBar)
    , m_strName(strName)
    , m_smallImages(smallImages)
    , m_largeImages(largeImages)
    , m_pWidget(new QWidget)
{
    m_pWidget->setObjectName(QStringLiteral("ribbonCategory"));
    auto* pLayout = new QHBoxLayout(m_pWidget);
    pLayout->setContentsMargins(4, 3, 4, 3);
    pLayout->setSpacing(3);
    pLayout->addStretch(1);
}

CMFCRibbonCategory::~CMFCRibbonCategory()
{
    qDeleteAll(m_panels);
    delete m_pWidget.data();
}

CMFCRibbonPanel* CMFCRibbonCategory::AddPanel(const CString& strPanelName, const QIcon& icon)
{
    auto* pPanel = new CMFCRibbonPanel(this, strPanelName, icon);
    m_panels.append(pPanel);
    return pPanel;
}

CMFCRibbonPanel* CMFCRibbonCategory::GetPanel(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_panels.size() ? m_panels.at(nIndex) : nullptr;
}

QList<CMFCRibbonBaseElement*> CMFCRibbonCategory::GetElements() const
{
    QList<CMFCRibbonBaseElement*> elements;
    for (const CMFCRibbonPanel* pPanel : m_panels) {
        for (int i = 0; i < pPanel->GetCount(); ++i)
            elements.append(pPanel->GetElement(i));
    }
    return elements;
}

CMFCRibbonBaseElement* CMFCRibbonCategory::FindByID(UINT nID) const
{
    for (const CMFCRibbonPanel* pPanel : m_panels) {
        if (CMFCRibbonBaseElement* pElement = pPanel->FindByID(nID))
            return pElement;
    }
    return nullptr;
}

QWidget* CMFCRibbonCategory::GetWidget() const
{
    return m_pWidget.data();
}
