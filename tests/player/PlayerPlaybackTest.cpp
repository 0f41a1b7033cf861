#include "PlayerTestSupport.h"
#include "StreamLog.h"
#include "SuiteStationServer.h"
#include "StationServer.h"
#include "platform/media/MediaEngine.h"
#include "platform/media/MpvVideoRenderer.h"
#include "radio/CWMPPlayer4.h"
#include "radio/NowPlayingPanel.h"
#include "radio/PlayerTexts.h"
#include "radio/VolumeRange.h"
#include "radio/VideoSurface.h"
#include "fw/CWinApp.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QVBoxLayout>
#include <algorithm>
#include <clocale>
#include <gtest/gtest.h>

namespace {
constexpr int kPlayTimeoutMs = 15000;
constexpr char kMusicMount[] = "/streams/kestrel-mp3";
constexpr char kTvMount[] = "/streams/kestrel-tv";
constexpr char kTvNewsMount[] = "/streams/kestrel-tv-news";

using namespace PlayerTestSupport;

bool IsPlaying(const CWMPPlayer4& player)
{
    return player.GetStatus().startsWith(PlayerTexts::kPlaying);
}

// Whether every pixel of the image covers what lies beneath it.
bool IsOpaque(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto* pLine = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        if (!std::all_of(pLine, pLine + image.width(), [](QRgb pixel) { return qAlpha(pixel) == 255; }))
            return false;
    }
    return true;
}

// Whether everything of the image outside the area is black.
bool IsBlackAround(const QImage& image, const QRect& area)
{
    constexpr int kDarkest = 8;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (!area.contains(x, y) && qMax(qRed(pixel), qMax(qGreen(pixel), qBlue(pixel))) > kDarkest)
                return false;
        }
    }
    return true;
}

class PlayerPlaybackTest : public SuiteStationServerTest
{
protected:
    void SetUp() override
    {
        m_nStartsBefore = CountStreamStarts(*s_pServer, kMusicMount);
        m_nEndsBefore = s_pServer->CountRequests(kMusicMount);
        m_player.resize(640, 360);
        m_player.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_player));
        ASSERT_TRUE(m_player.Engine().Start());
        QObject::connect(&m_player, &CWMPPlayer4::StatusChange, [this] { m_statuses.append(m_player.GetStatus()); });
    }

    // Each test leaves the shared server with no stream open.
    void TearDown() override
    {
        m_player.GetControls().stop();
        EXPECT_TRUE(QTest::qWaitFor(
            [] {
                for (const char* mount : {kMusicMount, kTvMount, kTvNewsMount}) {
                    if (CountStreamStarts(*s_pServer, mount) != s_pServer->CountRequests(mount))
                        return false;
                }
                return true;
            },
            5000));
    }

    // Streams that the test started, and ended, on the shared server.
    int MusicStarts() const { return CountStreamStarts(*s_pServer, kMusicMount) - m_nStartsBefore; }
    int MusicEnds() const { return s_pServer->CountRequests(kMusicMount) - m_nEndsBefore; }

    int m_nStartsBefore = 0;
    int m_nEndsBefore = 0;
    CWMPPlayer4 m_player;
    QStringList m_statuses;
    QSignalSpy m_playStates{&m_player, &CWMPPlayer4::PlayStateChange};
    QSignalSpy m_loads{&m_player.Engine(), &IMediaEngine::LoadStarted};
};

