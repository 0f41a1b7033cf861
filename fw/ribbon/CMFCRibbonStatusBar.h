#pragma once

#include "fw/CWnd.h"

#include <QList>

class CMFCRibbonBaseElement;
class QHBoxLayout;

// The status bar at the foot of a frame: ordinary elements from the left,
// extended elements in a group at the right. A right-click offers every
// element by its label, to show or hide it.
class CMFCRibbonStatusBar : public CWnd
{
    Q_OBJECT

public:
    CMFCRibbonStatusBar();
    ~CMFCRibbonStatusBar() override;

    // Docks the bar at the bottom of pParentWnd.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);

    // The bar owns the element from now on.
    void AddElement(CMFCRibbonBaseElement* pElement, const CString& strLabel, BOOL bIsVisible = TRUE);
    void AddExtendedElement(CMFCRibbonBaseElement* pElement, const CString& strLabel, BOOL bIsVisible = TRUE);
    void RemoveAll();

    int GetCount() const { return static_cast<int>(m_elements.size()); }
    CMFCRibbonBaseElement* GetElement(int nIndex) const;
    int GetExCount() const { return static_cast<int>(m_exElements.size()); }
    CMFCRibbonBaseElement* GetExElement(int nIndex) const;
    CString GetLabel(const CMFCRibbonBaseElement* pElement) const;

    // Shows or hides an element, as the right-click menu does.
    void ShowElement(CMFCRibbonBaseElement* pElement, BOOL bShow);

protected:
    void contextMenuEvent(QContextMenuEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    struct Entry {
        CMFCRibbonBaseElement* pElement;
        CString strLabel;
    };
    void Insert(QList<Entry>& entries, QHBoxLayout* pLayout, CMFCRibbonBaseElement* pElement, const CString& strLabel,
                BOOL bIsVisible);

    QList<Entry> m_elements;
    QList<Entry> m_exElements;
    QHBoxLayout* m_pLeftGroup;
    QHBoxLayout* m_pRightGroup;
};
