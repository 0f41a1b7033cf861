#include "fw/CContextMenuManager.h"

#include "fw/CCmdUI.h"
#include "fw/CWinApp.h"
#include "fw/CWnd.h"
#include "fw/WindowMessages.h"

#include <QMenu>

namespace {
const char kStateEntryFormat[] = "ContextMenu-%1";
const QLatin1Char kStateSeparator(',');
}

CContextMenuManager::~CContextMenuManager()
{
    delete m_pShownMenu.data();
}

BOOL CContextMenuManager::AddMenu(const CString& strName, UINT uiMenuResId, const QList<CContextMenuItem>& items)
{
    if (m_menus.contains(uiMenuResId))
        return FALSE;
    Menu menu{strName, items, {}, 0, {}};
    menu.layout = FullLayout(menu);
    m_menus.insert(uiMenuResId, menu);
    return TRUE;
}

QList<UINT> CContextMenuManager::GetMenuIds() const
{
    return m_menus.keys();
}

CString CContextMenuManager::GetMenuName(UINT uiMenuResId) const
{
    return m_menus.value(uiMenuResId).strName;
}

QList<CContextMenuItem> CContextMenuManager::GetOriginalItems(UINT uiMenuResId) const
{
    return m_menus.value(uiMenuResId).items;
}

QList<CContextMenuItem> CContextMenuManager::GetMenuItems(UINT uiMenuResId) const
{
    const Menu menu = m_menus.value(uiMenuResId);
    QList<CContextMenuItem> items;
    for (int nPosition : menu.layout)
        items.append(menu.items.at(nPosition));
    return items;
}

QList<int> CContextMenuManager::GetLayout(UINT uiMenuResId) const
{
    return m_menus.value(uiMenuResId).layout;
}

QList<int> CContextMenuManager::FullLayout(const Menu& menu)
{
    QList<int> layout;
    for (int i = 0; i < menu.items.size(); ++i)
        layout.append(i);
    return layout;
}

void CContextMenuManager::SetLayout(UINT uiMenuResId, const QList<int>& layout)
{
    const auto found = m_menus.find(uiMenuResId);
    if (found == m_menus.end())
        return;
    Menu& menu = *found;
    QList<int> cleaned;
    for (int nPosition : layout) {
        if (nPosition >= 0 && nPosition < menu.items.size() && !cleaned.contains(nPosition))
            cleaned.append(nPosition);
    }
    for (int i = 0; i < menu.items.size(); ++i) {
        if (menu.keptShown.contains(menu.items.at(i).nID) && !cleaned.contains(i))
            cleaned.append(i);
    }
    menu.layout = cleaned;
}

void CContextMenuManager::ResetMenu(UINT uiMenuResId)
{
    const auto found = m_menus.find(uiMenuResId);
    if (found != m_menus.end())
        found->layout = FullLayout(*found);
}

void CContextMenuManager::KeepItemShown(UINT uiMenuResId, UINT nID)
{
    const auto found = m_menus.find(uiMenuResId);
    if (found == m_menus.end())
        return;
    found->keptShown.insert(nID);
    SetLayout(uiMenuResId, found->layout);
}

BOOL CContextMenuManager::IsItemKeptShown(UINT uiMenuResId, UINT nID) const
{
    return m_menus.value(uiMenuResId).keptShown.contains(nID) ? TRUE : FALSE;
}

BOOL CContextMenuManager::SetDefaultItem(UINT uiMenuResId, UINT nID)
{
    const auto found = m_menus.find(uiMenuResId);
    if (found == m_menus.end() || nID == 0)
        return FALSE;
    const bool bHasItem = std::any_of(found->items.cbegin(), found->items.cend(),
                                      [nID](const CContextMenuItem& item) { return item.nID == nID; });
    if (!bHasItem)
        return FALSE;
    found->nDefaultID = nID;
    return TRUE;
}

QMenu* CContextMenuManager::ShowPopupMenu(UINT uiMenuResId, int x, int y, CWnd* pWndOwner, BOOL bRightAlign)
{
    if (!m_menus.contains(uiMenuResId))
        return nullptr;
    delete m_pShownMenu.data();
    auto* pMenu = new QMenu;
    pMenu->setObjectName(QStringLiteral("contextMenu%1").arg(uiMenuResId));
    const UINT nDefaultID = m_menus.value(uiMenuResId).nDefaultID;
    const QPointer<CWnd> pOwner(pWndOwner);
    for (const CContextMenuItem& item : GetMenuItems(uiMenuResId)) {
        if (item.nID == 0) {
            pMenu->addSeparator();
            continue;
        }
        QAction* pAction = pMenu->addAction(item.strText);
        pAction->setData(item.nID);
        CCmdUI state(item.nID);
        state.DoUpdate(pWndOwner);
        pAction->setEnabled(state.IsEnabled());
        pAction->setCheckable(state.GetCheck() != 0);
        pAction->setChecked(state.GetCheck() != 0);
        if (item.nID == nDefaultID)
            pMenu->setDefaultAction(pAction);
        const UINT nID = item.nID;
        QObject::connect(pAction, &QAction::triggered, pMenu, [pOwner, nID] {
            if (pOwner != nullptr && IsWindow(pOwner.data()))
                pOwner->PostMessage(WM_COMMAND, nID);
        });
    }
    // Gone once it closes, whether an item was chosen or not.
    QObject::connect(pMenu, &QMenu::aboutToHide, pMenu, &QObject::deleteLater);
    QPoint position(x, y);
    if (bRightAlign)
        position.rx() -= pMenu->sizeHint().width();
    m_pShownMenu = pMenu;
    pMenu->popup(position);
    return pMenu;
}

CString CContextMenuManager::StateEntry(UINT uiMenuResId)
{
    return QString::fromLatin1(kStateEntryFormat).arg(uiMenuResId);
}

void CContextMenuManager::LoadState(CWinAppEx& app)
{
    for (auto menu = m_menus.begin(); menu != m_menus.end(); ++menu) {
        const CString strState = app.GetString(StateEntry(menu.key()));
        if (strState.isEmpty())
            continue;
        QList<int> layout;
        for (const QString& strPosition : strState.split(kStateSeparator, Qt::SkipEmptyParts)) {
            bool bOk = false;
            const int nPosition = strPosition.trimmed().toInt(&bOk);
            if (bOk)
                layout.append(nPosition);
        }
        SetLayout(menu.key(), layout);
    }
}

bool CContextMenuManager::SaveState(CWinAppEx& app) const
{
    bool bSaved = true;
    for (auto menu = m_menus.cbegin(); menu != m_menus.cend(); ++menu) {
        QStringList positions;
        for (int nPosition : menu->layout)
            positions.append(QString::number(nPosition));
        bSaved = app.WriteString(StateEntry(menu.key()), positions.join(kStateSeparator)) && bSaved;
    }
    return bSaved;
}
