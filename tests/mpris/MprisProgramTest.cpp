// The program in the desktop's media controls: kestrel-radio started on the
// test display with a private session bus, against the station server, and
// driven only from outside, with busctl and dbus-monitor as a desktop
// client would.
#include "PlayerTestSupport.h"
#include "DesktopSessionBus.h"
#include "RadioProgram.h"
#include "StationServer.h"
#include "res/ProductInfo.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusError>
#include <QDBusPendingCall>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr int kTimeoutMs = 20000;
constexpr char kBusVariable[] = "DBUS_SESSION_BUS_ADDRESS";
constexpr char kDataDirsVariable[] = "XDG_DATA_DIRS";
// The demo catalogue on a fresh profile: the third row plays the MP3 demo,
// the fourth the same stream under a Japanese name, the second the talk.
const QString kDemoMp3 = QStringLiteral("/streams/kestrel-mp3");
const QString kTalk = QStringLiteral("/streams/kestrel-talk");
const QString kVorbis = QStringLiteral("/streams/kestrel-ogg");
const QString kThirdRow = QStringLiteral("Kestrel Radio Demo");
const QString kFourthRow = QString::fromUtf8("ケストレル・ラジオ");
const QString kLastChannelIndex = QStringLiteral("Settings/LastChannelIndex");
const QString kLastCategory = QStringLiteral("Settings/LastCategory");
// The rows of the demo catalogue that a fresh profile shows.
constexpr int kDemoRowCount = 9;
const QString kDemoTitlePrefix = QStringLiteral("Kestrel Demo - Track ");
constexpr double kAudible = 0.01;

bool WaitFor(const std::function<bool()>& condition, int nTimeoutMs = kTimeoutMs)
{
    return QTest::qWaitFor(condition, nTimeoutMs);
}

class MprisProgramTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_FALSE(qEnvironmentVariableIsEmpty("DISPLAY")); }

    void TearDown() override
    {
        m_pProgram.reset();
        m_pServer.reset();
        m_pSession.reset();
        if (m_dataDirs && m_dataDirs->isEmpty())
            qunsetenv(kDataDirsVariable);
        else if (m_dataDirs)
            qputenv(kDataDirsVariable, *m_dataDirs);
    }

    // The station server titles a new song every two seconds of stream.
    void StartServer()
    {
        m_pServer = std::make_unique<StationServer>(
            StationServerOptions{.extraArguments = {QStringLiteral("--title-interval"), QStringLiteral("2")}});
        ASSERT_TRUE(m_pServer->Start()) << qPrintable(m_pServer->Error());
    }

    // presets: profile values, as "Settings/LastCategory", set before the start.
    void StartProgramOnBus(const QVariantHash& presets = {})
    {
        StartServer();
        m_pSession = std::make_unique<DesktopSessionBus>();
        ASSERT_TRUE(m_pSession->Start());
        m_pProgram = std::make_unique<RadioProgram>(*m_pServer);
        for (auto preset = presets.cbegin(); preset != presets.cend(); ++preset)
            m_pProgram->Preset(preset.key(), preset.value());
        ASSERT_TRUE(m_pProgram->Start());
        ASSERT_TRUE(WaitFor([&] { return Client().IsOnBus(); })) << qPrintable(m_pProgram->ErrorOutput());
    }

    void WaitUntilPlaying()
    {
        ASSERT_TRUE(WaitFor([&] { return Starts(kDemoMp3) == 1; })) << qPrintable(m_pProgram->ErrorOutput());
        ASSERT_TRUE(WaitFor([&] { return Status() == QLatin1String("Playing"); })) << qPrintable(Status());
    }

    const MprisClient& Client() const { return m_pSession->Client(); }
    QString Status() const { return Client().PlayerProperty("PlaybackStatus").toString(); }
    int Starts(const QString& strMount) const { return CountStreamStarts(*m_pServer, strMount); }
    int Ends(const QString& strMount) const { return CountStreamEnds(*m_pServer, strMount); }

    // The program's icon where the desktop finds installed icons.
    QString InstallIcon()
    {
        m_dataDirs = qgetenv(kDataDirsVariable);
        const QString strIcon = m_iconData.filePath(QStringLiteral("icons/hicolor/scalable/apps/kestrel-radio.svg"));
        QDir().mkpath(QFileInfo(strIcon).path());
        QFile file(strIcon);
        if (!file.open(QIODevice::WriteOnly) || file.write("<svg xmlns='http://www.w3.org/2000/svg'/>") <= 0)
            return QString();
        qputenv(kDataDirsVariable, (m_iconData.path() + QStringLiteral(":/usr/local/share:/usr/share")).toLocal8Bit());
        return strIcon;
    }

    QTemporaryDir m_iconData;
    std::optional<QByteArray> m_dataDirs;
    std::unique_ptr<DesktopSessionBus> m_pSession;
    std::unique_ptr<StationServer> m_pServer;
    std::unique_ptr<RadioProgram> m_pProgram;
    // Presets the time-shift setting when set.
};

