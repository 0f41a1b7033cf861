#pragma once

#include "fw/Types.h"

class CFrameWnd;

// The main window's placement, kept in the application's workspace store
// beside the look.
namespace WindowPlacement {

// Puts the saved normal rectangle on the frame, hidden whatever was saved
// (a restore never shows or maximises the window). TRUE when a placement
// was saved and applied.
BOOL Reload(CFrameWnd* pFrame);
// Keeps the frame's normal rectangle and show state in the workspace store.
void Store(CFrameWnd* pFrame);

}
