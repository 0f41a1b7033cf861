#include "fw/CHotKeyCtrl.h"

#include "fw/VirtualKeys.h"

#include <QKeyEvent>
#include <QStringList>

namespace {
constexpr char kNone[] = "None";
constexpr char kSeparator[] = " + ";

struct ModifierName {
    WORD wFlag;
    const char* pszName;
};
constexpr ModifierName kModifierNames[] = {
    {HOTKEYF_CONTROL, "Ctrl"},
    {HOTKEYF_SHIFT, "Shift"},
    {HOTKEYF_ALT, "Alt"},
    {HOTKEYF_EXT, "Super"},
};

QStringList ModifierNames(WORD wModifiers)
{
    QStringList names;
    for (const ModifierName& modifier : kModifierNames) {
        if (wModifiers & modifier.wFlag)
            names << QLatin1String(modifier.pszName);
    }
    return names;
}

// The modifier that a modifier key itself stands for; 0 for other keys.
// Platforms differ in whether a modifier key's own event carries it.
WORD ModifierOfKey(int nQtKey)
{
    switch (nQtKey) {
    case Qt::Key_Shift:
        return HOTKEYF_SHIFT;
    case Qt::Key_Control:
        return HOTKEYF_CONTROL;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
        return HOTKEYF_ALT;
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
        return HOTKEYF_EXT;
    default:
        return 0;
    }
}

bool MovesFocus(const QKeyEvent* pEvent)
{
    const Qt::KeyboardModifiers modifiers = pEvent->modifiers() & ~Qt::KeypadModifier;
    return (pEvent->key() == Qt::Key_Tab && modifiers == Qt::NoModifier) ||
        (pEvent->key() == Qt::Key_Backtab && (modifiers == Qt::ShiftModifier || modifiers == Qt::NoModifier));
}
}

CHotKeyCtrl::CHotKeyCtrl(QWidget* pParent)
    : QLineEdit(pParent)
{
    // The text shows the combination; no caret, no typing into it.
    setReadOnly(true);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    ShowHotKey();
}

void CHotKeyCtrl::SetHotKey(WORD wVirtualKeyCode, WORD wModifiers)
{
    m_wVirtualKeyCode = wVirtualKeyCode;
    m_wModifiers = wVirtualKeyCode == 0 ? 0 : static_cast<WORD>(wModifiers & 0xFF);
    ShowHotKey();
}

void CHotKeyCtrl::GetHotKey(WORD& wVirtualKeyCode, WORD& wModifiers) const
{
    wVirtualKeyCode = m_wVirtualKeyCode;
    wModifiers = m_wModifiers;
}

CString CHotKeyCtrl::GetHotKeyName(WORD wVirtualKeyCode, WORD wModifiers)
{
    if (wVirtualKeyCode == 0)
        return QLatin1String(kNone);
    QStringList parts = ModifierNames(wModifiers);
    parts << VirtualKeyName(wVirtualKeyCode);
    return parts.join(QLatin1String(kSeparator));
}

bool CHotKeyCtrl::event(QEvent* pEvent)
{
    // Every combination is the control's to capture, not a shortcut's.
    if (pEvent->type() == QEvent::ShortcutOverride) {
        auto* pKeyEvent = static_cast<QKeyEvent*>(pEvent);
        if (!MovesFocus(pKeyEvent)) {
            pKeyEvent->accept();
            return true;
        }
    }
    return QLineEdit::event(pEvent);
}

void CHotKeyCtrl::keyPressEvent(QKeyEvent* pEvent)
{
    if (MovesFocus(pEvent)) {
        QLineEdit::keyPressEvent(pEvent);
        return;
    }
    pEvent->accept();
    const WORD wModifierKey = ModifierOfKey(pEvent->key());
    const WORD wModifiers = ModifiersOf(pEvent->modifiers()) | wModifierKey;
    if (wModifierKey != 0) {
        ShowModifiersHeld(wModifiers);
        return;
    }
    const UINT nVirtualKey = VirtualKeyFromQtKey(pEvent->key(), pEvent->modifiers());
    if (nVirtualKey == 0)
        return;
    SetHotKey(static_cast<WORD>(nVirtualKey), wModifiers);
}

void CHotKeyCtrl::keyReleaseEvent(QKeyEvent* pEvent)
{
    pEvent->accept();
    const WORD wModifierKey = ModifierOfKey(pEvent->key());
    if (wModifierKey == 0)
        return;
    // Every modifier let go without a key: the control shows what it holds.
    const WORD wStillHeld = ModifiersOf(pEvent->modifiers()) & ~wModifierKey;
    if (wStillHeld == 0)
        ShowHotKey();
    else
        ShowModifiersHeld(wStillHeld);
}

void CHotKeyCtrl::focusOutEvent(QFocusEvent* pEvent)
{
    ShowHotKey();
    QLineEdit::focusOutEvent(pEvent);
}

WORD CHotKeyCtrl::ModifiersOf(Qt::KeyboardModifiers modifiers)
{
    WORD wModifiers = 0;
    if (modifiers.testFlag(Qt::ShiftModifier))
        wModifiers |= HOTKEYF_SHIFT;
    if (modifiers.testFlag(Qt::ControlModifier))
        wModifiers |= HOTKEYF_CONTROL;
    if (modifiers.testFlag(Qt::AltModifier))
        wModifiers |= HOTKEYF_ALT;
    if (modifiers.testFlag(Qt::MetaModifier))
        wModifiers |= HOTKEYF_EXT;
    return wModifiers;
}

void CHotKeyCtrl::ShowModifiersHeld(WORD wModifiers)
{
    // Shown with room for the key that is still to come.
    setText(ModifierNames(wModifiers).join(QLatin1String(kSeparator)) + QLatin1String(kSeparator));
}

void CHotKeyCtrl::ShowHotKey()
{
    setText(GetHotKeyName(m_wVirtualKeyCode, m_wModifiers));
}
