#include "catalogue/DataFolder.h"
#include "platform/datafolder/UserDataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

QString DataHome()
{
    return QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME"));
}

QString ModuleFolder()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).path();
}

TEST(DataFolderTest, TheFolderIsKestrelRadioInTheDataHomeAndIsCreatedOnce)
{
    ASSERT_TRUE(CUserDataFolder::IsAvailable());
    EXPECT_EQ(CUserDataFolder::Path(), DataHome());
    const QString strExpected = DataHome() + "/KestrelRadio";
    QDir(strExpected).removeRecursively();
    CString strFirst;
    GetDataFolder(strFirst);
    EXPECT_EQ(strFirst, strExpected);
    EXPECT_TRUE(QFileInfo(strExpected).isDir());
    CString strSecond;
    GetDataFolder(strSecond);
    EXPECT_EQ(strSecond, strFirst);
    EXPECT_EQ(QDir(DataHome()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList({"KestrelRadio"}));
    EXPECT_EQ(GetStationListPath(), strExpected + "/StationList.zip");
}

TEST(DataFolderTest, AMissingDataHomeIsCreated)
{
    QTemporaryDir root;
    const CDataFolderBaseOverride base(root.path() + "/not/yet");
    CString strFolder;
    GetDataFolder(strFolder);
    EXPECT_EQ(strFolder, root.path() + "/not/yet/KestrelRadio");
    EXPECT_FALSE(QFileInfo::exists(strFolder)) << "only the last level is created";
}

// Sets an environment variable for as long as it lives.
class ScopedVariable
{
public:
    ScopedVariable(const char* pszName, const QByteArray& value)
        : m_pszName(pszName)
        , m_previous(qgetenv(pszName))
    {
        qputenv(pszName, value);
    }
    ~ScopedVariable() { qputenv(m_pszName, m_previous); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_pszName;
    QByteArray m_previous;
};

TEST(DataFolderTest, AnUnusableDataHomeFallsBackToTheDefaultDataHomeFirst)
{
    QTemporaryDir home;
    const ScopedVariable homeVariable("HOME", QFile::encodeName(home.path()));
    QFile blocker(home.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    // The root is no per-user folder; a relative path is invalid; a path
    // under a file can never be made.
    for (const QByteArray& dataHome :
         {QByteArray("/"), QByteArray("relative/data"), QFile::encodeName(blocker.fileName() + "/data")}) {
        const ScopedVariable dataHomeVariable("XDG_DATA_HOME", dataHome);
        CString strFolder;
        GetDataFolder(strFolder);
        EXPECT_EQ(strFolder, home.path() + "/.local/share/KestrelRadio") << dataHome.constData();
        EXPECT_TRUE(QFileInfo(strFolder).isDir());
    }
}

TEST(DataFolderTest, WithNoUsableDataHomeAtAllTheFolderIsBesideTheExecutable)
{
    const ScopedVariable homeVariable("HOME", "/proc/no-home");
    const ScopedVariable dataHomeVariable("XDG_DATA_HOME", "/proc/no-data");
    EXPECT_FALSE(CUserDataFolder::IsAvailable());
    CString strFolder;
    GetDataFolder(strFolder);
    EXPECT_EQ(strFolder, ModuleFolder() + "/KestrelRadio");
    EXPECT_TRUE(QFileInfo(strFolder).isDir());
    QDir(strFolder).removeRecursively();
}

TEST(DataFolderTest, AnEmptyOrOneCharacterBaseFallsBackBesideTheExecutable)
{
    for (const char* pszBase : {"", "x"}) {
        const CDataFolderBaseOverride base(pszBase);
        CString strFolder;
        GetDataFolder(strFolder);
        EXPECT_EQ(strFolder, ModuleFolder() + "/KestrelRadio") << pszBase;
    }
    QDir(ModuleFolder() + "/KestrelRadio").removeRecursively();
    const CDataFolderBaseOverride twoCharacters("/t");
    CString strFolder;
    GetDataFolder(strFolder);
    EXPECT_EQ(strFolder, "/t/KestrelRadio");
}

TEST(DataFolderTest, DoubledSeparatorsAreCollapsedInOnePass)
{
    QTemporaryDir root;
    const CDataFolderBaseOverride trailing(root.path() + "/");
    CString strFolder;
    GetDataFolder(strFolder);
    EXPECT_EQ(strFolder, root.path() + "/KestrelRadio");
    EXPECT_EQ(GetStationListPath(), root.path() + "/KestrelRadio/StationList.zip");

    EXPECT_EQ(CollapseDoubledSeparators("//srv/share"), "/srv/share");
    EXPECT_EQ(CollapseDoubledSeparators("a///b"), "a//b");
    EXPECT_EQ(CollapseDoubledSeparators("a////b//"), "a//b/");
    EXPECT_EQ(CollapseDoubledSeparators("/a/b"), "/a/b");
}

TEST(DataFolderTest, AFolderThatCannotBeCreatedIsNotReported)
{
    QTemporaryDir root;
    QFile blocker(root.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const CDataFolderBaseOverride base(blocker.fileName());
    CString strFolder;
    GetDataFolder(strFolder);
    EXPECT_EQ(strFolder, blocker.fileName() + "/KestrelRadio");
    EXPECT_FALSE(QFileInfo::exists(strFolder));
}

TEST(DataFolderTest, TheModulePathIsTheRunningExecutable)
{
    CString strPath;
    GetModulePath(strPath);
    EXPECT_EQ(strPath, QCoreApplication::applicationFilePath());
    CString strFolder;
    GetModuleFolder(strFolder);
    EXPECT_EQ(strFolder, ModuleFolder());
}

}
