// Faults around time-shift, with real libmpv against the station server: a
// song the disk cuts short or a folder that cannot be made leaves no file
// and a message that says where and why while the channel plays on; a
// stream that drops while the listener is behind live keeps what came and
// is connected again only once the listener is back at the live edge.
#include "FileSizeLimit.h"
#include "ManualPlaybackClock.h"
#include "PlayerTestSupport.h"
#include "StreamLog.h"
#include "StationServer.h"
#include "fw/CWinApp.h"
#include "platform/media/MediaEngine.h"
#include "platform/media/TimeShift.h"
#include "radio/CWMPPlayer4.h"
#include "radio/PlayerTexts.h"
#include "radio/SongRecorder.h"
#include "radio/StreamPlayback.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {
constexpr int kPlayTimeoutMs = 15000;
// A title every 6 s of stream.
constexpr int kSongTimeoutMs = 20000;
constexpr char kMusicMount[] = "/streams/kestrel-mp3";
constexpr char kChannel[] = "Demo";

class TimeShiftSaveFaultTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_app.SetRegistryKey("kestrel-tests");
        ASSERT_TRUE(m_server.Start()) << qPrintable(m_server.Error());
        ASSERT_TRUE(PlayerTestSupport::SetMusicFolder(m_music.path()));
        ASSERT_TRUE(m_player.Engine().Start());
        m_recorder.SetChannel(QLatin1String(kChannel));
    }
    void TearDown() override { m_player.GetControls().stop(); }

    // Plays the channel until its second song, the first one heard whole,
    // is playing, and asks for it to be saved once it ends.
    void SaveTheSecondSong()
    {
        m_player.SetURL(m_server.Url(kMusicMount));
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return m_player.Engine().StreamTitle().endsWith(" 2"); }, kPlayTimeoutMs + 10000));
        m_recorder.SaveCurrentSong();
    }

    // The channel plays on: its position moves, and it is heard.
    void ExpectPlayingOn()
    {
        ITimeShift* pTimeShift = m_player.Engine().TimeShift();
        const double dPosition = pTimeShift->Position();
        EXPECT_TRUE(QTest::qWaitFor([&] { return pTimeShift->Position() > dPosition + 0.5; }, 5000));
        EXPECT_EQ(m_player.Engine().GetState(), IMediaEngine::State::Playing);
        EXPECT_TRUE(m_player.GetStatus().startsWith(PlayerTexts::kPlaying)) << qPrintable(m_player.GetStatus());
        EXPECT_TRUE(QTest::qWaitFor([] { return PlayerTestSupport::RecordPeakLevel(700) > 0.01; }, 6000));
    }

    QString ChannelFolder() const { return m_music.filePath(QStringLiteral("Kestrel Radio/%1").arg(kChannel)); }

    CWinApp m_app{"Kestrel Radio time-shift fault test"};
    StationServer m_server{{.extraArguments = {QStringLiteral("--title-interval"), QStringLiteral("6")}}};
    QTemporaryDir m_music;
    CWMPPlayer4 m_player;
    CSongRecorder m_recorder{m_player.Engine()};
    QSignalSpy m_reports{&m_recorder, &CSongRecorder::Report};
};

TEST_F(TimeShiftSaveFaultTest, ASongTheDiskCutsShortLeavesNoFileAndSaysWhereAndWhy)
{
    SaveTheSecondSong();
    {
        // Six seconds at 16,000 bytes a second do not fit; the time-shift
        // buffer's own file, over the limit too, keeps the rest in memory.
        const FileSizeLimit limit(40000);
        ASSERT_TRUE(limit.IsSet());
        ASSERT_TRUE(m_reports.wait(kSongTimeoutMs));
    }
    const QString strReport = m_reports.last().at(0).toString();
    EXPECT_TRUE(strReport.startsWith(QStringLiteral("The song \"Kestrel Demo - Track 2\" could not be saved")))
        << qPrintable(strReport);
    EXPECT_TRUE(strReport.contains(ChannelFolder())) << qPrintable(strReport);
    EXPECT_TRUE(strReport.endsWith(QStringLiteral(": File too large"))) << qPrintable(strReport);
    EXPECT_EQ(QDir(ChannelFolder()).entryList(QDir::Files | QDir::Hidden), QStringList()) << "no partial file";
    ExpectPlayingOn();

    // With room again, the next song is saved whole.
    m_recorder.SaveCurrentSong();
    ASSERT_TRUE(m_reports.wait(kSongTimeoutMs));
    EXPECT_EQ(m_reports.last().at(0).toString(), QStringLiteral("Saved \"Kestrel Demo - Track 3.mp3\""));
    EXPECT_EQ(QDir(ChannelFolder()).entryList(QDir::Files | QDir::Hidden),
              QStringList({QStringLiteral("Kestrel Demo - Track 3.mp3")}));
}

