// The hot key control as a person uses it: typed combinations become a
// virtual key and HOTKEYF_* modifiers and show as they are read; and the
// virtual keys that the X key grabs look up.
#include "fw/CHotKeyCtrl.h"
#include "fw/VirtualKeys.h"
#include "platform/hotkeys/VirtualKeySymbols.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Typed {
    WORD wKey = 0;
    WORD wModifiers = 0;
    QString strText;
};

Typed TypeInto(CHotKeyCtrl& control, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(&control, key, modifiers);
    Typed typed;
    control.GetHotKey(typed.wKey, typed.wModifiers);
    typed.strText = control.text();
    return typed;
}

TEST(HotKeyCtrlTest, ATypedCombinationIsReadAsItsVirtualKeyAndModifiersAndShownAsWords)
{
    CHotKeyCtrl control;
    EXPECT_EQ(control.text(), "None");

    Typed typed = TypeInto(control, Qt::Key_P, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(typed.wKey, 'P');
    EXPECT_EQ(typed.wModifiers, HOTKEYF_CONTROL | HOTKEYF_ALT);
    EXPECT_EQ(typed.strText, "Ctrl + Alt + P");

    typed = TypeInto(control, Qt::Key_F5, Qt::ShiftModifier);
    EXPECT_EQ(typed.wKey, VK_F5);
    EXPECT_EQ(typed.wModifiers, HOTKEYF_SHIFT);
    EXPECT_EQ(typed.strText, "Shift + F5");

    // No rules: a key alone is a hot key too.
    typed = TypeInto(control, Qt::Key_MediaPlay, Qt::NoModifier);
    EXPECT_EQ(typed.wKey, VK_MEDIA_PLAY_PAUSE);
    EXPECT_EQ(typed.wModifiers, 0);
    EXPECT_EQ(typed.strText, "Play/Pause");

    typed = TypeInto(control, Qt::Key_Left, Qt::MetaModifier);
    EXPECT_EQ(typed.wKey, VK_LEFT);
    EXPECT_EQ(typed.wModifiers, HOTKEYF_EXT);
    EXPECT_EQ(typed.strText, "Super + Left");

    // Shift turns 1 into "!" on the keyboard, but the key is still 1.
    typed = TypeInto(control, Qt::Key_Exclam, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(typed.wKey, '1');
    EXPECT_EQ(typed.strText, "Ctrl + Shift + 1");

    typed = TypeInto(control, Qt::Key_7, Qt::KeypadModifier);
    EXPECT_EQ(typed.wKey, VK_NUMPAD0 + 7);
    EXPECT_EQ(typed.strText, "Num 7");
}

TEST(HotKeyCtrlTest, ModifiersAloneShowWhileHeldAndLeaveTheKeyAsItWas)
{
    CHotKeyCtrl control;
    control.SetHotKey('Q', HOTKEYF_ALT);
    // Sent one by one: QTest would let go of every modifier at once.
    const auto send = [&control](QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QKeyEvent event(type, key, modifiers);
        QCoreApplication::sendEvent(&control, &event);
    };
    send(QEvent::KeyPress, Qt::Key_Control, Qt::NoModifier);
    EXPECT_EQ(control.text(), "Ctrl + ");
    send(QEvent::KeyPress, Qt::Key_Shift, Qt::ControlModifier);
    EXPECT_EQ(control.text(), "Ctrl + Shift + ");
    send(QEvent::KeyRelease, Qt::Key_Shift, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(control.text(), "Ctrl + ");
    send(QEvent::KeyRelease, Qt::Key_Control, Qt::ControlModifier);
    EXPECT_EQ(control.text(), "Alt + Q");
    WORD wKey = 0;
    WORD wModifiers = 0;
    control.GetHotKey(wKey, wModifiers);
    EXPECT_EQ(wKey, 'Q');
    EXPECT_EQ(wModifiers, HOTKEYF_ALT);
}

TEST(HotKeyCtrlTest, SettingAStoredHotKeyShowsItAndEmptyShowsNone)
{
    CHotKeyCtrl control;
    control.SetHotKey(VK_MEDIA_NEXT_TRACK, HOTKEYF_CONTROL | HOTKEYF_SHIFT | HOTKEYF_ALT | HOTKEYF_EXT);
    EXPECT_EQ(control.text(), "Ctrl + Shift + Alt + Super + Next Track");
    control.SetHotKey(0, HOTKEYF_CONTROL);
    EXPECT_EQ(control.text(), "None");
    WORD wKey = 1;
    WORD wModifiers = 1;
    control.GetHotKey(wKey, wModifiers);
    EXPECT_EQ(wKey, 0);
    EXPECT_EQ(wModifiers, 0);
    EXPECT_EQ(CHotKeyCtrl::GetHotKeyName(VK_OEM_2, HOTKEYF_CONTROL), "Ctrl + /");
    EXPECT_EQ(CHotKeyCtrl::GetHotKeyName(0xFF, 0), "Key 0xff");
}

TEST(HotKeyCtrlTest, TabMovesTheFocusOnInsteadOfBecomingTheHotKey)
{
    QWidget form;
    auto* pFirst = new CHotKeyCtrl(&form);
    auto* pSecond = new CHotKeyCtrl(&form);
    QWidget::setTabOrder(pFirst, pSecond);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    pFirst->setFocus();
    ASSERT_TRUE(pFirst->hasFocus());
    QTest::keyClick(pFirst, Qt::Key_Tab);
    EXPECT_TRUE(pSecond->hasFocus());
    EXPECT_EQ(pFirst->text(), "None");
}

TEST(VirtualKeySymbolsTest, EveryKindOfKeyNamesItsXKeySymbol)
{
    // Values of the X key symbols, as X11/keysymdef.h and XF86keysym.h have them.
    EXPECT_EQ(KeySymFromVirtualKey('A'), 0x61u);
    EXPECT_EQ(KeySymFromVirtualKey('Z'), 0x7Au);
    EXPECT_EQ(KeySymFromVirtualKey('0'), 0x30u);
    EXPECT_EQ(KeySymFromVirtualKey(VK_F1), 0xFFBEu);
    EXPECT_EQ(KeySymFromVirtualKey(VK_F24), 0xFFD5u);
    EXPECT_EQ(KeySymFromVirtualKey(VK_LEFT), 0xFF51u);
    EXPECT_EQ(KeySymFromVirtualKey(VK_NEXT), 0xFF56u);
    EXPECT_EQ(KeySymFromVirtualKey(VK_DELETE), 0xFFFFu);
    EXPECT_EQ(KeySymFromVirtualKey(VK_NUMPAD0 + 1), 0xFFB1u);
    EXPECT_EQ(KeySymFromVirtualKey(VK_DIVIDE), 0xFFAFu);
    EXPECT_EQ(KeySymFromVirtualKey(VK_OEM_1), 0x3Bu);
    EXPECT_EQ(KeySymFromVirtualKey(VK_OEM_7), 0x27u);
    EXPECT_EQ(KeySymFromVirtualKey(VK_MEDIA_PLAY_PAUSE), 0x1008FF14u);
    EXPECT_EQ(KeySymFromVirtualKey(VK_MEDIA_STOP), 0x1008FF15u);
    EXPECT_EQ(KeySymFromVirtualKey(VK_MEDIA_PREV_TRACK), 0x1008FF16u);
    EXPECT_EQ(KeySymFromVirtualKey(VK_MEDIA_NEXT_TRACK), 0x1008FF17u);
    EXPECT_EQ(KeySymFromVirtualKey(VK_VOLUME_MUTE), 0x1008FF12u);
    EXPECT_EQ(KeySymFromVirtualKey(VK_VOLUME_DOWN), 0x1008FF11u);
    EXPECT_EQ(KeySymFromVirtualKey(VK_VOLUME_UP), 0x1008FF13u);
    EXPECT_EQ(KeySymFromVirtualKey(0), 0u);
    EXPECT_EQ(KeySymFromVirtualKey(0x07), 0u);
}

TEST(VirtualKeySymbolsTest, EveryKeyTheControlCanCaptureCanBeGrabbed)
{
    // Whatever the control reads from the keyboard names an X key.
    for (int nQtKey = Qt::Key_Space; nQtKey <= Qt::Key_ydiaeresis; ++nQtKey) {
        const UINT nVirtualKey = VirtualKeyFromQtKey(nQtKey);
        if (nVirtualKey != 0) {
            EXPECT_NE(KeySymFromVirtualKey(nVirtualKey), 0u) << nQtKey;
        }
    }
    for (int nQtKey = Qt::Key_Escape; nQtKey <= Qt::Key_Launch0 + 0x20; ++nQtKey) {
        const UINT nVirtualKey = VirtualKeyFromQtKey(nQtKey);
        if (nVirtualKey != 0) {
            EXPECT_NE(KeySymFromVirtualKey(nVirtualKey), 0u) << std::hex << nQtKey;
        }
        const UINT nKeypadKey = VirtualKeyFromQtKey(nQtKey, Qt::KeypadModifier);
        if (nKeypadKey != 0) {
            EXPECT_NE(KeySymFromVirtualKey(nKeypadKey), 0u) << std::hex << nQtKey;
        }
    }
    for (int nQtKey = Qt::Key_0; nQtKey <= Qt::Key_9; ++nQtKey)
        EXPECT_NE(KeySymFromVirtualKey(VirtualKeyFromQtKey(nQtKey, Qt::KeypadModifier)), 0u);
}

}
