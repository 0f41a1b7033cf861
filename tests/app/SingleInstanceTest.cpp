// Two real processes of the program on a private display: the second finds
// the first, forwards its number or brings it to the front, and ends.
// Everything is observed from outside: the X server's windows, the running
// instance's own diagnostics and its profile.

#include "res/ProductInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QSettings>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString kProgram = QStringLiteral(KESTREL_PROGRAM);

bool WaitUntil(const std::function<bool()>& condition, int nTimeoutMs = 15000)
{
    return QTest::qWaitFor(condition, nTimeoutMs);
}

QString RunTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(10000);
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

// The program's main windows that are mapped and viewable.
QStringList VisibleMainWindows()
{
    const QString found = RunTool(QStringLiteral("xdotool"),
                                  {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                   QLatin1Char('^') + ProductInfo::ApplicationTitle() + QLatin1Char('$')});
    return found.isEmpty() ? QStringList() : found.split(QLatin1Char('\n'));
}

QString FocusedWindow()
{
    return RunTool(QStringLiteral("xdotool"), {QStringLiteral("getwindowfocus")});
}

class Program
{
public:
    // launcherVariables: what a launcher puts in the environment besides.
    explicit Program(const QStringList& arguments, const QMap<QString, QString>& launcherVariables = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (auto it = launcherVariables.cbegin(); it != launcherVariables.cend(); ++it)
            environment.insert(it.key(), it.value());
        environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("kestrel.instance.debug=true"));
        // Nothing listens there: the pages reach no server, and no test
        // reaches beyond this machine.
        environment.insert(QStringLiteral("KESTREL_RADIO_SERVER"), QStringLiteral("http://127.0.0.1:9"));
        environment.insert(QStringLiteral("KESTREL_MUSIC_SITE"), QStringLiteral("http://127.0.0.1:9"));
        environment.insert(QStringLiteral("KESTREL_PROMO_SITE"), QStringLiteral("http://127.0.0.1:9"));
        m_process.setProcessEnvironment(environment);
        m_process.start(kProgram, arguments);
    }
    ~Program()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(10000))
                m_process.kill();
        }
    }

    QString Log()
    {
        m_log += QString::fromLocal8Bit(m_process.readAllStandardError());
        return m_log;
    }
    bool WaitForLog(const QString& text)
    {
        return WaitUntil([&] { return Log().contains(text); });
    }
    bool Finished(int nTimeoutMs = 15000) { return m_process.waitForFinished(nTimeoutMs); }
    QProcess& Process() { return m_process; }

private:
    QProcess m_process;
    QString m_log;
};

class SingleInstanceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("DISPLAY"));
        QSettings profile(QSettings::IniFormat, QSettings::UserScope, ProductInfo::MakerDomain(),
                          ProductInfo::ApplicationTitle());
        profile.clear();
        // The hot key page: the radio page would download its station list
        // and show its own dialog and message box, which are not this test's.
        profile.setValue(QStringLiteral("Settings/LastCategory"), 1);
        profile.sync();
        m_strProfile = profile.fileName();
    }

    static QString SocketPath()
    {
        return qEnvironmentVariable("XDG_RUNTIME_DIR") + QLatin1Char('/') + ProductInfo::ApplicationTitle();
    }

    // Starts the first instance and waits until later ones can find it.
    std::unique_ptr<Program> StartFirst(const QStringList& arguments, bool bShown)
    {
        auto pFirst = std::make_unique<Program>(arguments);
        EXPECT_TRUE(WaitUntil([] { return QFile::exists(SocketPath()); })) << qPrintable(pFirst->Log());
        if (bShown) {
            EXPECT_TRUE(WaitUntil([] { return VisibleMainWindows().size() == 1; }));
        } else {
            // Give a wrongly shown window time to appear.
            QTest::qWait(700);
            EXPECT_TRUE(VisibleMainWindows().isEmpty());
        }
        return pFirst;
    }

    // Runs a second instance to its end; it must end by itself, quickly and
    // without a window of its own.
    static void RunSecond(const QStringList& arguments, const QMap<QString, QString>& launcherVariables = {})
    {
        Program second(arguments, launcherVariables);
        ASSERT_TRUE(second.Finished()) << "the second instance did not end";
        EXPECT_EQ(second.Process().exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second.Process().exitCode(), 0);
        EXPECT_LE(VisibleMainWindows().size(), 1);
    }

    static QString OwnPathQuoted()
    {
        return QLatin1Char('"') + QFileInfo(kProgram).canonicalFilePath() + QLatin1Char('"');
    }

    QString m_strProfile;
};

