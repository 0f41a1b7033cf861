// The hot keys' stored form: the two profile values of each action, the
// modifier conversion both ways, and what a failed write leaves behind.
#include "TestApplication.h"

#include "fw/CWnd.h"
#include "fw/HotKeyRegistration.h"
#include "hotkeys/HotKeyStore.h"
#include "res/ProductInfo.h"
#include "settings/SettingNames.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class HotKeyStoreTest : public ::testing::Test
{
protected:
    int Stored(const char* pszValue) { return m_app.App().GetProfileInt(SettingNames::kSection, pszValue, -1); }
    void Write(const char* pszValue, int nValue)
    {
        ASSERT_TRUE(m_app.App().WriteProfileInt(SettingNames::kSection, pszValue, nValue));
    }

    TestApplication m_app;
};

TEST_F(HotKeyStoreTest, AFreshProfileHoldsNoHotKeys)
{
    for (const char* pszName : {"Play", "Play Next", "Play Prev", "Stop"}) {
        const StoredHotKey hotKey = LoadHotKey(pszName);
        EXPECT_EQ(hotKey.wKey, 0) << pszName;
        EXPECT_EQ(hotKey.wStoredModifiers, 0) << pszName;
        EXPECT_EQ(hotKey.wControlModifiers, 0) << pszName;
    }
}

TEST_F(HotKeyStoreTest, ModifiersTradeShiftAndAltBetweenTheControlAndTheProfile)
{
    // Ctrl+Alt as the control has it, then as it is stored, and back.
    EXPECT_EQ(ConvertHotKeyModifiers(0x06), 0x03);
    EXPECT_EQ(ConvertHotKeyModifiers(0x03), 0x06);
    EXPECT_EQ(ConvertHotKeyModifiers(0x01), 0x04);
    EXPECT_EQ(ConvertHotKeyModifiers(0x04), 0x01);
    EXPECT_EQ(ConvertHotKeyModifiers(0x02), 0x02);
    // The Super key is the same bit in both.
    EXPECT_EQ(ConvertHotKeyModifiers(0x08), 0x08);
    EXPECT_EQ(ConvertHotKeyModifiers(0x0F), 0x0F);
    EXPECT_EQ(ConvertHotKeyModifiers(0x4003), 0x06);
    EXPECT_EQ(ConvertHotKeyModifiers(0xFFF0), 0x00);
}

TEST_F(HotKeyStoreTest, StoringWritesTheKeyAndTheModifiersInStoredFormUnderTheActionsNames)
{
    EXPECT_TRUE(StoreHotKey("Play Next", 0x50, 0x06));
    EXPECT_EQ(Stored("Play Next Key"), 0x50);
    EXPECT_EQ(Stored("Play Next Mod"), 0x03);
    EXPECT_TRUE(StoreHotKey("Stop", 0x74, 0x01));
    EXPECT_EQ(Stored("Stop Key"), 0x74);
    EXPECT_EQ(Stored("Stop Mod"), 0x04);
    // Only the low byte of the control's modifiers counts.
    EXPECT_TRUE(StoreHotKey("Play", 0x25, 0x0108));
    EXPECT_EQ(Stored("Play Mod"), 0x08);
    EXPECT_EQ(Stored("Play Prev Key"), -1);

    const StoredHotKey hotKey = LoadHotKey("Play Next");
    EXPECT_EQ(hotKey.wKey, 0x50);
    EXPECT_EQ(hotKey.wStoredModifiers, 0x03);
    EXPECT_EQ(hotKey.wControlModifiers, 0x06);
}

TEST_F(HotKeyStoreTest, StoredValuesAreReadAsTheirLowSixteenBits)
{
    Write("Play Key", 0x10074);
    Write("Play Mod", 0x4003);
    const StoredHotKey hotKey = LoadHotKey("Play");
    EXPECT_EQ(hotKey.wKey, 0x74);
    // Kept whole for registering, trimmed to the four modifiers for showing.
    EXPECT_EQ(hotKey.wStoredModifiers, 0x4003);
    EXPECT_EQ(hotKey.wControlModifiers, 0x06);
}

TEST_F(HotKeyStoreTest, WithoutADesktopThatGrabsKeysRegisteringFailsAndNothingElseBreaks)
{
    // These tests run on Qt's offscreen platform, which has no X display.
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("offscreen"));
    CWnd window;
    EXPECT_FALSE(RegisterHotKey(&window, 1, MOD_CONTROL, 'P'));
    EXPECT_FALSE(UnregisterHotKey(&window, 1));
    Write("Play Key", 'P');
    Write("Play Mod", MOD_CONTROL);
    RegisterHotKeys(&window);
    EXPECT_FALSE(UnregisterHotKey(&window, 1));
    EXPECT_TRUE(window.DestroyWindow());
}

// The profile folder cannot be made: its parent is a regular file.
TEST(HotKeyStoreUnwritableTest, AProfileThatCannotBeWrittenMakesStoringFail)
{
    QTemporaryDir root;
    QFile blocker(root.filePath("not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TestApplication::SetConfigFolder(blocker.fileName() + "/config");
    {
        CWinAppEx app(ProductInfo::ApplicationTitle());
        app.SetRegistryKey(ProductInfo::MakerDomain());
        EXPECT_FALSE(StoreHotKey("Play", 0x74, 0x01));
        const StoredHotKey hotKey = LoadHotKey("Play");
        EXPECT_EQ(hotKey.wKey, 0);
        EXPECT_EQ(hotKey.wStoredModifiers, 0);
    }
    TestApplication::SetConfigFolder(QDir::tempPath());
}

}
