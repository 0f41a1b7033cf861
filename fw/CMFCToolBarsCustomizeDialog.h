#pragma once

#include "fw/Types.h"

#include <QDialog>

class CContextMenuManager;
class CWinAppEx;
class QComboBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// The framework's customisation dialog, for the context menus: pick a menu
// by its name, then reorder its items, hide them and bring them back, or
// reset it. Every change is used and stored at once, so the next time the
// menu shows it has the new layout. The dialog is modeless and deletes
// itself when it closes.
class CMFCToolBarsCustomizeDialog : public QDialog
{
    Q_OBJECT

public:
    CMFCToolBarsCustomizeDialog(QWidget* pParentFrame, CContextMenuManager& manager, CWinAppEx& app);

    // Shows the dialog without waiting for it.
    BOOL Create();

    QComboBox* GetMenuList() const { return m_pMenus; }
    QListWidget* GetItemList() const { return m_pItems; }

private:
    UINT CurrentMenuId() const;
    void FillItems();
    void MoveCurrentItem(int nStep);
    void ApplyLayout();
    void SaveLayouts();
    void ResetCurrentMenu();
    void UpdateButtons();

    CContextMenuManager& m_manager;
    CWinAppEx& m_app;
    QComboBox* m_pMenus = nullptr;
    QListWidget* m_pItems = nullptr;
    QPushButton* m_pMoveUp = nullptr;
    QPushButton* m_pMoveDown = nullptr;
    bool m_bFilling = false;
};
