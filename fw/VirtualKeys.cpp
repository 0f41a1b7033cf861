#include "fw/VirtualKeys.h"

#include <QLatin1String>

namespace {
struct NamedKey {
    int nQtKey;
    UINT nVirtualKey;
    const char* pszName;
};

// Keys outside the runs of letters, digits and function keys. A virtual key
// that several Qt keys produce (a punctuation key with and without Shift)
// is named by its first entry.
constexpr NamedKey kNamedKeys[] = {
    {Qt::Key_Backspace, VK_BACK, "Backspace"},
    {Qt::Key_Tab, VK_TAB, "Tab"},
    {Qt::Key_Return, VK_RETURN, "Enter"},
    {Qt::Key_Enter, VK_RETURN, "Enter"},
    {Qt::Key_Pause, VK_PAUSE, "Pause"},
    {Qt::Key_Escape, VK_ESCAPE, "Esc"},
    {Qt::Key_Space, VK_SPACE, "Space"},
    {Qt::Key_PageUp, VK_PRIOR, "Page Up"},
    {Qt::Key_PageDown, VK_NEXT, "Page Down"},
    {Qt::Key_End, VK_END, "End"},
    {Qt::Key_Home, VK_HOME, "Home"},
    {Qt::Key_Left, VK_LEFT, "Left"},
    {Qt::Key_Up, VK_UP, "Up"},
    {Qt::Key_Right, VK_RIGHT, "Right"},
    {Qt::Key_Down, VK_DOWN, "Down"},
    {Qt::Key_Print, VK_SNAPSHOT, "Print Screen"},
    {Qt::Key_Insert, VK_INSERT, "Insert"},
    {Qt::Key_Delete, VK_DELETE, "Delete"},
    {Qt::Key_Menu, VK_APPS, "Menu"},
    {Qt::Key_VolumeMute, VK_VOLUME_MUTE, "Mute"},
    {Qt::Key_VolumeDown, VK_VOLUME_DOWN, "Volume Down"},
    {Qt::Key_VolumeUp, VK_VOLUME_UP, "Volume Up"},
    {Qt::Key_MediaNext, VK_MEDIA_NEXT_TRACK, "Next Track"},
    {Qt::Key_MediaPrevious, VK_MEDIA_PREV_TRACK, "Previous Track"},
    {Qt::Key_MediaStop, VK_MEDIA_STOP, "Stop"},
    {Qt::Key_MediaPlay, VK_MEDIA_PLAY_PAUSE, "Play/Pause"},
    {Qt::Key_MediaTogglePlayPause, VK_MEDIA_PLAY_PAUSE, "Play/Pause"},
    // Digits typed with Shift, as a US keyboard has them.
    {Qt::Key_Exclam, '1', "1"},
    {Qt::Key_At, '2', "2"},
    {Qt::Key_NumberSign, '3', "3"},
    {Qt::Key_Dollar, '4', "4"},
    {Qt::Key_Percent, '5', "5"},
    {Qt::Key_AsciiCircum, '6', "6"},
    {Qt::Key_Ampersand, '7', "7"},
    {Qt::Key_Asterisk, '8', "8"},
    {Qt::Key_ParenLeft, '9', "9"},
    {Qt::Key_ParenRight, '0', "0"},
    {Qt::Key_Semicolon, VK_OEM_1, ";"},
    {Qt::Key_Colon, VK_OEM_1, ";"},
    {Qt::Key_Equal, VK_OEM_PLUS, "="},
    {Qt::Key_Plus, VK_OEM_PLUS, "="},
    {Qt::Key_Comma, VK_OEM_COMMA, ","},
    {Qt::Key_Less, VK_OEM_COMMA, ","},
    {Qt::Key_Minus, VK_OEM_MINUS, "-"},
    {Qt::Key_Underscore, VK_OEM_MINUS, "-"},
    {Qt::Key_Period, VK_OEM_PERIOD, "."},
    {Qt::Key_Greater, VK_OEM_PERIOD, "."},
    {Qt::Key_Slash, VK_OEM_2, "/"},
    {Qt::Key_Question, VK_OEM_2, "/"},
    {Qt::Key_QuoteLeft, VK_OEM_3, "`"},
    {Qt::Key_AsciiTilde, VK_OEM_3, "`"},
    {Qt::Key_BracketLeft, VK_OEM_4, "["},
    {Qt::Key_BraceLeft, VK_OEM_4, "["},
    {Qt::Key_Backslash, VK_OEM_5, "\\"},
    {Qt::Key_Bar, VK_OEM_5, "\\"},
    {Qt::Key_BracketRight, VK_OEM_6, "]"},
    {Qt::Key_BraceRight, VK_OEM_6, "]"},
    {Qt::Key_Apostrophe, VK_OEM_7, "'"},
    {Qt::Key_QuoteDbl, VK_OEM_7, "'"},
};

// The keypad's own keys; with NumLock off its digits arrive as navigation
// keys and are named so.
constexpr NamedKey kKeypadKeys[] = {
    {Qt::Key_Asterisk, VK_MULTIPLY, "Num *"}, {Qt::Key_Plus, VK_ADD, "Num +"},
    {Qt::Key_Minus, VK_SUBTRACT, "Num -"},    {Qt::Key_Period, VK_DECIMAL, "Num Del"},
    {Qt::Key_Comma, VK_DECIMAL, "Num Del"},   {Qt::Key_Slash, VK_DIVIDE, "Num /"},
};

bool IsLetterOrDigit(UINT nVirtualKey)
{
    return (nVirtualKey >= 'A' && nVirtualKey <= 'Z') || (nVirtualKey >= '0' && nVirtualKey <= '9');
}
}