TEST_F(SingleInstanceTest, NoArgumentShowsTheWindowAndASecondStartActivatesIt)
{
    auto pFirst = StartFirst({}, true);
    RunSecond({});
    EXPECT_TRUE(pFirst->WaitForLog(QStringLiteral("show and activate")));
    EXPECT_FALSE(pFirst->Log().contains(QStringLiteral("message")));
    ASSERT_EQ(VisibleMainWindows().size(), 1);
    EXPECT_TRUE(WaitUntil([] { return FocusedWindow() == VisibleMainWindows().value(0); }));
}

TEST_F(SingleInstanceTest, TheSecondStartsLaunchTokenBringsTheRunningWindowForward)
{
    // An X11 launcher's startup id: the running window is marked with it,
    // which is what the window manager weighs when it lets a window take
    // the focus.
    auto pFirst = StartFirst({QStringLiteral(":silent")}, false);
    const QString strStartupId = QStringLiteral("launcher/kestrel-radio/4242-0-testhost_TIME987654");
    RunSecond({}, {{QStringLiteral("DESKTOP_STARTUP_ID"), strStartupId}});
    EXPECT_TRUE(pFirst->WaitForLog(QStringLiteral("show and activate, token \"%1\"").arg(strStartupId)));
    ASSERT_TRUE(WaitUntil([] { return VisibleMainWindows().size() == 1; }));
    EXPECT_EQ(RunTool(QStringLiteral("xprop"),
                      {QStringLiteral("-id"), VisibleMainWindows().value(0), QStringLiteral("_NET_STARTUP_ID")}),
              QStringLiteral("_NET_STARTUP_ID(UTF8_STRING) = \"%1\"").arg(strStartupId));
    EXPECT_TRUE(WaitUntil([] { return FocusedWindow() == VisibleMainWindows().value(0); }));

    // A Wayland launcher's token goes first when a launcher sets both.
    RunSecond({},
              {{QStringLiteral("XDG_ACTIVATION_TOKEN"), QStringLiteral("wayland-token-1")},
               {QStringLiteral("DESKTOP_STARTUP_ID"), strStartupId}});
    EXPECT_TRUE(pFirst->WaitForLog(QStringLiteral("show and activate, token \"wayland-token-1\"")));
}

TEST_F(SingleInstanceTest, SilentStartStaysHiddenUntilASecondStartShowsIt)
{
    auto pFirst = StartFirst({QStringLiteral(":silent")}, false);
    RunSecond({QStringLiteral(":silent")});
    EXPECT_TRUE(pFirst->WaitForLog(QStringLiteral("show and activate")));
    ASSERT_TRUE(WaitUntil([] { return VisibleMainWindows().size() == 1; }));
    EXPECT_TRUE(WaitUntil([] { return FocusedWindow() == VisibleMainWindows().value(0); }));
}

TEST_F(SingleInstanceTest, PositiveNumberIsForwardedAndLeavesTheRunningInstanceAlone)
{
    auto pFirst = StartFirst({QStringLiteral(":silent")}, false);
    RunSecond({QStringLiteral("5")});
    EXPECT_TRUE(pFirst->WaitForLog(QStringLiteral("message 1028 5 5")));
    QTest::qWait(500);
    EXPECT_TRUE(VisibleMainWindows().isEmpty());
    EXPECT_FALSE(pFirst->Log().contains(QStringLiteral("show and activate")));
}

TEST_F(SingleInstanceTest, TextWithoutDigitsIsForwardedAsZero)
{
    auto pFirst = StartFirst({QStringLiteral(":silent")}, false);
    RunSecond({QStringLiteral("abc")});
    EXPECT_TRUE(pFirst->WaitForLog(QStringLiteral("message 1028 0 0")));
    QTest::qWait(500);
    EXPECT_TRUE(VisibleMainWindows().isEmpty());
}

TEST_F(SingleInstanceTest, NegativeNumberIsForwardedAndThenTheWindowIsShown)
{
    auto pFirst = StartFirst({QStringLiteral(":silent")}, false);
    RunSecond({QStringLiteral("-3")});
    EXPECT_TRUE(pFirst->WaitForLog(QStringLiteral("message 1028 -3 -3")));
    EXPECT_TRUE(pFirst->WaitForLog(QStringLiteral("show and activate")));
    EXPECT_LT(pFirst->Log().indexOf(QStringLiteral("message 1028 -3 -3")),
              pFirst->Log().indexOf(QStringLiteral("show and activate")));
    EXPECT_TRUE(WaitUntil([] { return VisibleMainWindows().size() == 1; }));
}