TEST_F(PlayerPlaybackTest, SettingTheUrlPlaysTheStationUntilStopped)
{
    const QString url = s_pServer->Url(kMusicMount);
    m_player.SetURL(url);
    EXPECT_EQ(url, m_player.GetURL());
    ASSERT_TRUE(QTest::qWaitFor([&] { return IsPlaying(m_player); }, kPlayTimeoutMs))
        << qPrintable(m_player.GetStatus());
    EXPECT_EQ(1, MusicStarts());
    EXPECT_EQ(PlayerTexts::kConnecting, m_statuses.value(0));

    // The sound reaches the speakers.
    EXPECT_TRUE(QTest::qWaitFor([] { return RecordPeakLevel(1000) > 0.01; }, 6000));

    // The station's now-playing title reaches the face and the status line.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_player.Engine().StreamTitle().isEmpty(); }, kPlayTimeoutMs));
    const QString title = m_player.Engine().StreamTitle();
    // A channel kept for time-shift adds that it plays live.
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return m_player.GetStatus().startsWith(QString("Playing: %1").arg(title)); }, 2000))
        << qPrintable(m_player.GetStatus());
    auto* pPanel = m_player.findChild<CNowPlayingPanel*>();
    ASSERT_NE(nullptr, pPanel);
    EXPECT_EQ(title, pPanel->Title());

    m_player.GetControls().stop();
    EXPECT_EQ(PlayerTexts::kStopped, m_player.GetStatus());
    // The server sees the stream's connection end, and the speakers fall silent.
    EXPECT_TRUE(QTest::qWaitFor([&] { return MusicEnds() == 1; }, 5000));
    QTest::qWait(500);
    const double dLevelAfterStop = RecordPeakLevel(1000);
    EXPECT_GE(dLevelAfterStop, 0);
    EXPECT_LT(dLevelAfterStop, 0.001);

    QList<long> states;
    for (const QList<QVariant>& arguments : m_playStates)
        states.append(arguments.at(0).toLongLong());
    EXPECT_EQ(wmppsTransitioning, states.value(0));
    EXPECT_TRUE(states.contains(wmppsPlaying));
    EXPECT_EQ(wmppsStopped, states.value(states.size() - 1));
}

TEST_F(PlayerPlaybackTest, ATvChannelDrawsItsPicturesInsideThePlayer)
{
    auto* pVideo = m_player.findChild<CVideoSurface*>();
    ASSERT_NE(nullptr, pVideo);
    m_player.SetURL(s_pServer->Url(kTvMount));
    ASSERT_TRUE(QTest::qWaitFor([&] { return IsPlaying(m_player) && m_player.Engine().HasVideo(); }, kPlayTimeoutMs))
        << qPrintable(m_player.GetStatus());
    ASSERT_TRUE(QTest::qWaitFor([&] { return pVideo->isVisible(); }, 2000));
    // Colour bars, not an empty black area.
    EXPECT_TRUE(QTest::qWaitFor([&] { return CountColours(GrabFromScreen(*pVideo)) >= 8; }, 5000));

    // A radio channel after it shows its title again, not a stale picture.
    m_player.SetURL(s_pServer->Url(kMusicMount));
    EXPECT_TRUE(QTest::qWaitFor([&] { return IsPlaying(m_player) && !pVideo->isVisible(); }, kPlayTimeoutMs));
}

TEST_F(PlayerPlaybackTest, ADeadStreamEndsInAnErrorThatSaysWhy)
{
    m_player.SetURL(s_pServer->Url("/streams/no-such-station"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_player.GetStatus() == PlayerTexts::kStreamNotFound; }, kPlayTimeoutMs))
        << qPrintable(m_player.GetStatus());
    EXPECT_EQ(wmppsReady, m_playStates.last().at(0).toLongLong());
    EXPECT_EQ(1, s_pServer->CountRequests("/streams/no-such-station"));

    m_player.SetURL(QString("http://127.0.0.1:%1/streams/kestrel-mp3").arg(ClosedPort()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_player.GetStatus() == PlayerTexts::kCannotConnect; }, kPlayTimeoutMs))
        << qPrintable(m_player.GetStatus());

    // Nothing is tried again behind the listener's back.
    QTest::qWait(1500);
    EXPECT_EQ(1, s_pServer->CountRequests("/streams/no-such-station"));
    EXPECT_EQ(PlayerTexts::kCannotConnect, m_player.GetStatus());
}

