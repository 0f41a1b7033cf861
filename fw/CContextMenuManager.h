#pragma once

#include "fw/Types.h"

#include <QList>
#include <QMap>
#include <QMenu>
#include <QPointer>
#include <QSet>

class CWinAppEx;
class CWnd;

// One item of a popup menu: its command and its label (an & marks the
// mnemonic). A separator has the command 0.
struct CContextMenuItem {
    UINT nID;
    CString strText;
};

// The application's context menus, each registered under a name with its
// resource id and items. A menu shows at a point with every item's state
// asked of its owner's command route first; a chosen item sends its command
// to the owner, so it travels the owner's routing like any other command.
// The user may reorder and hide a menu's items: that layout is kept in the
// workspace store and used every time the menu shows.
class CContextMenuManager
{
public:
    CContextMenuManager() = default;
    ~CContextMenuManager();
    CContextMenuManager(const CContextMenuManager&) = delete;
    CContextMenuManager& operator=(const CContextMenuManager&) = delete;

    BOOL AddMenu(const CString& strName, UINT uiMenuResId, const QList<CContextMenuItem>& items);
    QList<UINT> GetMenuIds() const;
    CString GetMenuName(UINT uiMenuResId) const;

    // The items as registered, and the items the menu shows now.
    QList<CContextMenuItem> GetOriginalItems(UINT uiMenuResId) const;
    QList<CContextMenuItem> GetMenuItems(UINT uiMenuResId) const;
    // The shown items as positions among the registered ones, in order.
    QList<int> GetLayout(UINT uiMenuResId) const;
    // Shows the registered items at these positions in this order; a
    // position out of range or given twice is left out, and an item that
    // must stay is added at the end when it is missing.
    void SetLayout(UINT uiMenuResId, const QList<int>& layout);
    void ResetMenu(UINT uiMenuResId);
    // An item that no layout may hide (the way back to the customisation).
    void KeepItemShown(UINT uiMenuResId, UINT nID);
    BOOL IsItemKeptShown(UINT uiMenuResId, UINT nID) const;

    // The item drawn bold, which stands for a double-click on the menu's
    // owner; FALSE when the menu holds no such command.
    BOOL SetDefaultItem(UINT uiMenuResId, UINT nID);

    // Shows the menu with its top-left corner at the point on the screen,
    // or its top-right corner when bRightAlign is set. It does not block;
    // the menu shown is returned (null when there is no such menu).
    QMenu* ShowPopupMenu(UINT uiMenuResId, int x, int y, CWnd* pWndOwner, BOOL bRightAlign = FALSE);
    QMenu* GetShownMenu() const { return m_pShownMenu.data(); }

    // The layouts in the application's workspace store; false when one
    // could not be written.
    void LoadState(CWinAppEx& app);
    [[nodiscard]] bool SaveState(CWinAppEx& app) const;

private:
    struct Menu {
        CString strName;
        QList<CContextMenuItem> items;
        QList<int> layout;
        UINT nDefaultID = 0;
        QSet<UINT> keptShown;
    };
    static QList<int> FullLayout(const Menu& menu);
    static CString StateEntry(UINT uiMenuResId);

    QMap<UINT, Menu> m_menus;
    QPointer<QMenu> m_pShownMenu;
};
