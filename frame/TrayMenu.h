#pragma once

#include "fw/Types.h"

class CWinAppEx;
class CWnd;
class QMenu;

// The tray menu, menu 311: registered with the application's context menu
// manager under "System Tray Menu", shown through it (so the user's
// customisation applies), its commands sent to the frame's command route.
namespace TrayMenu {

// Registers the menu and reads the user's layout of it. "Customize Menu..."
// cannot be hidden: it is the only way back to a hidden item.
void Register(CWinAppEx& app);
// Makes "Show" the default item, drawn bold.
void MakeShowDefault();
// Opens the menu at the point, its right edge there; null when the menu is
// not registered.
QMenu* Show(CWnd* pOwner, int x, int y);
// The modeless customisation dialog for the menu; it deletes itself when
// closed.
void Customize(CWnd* pFrame);

}
