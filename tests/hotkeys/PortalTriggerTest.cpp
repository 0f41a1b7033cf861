// Stored hot keys in the shortcut form the desktop's portal takes, and the
// desktop's descriptions of triggers held against them.
#include "platform/hotkeys/GlobalHotKeys.h"
#include "platform/hotkeys/PortalTrigger.h"

#include <gtest/gtest.h>

namespace {

constexpr unsigned kAlt = IGlobalHotKeys::kModifierAlt;
constexpr unsigned kCtrl = IGlobalHotKeys::kModifierControl;
constexpr unsigned kShift = IGlobalHotKeys::kModifierShift;
constexpr unsigned kSuper = IGlobalHotKeys::kModifierSuper;

TEST(PortalTriggerTest, StoredKeysBecomeModifiersAndAKeySymbolNameInTheDesktopsOrder)
{
    EXPECT_EQ(PortalTrigger::FromVirtualKey(kCtrl | kAlt, 'N'), "CTRL+ALT+N");
    EXPECT_EQ(PortalTrigger::FromVirtualKey(kSuper | kShift | kAlt | kCtrl, 0x74), "CTRL+ALT+SHIFT+LOGO+F5");
    EXPECT_EQ(PortalTrigger::FromVirtualKey(0, 0xB0), "XF86AudioNext");
    EXPECT_EQ(PortalTrigger::FromVirtualKey(kShift, '7'), "SHIFT+7");
    EXPECT_EQ(PortalTrigger::FromVirtualKey(kCtrl, 0x6B), "CTRL+KP_Add");
    EXPECT_EQ(PortalTrigger::FromVirtualKey(0, 0x22), "Next") << "Page Down";
    // A code with no key symbol has no trigger.
    EXPECT_EQ(PortalTrigger::FromVirtualKey(kCtrl, 0xFF), "");
}

TEST(PortalTriggerTest, TheDesktopsDescriptionNamesTheSameKeysWhateverItsSpellingAndOrder)
{
    EXPECT_TRUE(PortalTrigger::NamesSameKeys("Ctrl+Alt+N", "CTRL+ALT+N"));
    EXPECT_TRUE(PortalTrigger::NamesSameKeys("Alt + Control + n", "CTRL+ALT+N"));
    EXPECT_TRUE(PortalTrigger::NamesSameKeys("Meta+F5", "LOGO+F5"));
    EXPECT_TRUE(PortalTrigger::NamesSameKeys("Super+F5", "LOGO+F5"));
    EXPECT_TRUE(PortalTrigger::NamesSameKeys("F7", "F7"));

    EXPECT_FALSE(PortalTrigger::NamesSameKeys("Shift+F12", "CTRL+ALT+N"));
    EXPECT_FALSE(PortalTrigger::NamesSameKeys("Ctrl+N", "CTRL+ALT+N")) << "a modifier less";
    EXPECT_FALSE(PortalTrigger::NamesSameKeys("Ctrl+Alt+Shift+N", "CTRL+ALT+N")) << "a modifier more";
    EXPECT_FALSE(PortalTrigger::NamesSameKeys("", "F7")) << "no trigger at all";
}

}
