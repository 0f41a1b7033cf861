#include "frame/TrayMouseRules.h"

#include "fw/WindowMessages.h"

namespace TrayMouseRules {

UINT MouseMessageOf(CTrayIcon::Gesture gesture)
{
    switch (gesture) {
    case CTrayIcon::Gesture::Click:
        return WM_LBUTTONUP;
    case CTrayIcon::Gesture::DoubleClick:
        return WM_LBUTTONDBLCLK;
    case CTrayIcon::Gesture::ContextClick:
        return WM_RBUTTONUP;
    case CTrayIcon::Gesture::MiddleClick:
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
