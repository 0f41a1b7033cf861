#pragma once

#include "fw/Types.h"

#include <QLineEdit>

// Modifiers as a hot key control reports them.
inline constexpr WORD HOTKEYF_SHIFT = 0x01;
inline constexpr WORD HOTKEYF_CONTROL = 0x02;
inline constexpr WORD HOTKEYF_ALT = 0x04;
// Here the Super (Windows) key, so that a hot key stored with the Windows-key
// modifier shows and can be typed.
inline constexpr WORD HOTKEYF_EXT = 0x08;

// A box that captures the key combination typed into it (any key, with or
// without modifiers) and shows it as a person reads it, "Ctrl + Alt + P".
// It holds a virtual-key code and HOTKEYF_* modifiers; both 0 when empty.
// Tab and Shift+Tab move the focus on as in any form.
class CHotKeyCtrl : public QLineEdit
{
    Q_OBJECT

public:
    explicit CHotKeyCtrl(QWidget* pParent = nullptr);

    void SetHotKey(WORD wVirtualKeyCode, WORD wModifiers);
    void GetHotKey(WORD& wVirtualKeyCode, WORD& wModifiers) const;

    // The text the control shows for a combination; "None" when empty.
    static CString GetHotKeyName(WORD wVirtualKeyCode, WORD wModifiers);

protected:
    bool event(QEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void keyReleaseEvent(QKeyEvent* pEvent) override;
    void focusOutEvent(QFocusEvent* pEvent) override;

private:
    static WORD ModifiersOf(Qt::KeyboardModifiers modifiers);
    void ShowModifiersHeld(WORD wModifiers);
    void ShowHotKey();

    WORD m_wVirtualKeyCode = 0;
    WORD m_wModifiers = 0;
};
