// A profile the settings library cannot read is set aside, kept under a
// dated name, and a clean one takes its place that keeps every change.

#include "platform/profile/ProfileStore.h"
#include "res/ProductInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSettings>
#include <QStringEncoder>
#include <gtest/gtest.h>

namespace {

CProfileStore OpenProfile()
{
    return CProfileStore(ProductInfo::MakerDomain(), ProductInfo::ApplicationTitle());
}

QString ProfileFile()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, ProductInfo::MakerDomain(),
                     ProductInfo::ApplicationTitle())
        .fileName();
}

QStringList SetAsideFiles()
{
    const QFileInfo profile(ProfileFile());
    return profile.dir().entryList({profile.fileName() + QStringLiteral(".damaged-*")}, QDir::Files);
}

void WriteProfileBytes(const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(ProfileFile()).path());
    QFile file(ProfileFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

class DamagedProfileTest : public ::testing::TestWithParam<QByteArray>
{
protected:
    void SetUp() override { QDir(QFileInfo(ProfileFile()).path()).removeRecursively(); }
};

TEST_P(DamagedProfileTest, IsSetAsideAndTheNextChangeIsSaved)
{
    WriteProfileBytes(GetParam());
    {
        CProfileStore profile = OpenProfile();
        EXPECT_TRUE(profile.IsAvailable());
        EXPECT_EQ(profile.GetInt(QStringLiteral("Settings"), QStringLiteral("AutoPlay"), 1), 1);
        EXPECT_TRUE(profile.WriteInt(QStringLiteral("Settings"), QStringLiteral("AutoPlay"), 0));
        EXPECT_TRUE(profile.WriteInt(QStringLiteral("Settings"), QStringLiteral("LastCategory"), 3));
        EXPECT_EQ(profile.GetInt(QStringLiteral("Settings"), QStringLiteral("AutoPlay"), 1), 0);
    }

    const QStringList setAside = SetAsideFiles();
    ASSERT_EQ(setAside.size(), 1);
    EXPECT_TRUE(setAside[0].contains(QRegularExpression(QStringLiteral("\\.damaged-\\d{8}-\\d{6}$"))));
    QFile kept(QFileInfo(ProfileFile()).dir().filePath(setAside[0]));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), GetParam());
    // The change is on disk, and a later start reads it.
    const CProfileStore reopened = OpenProfile();
    EXPECT_EQ(reopened.GetInt(QStringLiteral("Settings"), QStringLiteral("AutoPlay"), 1), 0);
    EXPECT_EQ(reopened.GetInt(QStringLiteral("Settings"), QStringLiteral("LastCategory"), 0), 3);
    EXPECT_EQ(SetAsideFiles().size(), 1);
}

QByteArray RandomBytes(qsizetype nSize)
{
    QRandomGenerator generator(21);
    QByteArray bytes(nSize, Qt::Uninitialized);
    for (char& byte : bytes)
        byte = static_cast<char>(generator.bounded(256));
    return bytes;
}

// A profile whose end was never written: the blocks a crash leaves behind
// hold zeros.
QByteArray NulPadded()
{
    return QByteArray("[Settings]\nAutoPlay=1\nLastCategory=0\n") + QByteArray(4096, '\0');
}

// The same settings saved by an editor as UTF-16, byte-order mark first.
QByteArray Utf16Profile()
{
    QStringEncoder toUtf16(QStringConverter::Utf16LE);
    return QByteArray("\xff\xfe", 2) + QByteArray(toUtf16(QStringLiteral("[Settings]\r\nAutoPlay=1\r\n")));
}

INSTANTIATE_TEST_SUITE_P(Damage, DamagedProfileTest,
                         ::testing::Values(QByteArray("[Settings\nAutoPlay=1\n"),
                                           QByteArray("\x00\xff\xfe[\x01\x02=\x03]\n[\x80\x81", 17), RandomBytes(4096),
                                           RandomBytes(64 * 1024), NulPadded(), Utf16Profile()));

TEST(ReadableProfileTest, IsNeitherMovedNorChanged)
{
    QDir(QFileInfo(ProfileFile()).path()).removeRecursively();
    WriteProfileBytes("[Settings]\nAutoPlay=0\n");

    EXPECT_EQ(OpenProfile().GetInt(QStringLiteral("Settings"), QStringLiteral("AutoPlay"), 1), 0);

    EXPECT_TRUE(SetAsideFiles().isEmpty());
}

TEST(ReadableProfileTest, AProfileWithAnyTextWrittenToItIsKept)
{
    QDir(QFileInfo(ProfileFile()).path()).removeRecursively();
    const QString strAnyText = QString::fromUtf16(u"ラジオ \u00e9\t\x01\r\n\x7f\u0085 end \U0001F3B5");
    ASSERT_TRUE(OpenProfile().WriteString(QStringLiteral("Settings"), QStringLiteral("Any Text"), strAnyText));

    EXPECT_EQ(OpenProfile().GetString(QStringLiteral("Settings"), QStringLiteral("Any Text"), QString()), strAnyText);
    EXPECT_TRUE(SetAsideFiles().isEmpty());
}

}
