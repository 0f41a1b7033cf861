// The real program in a real notification area: kestrel-radio started on
// the test display beside trayer, against the station server, heard at the
// test sink, driven by mouse and keys on its icon.
#include "PlayerTestSupport.h"
#include "RadioProgram.h"
#include "StationServer.h"
#include "StreamLog.h"
#include "TrayHost.h"
#include "platform/autostart/XdgAutostartFolder.h"
#include "res/ProductInfo.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <csignal>

namespace {

constexpr int kPlayTimeoutMs = 20000;
const QString kDemoMp3 = QStringLiteral("/streams/kestrel-mp3");
const QString kProgramClass = QStringLiteral("kestrel-radio");
const QString kBannerPath = QStringLiteral("/banners/kestrel-radio.html");
constexpr double kAudible = 0.01;

bool WaitFor(const std::function<bool()>& condition, int nTimeoutMs = kPlayTimeoutMs)
{
    return QTest::qWaitFor(condition, nTimeoutMs);
}

bool SoundArrives()
{
    return WaitFor([] { return PlayerTestSupport::RecordPeakLevel(700) > kAudible; }, 8000);
}

// The tray menu from the keyboard: its items top to bottom are Exit,
// Customize Menu..., Show, Stop, Play, Play Previous Channel, Play Next
// Channel (separators are skipped).
QStringList MenuItemKeys(int nItem)
{
    QStringList keys;
    for (int i = 0; i <= nItem; ++i)
        keys.append(QStringLiteral("Down"));
    keys.append(QStringLiteral("Return"));
    return keys;
}
constexpr int kExitItem = 0;
constexpr int kStopItem = 3;
constexpr int kPlayItem = 4;

class TrayProgramTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("DISPLAY"));
        ASSERT_TRUE(m_tray.Start()) << "trayer did not start";
        m_pServer = std::make_unique<StationServer>();
        ASSERT_TRUE(m_pServer->Start()) << qPrintable(m_pServer->Error());
        m_pProgram = std::make_unique<RadioProgram>(*m_pServer);
    }

    void TearDown() override
    {
        // A program that a launcher started is no child of the test's.
        if (const QString strIcon = m_tray.IconWindow(kProgramClass, 0); !strIcon.isEmpty()) {
            if (const qint64 nPid = XTools::WindowPid(strIcon); nPid > 0)
                ::kill(static_cast<pid_t>(nPid), SIGTERM);
        }
        m_pProgram.reset();
        m_pServer.reset();
        m_tray.Stop();
    }

    void ChooseFromTrayMenu(int nItem)
    {
        const QString strIcon = m_tray.IconWindow(kProgramClass);
        ASSERT_FALSE(strIcon.isEmpty());
        ASSERT_TRUE(XTools::ClickForMenu(strIcon, 3, kProgramClass));
        XTools::Keys(MenuItemKeys(nItem));
    }

    // The main window once it has kept its X window for a second.
    QString StableMainWindow() const
    {
        QString strSeen;
        QElapsedTimer steady;
        WaitFor([&] {
            const QString strNow = m_pProgram->MainWindow(1000);
            if (strNow != strSeen) {
                strSeen = strNow;
                steady.start();
            }
            return !strSeen.isEmpty() && steady.elapsed() >= 1000;
        });
        return strSeen;
    }

    int Starts(const QString& strMount) const { return CountStreamStarts(*m_pServer, strMount); }
    int Ends(const QString& strMount) const { return CountStreamEnds(*m_pServer, strMount); }

    TrayHost m_tray;
    std::unique_ptr<StationServer> m_pServer;
    std::unique_ptr<RadioProgram> m_pProgram;
};

TEST_F(TrayProgramTest, TheCloseButtonHidesTheWindowWhilePlayingGoesOnAndExitEndsTheProgramAndItsIcon)
{
    ASSERT_TRUE(m_pProgram->Start());
    ASSERT_TRUE(WaitFor([&] { return Starts(kDemoMp3) == 1; })) << qPrintable(m_pProgram->ErrorOutput());
    const QString strIcon = m_tray.IconWindow(kProgramClass);
    ASSERT_FALSE(strIcon.isEmpty()) << "no icon in the notification area";
    // Playing, the download dialog (which carries the title too) is gone.
    ASSERT_TRUE(SoundArrives());
    // The window's native surface is made anew when the web engine first
    // joins it (the banner's first page): a close request sent to the
    // window that is going would be lost on the way.
    ASSERT_TRUE(WaitFor([&] { return m_pServer->CountRequests(kBannerPath) >= 1; }));
    const QString strWindow = StableMainWindow();
    ASSERT_FALSE(strWindow.isEmpty());

    ASSERT_TRUE(XTools::SendDeleteWindow(strWindow));
    EXPECT_TRUE(WaitFor([&] { return !m_pProgram->HasVisibleWindow(); }, 5000)) << "the window still shows";
    EXPECT_TRUE(m_pProgram->IsRunning());
    EXPECT_TRUE(SoundArrives()) << "playback stopped with the window";
    EXPECT_EQ(Ends(kDemoMp3), 0);

    // A single click does nothing; a double-click brings the window back.
    XTools::Click(strIcon, 1);
    QTest::qWait(1000);
    EXPECT_FALSE(m_pProgram->HasVisibleWindow());
    XTools::Click(strIcon, 1, 2);
    EXPECT_FALSE(m_pProgram->MainWindow(5000).isEmpty()) << "the double-click did not restore the window";

    ChooseFromTrayMenu(kExitItem);
    EXPECT_TRUE(m_pProgram->WaitForEnd(10000)) << "Exit did not end the program";
    EXPECT_TRUE(m_pProgram->EndedCleanly());
    EXPECT_TRUE(WaitFor([&] { return !m_tray.HasIcon(kProgramClass); }, 5000)) << "the icon outlived the program";
}