UINT VirtualKeyFromQtKey(int nQtKey, Qt::KeyboardModifiers modifiers)
{
    if (modifiers.testFlag(Qt::KeypadModifier)) {
        if (nQtKey >= Qt::Key_0 && nQtKey <= Qt::Key_9)
            return VK_NUMPAD0 + static_cast<UINT>(nQtKey - Qt::Key_0);
        for (const NamedKey& key : kKeypadKeys) {
            if (key.nQtKey == nQtKey)
                return key.nVirtualKey;
        }
    }
    // Qt numbers letters and digits by their ASCII codes, as virtual keys do.
    if (IsLetterOrDigit(static_cast<UINT>(nQtKey)))
        return static_cast<UINT>(nQtKey);
    if (nQtKey >= Qt::Key_F1 && nQtKey <= Qt::Key_F24)
        return VK_F1 + static_cast<UINT>(nQtKey - Qt::Key_F1);
    for (const NamedKey& key : kNamedKeys) {
        if (key.nQtKey == nQtKey)
            return key.nVirtualKey;
    }
    return 0;
}

CString VirtualKeyName(UINT nVirtualKey)
{
    if (IsLetterOrDigit(nVirtualKey))
        return CString(QChar(static_cast<char16_t>(nVirtualKey)));
    if (nVirtualKey >= VK_F1 && nVirtualKey <= VK_F24)
        return QStringLiteral("F%1").arg(nVirtualKey - VK_F1 + 1);
    if (nVirtualKey >= VK_NUMPAD0 && nVirtualKey <= VK_NUMPAD9)
        return QStringLiteral("Num %1").arg(nVirtualKey - VK_NUMPAD0);
    for (const NamedKey& key : kNamedKeys) {
        if (key.nVirtualKey == nVirtualKey)
            return QLatin1String(key.pszName);
    }
    for (const NamedKey& key : kKeypadKeys) {
        if (key.nVirtualKey == nVirtualKey)
            return QLatin1String(key.pszName);
    }
    // A code that no key of ours produces still shows as its number.
    return nVirtualKey == 0 ? CString() : QStringLiteral("Key 0x%1").arg(nVirtualKey, 2, 16, QLatin1Char('0'));
}