TEST_F(MprisProgramTest, TheDesktopSeesWhoPlaysWhatAndTheSongsAsTheyChange)
{
    const QString strIcon = InstallIcon();
    ASSERT_FALSE(strIcon.isEmpty());
    StartProgramOnBus();
    EXPECT_EQ(Client().Property(MprisClient::kRoot, "Identity").toString(), QStringLiteral("Kestrel Radio"));
    EXPECT_EQ(Client().Property(MprisClient::kRoot, "DesktopEntry").toString(), ProductInfo::ApplicationId());
    EXPECT_TRUE(Client().Property(MprisClient::kRoot, "CanRaise").toBool());
    EXPECT_TRUE(Client().Property(MprisClient::kRoot, "CanQuit").toBool());
    EXPECT_FALSE(Client().Property(MprisClient::kRoot, "HasTrackList").toBool(true));
    const QJsonArray schemes = Client().Property(MprisClient::kRoot, "SupportedUriSchemes").toArray();
    EXPECT_TRUE(schemes.contains(QStringLiteral("http")) && schemes.contains(QStringLiteral("https")));
    const QJsonArray mimeTypes = Client().Property(MprisClient::kRoot, "SupportedMimeTypes").toArray();
    EXPECT_TRUE(mimeTypes.contains(QStringLiteral("audio/mpeg")));

    QProcess monitor;
    monitor.start(
        QStringLiteral("dbus-monitor"),
        {QStringLiteral("--address"), m_pSession->Address(),
         QStringLiteral("type='signal',interface='org.freedesktop.DBus.Properties',member='PropertiesChanged'")});
    ASSERT_TRUE(monitor.waitForStarted());

    WaitUntilPlaying();
    EXPECT_TRUE(WaitFor([] { return PlayerTestSupport::RecordPeakLevel(700) > kAudible; }, 8000));
    for (const char* can : {"CanControl", "CanPlay", "CanPause", "CanGoNext", "CanGoPrevious"})
        EXPECT_TRUE(Client().PlayerProperty(can).toBool()) << can;
    // The live stream moves within its time-shift buffer.
    EXPECT_TRUE(WaitFor([&] { return Client().PlayerProperty("CanSeek").toBool(); }));
    EXPECT_EQ(Client().MetadataText("xesam:album"), kThirdRow);
    EXPECT_EQ(Client().MetadataText("xesam:url"), m_pServer->Url(kDemoMp3));
    EXPECT_EQ(Client().MetadataText("mpris:artUrl"), QUrl::fromLocalFile(strIcon).toString());

    // The station's song titles, one after the other.
    QString strFirstSong;
    ASSERT_TRUE(WaitFor([&] {
        strFirstSong = Client().Title();
        return strFirstSong.startsWith(kDemoTitlePrefix);
    })) << qPrintable(Client().Title());
    QString strNextSong;
    ASSERT_TRUE(WaitFor([&] {
        strNextSong = Client().Title();
        return strNextSong.startsWith(kDemoTitlePrefix) && strNextSong != strFirstSong;
    })) << qPrintable(Client().Title());
    EXPECT_EQ(Client().MetadataText("xesam:album"), kThirdRow) << "the channel stays beside the song";

    // Every change went out as a signal, the new song's title in it.
    QByteArray signalsSeen;
    EXPECT_TRUE(WaitFor([&] {
        signalsSeen += monitor.readAllStandardOutput();
        return signalsSeen.contains(QByteArray("string \"") + strNextSong.toUtf8() + '"');
    })) << signalsSeen.right(2000).constData();
    EXPECT_TRUE(signalsSeen.contains("string \"PlaybackStatus\""));
    monitor.terminate();
    monitor.waitForFinished();

    ASSERT_TRUE(Client().CallPlayer("Stop"));
    EXPECT_TRUE(WaitFor([&] { return Ends(kDemoMp3) == 1; }));
    EXPECT_TRUE(WaitFor([&] { return Status() == QLatin1String("Stopped"); })) << qPrintable(Status());
}

