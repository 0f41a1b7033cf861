#pragma once

#include "fw/Types.h"

#include <QIcon>
#include <QList>
#include <QPointer>

class CMFCRibbonBaseElement;
class CMFCRibbonCategory;
class QWidget;
class RibbonPanelWidget;

// A group of elements in a category with its name at the foot. Large
// buttons take a column each; small elements stack three to a column.
class CMFCRibbonPanel
{
public:
    ~CMFCRibbonPanel();
    CMFCRibbonPanel(const CMFCRibbonPanel&) = delete;
    CMFCRibbonPanel& operator=(const CMFCRibbonPanel&) = delete;

    // The panel owns the element from now on.
    virtual void Add(CMFCRibbonBaseElement* pElem);
    int GetCount() const { return static_cast<int>(m_elements.size()); }
    CMFCRibbonBaseElement* GetElement(int nIndex) const;
    CMFCRibbonBaseElement* FindByID(UINT nID) const;

    CString GetName() const { return m_strName; }
    // The icon the panel shows when it is collapsed.
    QIcon GetIcon() const { return m_icon; }
    CMFCRibbonCategory* GetParentCategory() const { return m_pParent; }
    QWidget* GetWidget() const;

private:
    friend class CMFCRibbonCategory;
    CMFCRibbonPanel(CMFCRibbonCategory* pParent, const CString& strName, const QIcon& icon);

    CMFCRibbonCategory* m_pParent;
    CString m_strName;
    QIcon m_icon;
    QList<CMFCRibbonBaseElement*> m_elements;
    QPointer<RibbonPanelWidget> m_pWidget;
};