TEST_F(PlayerPlaybackTest, QuickChannelChangesEndOnTheLastChannelOnly)
{
    // As when the listener holds the next-channel hot key.
    m_player.SetURL(s_pServer->Url(kTvMount));
    m_player.SetURL(s_pServer->Url("/streams/gone-before-it-opened"));
    m_player.SetURL(s_pServer->Url(kMusicMount));
    ASSERT_TRUE(QTest::qWaitFor([&] { return IsPlaying(m_player); }, kPlayTimeoutMs))
        << qPrintable(m_player.GetStatus());
    QTest::qWait(500);
    EXPECT_TRUE(IsPlaying(m_player));
    EXPECT_FALSE(m_player.Engine().HasVideo());
    EXPECT_FALSE(m_statuses.contains(PlayerTexts::kStreamNotFound)) << qPrintable(m_statuses.join(" | "));
    ASSERT_FALSE(m_loads.isEmpty());
    EXPECT_EQ(s_pServer->Url(kMusicMount), m_loads.last().at(0).toString());
}

TEST_F(PlayerPlaybackTest, RefusesAddressesThatAreNotNetworkStreams)
{
    const QString lavfAddress = "lavf://" + s_pServer->Url(kMusicMount);
    for (const QString& address : {QString("file:///etc/passwd"), QString("/etc/passwd"), QString("av://lavfi:sine"),
                                   QString("memory://secret"), QString("edl://%10%/etc/passwd"), lavfAddress}) {
        m_player.SetURL(address);
        EXPECT_EQ(PlayerTexts::kAddressRefused, m_player.GetStatus()) << qPrintable(address);
    }
    QTest::qWait(1000);
    EXPECT_EQ(0, m_loads.count());
    EXPECT_EQ(IMediaEngine::State::Idle, m_player.Engine().GetState());
    EXPECT_EQ(0, MusicStarts());
    EXPECT_EQ(PlayerTexts::kAddressRefused, m_player.GetStatus());

    // The same player opens a real stream: the refusals were not a dead engine.
    m_player.SetURL(s_pServer->Url(kMusicMount));
    EXPECT_TRUE(QTest::qWaitFor([&] { return IsPlaying(m_player); }, kPlayTimeoutMs));
    EXPECT_EQ(1, m_loads.count());
}

TEST_F(PlayerPlaybackTest, APlaylistCannotLeadToALocalFile)
{
    CFixedPagesServer pages;
    ASSERT_TRUE(pages.Start());
    pages.Serve("/hostile.m3u", "audio/x-mpegurl", "#EXTM3U\n#EXTINF:-1,Local\nfile:///etc/passwd\n/etc/passwd\n");
    pages.Serve("/good.m3u", "audio/x-mpegurl",
                ("#EXTM3U\n#EXTINF:-1,Demo\n" + s_pServer->Url(kMusicMount) + "\n").toUtf8());

    m_player.SetURL(pages.Url("/hostile.m3u"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_player.GetStatus() == PlayerTexts::kAddressRefused; }, kPlayTimeoutMs))
        << qPrintable(m_player.GetStatus());
    ASSERT_EQ(1, m_loads.count());
    EXPECT_EQ(pages.Url("/hostile.m3u"), m_loads.at(0).at(0).toString());

    // A playlist's network entries play.
    m_player.SetURL(pages.Url("/good.m3u"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return IsPlaying(m_player); }, kPlayTimeoutMs))
        << qPrintable(m_player.GetStatus());
    EXPECT_EQ(s_pServer->Url(kMusicMount), m_loads.last().at(0).toString());
}

