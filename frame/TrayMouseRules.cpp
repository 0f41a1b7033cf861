#include "frame/TrayMouseRules.h"

#include "fw/WindowMessages.h"

namespace TrayMouseRules {

UINT MouseMessageOf(ITrayIcon::Gesture gesture)
{
    switch (gesture) {
    case ITrayIcon::Gesture::Click:
        return WM_LBUTTONUP;
    case ITrayIcon::Gesture::DoubleClick:
        return WM_LBUTTONDBLCLK;
    case ITrayIcon::Gesture::ContextClick:
        return WM_RBUTTONUP;
    case ITrayIcon::Gesture::MiddleClick:
        return WM_MBUTTONUP;
    }
    return 0;
}

Action ActionOf(UINT nMouseMessage)
{
    switch (nMouseMessage) {
    case WM_RBUTTONUP:
        return Action::ShowMenu;
    case WM_LBUTTONDBLCLK:
        return Action::Restore;
    default:
        return Action::None;
    }
}

}
