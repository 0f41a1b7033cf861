#pragma once

#include "fw/Types.h"
#include "platform/tray/TrayIcon.h"

// What the mouse on the notification-area icon does: the right button
// opens the tray menu at the cursor, a double-click brings the window back,
// anything else does nothing.
namespace TrayMouseRules {

enum class Action { None, ShowMenu, Restore };

// The mouse message that a gesture on the icon stands for.
UINT MouseMessageOf(ITrayIcon::Gesture gesture);
Action ActionOf(UINT nMouseMessage);

}
