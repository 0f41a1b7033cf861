#pragma once

#include "fw/Types.h"

class CWnd;

// Modifiers of a system-wide hot key.
inline constexpr UINT MOD_ALT = 0x0001;
inline constexpr UINT MOD_CONTROL = 0x0002;
inline constexpr UINT MOD_SHIFT = 0x0004;
inline constexpr UINT MOD_WIN = 0x0008;

// System-wide hot keys: while pWnd holds the combination of modifiers and
// virtual key under nId, pressing it anywhere on the desktop posts WM_HOTKEY
// to pWnd with wParam = nId and lParam = the modifiers in the low word and
// the key in the high word. Registering fails when the combination is held
// already, by any window of this program or by another program, or when the
// desktop offers no system-wide keys.
BOOL RegisterHotKey(CWnd* pWnd, int nId, UINT fsModifiers, UINT vk);
// Fails when pWnd holds nothing under nId.
BOOL UnregisterHotKey(CWnd* pWnd, int nId);
// A destroyed window's hot keys end with it.
void ReleaseHotKeys(CWnd* pWnd);
