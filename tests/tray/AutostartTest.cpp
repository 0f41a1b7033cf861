// Start at log-in on real files: the desktop entry rules of the Exec line,
// the autostart folder's entry written, read back and removed, and what the
// start state reads from entries the program did not write.
#include "TestApplication.h"
#include "frame/AutoStartup.h"
#include "platform/autostart/DesktopEntry.h"
#include "platform/autostart/XdgAutostartFolder.h"
#include "res/ProductInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

class AutostartTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    }
    void TearDown() override
    {
        QFile::setPermissions(Folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString Folder() const { return m_config.path() + QStringLiteral("/autostart"); }
    QString EntryFile() const { return CXdgAutostartFolder(Folder()).EntryPath(ProductInfo::ApplicationTitle()); }
    void WriteFile(const QByteArray& text) const
    {
        QDir().mkpath(Folder());
        QFile file(EntryFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    // An existing program with an awkward path.
    QString ExistingProgram() const
    {
        const QString strFolder = m_config.path() + QStringLiteral("/My Programs/100% \"radio\" $x \\ 'y'");
        QDir().mkpath(strFolder);
        const QString strProgram = strFolder + QStringLiteral("/kestrel radio");
        QFile file(strProgram);
        file.open(QIODevice::WriteOnly);
        return strProgram;
    }

    TestApplication m_app;
    QTemporaryDir m_config;
};

TEST_F(AutostartTest, ArgumentsSurviveTheExecLineAndItsStringEscapes)
{
    const QStringList arguments{QStringLiteral("/opt/My Radio/kestrel-radio"),
                                QStringLiteral(":silent"),
                                QStringLiteral("a\"b`c$d\\e"),
                                QStringLiteral("100%"),
                                QStringLiteral("tab\there"),
                                QStringLiteral("")};
    const QString strExec = DesktopEntry::JoinArguments(arguments);
    EXPECT_EQ(strExec.left(32), QStringLiteral("\"/opt/My Radio/kestrel-radio\" :s"));
    EXPECT_TRUE(strExec.contains(QStringLiteral("\"a\\\"b\\`c\\$d\\\\e\"")));
    EXPECT_TRUE(strExec.contains(QStringLiteral(" 100%% ")));
    // As the file holds it and as a reader gets it back.
    const QString strStored = DesktopEntry::EscapeValue(strExec);
    EXPECT_FALSE(strStored.contains(QLatin1Char('\t')));
    EXPECT_EQ(DesktopEntry::SplitArguments(DesktopEntry::UnescapeValue(strStored)), arguments);

    // Texts that break the rules give nothing rather than a guess.
    EXPECT_FALSE(DesktopEntry::SplitArguments(QStringLiteral("\"/opt/unclosed :silent")));
    EXPECT_FALSE(DesktopEntry::SplitArguments(QStringLiteral("\"/opt/%f\"")));
    EXPECT_EQ(DesktopEntry::SplitArguments(QStringLiteral("  /usr/bin/x   :silent ")),
              (QStringList{QStringLiteral("/usr/bin/x"), QStringLiteral(":silent")}));
}

TEST_F(AutostartTest, TheProgramsEntryIsWrittenWholeReadBackAndRemoved)
{
    EXPECT_EQ(QueryAutoStartup(), 0);
    WriteAutoStartupEntry(TRUE);
    EXPECT_TRUE(QDir(Folder()).exists());
    // Only the entry: no temporary file is left beside it.
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files), QStringList{ProductInfo::ApplicationTitle() + ".desktop"});
    QFile file(EntryFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString strText = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(strText.startsWith(QStringLiteral("[Desktop Entry]\n")));
    EXPECT_TRUE(strText.contains(QStringLiteral("\nName=") + ProductInfo::ApplicationTitle() + '\n'));
    EXPECT_TRUE(strText.contains(QStringLiteral("\nType=Application\n")));
    CXdgAutostartFolder folder(Folder());
    CString strExec;
    ASSERT_TRUE(ReadRegistryString(folder, ProductInfo::ApplicationTitle(), strExec));
    EXPECT_EQ(folder.SplitCommandText(strExec),
              (QStringList{QCoreApplication::applicationFilePath(), QStringLiteral(":silent")}));
    EXPECT_EQ(QueryAutoStartup(), 1);

    WriteAutoStartupEntry(FALSE);
    EXPECT_FALSE(QFile::exists(EntryFile()));
    EXPECT_EQ(QueryAutoStartup(), 0);
}

TEST_F(AutostartTest, AnEntryCountsOnlyWhenItNamesAnExistingFile)
{
    CXdgAutostartFolder folder(Folder());
    ASSERT_TRUE(folder.Open());
    const QString strProgram = ExistingProgram();
    const QString strName = ProductInfo::ApplicationTitle();

    ASSERT_TRUE(WriteRegistryString(folder, strName, folder.CommandText({strProgram, QStringLiteral(":silent")})));
    EXPECT_EQ(QueryAutoStartup(), 1) << "a quoted path with blanks is the program";
    // A missing file, extra arguments, an unquoted path with blanks.
    for (const QString& strExec : {folder.CommandText({strProgram + "-gone", ":silent"}),
                                   folder.CommandText({strProgram, "--other", ":silent"}), strProgram + " :silent"}) {
        ASSERT_TRUE(WriteRegistryString(folder, strName, strExec));
        EXPECT_EQ(QueryAutoStartup(), 0) << qPrintable(strExec);
    }
    // The entry is read back only up to 255 characters.
    const QString strLong = QStringLiteral("/") + QString(300, QLatin1Char('x'));
    ASSERT_TRUE(WriteRegistryString(folder, strName, strLong));
    CString strRead = QStringLiteral("stale");
    EXPECT_FALSE(ReadRegistryString(folder, strName, strRead));
    EXPECT_TRUE(strRead.isEmpty());
    EXPECT_EQ(QueryAutoStartup(), 0);

    // An entry the user switched off in the desktop's settings, and files
    // that are not entries at all.
    WriteFile("[Desktop Entry]\nType=Application\nExec=" + strProgram.toUtf8() + "\nHidden=true\n");
    EXPECT_EQ(QueryAutoStartup(), 0);
    WriteFile("[Other Group]\nExec=/bin/true\n");
    EXPECT_EQ(QueryAutoStartup(), 0);
    WriteFile(QByteArray(70 * 1024, 'x'));
    EXPECT_EQ(QueryAutoStartup(), 0);
}

TEST_F(AutostartTest, TheFolderFollowsTheConfigHomeAndFallsBackWhereItNamesNone)
{
    EXPECT_EQ(CXdgAutostartFolder::DefaultFolder(), Folder());
    // A relative config home is invalid; so is none at all.
    const QString strFallback = QDir::homePath() + QStringLiteral("/.config/autostart");
    qputenv("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(CXdgAutostartFolder::DefaultFolder(), strFallback);
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(CXdgAutostartFolder::DefaultFolder(), strFallback);
}

TEST_F(AutostartTest, AFolderThatCannotBeOpenedForWritingReadsAsUnavailable)
{
    QDir().mkpath(Folder());
    ASSERT_TRUE(QFile::setPermissions(Folder(),
                                      QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                                          QFile::ReadOther | QFile::ExeOther));
    EXPECT_EQ(QueryAutoStartup(), -2);
    WriteAutoStartupEntry(TRUE);
    QFile::setPermissions(Folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(QFile::exists(EntryFile()));

    // A file where the folder should be.
    ASSERT_TRUE(QDir(Folder()).removeRecursively());
    QFile occupier(Folder());
    ASSERT_TRUE(occupier.open(QIODevice::WriteOnly));
    occupier.close();
    EXPECT_EQ(QueryAutoStartup(), -2);
}

TEST_F(AutostartTest, TickingReplacesASymlinkedEntryAndLeavesWhatItPointedToAlone)
{
    QDir().mkpath(Folder());
    const QString strVictim = m_config.path() + QStringLiteral("/notes.txt");
    const QByteArray victimText = "the user's own notes\n";
    {
        QFile victim(strVictim);
        ASSERT_TRUE(victim.open(QIODevice::WriteOnly));
        victim.write(victimText);
    }
    ASSERT_TRUE(QFile::link(strVictim, EntryFile()));

    WriteAutoStartupEntry(TRUE);

    QFile victim(strVictim);
    ASSERT_TRUE(victim.open(QIODevice::ReadOnly));
    EXPECT_EQ(victim.readAll(), victimText);
    const QFileInfo entry(EntryFile());
    EXPECT_FALSE(entry.isSymLink());
    EXPECT_TRUE(entry.isFile());
    EXPECT_EQ(QueryAutoStartup(), 1);
    // Only the entry: no temporary file is left beside it.
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList{entry.fileName()});

    // Unticking removes the link, never its target.
    ASSERT_TRUE(QFile::remove(EntryFile()));
    ASSERT_TRUE(QFile::link(strVictim, EntryFile()));
    WriteAutoStartupEntry(FALSE);
    EXPECT_FALSE(QFileInfo::exists(EntryFile()));
    EXPECT_FALSE(QFileInfo(EntryFile()).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(strVictim));
}

TEST_F(AutostartTest, AnEntryIsReadThroughALinkOnlyWhenTheLinkStaysInTheFolder)
{
    QDir().mkpath(Folder());
    const auto writeAt = [&](const QString& strPath) {
        QFile file(strPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Desktop Entry]\nType=Application\nExec=");
        file.write(CXdgAutostartFolder(Folder()).CommandText({ExistingProgram(), ":silent"}).toUtf8());
        file.write("\n");
    };
    const QString strInside = Folder() + QStringLiteral("/kept-elsewhere.desktop.in");
    const QString strOutside = m_config.path() + QStringLiteral("/outside.desktop");
    writeAt(strInside);
    writeAt(strOutside);

    ASSERT_TRUE(QFile::link(strInside, EntryFile()));
    EXPECT_EQ(QueryAutoStartup(), 1);
    ASSERT_TRUE(QFile::remove(EntryFile()));
    ASSERT_TRUE(QFile::link(strOutside, EntryFile()));
    EXPECT_EQ(QueryAutoStartup(), 0);
    // A link in the folder that leads out through another one.
    ASSERT_TRUE(QFile::remove(EntryFile()));
    ASSERT_TRUE(QFile::link(strOutside, Folder() + QStringLiteral("/hop")));
    ASSERT_TRUE(QFile::link(Folder() + QStringLiteral("/hop"), EntryFile()));
    EXPECT_EQ(QueryAutoStartup(), 0);
    // A device that never ends.
    ASSERT_TRUE(QFile::remove(EntryFile()));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), EntryFile()));
    EXPECT_EQ(QueryAutoStartup(), 0);
}

TEST_F(AutostartTest, AFifoAtTheEntrysPathIsNeitherWaitedOnNorWrittenThrough)
{
    QDir().mkpath(Folder());
    const QByteArray fifoPath = QFile::encodeName(EntryFile());
    ASSERT_EQ(::mkfifo(fifoPath.constData(), 0600), 0);

    // Reading the state must come back although nobody writes to the FIFO.
    std::atomic<int> nState{-100};
    std::thread query([&] { nState = QueryAutoStartup(); });
    const bool bAnswered = QTest::qWaitFor([&] { return nState != -100; }, 20000);
    if (!bAnswered) {
        // Free the reader stuck in open() or read() so the test can end.
        const int fd = ::open(fifoPath.constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    }
    query.join();
    EXPECT_TRUE(bAnswered) << "reading the entry waited on the FIFO";
    EXPECT_EQ(nState, 0);

    WriteAutoStartupEntry(TRUE);
    EXPECT_TRUE(QFileInfo(EntryFile()).isFile());
    EXPECT_EQ(QueryAutoStartup(), 1);
}

}
