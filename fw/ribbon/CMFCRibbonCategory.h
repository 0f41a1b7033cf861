#pragma once

#include "fw/CMFCToolBarImages.h"
#include "fw/Types.h"

#include <QIcon>
#include <QList>
#include <QPointer>

class CMFCRibbonBar;
class CMFCRibbonBaseElement;
class CMFCRibbonPanel;
class QWidget;

// One tab of the ribbon: its panels side by side, and the image strips its
// buttons take their small and large images from.
class CMFCRibbonCategory
{
public:
    ~CMFCRibbonCategory();
    CMFCRibbonCategory(const CMFCRibbonCategory&) = delete;
    CMFCRibbonCategory& operator=(const CMFCRibbonCategory&) = delete;

    CMFCRibbonPanel* AddPanel(const CString& strPanelName, const QIcon& icon = QIcon());
    int GetPanelCount() const { return static_cast<int>(m_panels.size()); }
    CMFCRibbonPanel* GetPanel(int nIndex) const;

    CString GetName() const { return m_strName; }
    const CMFCToolBarImages& GetSmallImages() const { return m_smallImages; }
    const CMFCToolBarImages& GetLargeImages() const { return m_largeImages; }
    CMFCRibbonBar* GetParentRibbonBar() const { return m_pParentRibbonBar; }

    // Every element of every panel, in order.
    QList<CMFCRibbonBaseElement*> GetElements() const;
    CMFCRibbonBaseElement* FindByID(UINT nID) const;

    // The widget that shows the category's panels.
    QWidget* GetWidget() const;

private:
    friend class CMFCRibbonBar;
    CMFCRibbonCategory(CMFCRibbonBar* pParentRibbonBar, const CString& strName, const CMFCToolBarImages& smallImages,
                       const CMFCToolBarImages& largeImages);

    CMFCRibbonBar* m_pParentRibbonBar;
    CString m_strName;
    CMFCToolBarImages m_smallImages;
    CMFCToolBarImages m_largeImages;
    QList<CMFCRibbonPanel*> m_panels;
    QPointer<QWidget> m_pWidget;
};
