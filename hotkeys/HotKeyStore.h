#pragma once

#include "fw/Types.h"

class CWnd;

// A hot key as the profile holds it: the virtual-key code (0: none assigned),
// the modifiers as they are registered (MOD_*), and the same modifiers as a
// hot key control shows them (HOTKEYF_*).
struct StoredHotKey {
    WORD wKey = 0;
    WORD wStoredModifiers = 0;
    WORD wControlModifiers = 0;
};

// Converts modifiers between the stored form and the control's form; the
// same mapping serves both ways (Shift and Alt trade places), and bits above
// the four modifiers are dropped.
WORD ConvertHotKeyModifiers(WORD wModifiers);

// The action's hot key from the profile section "Settings"; missing values
// read as 0.
StoredHotKey LoadHotKey(CString strName);
// Writes the key and then the modifiers (given in the control's form); a
// failed key write leaves the modifiers alone. False when a write failed.
bool StoreHotKey(CString strName, WORD wKey, WORD wControlModifiers);

// Registers the action's stored hot key on pWnd under nId, in place of
// whatever pWnd held under that id. A key that cannot be had stays
// unregistered, silently.
void RegisterStoredHotKey(CString strName, int nId, CWnd* pWnd);
// All four actions' hot keys, on pWnd.
void RegisterHotKeys(CWnd* pWnd);
// Tells the desktop what the four hot keys do, for where the desktop shows
// them to the user; before the first registration.
void DescribeHotKeyActions();
