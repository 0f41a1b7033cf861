#include "frame/TrayMenu.h"

#include "fw/CContextMenuManager.h"
#include "fw/CMFCToolBarsCustomizeDialog.h"
#include "fw/CWinApp.h"
#include "fw/CWnd.h"
#include "res/MainFrameResources.h"
#include "res/Resource.h"
#include "res/StringTable.h"

namespace TrayMenu {

namespace {
CWinAppEx* AppEx()
{
    return dynamic_cast<CWinAppEx*>(AfxGetApp());
}

CContextMenuManager* Manager()
{
    CWinAppEx* pApp = AppEx();
    return pApp != nullptr ? pApp->GetContextMenuManager() : nullptr;
}
}

void Register(CWinAppEx& app)
{
    app.InitContextMenuManager();
    CContextMenuManager* pManager = app.GetContextMenuManager();
    pManager->AddMenu(LoadResourceString(IDS_SYSTEM_TRAY_MENU), IDR_SYSTEM_TRAY_MENU,
                      MainFrameResources::SystemTrayMenu());
    pManager->KeepItemShown(IDR_SYSTEM_TRAY_MENU, ID_TRAY_CUSTOMIZE_MENU);
    pManager->LoadState(app);
}

void MakeShowDefault()
{
    if (CContextMenuManager* pManager = Manager())
        pManager->SetDefaultItem(IDR_SYSTEM_TRAY_MENU, ID_TRAY_SHOW);
}

QMenu* Show(CWnd* pOwner, int x, int y)
{
    CContextMenuManager* pManager = Manager();
    return pManager != nullptr ? pManager->ShowPopupMenu(IDR_SYSTEM_TRAY_MENU, x, y, pOwner, TRUE) : nullptr;
}

void Customize(CWnd* pFrame)
{
    CWinAppEx* pApp = AppEx();
    if (pApp == nullptr || pApp->GetContextMenuManager() == nullptr)
        return;
    auto* pDialog = new CMFCToolBarsCustomizeDialog(pFrame, *pApp->GetContextMenuManager(), *pApp);
    pDialog->Create();
}

}
