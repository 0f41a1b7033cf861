#pragma once

// Asks a window to close the way a window manager does: the
// WM_DELETE_WINDOW protocol message. True once the display has taken the
// request; false when the display is not reached or the window is gone.
bool SendCloseRequest(unsigned long nWindow);
