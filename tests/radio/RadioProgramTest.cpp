// The whole program from outside: kestrel-radio started on the test display
// against the station server, heard at the test sink, typed into with
// xdotool, read back from its profile and the server's request log.
#include "PlayerTestSupport.h"
#include "RadioProgram.h"
#include "StationServer.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr int kPlayTimeoutMs = 20000;
// The demo catalogue as a fresh profile shows it (radio channels that are on
// the air, and the podcast): nine rows, the third playing the MP3 demo, the
// first the Ogg stream and the last the talk stream.
const QString kDemoMp3 = QStringLiteral("/streams/kestrel-mp3");
const QString kFirstRowStream = QStringLiteral("/streams/kestrel-ogg");
const QString kLastRowStream = QStringLiteral("/streams/kestrel-talk");
constexpr int kLastRow = 8;
// Well above the silence of an idle sink, well below any of the demo's sound.
constexpr double kAudible = 0.01;

bool WaitFor(const std::function<bool()>& condition, int nTimeoutMs = kPlayTimeoutMs)
{
    return QTest::qWaitFor(condition, nTimeoutMs);
}

bool SoundArrives()
{
    return WaitFor([] { return PlayerTestSupport::RecordPeakLevel(700) > kAudible; }, 8000);
}

class RadioProgramTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_FALSE(qEnvironmentVariableIsEmpty("DISPLAY")); }

    void StartServer(StationServerOptions options = {})
    {
        m_pServer = std::make_unique<StationServer>(std::move(options));
        ASSERT_TRUE(m_pServer->Start()) << qPrintable(m_pServer->Error());
        m_pProgram = std::make_unique<RadioProgram>(*m_pServer);
    }

    int Starts(const QString& strMount) const { return CountStreamStarts(*m_pServer, strMount); }
    int Ends(const QString& strMount) const { return CountStreamEnds(*m_pServer, strMount); }

    // The program goes before its server.
    void TearDown() override
    {
        m_pProgram.reset();
        m_pServer.reset();
    }

    std::unique_ptr<StationServer> m_pServer;
    std::unique_ptr<RadioProgram> m_pProgram;
};

TEST_F(RadioProgramTest, AFreshStartFetchesTheListAndPlaysTheThirdChannelOutLoud)
{
    StartServer();
    ASSERT_TRUE(m_pProgram->Start());
    ASSERT_TRUE(WaitFor([&] { return Starts(kDemoMp3) == 1; })) << qPrintable(m_pProgram->ErrorOutput());
    EXPECT_EQ(m_pServer->CountRequests(QStringLiteral("/stationlist.zip")), 1);
    EXPECT_TRUE(WaitFor([&] { return m_pServer->CountRequests(QStringLiteral("/banners/kestrel-radio.html")) == 1; }));
    EXPECT_TRUE(SoundArrives());
    EXPECT_TRUE(WaitFor([&] { return m_pProgram->ProfileInt(QStringLiteral("Settings/LastChannelIndex"), -1) == 2; }));
    // No other channel was started on the way.
    for (const QString& strOther : {kFirstRowStream, kLastRowStream, QStringLiteral("/streams/kestrel-tv")})
        EXPECT_EQ(Starts(strOther), 0) << qPrintable(strOther);
    EXPECT_TRUE(m_pProgram->IsRunning());
}

TEST_F(RadioProgramTest, F9OnTheLastRowPlaysTheFirstAndF8OnTheFirstPlaysTheLast)
{
    StartServer();
    m_pProgram->Preset(QStringLiteral("Settings/LastChannelIndex"), kLastRow);
    ASSERT_TRUE(m_pProgram->Start());
    ASSERT_TRUE(WaitFor([&] { return Starts(kLastRowStream) == 1; })) << qPrintable(m_pProgram->ErrorOutput());

    ASSERT_TRUE(m_pProgram->TypeKey(QStringLiteral("F9")));
    ASSERT_TRUE(WaitFor([&] { return Starts(kFirstRowStream) == 1; }));
    EXPECT_TRUE(WaitFor([&] { return Ends(kLastRowStream) == 1; })) << "the last row's stream ends";
    EXPECT_TRUE(WaitFor([&] { return m_pProgram->ProfileInt(QStringLiteral("Settings/LastChannelIndex"), -1) == 0; }));
    EXPECT_TRUE(SoundArrives());

    ASSERT_TRUE(m_pProgram->TypeKey(QStringLiteral("F8")));
    ASSERT_TRUE(WaitFor([&] { return Starts(kLastRowStream) == 2; }));
    EXPECT_TRUE(WaitFor([&] { return Ends(kFirstRowStream) == 1; }));
    EXPECT_TRUE(
        WaitFor([&] { return m_pProgram->ProfileInt(QStringLiteral("Settings/LastChannelIndex"), -1) == kLastRow; }));
    EXPECT_EQ(Starts(kDemoMp3), 0);
}

TEST_F(RadioProgramTest, AStreamTheServerDropsIsReconnectedAndPlaysOn)
{
    StartServer({.dropStreamsAfterSeconds = 3});
    ASSERT_TRUE(m_pProgram->Start());
    ASSERT_TRUE(WaitFor([&] { return Starts(kDemoMp3) == 1; })) << qPrintable(m_pProgram->ErrorOutput());
    ASSERT_TRUE(WaitFor([&] { return Ends(kDemoMp3) >= 1; }));
    ASSERT_TRUE(WaitFor([&] { return Starts(kDemoMp3) >= 2; })) << "the dropped stream was not opened again";
    EXPECT_TRUE(SoundArrives());
    EXPECT_TRUE(m_pProgram->IsRunning());
}

}