TEST_F(PlayerPlaybackTest, APlaylistGoesOnPastARefusedEntry)
{
    CFixedPagesServer pages;
    ASSERT_TRUE(pages.Start());
    pages.Serve("/mixed.m3u", "audio/x-mpegurl",
                ("#EXTM3U\nfile:///etc/passwd\n" + s_pServer->Url(kMusicMount) + "\n").toUtf8());

    m_player.SetURL(pages.Url("/mixed.m3u"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return IsPlaying(m_player); }, kPlayTimeoutMs))
        << qPrintable(m_player.GetStatus());
    EXPECT_FALSE(m_statuses.contains(PlayerTexts::kAddressRefused)) << qPrintable(m_statuses.join(" | "));
    ASSERT_EQ(2, m_loads.count());
    EXPECT_EQ(s_pServer->Url(kMusicMount), m_loads.last().at(0).toString());
}

TEST_F(PlayerPlaybackTest, TheStatusSaysWhatTheStationsAnswerWas)
{
    CFixedPagesServer pages;
    ASSERT_TRUE(pages.Start());
    pages.ServeAnswer("/to-a-file",
                      "HTTP/1.1 302 Found\r\nLocation: file:///etc/passwd\r\nContent-Length: 0\r\n"
                      "Connection: close\r\n\r\n");
    pages.ServeAnswer("/headers-only", "HTTP/1.0 200 OK\r\nContent-Type: audio/mpeg\r\nicy-name: Gone\r\n\r\n");

    m_player.SetURL(pages.Url("/to-a-file"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_player.GetStatus() == PlayerTexts::kAddressRefused; }, kPlayTimeoutMs))
        << qPrintable(m_player.GetStatus());

    m_player.SetURL(pages.Url("/headers-only"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_player.GetStatus() == PlayerTexts::kEmptyStream; }, kPlayTimeoutMs))
        << qPrintable(m_player.GetStatus());
    EXPECT_EQ(wmppsReady, m_playStates.last().at(0).toLongLong());
}

TEST_F(PlayerPlaybackTest, ATvChannelsFramesArriveInTheControlDrawnWithoutGl)
{
    auto* pVideo = m_player.findChild<CVideoSurface*>();
    ASSERT_NE(nullptr, pVideo);
    m_player.SetURL(s_pServer->Url(kTvMount));
    ASSERT_TRUE(QTest::qWaitFor([&] { return IsPlaying(m_player) && m_player.Engine().HasVideo(); }, kPlayTimeoutMs))
        << qPrintable(m_player.GetStatus());
    // Frame after frame, for as long as the channel plays: the demo runs at
    // 25 frames a second.
    ASSERT_TRUE(QTest::qWaitFor([&] { return pVideo->FramesShown() > 0; }, 5000));
    const int nFirst = pVideo->FramesShown();
    EXPECT_TRUE(QTest::qWaitFor([&] { return pVideo->FramesShown() >= nFirst + 25; }, 10000))
        << pVideo->FramesShown() - nFirst;
    EXPECT_TRUE(QTest::qWaitFor([&] { return ShowsColourBars(pVideo->grab().toImage()); }, 5000));
    // Painted where the pixels' alpha counts (a window with an alpha
    // channel), the pictures hide what lies beneath them.
    QImage withAlpha(pVideo->size(), QImage::Format_ARGB32_Premultiplied);
    withAlpha.fill(Qt::transparent);
    pVideo->render(&withAlpha);
    EXPECT_TRUE(ShowsColourBars(withAlpha));
    EXPECT_TRUE(IsOpaque(withAlpha));

    // A larger control gets its pictures at its own size.
    m_player.resize(900, 560);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const QImage picture = pVideo->grab().toImage();
            return picture.width() > 800 && ShowsColourBars(picture, 800);
        },
        5000));
    // In the shape the channel sends (the demo's 4:3), in the middle of
    // black bars (a pixel of give at the picture's edges).
    EXPECT_EQ(QSize(320, 240), m_player.Engine().VideoSize());
    const QImage shown = pVideo->grab().toImage();
    const QSize fitted = QSize(4, 3).scaled(shown.size(), Qt::KeepAspectRatio);
    const QRect picture(QPoint((shown.width() - fitted.width()) / 2, (shown.height() - fitted.height()) / 2), fitted);
    EXPECT_TRUE(IsBlackAround(shown, picture.adjusted(-1, -1, 1, 1)));
    EXPECT_FALSE(HasGlDriverLoaded()) << "the pictures loaded a GL driver";
}