TEST_F(TimeShiftSaveFaultTest, AFileWhereTheChannelsFolderMustBeIsNamedAndNothingIsWritten)
{
    // Permissions do not stop the superuser, which the tests may be: a file
    // in the way stops everyone.
    ASSERT_TRUE(QDir().mkpath(m_music.filePath(QStringLiteral("Kestrel Radio"))));
    QFile blocker(ChannelFolder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    SaveTheSecondSong();
    ASSERT_TRUE(m_reports.wait(kSongTimeoutMs));
    EXPECT_EQ(m_reports.last().at(0).toString(),
              QStringLiteral("The song \"Kestrel Demo - Track 2\" could not be saved: the folder %1 cannot be made: %1 "
                             "is a file, not a folder")
                  .arg(ChannelFolder()));
    EXPECT_EQ(QFileInfo(ChannelFolder()).size(), 0) << "the file in the way is left as it was";
    EXPECT_EQ(QDir(m_music.filePath(QStringLiteral("Kestrel Radio")))
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({QLatin1String(kChannel)}));
    ExpectPlayingOn();
}

TEST_F(TimeShiftSaveFaultTest, AMusicFolderUnderAFileIsNamedWithTheFileInTheWay)
{
    const QString strFile = m_music.filePath(QStringLiteral("not-a-folder"));
    QFile file(strFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(PlayerTestSupport::SetMusicFolder(strFile + QStringLiteral("/Music")));

    SaveTheSecondSong();
    ASSERT_TRUE(m_reports.wait(kSongTimeoutMs));
    const QString strReport = m_reports.last().at(0).toString();
    EXPECT_TRUE(strReport.contains(QStringLiteral("the folder %1/Music/Kestrel Radio/%2 cannot be made: %1 is a file")
                                       .arg(strFile, QLatin1String(kChannel))))
        << qPrintable(strReport);
    ExpectPlayingOn();
}

TEST_F(TimeShiftSaveFaultTest, ASongAskedForIsRefusedWhenAnotherChannelOpensAndNothingIsMixed)
{
    SaveTheSecondSong();
    // The buffer holds one channel only: the song cannot end in it.
    m_recorder.SetChannel(QStringLiteral("Talk"));
    m_player.SetURL(m_server.Url(QStringLiteral("/streams/kestrel-talk")));
    ASSERT_EQ(m_reports.size(), 1);
    EXPECT_EQ(m_reports.first().at(0).toString(),
              QStringLiteral("The song \"Kestrel Demo - Track 2\" could not be saved: another stream began before it "
                             "ended, and only the stream playing now is kept"));

    // The other channel's songs come and go; none is saved for the one asked.
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_player.Engine().StreamTitle().endsWith(" 2"); }, kSongTimeoutMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_player.Engine().StreamTitle().endsWith(" 3"); }, kSongTimeoutMs));
    EXPECT_EQ(m_reports.size(), 1);
    EXPECT_FALSE(m_recorder.IsSaveAsked());
    EXPECT_FALSE(QDir(m_music.filePath(QStringLiteral("Kestrel Radio"))).exists()) << "nothing was written";
}

