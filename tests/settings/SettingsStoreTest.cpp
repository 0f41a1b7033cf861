#include "TestApplication.h"

#include "platform/profile/ProfileStore.h"
#include "res/ProductInfo.h"
#include "settings/SettingNames.h"
#include "settings/SettingsCache.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <climits>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

class SettingsStoreTest : public ::testing::Test
{
protected:
    // Edits the profile file as a user with a text editor would.
    void WriteProfileText(const QByteArray& text)
    {
        const QString strFile = m_app.ProfileFileName();
        QDir().mkpath(QFileInfo(strFile).path());
        QFile file(strFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

    QByteArray ProfileText() const
    {
        QFile file(m_app.ProfileFileName());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // A second, independent reader of the same profile.
    int ReadBack(const char* pszName, int nDefault) const
    {
        return CProfileStore(ProductInfo::MakerDomain(), ProductInfo::ApplicationTitle())
            .GetInt(SettingNames::kSection, pszName, nDefault);
    }

    TestApplication m_app;
};

TEST_F(SettingsStoreTest, FreshProfileGivesTheCachedDefaultsAndWritesNothing)
{
    // A name that was never written gives the caller's default, whatever its
    // type.
    EXPECT_EQ(GetSettingInt(SettingNames::kAutoPlay, 7), 7);
    EXPECT_EQ(GetSettingString(SettingNames::kAutoPlay, "none"), "none");

    EXPECT_EQ(GetDisplayRadioChannels(), 1);
    EXPECT_EQ(GetDisplayTVChannels(), 0);
    EXPECT_EQ(m_app.Cache().m_nDisplayRadioChannels, 1);
    EXPECT_EQ(m_app.Cache().m_nDisplayTVChannels, 0);
    EXPECT_EQ(m_app.Cache().m_nLastCategory, -1);
    EXPECT_FALSE(QFileInfo::exists(m_app.ProfileFileName()));
}

TEST_F(SettingsStoreTest, ToggleTwiceRestoresAndEachReadAfterAToggleComesFromTheProfile)
{
    ASSERT_EQ(GetDisplayRadioChannels(), 1);
    ToggleDisplayRadioChannels();
    EXPECT_EQ(m_app.Cache().m_nDisplayRadioChannels, -1);
    EXPECT_EQ(ReadBack(SettingNames::kDisplayRadioChannels, -7), 0);
    EXPECT_EQ(GetDisplayRadioChannels(), 0);
    ToggleDisplayRadioChannels();
    EXPECT_EQ(GetDisplayRadioChannels(), 1);

    ASSERT_EQ(GetDisplayTVChannels(), 0);
    ToggleDisplayTVChannels();
    // Someone else changes the profile between the toggle and the next read.
    ASSERT_TRUE(CProfileStore(ProductInfo::MakerDomain(), ProductInfo::ApplicationTitle())
                    .WriteInt(SettingNames::kSection, SettingNames::kDisplayTVChannels, 5));
    EXPECT_EQ(GetDisplayTVChannels(), 5);
    // Any value but 0 toggles to 0, and 0 back to 1.
    ToggleDisplayTVChannels();
    EXPECT_EQ(GetDisplayTVChannels(), 0);
    ToggleDisplayTVChannels();
    EXPECT_EQ(GetDisplayTVChannels(), 1);
}

TEST_F(SettingsStoreTest, AToggleNegatesTheCachedValueNotAChangedProfile)
{
    ASSERT_EQ(GetDisplayRadioChannels(), 1);
    // The profile changes behind the cache; the check mark still shows 1.
    WriteSettingInt(SettingNames::kDisplayRadioChannels, 0);
    ToggleDisplayRadioChannels();
    EXPECT_EQ(ReadBack(SettingNames::kDisplayRadioChannels, -7), 0);
    EXPECT_EQ(GetDisplayRadioChannels(), 0);

    // Not read yet: the toggle reads the profile through the cache.
    WriteSettingInt(SettingNames::kDisplayTVChannels, 1);
    ASSERT_EQ(m_app.Cache().m_nDisplayTVChannels, -1);
    ToggleDisplayTVChannels();
    EXPECT_EQ(ReadBack(SettingNames::kDisplayTVChannels, -7), 0);
}

TEST_F(SettingsStoreTest, CachedDisplayValuesAreReadOnceUntilAToggle)
{
    ASSERT_EQ(GetDisplayRadioChannels(), 1);
    WriteSettingInt(SettingNames::kDisplayRadioChannels, 0);
    EXPECT_EQ(GetDisplayRadioChannels(), 1);
    EXPECT_EQ(GetSettingInt(SettingNames::kDisplayRadioChannels, 1), 0);
}

TEST_F(SettingsStoreTest, IntegersKeepEveryValueIncludingAnAutoPlayOfTwo)
{
    // Only an "AutoPlay" of 1 means on; the store hands the 2 on unchanged
    // for the player to judge.
    WriteSettingInt(SettingNames::kAutoPlay, 2);
    EXPECT_EQ(GetSettingInt(SettingNames::kAutoPlay, SettingDefaults::kAutoPlay), 2);
    WriteSettingInt(SettingNames::kLastChannelIndex, INT_MIN);
    EXPECT_EQ(GetSettingInt(SettingNames::kLastChannelIndex, 2), INT_MIN);
    WriteSettingInt(SettingNames::kLastChannelIndex, INT_MAX);
    EXPECT_EQ(GetSettingInt(SettingNames::kLastChannelIndex, 2), INT_MAX);
    WriteSettingString(SettingNames::kLastCategory, "a, b = c; ü");
    EXPECT_EQ(GetSettingString(SettingNames::kLastCategory, ""), "a, b = c; ü");
}

TEST_F(SettingsStoreTest, HandEditedValuesThatAreNotIntegersReadAsTheDefault)
{
    WriteProfileText("[Settings]\n"
                     "LastChannelIndex=abc\n"
                     "AutoPlay=1.5\n"
                     "DisplayTVChannels=\n"
                     "DisplayRadioChannels=0x10\n"
                     "LastCategory=99999999999\n"
                     "DisplayNonWorkingChannels= 1 \n");
    EXPECT_EQ(GetSettingInt(SettingNames::kLastChannelIndex, 2), 2);
    EXPECT_EQ(GetSettingInt(SettingNames::kAutoPlay, 1), 1);
    EXPECT_EQ(GetSettingInt(SettingNames::kDisplayTVChannels, 0), 0);
    EXPECT_EQ(GetDisplayRadioChannels(), 1);
    EXPECT_EQ(GetSettingInt(SettingNames::kLastCategory, 0), 0);
    EXPECT_EQ(GetSettingInt(SettingNames::kDisplayNonWorkingChannels, 0), 1);
}

TEST_F(SettingsStoreTest, EveryWriteIsOnDiskBeforeItReturns)
{
    EXPECT_TRUE(m_app.App().WriteProfileInt(SettingNames::kSection, SettingNames::kLastChannelIndex, 7));
    EXPECT_TRUE(ProfileText().contains("LastChannelIndex=7"));
    WriteSettingInt(SettingNames::kAutoPlay, 0);
    EXPECT_TRUE(ProfileText().contains("AutoPlay=0"));
    EXPECT_EQ(ReadBack(SettingNames::kAutoPlay, 1), 0);
    EXPECT_EQ(ReadBack(SettingNames::kLastChannelIndex, 2), 7);
    // The look lives in the workspace store, not among the settings.
    EXPECT_TRUE(m_app.App().WriteInt(SettingNames::kApplicationLook, 215));
    EXPECT_EQ(m_app.App().GetInt(SettingNames::kApplicationLook, 216), 215);
    EXPECT_EQ(GetSettingInt(SettingNames::kApplicationLook, 216), 216);
}

// A profile folder that cannot be made: its parent is a regular file. This
// holds for root too, who could write to any read-only folder.
QStringList s_warnings;

void KeepWarning(QtMsgType type, const QMessageLogContext& context, const QString& strMessage)
{
    if (type == QtWarningMsg)
        s_warnings.append(QString::fromLatin1(context.category) + ": " + strMessage);
}

TEST(SettingsStoreUnwritableTest, WritesReportFailureReadsGiveDefaultsAndNothingCrashes)
{
    QTemporaryDir root;
    QFile blocker(root.filePath("not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TestApplication::SetConfigFolder(blocker.fileName() + "/config");
    {
        CWinAppEx app(ProductInfo::ApplicationTitle());
        app.SetRegistryKey(ProductInfo::MakerDomain());
        EXPECT_FALSE(app.WriteProfileInt(SettingNames::kSection, "Play Key", 0x70));
        EXPECT_FALSE(app.WriteProfileString(SettingNames::kSection, "Play Key", "x"));
        s_warnings.clear();
        const QtMessageHandler previousHandler = qInstallMessageHandler(KeepWarning);
        WriteSettingInt(SettingNames::kAutoPlay, 0);
        WriteSettingString(SettingNames::kLastCategory, "x");
        qInstallMessageHandler(previousHandler);
        // Whoever runs the program from a terminal learns of each lost value.
        EXPECT_EQ(s_warnings,
                  QStringList({"kestrel.settings: The setting AutoPlay could not be saved.",
                               "kestrel.settings: The setting LastCategory could not be saved."}));
        EXPECT_EQ(GetSettingInt(SettingNames::kLastChannelIndex, 2), 2);
        // A value that never reached the disk is not read back as if it had.
        EXPECT_EQ(app.GetProfileInt(SettingNames::kSection, "Play Key", 0), 0);
        EXPECT_EQ(GetSettingInt(SettingNames::kAutoPlay, 1), 1);
        EXPECT_FALSE(QFileInfo::exists(blocker.fileName() + "/config"));
    }
    TestApplication::SetConfigFolder(QDir::tempPath());
}

TEST(SettingsStoreUnwritableTest, AReadOnlyProfileFolderMakesWritesFail)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes to read-only folders";
    QTemporaryDir root;
    ASSERT_TRUE(QFile::setPermissions(root.path(), QFile::ReadOwner | QFile::ExeOwner));
    TestApplication::SetConfigFolder(root.path());
    {
        CWinAppEx app(ProductInfo::ApplicationTitle());
        app.SetRegistryKey(ProductInfo::MakerDomain());
        EXPECT_FALSE(app.WriteProfileInt(SettingNames::kSection, "Play Key", 0x70));
    }
    QFile::setPermissions(root.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    TestApplication::SetConfigFolder(QDir::tempPath());
}

}
