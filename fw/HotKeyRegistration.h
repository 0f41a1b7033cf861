#pragma once

#include "fw/Types.h"
#include "platform/hotkeys/GlobalHotKeys.h"

#include <QList>

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

// Where the desktop decides the triggers (a shortcuts portal), a successful
// RegisterHotKey is a request: the desktop's answer, and any later change
// the user makes on the desktop, come to the window as WM_HOTKEY_BINDING.
using HotKeyBinding = IGlobalHotKeys::Binding;
using HotKeyBindingState = IGlobalHotKeys::BindingState;
enum HotKeyBindingChange : LPARAM {
    HOTKEY_BINDING_ANSWERED = 0,
    HOTKEY_BINDING_CHANGED_ON_DESKTOP = 1,
};
BOOL DesktopDecidesHotKeys();
// How the desktop holds pWnd's hot key nId; Refused when pWnd holds none.
HotKeyBinding GetHotKeyBinding(CWnd* pWnd, int nId);
// Whether the desktop can show its own settings of the program's hot keys,
// and showing them.
BOOL CanConfigureHotKeysOnDesktop();
void ConfigureHotKeysOnDesktop();
// What each id stands for, in the words the desktop shows the user, under a
// name that stays the same from one version to the next.
using HotKeyDescription = IGlobalHotKeys::Action;
void DescribeHotKeys(const QList<HotKeyDescription>& descriptions);