TEST_F(MprisProgramTest, NextAndPreviousPlayTheNeighbouringRows)
{
    StartProgramOnBus();
    WaitUntilPlaying();

    ASSERT_TRUE(Client().CallPlayer("Next"));
    EXPECT_TRUE(WaitFor([&] { return Starts(kDemoMp3) == 2; }));
    EXPECT_TRUE(WaitFor([&] { return m_pProgram->ProfileInt(kLastChannelIndex, -1) == 3; }));
    EXPECT_TRUE(WaitFor([&] { return Client().MetadataText("xesam:album") == kFourthRow; }))
        << qPrintable(Client().MetadataText("xesam:album"));

    ASSERT_TRUE(Client().CallPlayer("Previous"));
    ASSERT_TRUE(Client().CallPlayer("Previous"));
    EXPECT_TRUE(WaitFor([&] { return Starts(kTalk) == 1; }));
    EXPECT_TRUE(WaitFor([&] { return m_pProgram->ProfileInt(kLastChannelIndex, -1) == 1; }));
    EXPECT_TRUE(WaitFor([&] { return Status() == QLatin1String("Playing"); }));
}

TEST_F(MprisProgramTest, PauseWaitsInTheBufferAndPlayPauseResumesWithoutANewConnection)
{
    StartProgramOnBus();
    WaitUntilPlaying();

    EXPECT_TRUE(WaitFor([&] { return Client().PlayerProperty("CanSeek").toBool(); })) << "within its buffer";
    // The track's note tells where play stands against the live edge.
    const auto note = [this] {
        const QJsonValue comment =
            Client().PlayerProperty("Metadata").toObject().value(QStringLiteral("xesam:comment"));
        return comment.toObject().value(QStringLiteral("data")).toArray().at(0).toString();
    };
    EXPECT_TRUE(WaitFor([&] { return note() == QLatin1String("Live"); })) << qPrintable(note());
    ASSERT_TRUE(Client().CallPlayer("Pause"));
    EXPECT_TRUE(WaitFor([&] { return Status() == QLatin1String("Paused"); })) << qPrintable(Status());
    EXPECT_TRUE(WaitFor([&] { return note() == QLatin1String("Paused"); })) << qPrintable(note());
    ASSERT_TRUE(Client().CallPlayer("PlayPause"));
    EXPECT_TRUE(WaitFor([&] { return Status() == QLatin1String("Playing"); })) << qPrintable(Status());
    EXPECT_TRUE(WaitFor([&] { return note() != QLatin1String("Paused"); })) << qPrintable(note());
    EXPECT_EQ(Starts(kDemoMp3), 1);
    EXPECT_EQ(Ends(kDemoMp3), 0) << "the stream went on arriving while paused";
}

