// The real program from outside, on a private display, against pages that
// try what a hostile banner or site would: dialogs raised again and again,
// a dialog open when the program is told to end, links clicked by script.
// A stand-in for the desktop's opener (xdg-open on PATH) notes every
// address that leaves the program.
#include "../player/PlayerTestSupport.h"
#include "StationServer.h"

#include "res/ProductInfo.h"

#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>

namespace {

constexpr int kTimeoutMs = 30000;
// How long the download dialog may still show once the list was fetched.
constexpr int kSettleTimeoutMs = 10000;
constexpr char kBannerPath[] = "/banners/kestrel-radio.html";
constexpr char kStationListPath[] = "/stationlist.zip";
constexpr char kBeacon[] = "/beacon";

// A page script's sign of life: an image request the test server sees.
QByteArray Beacon(const QByteArray& name)
{
    return "new Image().src='" + QByteArray(kBeacon) + "?" + name + "-'+Date.now();";
}

QByteArray Page(const QByteArray& body)
{
    return "<!DOCTYPE html><html><head><meta charset='utf-8'>"
           "<style>html,body{margin:0;height:100%}a,input{position:absolute;inset:0;width:100%;height:100%}</style>"
           "</head><body>" +
        body + "</body></html>";
}

QString RunTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(10000);
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

class HostilePageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_home.isValid());
        ASSERT_TRUE(m_server.Start()) << qPrintable(m_server.Error());
        ASSERT_TRUE(m_pages.Start());
        // The station list as the station server makes it, so that the radio
        // page loads as usual beside the test's banner.
        QNetworkAccessManager network;
        QNetworkReply* pReply = network.get(QNetworkRequest(QUrl(m_server.Url(kStationListPath))));
        QSignalSpy finished(pReply, &QNetworkReply::finished);
        ASSERT_TRUE(finished.wait(kTimeoutMs));
        m_pages.Serve(kStationListPath, "application/octet-stream", pReply->readAll());
        delete pReply;

        WriteOpenerStandIn();
        const QString runtime = m_home.filePath(QStringLiteral("runtime"));
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        m_environment.insert(QStringLiteral("KESTREL_RADIO_SERVER"), m_pages.Url(QString()));
        m_environment.insert(QStringLiteral("KESTREL_MUSIC_SITE"), m_pages.Url(QString()));
        m_environment.insert(QStringLiteral("KESTREL_PROMO_SITE"), m_server.PromoBaseUrl());
        m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
        m_environment.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
        m_environment.insert(QStringLiteral("PATH"),
                             m_home.filePath(QStringLiteral("bin")) + ':' +
                                 m_environment.value(QStringLiteral("PATH")));
        // Qt picks the opener of a desktop it knows before xdg-open.
        for (const char* variable : {"XDG_CURRENT_DESKTOP", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID",
                                     "DESKTOP_SESSION", "DBUS_SESSION_BUS_ADDRESS", "BROWSER", "DEFAULT_BROWSER"})
            m_environment.remove(QLatin1String(variable));
        m_program.setProcessEnvironment(m_environment);
        m_program.setStandardOutputFile(QProcess::nullDevice());
        m_program.setStandardErrorFile(m_home.filePath(QStringLiteral("program.log")));
    }

    void TearDown() override
    {
        if (m_program.state() == QProcess::NotRunning)
            return;
        m_program.kill();
        m_program.waitForFinished(10000);
    }

    void WriteOpenerStandIn()
    {
        QDir().mkpath(m_home.filePath(QStringLiteral("bin")));
        QFile opener(m_home.filePath(QStringLiteral("bin/xdg-open")));
        ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
        opener.write("#!/bin/sh\necho \"$@\" >> '" + OpenerLog().toUtf8() + "'\n");
        opener.close();
        opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString OpenerLog() const { return m_home.filePath(QStringLiteral("opened.log")); }

    QStringList Opened() const
    {
        QFile log(OpenerLog());
        if (!log.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    void PresetMusicPage()
    {
        const QString folder = m_home.filePath(QStringLiteral("config/") + ProductInfo::MakerDomain());
        QDir().mkpath(folder);
        QFile profile(folder + '/' + ProductInfo::ApplicationTitle() + QStringLiteral(".ini"));
        ASSERT_TRUE(profile.open(QIODevice::WriteOnly));
        profile.write("[Settings]\nLastCategory=3\n");
    }

    void Start()
    {
        m_program.start(QStringLiteral(KESTREL_RADIO_PATH), {});
        ASSERT_TRUE(m_program.waitForStarted());
    }

    int Beacons(const QString& strName) const
    {
        const QStringList requested = m_pages.RequestedPaths();
        return static_cast<int>(std::count_if(requested.cbegin(), requested.cend(), [&](const QString& path) {
            return path.startsWith(QLatin1String(kBeacon) + '?' + strName + '-');
        }));
    }

    // The program's windows that are mapped: its main window, and any box
    // or dialog it shows.
    QStringList VisibleWindows() const
    {
        const QString found =
            RunTool(QStringLiteral("xdotool"),
                    {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                     QString::number(m_program.processId()), QStringLiteral("--name"), QStringLiteral(".")});
        return found.isEmpty() ? QStringList() : found.split('\n');
    }

    QString WindowNames() const
    {
        QStringList names;
        for (const QString& window : VisibleWindows())
            names << RunTool(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), window});
        return names.join(QStringLiteral(", "));
    }

    // The radio page has fetched its station list and shows the banner.
    bool WaitForRadioPage() const
    {
        return QTest::qWaitFor(
            [&] {
                return m_pages.RequestedPaths().contains(kStationListPath) &&
                    m_pages.RequestedPaths().contains(kBannerPath);
            },
            kTimeoutMs);
    }

    // Ends the program with SIGTERM; true when it ended by itself with 0.
    bool TerminateCleanly()
    {
        ::kill(static_cast<pid_t>(m_program.processId()), SIGTERM);
        return m_program.waitForFinished(kTimeoutMs) && m_program.exitStatus() == QProcess::NormalExit &&
            m_program.exitCode() == 0;
    }

    QString ProgramLog() const
    {
        QFile log(m_home.filePath(QStringLiteral("program.log")));
        return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll().right(2000)) : QString();
    }

    StationServer m_server;
    CFixedPagesServer m_pages;
    QTemporaryDir m_home;
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
    QProcess m_program;
};

