#include "platform/hotkeys/VirtualKeySymbols.h"

#define XK_MISCELLANY
#define XK_LATIN1
#include <X11/XF86keysym.h>
#include <X11/keysymdef.h>

namespace {
// Virtual-key codes and the symbols of their keys. Letters, digits and
// function keys follow in runs and are reckoned below.
struct KeyEntry {
    unsigned nVirtualKey;
    quint32 nKeySym;
    // The symbol's name, as xkbcommon and the desktop's shortcut settings
    // spell it.
    const char* pszName;
};

constexpr KeyEntry kTable[] = {
    {0x08, XK_BackSpace, "BackSpace"},
    {0x09, XK_Tab, "Tab"},
    {0x0D, XK_Return, "Return"},
    {0x13, XK_Pause, "Pause"},
    {0x1B, XK_Escape, "Escape"},
    {0x20, XK_space, "space"},
    {0x21, XK_Prior, "Prior"},
    {0x22, XK_Next, "Next"},
    {0x23, XK_End, "End"},
    {0x24, XK_Home, "Home"},
    {0x25, XK_Left, "Left"},
    {0x26, XK_Up, "Up"},
    {0x27, XK_Right, "Right"},
    {0x28, XK_Down, "Down"},
    {0x2C, XK_Print, "Print"},
    {0x2D, XK_Insert, "Insert"},
    {0x2E, XK_Delete, "Delete"},
    {0x5D, XK_Menu, "Menu"},
    // The numeric keypad, with NumLock on.
    {0x60, XK_KP_0, "KP_0"},
    {0x61, XK_KP_1, "KP_1"},
    {0x62, XK_KP_2, "KP_2"},
    {0x63, XK_KP_3, "KP_3"},
    {0x64, XK_KP_4, "KP_4"},
    {0x65, XK_KP_5, "KP_5"},
    {0x66, XK_KP_6, "KP_6"},
    {0x67, XK_KP_7, "KP_7"},
    {0x68, XK_KP_8, "KP_8"},
    {0x69, XK_KP_9, "KP_9"},
    {0x6A, XK_KP_Multiply, "KP_Multiply"},
    {0x6B, XK_KP_Add, "KP_Add"},
    {0x6D, XK_KP_Subtract, "KP_Subtract"},
    {0x6E, XK_KP_Decimal, "KP_Decimal"},
    {0x6F, XK_KP_Divide, "KP_Divide"},
    // Media and volume keys.
    {0xA6, XF86XK_Back, "XF86Back"},
    {0xA7, XF86XK_Forward, "XF86Forward"},
    {0xA8, XF86XK_Reload, "XF86Reload"},
    {0xA9, XF86XK_Stop, "XF86Stop"},
    {0xAA, XF86XK_Search, "XF86Search"},
    {0xAB, XF86XK_Favorites, "XF86Favorites"},
    {0xAC, XF86XK_HomePage, "XF86HomePage"},
    {0xAD, XF86XK_AudioMute, "XF86AudioMute"},
    {0xAE, XF86XK_AudioLowerVolume, "XF86AudioLowerVolume"},
    {0xAF, XF86XK_AudioRaiseVolume, "XF86AudioRaiseVolume"},
    {0xB0, XF86XK_AudioNext, "XF86AudioNext"},
    {0xB1, XF86XK_AudioPrev, "XF86AudioPrev"},
    {0xB2, XF86XK_AudioStop, "XF86AudioStop"},
    {0xB3, XF86XK_AudioPlay, "XF86AudioPlay"},
    {0xB4, XF86XK_Mail, "XF86Mail"},
    {0xB5, XF86XK_AudioMedia, "XF86AudioMedia"},
    // Punctuation where a US keyboard has it.
    {0xBA, XK_semicolon, "semicolon"},
    {0xBB, XK_equal, "equal"},
    {0xBC, XK_comma, "comma"},
    {0xBD, XK_minus, "minus"},
    {0xBE, XK_period, "period"},
    {0xBF, XK_slash, "slash"},
    {0xC0, XK_grave, "grave"},
    {0xDB, XK_bracketleft, "bracketleft"},
    {0xDC, XK_backslash, "backslash"},
    {0xDD, XK_bracketright, "bracketright"},
    {0xDE, XK_apostrophe, "apostrophe"},
    {0xE2, XK_less, "less"},
};

constexpr unsigned kVirtualKeyA = 0x41;
constexpr unsigned kVirtualKeyZ = 0x5A;
constexpr unsigned kVirtualKey0 = 0x30;
constexpr unsigned kVirtualKey9 = 0x39;
constexpr unsigned kVirtualKeyF1 = 0x70;
constexpr unsigned kVirtualKeyF24 = 0x87;
}

quint32 KeySymFromVirtualKey(unsigned nVirtualKey)
{
    // Letters are grabbed by their lower-case symbol, the one a key shows
    // without Shift.
    if (nVirtualKey >= kVirtualKeyA && nVirtualKey <= kVirtualKeyZ)
        return XK_a + (nVirtualKey - kVirtualKeyA);
    if (nVirtualKey >= kVirtualKey0 && nVirtualKey <= kVirtualKey9)
        return XK_0 + (nVirtualKey - kVirtualKey0);
    if (nVirtualKey >= kVirtualKeyF1 && nVirtualKey <= kVirtualKeyF24)
        return XK_F1 + (nVirtualKey - kVirtualKeyF1);
    for (const KeyEntry& entry : kTable) {
        if (entry.nVirtualKey == nVirtualKey)
            return entry.nKeySym;
    }
    return 0;
}

QString KeySymNameFromVirtualKey(unsigned nVirtualKey)
{
    // Letters by their capital, as the desktops' shortcut settings show them.
    if (nVirtualKey >= kVirtualKeyA && nVirtualKey <= kVirtualKeyZ)
        return QString(QChar(static_cast<char16_t>(u'A' + (nVirtualKey - kVirtualKeyA))));
    if (nVirtualKey >= kVirtualKey0 && nVirtualKey <= kVirtualKey9)
        return QString(QChar(static_cast<char16_t>(u'0' + (nVirtualKey - kVirtualKey0))));
    if (nVirtualKey >= kVirtualKeyF1 && nVirtualKey <= kVirtualKeyF24)
        return QStringLiteral("F%1").arg(nVirtualKey - kVirtualKeyF1 + 1);
    for (const KeyEntry& entry : kTable) {
        if (entry.nVirtualKey == nVirtualKey)
            return QLatin1String(entry.pszName);
    }
    return QString();
}
