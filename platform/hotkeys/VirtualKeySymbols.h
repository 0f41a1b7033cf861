#pragma once

#include <QString>
#include <QtGlobal>

// The X key symbol that a virtual-key code names: letters, digits, function
// keys, navigation and editing keys, the numeric keypad, punctuation (as on a
// US keyboard) and the media keys. 0 for a code without one.
quint32 KeySymFromVirtualKey(unsigned nVirtualKey);
// The name of that symbol ("A", "F5", "Return", "XF86AudioNext"); empty for
// a code without one.
QString KeySymNameFromVirtualKey(unsigned nVirtualKey);