TEST_F(TrayProgramTest, StopAndPlayFromTheTrayMenuReachTheRadioPageWhileTheWindowStaysHidden)
{
    ASSERT_TRUE(m_pProgram->Start({QStringLiteral(":silent")}));
    ASSERT_TRUE(WaitFor([&] { return Starts(kDemoMp3) == 1; })) << qPrintable(m_pProgram->ErrorOutput());
    ASSERT_TRUE(SoundArrives());

    ChooseFromTrayMenu(kStopItem);
    ASSERT_TRUE(WaitFor([&] { return Ends(kDemoMp3) == 1; })) << "Stop did not stop the stream";
    EXPECT_FALSE(m_pProgram->HasVisibleWindow());

    ChooseFromTrayMenu(kPlayItem);
    EXPECT_TRUE(WaitFor([&] { return Starts(kDemoMp3) == 2; })) << "Play did not play the channel again";
    EXPECT_TRUE(SoundArrives());
    EXPECT_FALSE(m_pProgram->HasVisibleWindow()) << "the menu showed the hidden window";
}

TEST_F(TrayProgramTest, StartingTheProgramAgainShowsTheHiddenWindow)
{
    ASSERT_TRUE(m_pProgram->Start({QStringLiteral(":silent")}));
    ASSERT_FALSE(m_tray.IconWindow(kProgramClass).isEmpty());
    // Started: the list has come and its channel plays, with the window hidden.
    ASSERT_TRUE(WaitFor([&] { return Starts(kDemoMp3) == 1; })) << qPrintable(m_pProgram->ErrorOutput());
    EXPECT_FALSE(m_pProgram->HasVisibleWindow());

    RadioProgram second(*m_pServer);
    ASSERT_TRUE(second.Start());
    EXPECT_TRUE(second.WaitForEnd(10000)) << "the second start did not hand over";
    EXPECT_FALSE(m_pProgram->MainWindow(10000).isEmpty()) << "the hidden window did not come back";
    EXPECT_TRUE(m_pProgram->IsRunning());
}

TEST_F(TrayProgramTest, AnAutoPlayOtherThanOnePlaysNothingOnceTheListHasLoaded)
{
    for (int nAutoPlay : {0, 2}) {
        RadioProgram program(*m_pServer);
        program.Preset(QStringLiteral("Settings/AutoPlay"), nAutoPlay);
        const int nListsBefore = m_pServer->CountRequests(QStringLiteral("/stationlist.zip"));
        ASSERT_TRUE(program.Start({QStringLiteral(":silent")}));
        ASSERT_TRUE(WaitFor([&] {
            return m_pServer->CountRequests(QStringLiteral("/stationlist.zip")) == nListsBefore + 1;
        })) << "the list was not fetched";
        QTest::qWait(3000);
        EXPECT_EQ(Starts(kDemoMp3), 0) << "AutoPlay " << nAutoPlay;
        EXPECT_TRUE(program.IsRunning());
    }
}

TEST_F(TrayProgramTest, TheAutostartEntryLaunchedByTheDesktopStartsTheProgramHiddenWithItsIcon)
{
    // A program path with blanks, quotes and a dollar sign: the entry must
    // quote it so that the desktop still finds the program.
    const QString strFolder = m_pProgram->HomeFolder() + QStringLiteral("/Radio \"Kestrel\" $HOME's bin");
    ASSERT_TRUE(QDir().mkpath(strFolder));
    const QString strProgram = strFolder + QStringLiteral("/kestrel-radio");
    ASSERT_TRUE(QFile::link(QStringLiteral(KESTREL_RADIO_PATH), strProgram));

    CXdgAutostartFolder autostart(m_pProgram->HomeFolder() + QStringLiteral("/config/autostart"));
    ASSERT_TRUE(autostart.Open());
    ASSERT_TRUE(autostart.WriteEntry(ProductInfo::ApplicationTitle(),
                                     autostart.CommandText({strProgram, QStringLiteral(":silent")})));

    // GLib's launcher reads the entry the way desktop sessions do.
    ASSERT_TRUE(m_pProgram->StartCommand(
        {QStringLiteral("gio"), QStringLiteral("launch"), autostart.EntryPath(ProductInfo::ApplicationTitle())}));
    EXPECT_FALSE(m_tray.IconWindow(kProgramClass, 15000).isEmpty()) << "the program did not start with its icon";
    ASSERT_TRUE(WaitFor([&] { return Starts(kDemoMp3) == 1; })) << "the started program does not play";
    EXPECT_FALSE(m_pProgram->HasVisibleWindow()) << "the program started with its window shown";
    ChooseFromTrayMenu(kExitItem);
    EXPECT_TRUE(WaitFor([&] { return !m_tray.HasIcon(kProgramClass); }, 10000));
}

}