TEST_F(PlayerPlaybackTest, ChannelChangesKeepOneRenderContextAndThePlayerFreesItWhileDrawing)
{
    const int nBefore = CMpvVideoRenderer::LiveCount();
    {
        CWMPPlayer4 player;
        player.resize(480, 320);
        player.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&player));
        ASSERT_TRUE(player.Engine().Start());
        EXPECT_EQ(nBefore + 1, CMpvVideoRenderer::LiveCount());
        auto* pVideo = player.findChild<CVideoSurface*>();
        for (const char* mount : {kTvMount, kTvNewsMount, kMusicMount, kTvMount}) {
            player.SetURL(s_pServer->Url(mount));
            ASSERT_TRUE(QTest::qWaitFor([&] { return IsPlaying(player); }, kPlayTimeoutMs)) << mount;
            if (QLatin1String(mount) != QLatin1String(kMusicMount)) {
                const int nShown = pVideo->FramesShown();
                EXPECT_TRUE(QTest::qWaitFor([&] { return pVideo->FramesShown() > nShown + 5; }, 5000)) << mount;
            }
            EXPECT_EQ(nBefore + 1, CMpvVideoRenderer::LiveCount()) << mount;
        }
        player.GetControls().stop();
        player.GetControls().play();
        ASSERT_TRUE(QTest::qWaitFor([&] { return player.Engine().HasVideo(); }, kPlayTimeoutMs));
        EXPECT_EQ(nBefore + 1, CMpvVideoRenderer::LiveCount());
        // The page closes with pictures coming.
    }
    EXPECT_EQ(nBefore, CMpvVideoRenderer::LiveCount());
}

TEST_F(PlayerPlaybackTest, StopAndPlayFromTheFaceAndTheControls)
{
    m_player.SetURL(s_pServer->Url(kMusicMount));
    ASSERT_TRUE(QTest::qWaitFor([&] { return IsPlaying(m_player); }, kPlayTimeoutMs));

    auto* pPlayPause = m_player.findChild<QWidget*>("playPauseButton");
    auto* pStop = m_player.findChild<QWidget*>("stopButton");
    ASSERT_NE(nullptr, pPlayPause);
    ASSERT_NE(nullptr, pStop);
    QTest::mouseClick(pPlayPause, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_player.GetStatus() == PlayerTexts::kPaused; }, 5000));
    QTest::mouseClick(pPlayPause, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return IsPlaying(m_player); }, kPlayTimeoutMs));

    QTest::mouseClick(pStop, Qt::LeftButton);
    EXPECT_EQ(PlayerTexts::kStopped, m_player.GetStatus());
    // Play starts the same station afresh.
    m_player.GetControls().play();
    EXPECT_TRUE(QTest::qWaitFor([&] { return IsPlaying(m_player); }, kPlayTimeoutMs));
    EXPECT_EQ(2, MusicStarts());
}

TEST(PlayerReconnection, ADroppedStreamIsReconnectedAndTheStatusSaysSo)
{
    StationServer server({.dropStreamsAfterSeconds = 3});
    ASSERT_TRUE(server.Start()) << qPrintable(server.Error());
    CWMPPlayer4 player;
    QStringList statuses;
    QObject::connect(&player, &CWMPPlayer4::StatusChange, [&] { statuses.append(player.GetStatus()); });

    player.SetURL(server.Url(kMusicMount));
    ASSERT_TRUE(QTest::qWaitFor([&] { return IsPlaying(player); }, kPlayTimeoutMs));
    // The server drops the stream after three seconds; the player counts down and
    // connects again.
    ASSERT_TRUE(QTest::qWaitFor([&] { return statuses.contains("Reconnecting in 1 s"); }, 10000))
        << qPrintable(statuses.join(" | "));
    ASSERT_TRUE(QTest::qWaitFor([&] { return CountStreamStarts(server, kMusicMount) == 2; }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return IsPlaying(player); }, kPlayTimeoutMs));
    const qsizetype nCountdown = statuses.indexOf("Reconnecting in 1 s");
    EXPECT_EQ(PlayerTexts::kReconnecting, statuses.value(nCountdown + 1));
}

