#pragma once

#include "fw/Types.h"

class CFrameWnd;

// The main window's placement, kept in the application's workspace store
// beside the look.
namespace WindowPlacement {

// Puts the saved normal rectangle on the frame, hidden whatever was saved
// (a restore never shows the window). On X11 it never maximises either. A
// Wayland client cannot place its window: there only the size and the
// maximised state come back, and the desktop places the window. TRUE when a
// placement was saved and applied.
BOOL Reload(CFrameWnd* pFrame);
// Keeps the frame's normal rectangle and show state in the workspace store.
// Under Wayland the window's position is not known (it reads as 0,0): the
// position stored before, if any, is kept.
void Store(CFrameWnd* pFrame);

}