TEST_F(MprisProgramTest, WithoutTimeShiftPauseStopsTheLiveStreamCleanlyAndPlayOpensTheSameChannel)
{
    StartProgramOnBus({{QStringLiteral("Settings/TimeShiftMinutes"), 0}});
    WaitUntilPlaying();
    EXPECT_FALSE(Client().PlayerProperty("CanSeek").toBool());

    ASSERT_TRUE(Client().CallPlayer("Pause"));
    EXPECT_TRUE(WaitFor([&] { return Ends(kDemoMp3) == 1; })) << "the connection is closed";
    EXPECT_TRUE(WaitFor([&] { return Status() == QLatin1String("Stopped"); })) << qPrintable(Status());

    ASSERT_TRUE(Client().CallPlayer("PlayPause"));
    EXPECT_TRUE(WaitFor([&] { return Starts(kDemoMp3) == 2; }));
    EXPECT_TRUE(WaitFor([&] { return Status() == QLatin1String("Playing"); })) << qPrintable(Status());
    EXPECT_EQ(Client().MetadataText("xesam:album"), kThirdRow);
}

TEST_F(MprisProgramTest, AVolumeSetOverTheBusIsThePlayersAndIsRemembered)
{
    StartProgramOnBus();
    WaitUntilPlaying();
    EXPECT_DOUBLE_EQ(Client().PlayerProperty("Volume").toDouble(), 0.5) << "the stored default";

    ASSERT_TRUE(Client().SetVolume(0.3));
    EXPECT_TRUE(WaitFor([&] { return m_pProgram->ProfileInt(QStringLiteral("Settings/PlayerVolume"), -1) == 30; }));
    EXPECT_DOUBLE_EQ(Client().PlayerProperty("Volume").toDouble(), 0.3);

    ASSERT_TRUE(Client().SetVolume(-0.4));
    EXPECT_TRUE(WaitFor([&] { return m_pProgram->ProfileInt(QStringLiteral("Settings/PlayerVolume"), -1) == 0; }))
        << "below silence is silence";
    EXPECT_DOUBLE_EQ(Client().PlayerProperty("Volume").toDouble(), 0.0);
}

TEST_F(MprisProgramTest, WithTheSettingsPageOpenNothingCanBeControlledAndQuitEndsTheProgram)
{
    StartProgramOnBus({{kLastCategory, 1}});
    for (const char* can : {"CanControl", "CanPlay", "CanPause", "CanGoNext", "CanGoPrevious"})
        EXPECT_FALSE(Client().PlayerProperty(can).toBool(true)) << can;
    EXPECT_EQ(Status(), QStringLiteral("Stopped"));

    EXPECT_TRUE(Client().CallPlayer("Play"));
    EXPECT_TRUE(Client().CallPlayer("Next"));
    QTest::qWait(2000);
    EXPECT_EQ(Starts(kDemoMp3), 0) << "no channel plays";
    EXPECT_TRUE(Client().Call(MprisClient::kRoot, "Raise"));
    EXPECT_TRUE(m_pProgram->IsRunning());

    ASSERT_TRUE(Client().Call(MprisClient::kRoot, "Quit"));
    EXPECT_TRUE(WaitFor([&] { return !m_pProgram->IsRunning(); }));
    EXPECT_FALSE(Client().IsOnBus());
}

TEST_F(MprisProgramTest, WithoutASessionBusTheProgramPlaysAndSaysNothingOfIt)
{
    StartServer();
    qunsetenv(kBusVariable);
    m_pProgram = std::make_unique<RadioProgram>(*m_pServer);
    ASSERT_TRUE(m_pProgram->Start());
    ASSERT_TRUE(WaitFor([&] { return Starts(kDemoMp3) == 1; })) << qPrintable(m_pProgram->ErrorOutput());
    EXPECT_TRUE(WaitFor([] { return PlayerTestSupport::RecordPeakLevel(700) > kAudible; }, 8000));
    EXPECT_TRUE(m_pProgram->IsRunning());
    const QString strErrors = m_pProgram->ErrorOutput();
    EXPECT_FALSE(strErrors.contains(QStringLiteral("dbus"), Qt::CaseInsensitive)) << qPrintable(strErrors);
    EXPECT_FALSE(strErrors.contains(QStringLiteral("d-bus"), Qt::CaseInsensitive)) << qPrintable(strErrors);
}

