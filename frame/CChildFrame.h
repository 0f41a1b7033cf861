#pragma once

#include "fw/CMDIChildWndEx.h"

// The frame of every page. Pages are replaced only through the ribbon's
// categories, so a page's frame has no system menu (and with it no close
// button) and no minimise box.
class CChildFrame : public CMDIChildWndEx
{
    Q_OBJECT

public:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
};
