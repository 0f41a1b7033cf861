#pragma once

#include "fw/Types.h"

#include <Qt>

// Virtual-key codes: the numbers by which the program's keyboard
// notifications and hot keys name keys. Letters and digits are their
// upper-case ASCII codes.
inline constexpr UINT VK_BACK = 0x08;
inline constexpr UINT VK_TAB = 0x09;
inline constexpr UINT VK_RETURN = 0x0D;
inline constexpr UINT VK_PAUSE = 0x13;
inline constexpr UINT VK_ESCAPE = 0x1B;
inline constexpr UINT VK_SPACE = 0x20;
inline constexpr UINT VK_PRIOR = 0x21;
inline constexpr UINT VK_NEXT = 0x22;
inline constexpr UINT VK_END = 0x23;
inline constexpr UINT VK_HOME = 0x24;
inline constexpr UINT VK_LEFT = 0x25;
inline constexpr UINT VK_UP = 0x26;
inline constexpr UINT VK_RIGHT = 0x27;
inline constexpr UINT VK_DOWN = 0x28;
inline constexpr UINT VK_SNAPSHOT = 0x2C;
inline constexpr UINT VK_INSERT = 0x2D;
inline constexpr UINT VK_DELETE = 0x2E;
inline constexpr UINT VK_APPS = 0x5D;
inline constexpr UINT VK_NUMPAD0 = 0x60;
inline constexpr UINT VK_NUMPAD9 = 0x69;
inline constexpr UINT VK_MULTIPLY = 0x6A;
inline constexpr UINT VK_ADD = 0x6B;
inline constexpr UINT VK_SUBTRACT = 0x6D;
inline constexpr UINT VK_DECIMAL = 0x6E;
inline constexpr UINT VK_DIVIDE = 0x6F;
inline constexpr UINT VK_F1 = 0x70;
inline constexpr UINT VK_F5 = 0x74;
inline constexpr UINT VK_F8 = 0x77;
inline constexpr UINT VK_F9 = 0x78;
inline constexpr UINT VK_F24 = 0x87;
inline constexpr UINT VK_VOLUME_MUTE = 0xAD;
inline constexpr UINT VK_VOLUME_DOWN = 0xAE;
inline constexpr UINT VK_VOLUME_UP = 0xAF;
inline constexpr UINT VK_MEDIA_NEXT_TRACK = 0xB0;
inline constexpr UINT VK_MEDIA_PREV_TRACK = 0xB1;
inline constexpr UINT VK_MEDIA_STOP = 0xB2;
inline constexpr UINT VK_MEDIA_PLAY_PAUSE = 0xB3;
inline constexpr UINT VK_OEM_1 = 0xBA;
inline constexpr UINT VK_OEM_PLUS = 0xBB;
inline constexpr UINT VK_OEM_COMMA = 0xBC;
inline constexpr UINT VK_OEM_MINUS = 0xBD;
inline constexpr UINT VK_OEM_PERIOD = 0xBE;
inline constexpr UINT VK_OEM_2 = 0xBF;
inline constexpr UINT VK_OEM_3 = 0xC0;
inline constexpr UINT VK_OEM_4 = 0xDB;
inline constexpr UINT VK_OEM_5 = 0xDC;
inline constexpr UINT VK_OEM_6 = 0xDD;
inline constexpr UINT VK_OEM_7 = 0xDE;
inline constexpr UINT VK_OEM_102 = 0xE2;

// The virtual-key code of a Qt key (Qt::Key), or 0 for a key without one.
// Keys of the numeric keypad carry Qt::KeypadModifier.
UINT VirtualKeyFromQtKey(int nQtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// The key's name as a person reads it on the keyboard ("P", "F5",
// "Page Down", "Num 7", "Play/Pause"); empty for 0.
CString VirtualKeyName(UINT nVirtualKey);