// How a client sends a burst of calls.
enum class Pace { AllAtOnce, EachAnsweredFirst };

class MprisBurstTest : public MprisProgramTest, public ::testing::WithParamInterface<Pace>
{};

TEST_P(MprisBurstTest, AThousandNextEndOnTheirLastRowInTheProfileTheMetadataTheStatusAndTheSound)
{
    StartProgramOnBus({{kLastChannelIndex, 0}});
    ASSERT_TRUE(WaitFor([&] { return Starts(kVorbis) == 1 && Status() == QLatin1String("Playing"); }))
        << qPrintable(m_pProgram->ErrorOutput());

    constexpr int kBurst = 1000;
    // Qt keeps a named connection until the process ends: each test's bus
    // has a name of its own.
    QDBusConnection bus = QDBusConnection::connectToBus(m_pSession->Address(), m_pSession->Address());
    ASSERT_TRUE(bus.isConnected());
    QDBusInterface player(QLatin1String(MprisClient::kService), QStringLiteral("/org/mpris/MediaPlayer2"),
                          QLatin1String(MprisClient::kPlayer), bus);
    std::vector<QDBusPendingCall> calls;
    for (int i = 0; i < kBurst; ++i) {
        calls.push_back(player.asyncCall(QStringLiteral("Next")));
        if (GetParam() == Pace::EachAnsweredFirst)
            calls.back().waitForFinished();
    }
    for (QDBusPendingCall& call : calls) {
        call.waitForFinished();
        ASSERT_FALSE(call.isError()) << qPrintable(call.error().message());
    }

    // From the first row, a thousand rows on.
    const int nLast = kBurst % kDemoRowCount;
    ASSERT_EQ(nLast, 1);
    const auto settled = [&] {
        return m_pProgram->ProfileInt(kLastChannelIndex, -1) == nLast &&
            Client().MetadataText("xesam:album") == QLatin1String("Kestrel Talk") &&
            Client().MetadataText("xesam:url") == m_pServer->Url(kTalk) && Status() == QLatin1String("Playing") &&
            CountOpenStreams(*m_pServer, kTalk) == 1 && CountOpenStreams(*m_pServer, kVorbis) == 0 &&
            CountOpenStreams(*m_pServer, kDemoMp3) == 0;
    };
    EXPECT_TRUE(WaitFor(settled)) << "row " << m_pProgram->ProfileInt(kLastChannelIndex, -1) << ", "
                                  << qPrintable(Client().MetadataText("xesam:album")) << ", " << qPrintable(Status())
                                  << "; open streams: talk " << CountOpenStreams(*m_pServer, kTalk) << ", vorbis "
                                  << CountOpenStreams(*m_pServer, kVorbis) << ", mp3 "
                                  << CountOpenStreams(*m_pServer, kDemoMp3);
    EXPECT_EQ(LastStreamStarted(*m_pServer), kTalk) << qPrintable(LastStreamStarted(*m_pServer));
    EXPECT_TRUE(WaitFor([] { return PlayerTestSupport::RecordPeakLevel(700) > kAudible; }, 8000))
        << "the last row is heard";
    EXPECT_TRUE(settled()) << "and it stays so";
    EXPECT_EQ(LastStreamStarted(*m_pServer), kTalk) << qPrintable(LastStreamStarted(*m_pServer));
}

INSTANTIATE_TEST_SUITE_P(Paces, MprisBurstTest, ::testing::Values(Pace::AllAtOnce, Pace::EachAnsweredFirst));

}
