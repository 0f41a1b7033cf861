#pragma once

#include "fw/Types.h"

class CView;

// The first time ever that a page is shown, the main window is sized once
// so that the page, the ribbon and the status bar all fit: the page's child
// frame's size, plus the status bar and the ribbon, which draws the
// window's caption. A "Settings" flag named after the page's view class
// (for example "CKestrelRadioView") records that it was done.
void SizeMainWindowOnFirstRun(CView* pView, const CString& strFlagName);
