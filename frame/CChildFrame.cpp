#include "frame/CChildFrame.h"

BOOL CChildFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CMDIChildWndEx::PreCreateWindow(cs))
        return FALSE;
    cs.style &= ~(WS_SYSMENU | WS_MINIMIZEBOX);
    return TRUE;
}