TEST_F(SingleInstanceTest, QuotedOwnPathCountsAsNoArgument)
{
    auto pFirst = StartFirst({OwnPathQuoted()}, true);
    EXPECT_FALSE(pFirst->Log().contains(QStringLiteral("message")));
    RunSecond({OwnPathQuoted()});
    EXPECT_TRUE(pFirst->WaitForLog(QStringLiteral("show and activate")));
    EXPECT_FALSE(pFirst->Log().contains(QStringLiteral("message")));
}

TEST_F(SingleInstanceTest, NumberWithoutARunningInstanceStartsHidden)
{
    auto pFirst = StartFirst({QStringLiteral("7")}, false);
    EXPECT_EQ(pFirst->Process().state(), QProcess::Running);
}

TEST_F(SingleInstanceTest, TerminationEndsTheProgramCleanly)
{
    auto pFirst = StartFirst({}, true);
    pFirst->Process().terminate();
    ASSERT_TRUE(pFirst->Finished(10000));
    EXPECT_EQ(pFirst->Process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(pFirst->Process().exitCode(), 0);
    // The clean path ran: the frame's placement was kept and the socket is gone.
    QSettings profile(m_strProfile, QSettings::IniFormat);
    EXPECT_TRUE(profile.contains(QStringLiteral("Workspace/MainWindowLeft")));
    EXPECT_FALSE(QFile::exists(SocketPath()));

    // The next start is a first start again.
    auto pNext = StartFirst({}, true);
}

TEST_F(SingleInstanceTest, MaximisedPlacementComesBackNormalAndHidden)
{
    {
        QSettings profile(m_strProfile, QSettings::IniFormat);
        profile.setValue(QStringLiteral("Workspace/MainWindowLeft"), 120);
        profile.setValue(QStringLiteral("Workspace/MainWindowTop"), 90);
        profile.setValue(QStringLiteral("Workspace/MainWindowRight"), 120 + 900);
        profile.setValue(QStringLiteral("Workspace/MainWindowBottom"), 90 + 640);
        profile.setValue(QStringLiteral("Workspace/MainWindowShowCmd"), 3);
        // Not a first run: the page leaves the window's size alone.
        profile.setValue(QStringLiteral("Settings/CKestrelRadioView"), 1);
        profile.setValue(QStringLiteral("Settings/CRadioSettingsView"), 1);
    }
    auto pFirst = StartFirst({QStringLiteral(":silent")}, false);
    RunSecond({});
    ASSERT_TRUE(WaitUntil([] { return VisibleMainWindows().size() == 1; }));
    const QString geometry =
        RunTool(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"), VisibleMainWindows().value(0)});
    EXPECT_TRUE(geometry.contains(QStringLiteral("Position: 120,90"))) << qPrintable(geometry);
    EXPECT_TRUE(geometry.contains(QStringLiteral("Geometry: 900x640"))) << qPrintable(geometry);
}

TEST_F(SingleInstanceTest, TwoStartsAtTheSameMomentLeaveOneProgram)
{
    for (int nRound = 0; nRound < 4; ++nRound) {
        Program first({});
        Program second({});
        ASSERT_TRUE(WaitUntil(
            [&] {
                return first.Process().state() == QProcess::NotRunning ||
                    second.Process().state() == QProcess::NotRunning;
            },
            30000))
            << "round " << nRound << ": both are still running";
        Program& ended = first.Process().state() == QProcess::NotRunning ? first : second;
        Program& running = &ended == &first ? second : first;
        EXPECT_EQ(ended.Process().exitStatus(), QProcess::NormalExit) << "round " << nRound;
        EXPECT_EQ(ended.Process().exitCode(), 0) << "round " << nRound;
        // The one that runs on was asked to come to the front, and stays alone.
        EXPECT_TRUE(running.WaitForLog(QStringLiteral("show and activate"))) << "round " << nRound;
        EXPECT_TRUE(WaitUntil([] { return VisibleMainWindows().size() == 1; })) << "round " << nRound;
        QTest::qWait(500);
        EXPECT_EQ(running.Process().state(), QProcess::Running) << "round " << nRound;
        EXPECT_EQ(VisibleMainWindows().size(), 1) << "round " << nRound;
    }
}

}