// The player's policy over the real engine, with a clock of the test's own:
// no reconnection can happen unless the test moves the clock, or the player
// opens the stream at once.
class TimeShiftDropTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_app.SetRegistryKey("kestrel-tests");
        ASSERT_TRUE(m_server.Start()) << qPrintable(m_server.Error());
        ASSERT_TRUE(m_pEngine->Start());
        m_pTimeShift = m_pEngine->TimeShift();
        ASSERT_NE(m_pTimeShift, nullptr);
    }

    // Plays until a little is heard, pauses, and waits until the server
    // has dropped the stream and the buffer holds all that came.
    void PauseUntilTheStreamDrops()
    {
        m_playback.Play(m_server.Url(kMusicMount));
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_pTimeShift->IsActive() && m_pTimeShift->Position() > 0.5; },
                                    kPlayTimeoutMs));
        m_playback.Pause();
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_playback.Status() == PlayerTexts::kPaused; }, 5000));
        m_dPausedAt = m_pTimeShift->Position();
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_pTimeShift->HasStreamEnded(); }, kPlayTimeoutMs));
        EXPECT_GT(m_pTimeShift->BufferEnd(), m_dPausedAt + 2) << "the stream went on arriving while paused";
        // However long the listener stays away, nothing is opened.
        m_pClock->Advance(60 * 1000);
        EXPECT_EQ(m_playback.Status(), PlayerTexts::kPaused);
        EXPECT_EQ(m_pEngine->GetState(), IMediaEngine::State::Paused);
        EXPECT_NEAR(m_pTimeShift->Position(), m_dPausedAt, 0.2);
        EXPECT_EQ(CountStreamStarts(m_server, kMusicMount), 1);
    }

    CWinApp m_app{"Kestrel Radio time-shift drop test"};
    StationServer m_server{{.dropStreamsAfterSeconds = 5}};
    std::unique_ptr<IMediaEngine> m_pEngine = CreateMediaEngine();
    CManualPlaybackClock* m_pClock = new CManualPlaybackClock;
    CStreamPlayback m_playback{*m_pEngine, std::unique_ptr<IPlaybackClock>(m_pClock)};
    ITimeShift* m_pTimeShift = nullptr;
    double m_dPausedAt = 0;
};

TEST_F(TimeShiftDropTest, ResumePlaysWhatCameAndReconnectsAtItsEnd)
{
    PauseUntilTheStreamDrops();
    const double dReceived = m_pTimeShift->BufferEnd();
    QStringList statuses;
    QObject::connect(&m_playback, &CStreamPlayback::StatusChanged,
                     [&](const QString& strStatus) { statuses.append(strStatus); });

    m_playback.Resume();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_pTimeShift->Position() > m_dPausedAt + 0.05; }, 5000));
    EXPECT_LT(m_pTimeShift->Position(), m_dPausedAt + 1.5) << "play went on from the pause point";
    double dLastPosition = 0;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            if (m_pTimeShift->IsActive())
                dLastPosition = m_pTimeShift->Position();
            return m_playback.Status() == QStringLiteral("Reconnecting in 1 s");
        },
        kPlayTimeoutMs))
        << qPrintable(statuses.join(" | "));
    EXPECT_GT(dLastPosition, dReceived - 1.5) << "all that came was played first";
    EXPECT_EQ(CountStreamStarts(m_server, kMusicMount), 1);

    // Then as after any drop: the countdown, and a new request.
    m_pClock->Advance(1000);
    EXPECT_TRUE(QTest::qWaitFor([&] { return CountStreamStarts(m_server, kMusicMount) == 2; }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_playback.Status().startsWith(PlayerTexts::kPlaying); }, kPlayTimeoutMs))
        << qPrintable(m_playback.Status());
}

TEST_F(TimeShiftDropTest, LiveAfterTheStreamDroppedConnectsAgain)
{
    PauseUntilTheStreamDrops();

    m_playback.GoLive();
    EXPECT_EQ(m_playback.Status(), QStringLiteral("Reconnecting in 1 s"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_pEngine->GetState() == IMediaEngine::State::Idle; }, 5000))
        << "what is left of the buffer is not played as if live";
    EXPECT_EQ(CountStreamStarts(m_server, kMusicMount), 1);
    m_pClock->Advance(1000);
    EXPECT_TRUE(QTest::qWaitFor([&] { return CountStreamStarts(m_server, kMusicMount) == 2; }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_playback.Status().startsWith(PlayerTexts::kPlaying); }, kPlayTimeoutMs))
        << qPrintable(m_playback.Status());
}
}