TEST_F(HostilePageTest, ABannerWithTwoAlertsLetsTheProgramEndCleanly)
{
    m_pages.Serve(kBannerPath, "text/html", Page("<script>alert('one');alert('two');" + Beacon("after") + "</script>"));
    Start();
    ASSERT_TRUE(WaitForRadioPage());
    EXPECT_TRUE(QTest::qWaitFor([&] { return Beacons("after") == 1; }, kTimeoutMs)) << "the alerts held the page up";
    EXPECT_TRUE(QTest::qWaitFor([&] { return VisibleWindows().size() == 1; }, kSettleTimeoutMs))
        << "a box beside the main window: " << qPrintable(WindowNames());

    EXPECT_TRUE(TerminateCleanly()) << qPrintable(ProgramLog());
}

TEST_F(HostilePageTest, AnAlertLoopLeavesTheWindowFree)
{
    m_pages.Serve(kBannerPath, "text/html",
                  Page("<script>let n=0;function again(){alert('Again '+n);confirm('Stay?');prompt('Name?');" +
                       Beacon("alerted") + "if(++n<40)setTimeout(again,20);}again();</script>"));
    Start();
    ASSERT_TRUE(WaitForRadioPage());
    EXPECT_TRUE(QTest::qWaitFor([&] { return Beacons("alerted") == 40; }, kTimeoutMs))
        << "the page's script was held up: " << Beacons("alerted");
    EXPECT_TRUE(QTest::qWaitFor([&] { return VisibleWindows().size() == 1; }, kSettleTimeoutMs))
        << "a box holds the window: " << qPrintable(WindowNames());
    EXPECT_TRUE(TerminateCleanly()) << qPrintable(ProgramLog());
}

TEST_F(HostilePageTest, ABannerThatClicksItsLinksOpensNothing)
{
    m_pages.Serve(kBannerPath, "text/html",
                  Page("<a id='ad' href='http://127.0.0.1:9/ad' target='_blank'>Ad</a>"
                       "<a id='here' href='http://127.0.0.1:9/here'></a>"
                       "<script>let n=0;const t=setInterval(()=>{document.getElementById('ad').click();"
                       "document.getElementById('here').click();window.open('http://127.0.0.1:9/window');"
                       "location.href='mailto:someone@example.org';" +
                       Beacon("clicked") + "if(++n>=60)clearInterval(t);},20);</script>"));
    Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Beacons("clicked") >= 60; }, kTimeoutMs));
    EXPECT_EQ(Opened(), QStringList()) << "the script started the desktop's opener";
    EXPECT_TRUE(TerminateCleanly()) << qPrintable(ProgramLog());
}

TEST_F(HostilePageTest, AFileChooserOpenWhenTheProgramIsToldToEndClosesFirst)
{
    PresetMusicPage();
    m_pages.Serve("/", "text/html", Page("<input type='file'><script>onload=()=>{" + Beacon("ready") + "}</script>"));
    Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Beacons("ready") > 0; }, kTimeoutMs))
        << qPrintable(m_pages.RequestedPaths().join(' '));
    const QString window = RunTool(QStringLiteral("xdotool"),
                                   {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                    QLatin1Char('^') + ProductInfo::ApplicationTitle() + QLatin1Char('$')});
    ASSERT_FALSE(window.isEmpty());
    // The page covers the window below the ribbon with its file button;
    // clicked as the user clicks it until the chooser shows.
    const bool bChooserShown = QTest::qWaitFor(
        [&] {
            RunTool(QStringLiteral("xdotool"),
                    {QStringLiteral("mousemove"), QStringLiteral("--window"), window.section('\n', 0, 0),
                     QStringLiteral("200"), QStringLiteral("380"), QStringLiteral("click"), QStringLiteral("1")});
            return QTest::qWaitFor([&] { return VisibleWindows().size() > 1; }, 1000);
        },
        kTimeoutMs);
    ASSERT_TRUE(bChooserShown) << "the file chooser did not open";

    EXPECT_TRUE(TerminateCleanly()) << qPrintable(ProgramLog());
}

}