TEST(PlayerEngine, RunsOnlyUnderTheCNumericLocaleAndLeavesTheLocaleAlone)
{
    ASSERT_NE(nullptr, std::setlocale(LC_NUMERIC, "C.UTF-8"));
    const std::unique_ptr<IMediaEngine> pEngine = CreateMediaEngine();
    EXPECT_FALSE(pEngine->Start());
    EXPECT_FALSE(pEngine->IsAvailable());
    EXPECT_STREQ("C.UTF-8", std::setlocale(LC_NUMERIC, nullptr));

    std::setlocale(LC_NUMERIC, "C");
    const std::unique_ptr<IMediaEngine> pUnderC = CreateMediaEngine();
    EXPECT_TRUE(pUnderC->Start());
    EXPECT_TRUE(pUnderC->IsAvailable());
}

TEST(PlayerEngine, AppliesTheVolumeAndMuteAskedForBeforeItsMediaLibraryWasSetUp)
{
    const std::unique_ptr<IMediaEngine> pEngine = CreateMediaEngine();
    pEngine->SetVolume(20);
    pEngine->SetMuted(true);
    pEngine->SetVolume(35);
    ASSERT_TRUE(pEngine->Start());
    EXPECT_TRUE(QTest::qWaitFor([&] { return pEngine->Volume() == 35 && pEngine->IsMuted(); }, 5000))
        << pEngine->Volume() << " " << pEngine->IsMuted();
}

TEST(PlayerVolume, StartsAtHalfAndKeepsTheListenersChoiceAcrossPlayers)
{
    CWinApp app("Kestrel Radio volume test");
    app.SetRegistryKey("kestrel-tests");
    {
        CWMPPlayer4 player;
        auto* pSlider = player.findChild<QSlider*>("volumeSlider");
        ASSERT_NE(nullptr, pSlider);
        EXPECT_EQ(SettingDefaults::kPlayerVolume, pSlider->value());
        // libmpv is set up the first time it is needed: the volume the
        // player asked for before then applies from there.
        ASSERT_TRUE(player.Engine().Start());
        EXPECT_TRUE(QTest::qWaitFor([&] { return player.Engine().Volume() == 50; }, 5000));

        pSlider->setValue(30);
        EXPECT_TRUE(QTest::qWaitFor([&] { return player.Engine().Volume() == 30; }, 5000));
        QTest::mouseClick(player.findChild<QWidget*>("muteButton"), Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return player.Engine().IsMuted(); }, 5000));
    }
    EXPECT_EQ(30, GetSettingInt(SettingNames::kPlayerVolume, -1));
    {
        // The next page's player, or the next run's.
        CWMPPlayer4 player;
        EXPECT_EQ(30, player.findChild<QSlider*>("volumeSlider")->value());
        ASSERT_TRUE(player.Engine().Start());
        EXPECT_TRUE(QTest::qWaitFor([&] { return player.Engine().Volume() == 30; }, 5000));
        EXPECT_FALSE(player.Engine().IsMuted());
    }
    // A value out of range in the profile does not deafen the listener.
    WriteSettingInt(SettingNames::kPlayerVolume, 500);
    CWMPPlayer4 player;
    EXPECT_EQ(100, player.findChild<QSlider*>("volumeSlider")->value());
}
}
