#pragma once

#include "fw/Types.h"

class CView;

// What the pages do as they open.

// The page's child frame fills the main window's client area.
void MaximizePageFrame(CView* pView);

// A page without a player: the status panes follow the page that is now
// shown, and the status text is emptied.
void ShowPageWithEmptyStatus();

// The page's status text goes to the main window's status pane.
void ShowPageStatus(const CString& strText);
