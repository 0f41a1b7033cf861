#pragma once

#include "fw/Types.h"

// Window message numbers the framework delivers. Private messages of the
// program start at WM_USER.
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_HOTKEY = 0x0312;
// Mouse messages, as a notification-area icon reports them.
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_MBUTTONUP = 0x0208;
inline constexpr UINT WM_USER = 0x0400;
// Messages of the framework's own, above every private message.
inline constexpr UINT WM_APP = 0x8000;
// The desktop answered or changed a hot key of the window (where the
// desktop decides the triggers): wParam = the hot key id, lParam = a
// HotKeyBindingChange.
inline constexpr UINT WM_HOTKEY_BINDING = WM_APP + 1;
