#pragma once

#include "fw/WindowMessages.h"

// The program's private window messages.
inline constexpr UINT WM_UPDATE_STATUS_PANES = WM_USER + 1;
inline constexpr UINT WM_TRAY_NOTIFY = WM_USER + 2;
inline constexpr UINT WM_CATEGORY_CHANGED = WM_USER + 3;
inline constexpr UINT WM_FORWARD_ARGUMENT = WM_USER + 4;
inline constexpr UINT WM_NEXT_APP_LOOK = WM_USER + 5;
inline constexpr UINT WM_RELOAD_PROMO_PAGE = WM_USER + 6;
inline constexpr UINT WM_RELOAD_MUSIC_PAGE = WM_USER + 7;
inline constexpr UINT WM_RELOAD_CHANNELS = WM_USER + 8;
inline constexpr UINT WM_OPEN_PAGE = WM_USER + 9;
