#pragma once

#include <QString>

// Key combinations in the form the desktop's shortcuts portal takes them:
// modifiers and a key symbol's name joined by "+", as "CTRL+ALT+N".
namespace PortalTrigger {
// The trigger for a virtual key with the global hot keys' modifier bits;
// empty for a key without a symbol.
QString FromVirtualKey(unsigned nModifiers, unsigned nVirtualKey);
// Whether a trigger as the desktop describes it ("Ctrl+Alt+N", "Meta+F5")
// names the same keys as a trigger of ours: the same modifiers in any order
// and spelling, the same key whatever its case.
bool NamesSameKeys(const QString& strDescription, const QString& strTrigger);
}
