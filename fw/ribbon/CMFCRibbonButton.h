#pragma once

#include "fw/ribbon/CMFCRibbonBaseElement.h"

#include <QIcon>
#include <QList>

class QMenu;

// One item of a ribbon button's drop-down menu: its command and its label
// (an & marks the mnemonic).
struct CMFCRibbonMenuItem {
    UINT nID;
    CString strText;
};

// A ribbon button: large (its 32 x 32 image above the label) when it has a
// large image, otherwise small (16 x 16 image beside the label), stacked
// three to a column. Images are indexes into the category's strips, or an
// icon of its own. A button may drop down a menu; without the default
// command a click only opens the menu.
class CMFCRibbonButton : public CMFCRibbonBaseElement
{
public:
    // Descriptions show in tooltips only, so bAlwaysShowDescription has no
    // effect.
    CMFCRibbonButton(UINT nID, const CString& strText, int nSmallImageIndex = -1, int nLargeImageIndex = -1,
                     BOOL bAlwaysShowDescription = FALSE);
    CMFCRibbonButton(UINT nID, const CString& strText, const QIcon& icon, BOOL bAlwaysShowDescription = FALSE);
    ~CMFCRibbonButton() override;

    int GetImageIndex(BOOL bLargeImage) const { return bLargeImage ? m_nLargeImageIndex : m_nSmallImageIndex; }
    // The button's own icon, or its image from the category's strips.
    QIcon GetIcon(BOOL bLargeIcon) const;
    BOOL IsLargeButton() const;

    void SetMenu(const QList<CMFCRibbonMenuItem>& items, BOOL bIsDefaultCommand = FALSE, BOOL bRightAlign = FALSE);
    BOOL HasMenu() const { return m_menuItems.isEmpty() ? FALSE : TRUE; }
    BOOL IsDefaultCommand() const { return m_bIsDefaultCommand ? TRUE : FALSE; }
    BOOL IsMenuRightAlign() const { return m_bRightAlignMenu ? TRUE : FALSE; }
    const QList<CMFCRibbonMenuItem>& GetMenuItems() const { return m_menuItems; }

    // Opens the drop-down menu under the button (it does not block); each
    // item's state comes from update-UI first. Returns the menu shown.
    QMenu* ShowMenu();

    void OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) override;
    void OnClick() override;

protected:
    QWidget* CreateWidget(QWidget* pParent) override;
    void UpdateWidget() override;

private:
    QMenu* BuildMenu(QWidget* pParent);
    void UpdateMenuItems(QMenu* pMenu);

    int m_nSmallImageIndex;
    int m_nLargeImageIndex;
    QIcon m_icon;
    QList<CMFCRibbonMenuItem> m_menuItems;
    bool m_bIsDefaultCommand = true;
    bool m_bRightAlignMenu = false;
    QPointer<QMenu> m_pMenu;
};
