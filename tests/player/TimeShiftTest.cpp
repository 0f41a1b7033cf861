// Time-shift with real libmpv against the station server: a paused channel
// goes on arriving and resumes at the pause point, back and live move within
// the buffer without a new request, a saved stretch is the station's own MP3
// frames, and with the buffer off the player plays as it always did.
#include "Mp3Frames.h"
#include "PlayerTestSupport.h"
#include "StreamLog.h"
#include "SuiteStationServer.h"
#include "StationServer.h"
#include "fw/CWinApp.h"
#include "platform/media/MediaEngine.h"
#include "platform/media/TimeShift.h"
#include "radio/CWMPPlayer4.h"
#include "radio/PlayerTexts.h"
#include "radio/SongRecorder.h"
#include "fw/MessageBox.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int kPlayTimeoutMs = 15000;
constexpr char kMusicMount[] = "/streams/kestrel-mp3";

using namespace PlayerTestSupport;

class TimeShiftTest : public SuiteStationServerTest
{
protected:
    void SetUp() override
    {
        m_app.SetRegistryKey("kestrel-tests");
        m_nStartsBefore = CountStreamStarts(*s_pServer, kMusicMount);
        m_player.resize(640, 360);
        m_player.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_player));
        ASSERT_TRUE(m_player.Engine().Start());
    }

    void TearDown() override { m_player.GetControls().stop(); }

    // Plays the music channel until the buffer holds nSeconds of it.
    void PlayUntilBuffered(double dSeconds)
    {
        m_player.SetURL(s_pServer->Url(kMusicMount));
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return m_player.GetStatus().startsWith(PlayerTexts::kPlaying); }, kPlayTimeoutMs))
            << qPrintable(m_player.GetStatus());
        m_pTimeShift = m_player.Engine().TimeShift();
        ASSERT_NE(m_pTimeShift, nullptr);
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_pTimeShift->IsActive() && m_pTimeShift->Position() > dSeconds; },
                                    kPlayTimeoutMs + static_cast<int>(dSeconds * 1000)));
    }

    int Starts() const { return CountStreamStarts(*s_pServer, kMusicMount) - m_nStartsBefore; }

    CWinApp m_app{"Kestrel Radio time-shift test"};
    int m_nStartsBefore = 0;
    CWMPPlayer4 m_player;
    ITimeShift* m_pTimeShift = nullptr;
};

TEST_F(TimeShiftTest, APausedChannelGoesOnArrivingAndResumesWhereItPaused)
{
    PlayUntilBuffered(3);
    m_player.GetControls().pause();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_player.GetStatus() == PlayerTexts::kPaused; }, 5000));
    QSignalSpy changed(m_pTimeShift, &ITimeShift::Changed);
    changed.wait(1000);
    const double dPausedAt = m_pTimeShift->Position();

    // Silence at the speakers, while the station's sound goes on arriving.
    const double dLevel = RecordPeakLevel(1000);
    EXPECT_GE(dLevel, 0);
    EXPECT_LT(dLevel, 0.001);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_pTimeShift->BufferEnd() > dPausedAt + 10; }, 30000));
    EXPECT_NEAR(m_pTimeShift->Position(), dPausedAt, 0.2);
    EXPECT_GT(m_pTimeShift->FileBytes(), 10 * 16000) << "the buffer is on disk";

    m_player.GetControls().play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_pTimeShift->Position() > dPausedAt + 0.05; }, 5000));
    EXPECT_LT(m_pTimeShift->Position(), dPausedAt + 1.5) << "play went on from the pause point";
    EXPECT_GE(m_pTimeShift->SecondsBehindLive(), 8);
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_player.GetStatus().contains(" behind live"); }, 5000))
        << qPrintable(m_player.GetStatus());
    EXPECT_TRUE(m_player.GetStatus().startsWith("-00:")) << qPrintable(m_player.GetStatus());
    EXPECT_TRUE(QTest::qWaitFor([] { return RecordPeakLevel(1000) > 0.01; }, 6000));
    EXPECT_EQ(Starts(), 1) << "resuming made no new request";
}

TEST_F(TimeShiftTest, BackAndLiveMoveWithinTheBufferWithoutANewRequest)
{
    PlayUntilBuffered(10);
    const double dBefore = m_pTimeShift->Position();
    m_pTimeShift->SeekBy(-8);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_pTimeShift->Position() < dBefore - 6; }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_pTimeShift->SecondsBehindLive() > 0; }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_player.GetStatus().contains(" behind live"); }, 5000))
        << qPrintable(m_player.GetStatus());

    m_pTimeShift->SeekToLive();
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_pTimeShift->SecondsBehindLive() == 0; }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_player.GetStatus().startsWith(PlayerTexts::kPlaying); }, 5000))
        << qPrintable(m_player.GetStatus());
    EXPECT_EQ(Starts(), 1);
}

TEST_F(TimeShiftTest, ASavedStretchIsTheStationsOwnFramesWithoutAGap)
{
    PlayUntilBuffered(8);
    QTemporaryDir folder;
    const QString strPath = folder.filePath(QStringLiteral("stretch.mp3"));
    QSignalSpy saved(m_pTimeShift, &ITimeShift::SaveFinished);
    m_pTimeShift->Save(1.0, 6.0, strPath);
    ASSERT_TRUE(saved.wait(10000));
    ASSERT_TRUE(saved.first().at(1).toBool()) << qPrintable(saved.first().at(2).toString());

    QFile file(strPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> frames = Mp3Frames(file.readAll());
    EXPECT_NEAR(frames.size() * kMp3SecondsPerFrame, 5.0, 0.2);
    QFile source(QStringLiteral(KESTREL_SERVER_MEDIA_DIR "/kestrel-mp3.mp3"));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray looped = source.readAll().repeated(2);
    const QByteArray joined = frames.join();
    ASSERT_GT(joined.size(), 0);
    EXPECT_GE(looped.indexOf(joined), 0) << "one contiguous run of the station's frames, byte for byte";
}

// The tags ffprobe reads from a file, as "key=value" lines.
QString ProbedTags(const QString& strPath)
{
    QProcess probe;
    probe.start(QStringLiteral("ffprobe"),
                {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                 QStringLiteral("format_tags=title,artist,album"), QStringLiteral("-of"),
                 QStringLiteral("default=nw=1"), strPath});
    probe.waitForFinished(30000);
    return QString::fromUtf8(probe.readAllStandardOutput());
}

TEST_F(TimeShiftTest, SaveSongWritesTheWholeSongInTheStationsFramesWithItsTags)
{
    // A title every 6 s of stream: at 16,000 bytes a second and a metadata
    // block every 16,000 bytes, each song begins exactly at a block.
    StationServer server({.extraArguments = {QStringLiteral("--title-interval"), QStringLiteral("6")}});
    ASSERT_TRUE(server.Start()) << qPrintable(server.Error());
    QTemporaryDir music;
    ASSERT_TRUE(SetMusicFolder(music.path()));
    ASSERT_EQ(CSongRecorder::MusicFolder(), music.path() + QStringLiteral("/Kestrel Radio"));

    CSongRecorder recorder(m_player.Engine());
    QSignalSpy reports(&recorder, &CSongRecorder::Report);
    recorder.SetChannel(QStringLiteral("Demo <Channel>/../x"));
    m_player.SetURL(server.Url(kMusicMount));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_player.Engine().StreamTitle().endsWith(" 1"); }, kPlayTimeoutMs));

    // The first song began before the channel opened: saved only if the
    // listener says so.
    QStringList questions;
    CMessageBoxAnswerer answerer([&questions](const MessageBoxRequest& request) {
        questions.append(request.strText);
        return IDNO;
    });
    recorder.SaveCurrentSong();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_player.Engine().StreamTitle().endsWith(" 2"); }, 20000));
    EXPECT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions.value(0).contains(QStringLiteral("incomplete")));

    recorder.SaveCurrentSong();
    ASSERT_TRUE(reports.wait(20000));
    ASSERT_TRUE(reports.last().at(0).toString().startsWith(QStringLiteral("Saved")))
        << qPrintable(reports.last().at(0).toString());
    EXPECT_EQ(questions.size(), 1) << "a complete song is saved without a question";

    const QDir channels(CSongRecorder::MusicFolder());
    const QStringList folders = channels.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    ASSERT_EQ(folders.size(), 1) << "the channel's name made one safe folder";
    EXPECT_FALSE(folders.first().startsWith(u'.'));
    const QDir channel(channels.filePath(folders.first()));
    const QStringList files = channel.entryList(QDir::Files | QDir::Hidden);
    ASSERT_EQ(files, QStringList({QStringLiteral("Kestrel Demo - Track 2.mp3")})) << "no partial file is left";

    QFile file(channel.filePath(files.first()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> frames = Mp3Frames(file.readAll());
    EXPECT_NEAR(frames.size() * kMp3SecondsPerFrame, 6.0, 1.0);
    QFile source(QStringLiteral(KESTREL_SERVER_MEDIA_DIR "/kestrel-mp3.mp3"));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    EXPECT_GE(source.readAll().repeated(3).indexOf(frames.join()), 0) << "a contiguous run of the station's frames";

    const QString strTags = ProbedTags(file.fileName());
    EXPECT_TRUE(strTags.contains(QStringLiteral("title=Track 2"))) << qPrintable(strTags);
    EXPECT_TRUE(strTags.contains(QStringLiteral("artist=Kestrel Demo"))) << qPrintable(strTags);
    EXPECT_TRUE(strTags.contains(QStringLiteral("album=Demo <Channel>/../x"))) << qPrintable(strTags);
}

// The time-shift file that the process holds open, as the file system has
// it: its length, and the bytes it takes on disk.
struct CacheFileSize {
    qint64 nLength = -1;
    qint64 nAllocated = -1;
};

CacheFileSize TimeShiftFileSize()
{
    const QString strFolder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
        QStringLiteral("/KestrelRadio/TimeShift");
    const QString strCanonical = QFileInfo(strFolder).canonicalFilePath();
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    for (const QString& strDescriptor : descriptors.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        char target[4096];
        const ssize_t nLength =
            ::readlink(QFile::encodeName(descriptors.filePath(strDescriptor)).constData(), target, sizeof target);
        if (nLength <= 0 || !QFile::decodeName(QByteArray(target, nLength)).startsWith(strCanonical + "/mpv-cache-"))
            continue;
        struct stat status {};
        if (::stat(QFile::encodeName(descriptors.filePath(strDescriptor)).constData(), &status) == 0)
            return {status.st_size, static_cast<qint64>(status.st_blocks) * 512};
    }
    return {};
}

TEST_F(TimeShiftTest, ALongPauseKeepsTheFileWithinTheBufferAndTheSoundWhole)
{
    // A minute of buffer, and a station that sends forty seconds of stream
    // every second: twenty minutes of pause, twenty times the buffer, pass
    // in half a minute.
    constexpr int kBufferSeconds = 60;
    constexpr double kPausedSeconds = 20 * kBufferSeconds;
    constexpr double kStreamBytesPerSecond = 16000;
    StationServer server({.extraArguments = {QStringLiteral("--stream-speed"), QStringLiteral("40")}});
    ASSERT_TRUE(server.Start()) << qPrintable(server.Error());
    WriteSettingInt(SettingNames::kTimeShiftMinutes, kBufferSeconds / 60);
    const auto restore =
        qScopeGuard([] { WriteSettingInt(SettingNames::kTimeShiftMinutes, SettingDefaults::kTimeShiftMinutes); });
    m_player.SetURL(server.Url(kMusicMount));
    // The stream comes faster than it plays, so play soon falls behind live.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return m_player.GetStatus().startsWith(PlayerTexts::kPlaying) ||
                m_player.GetStatus().contains(" behind live");
        },
        kPlayTimeoutMs))
        << qPrintable(m_player.GetStatus());
    m_pTimeShift = m_player.Engine().TimeShift();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_pTimeShift->IsActive(); }, kPlayTimeoutMs));
    m_player.GetControls().pause();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_player.GetStatus() == PlayerTexts::kPaused; }, 5000));
    const double dPausedEnd = m_pTimeShift->BufferEnd();

    // The whole pause passes through the file, which takes no more room
    // than the buffer, the index's minute of slack for the arriving stream,
    // the minute kept before the index's oldest packet, the stream between
    // two of libmpv's reports (a second, forty seconds of stream here) and
    // the megabyte given back at a time; libmpv adds a few bytes to each
    // packet. Without giving space back, it would take the whole pause.
    constexpr double kBoundSeconds = kBufferSeconds + 60 + 60 + 40;
    const auto nBound = static_cast<qint64>(kBoundSeconds * kStreamBytesPerSecond * 1.05 + 1024 * 1024);
    qint64 nMostAllocated = 0;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            nMostAllocated = qMax(nMostAllocated, TimeShiftFileSize().nAllocated);
            return m_pTimeShift->BufferEnd() > dPausedEnd + kPausedSeconds;
        },
        180000))
        << m_pTimeShift->BufferEnd();
    const CacheFileSize size = TimeShiftFileSize();
    EXPECT_GT(size.nLength, static_cast<qint64>(kPausedSeconds * kStreamBytesPerSecond)) << "the file saw the pause";
    EXPECT_GT(nMostAllocated, 0);
    EXPECT_LT(nMostAllocated, nBound);
    // Reported a moment apart, and a report is forty seconds of stream.
    EXPECT_NEAR(static_cast<double>(m_pTimeShift->FileBytes()), static_cast<double>(size.nAllocated), 2.0 * 1024 * 1024)
        << "the buffer counts what its file takes";
    EXPECT_LT(m_pTimeShift->BufferEnd() - m_pTimeShift->BufferStart(), kBufferSeconds + 90)
        << "the index holds the buffer's time, not the pause's: " << m_pTimeShift->BufferStart() << " to "
        << m_pTimeShift->BufferEnd();
    EXPECT_LE(m_pTimeShift->SecondsBehindLive(), kBufferSeconds + ITimeShift::kLiveMarginSeconds + 45)
        << "the pause point moved on with the stream";

    // All that the buffer still holds is the station's sound, whole: no
    // packet it plays from was given back.
    QTemporaryDir folder;
    const QString strPath = folder.filePath(QStringLiteral("buffer.mp3"));
    QSignalSpy saved(m_pTimeShift, &ITimeShift::SaveFinished);
    const double dFrom = m_pTimeShift->BufferStart();
    const double dTo = m_pTimeShift->BufferEnd() - 5;
    m_pTimeShift->Save(dFrom, dTo, strPath);
    ASSERT_TRUE(saved.wait(20000));
    ASSERT_TRUE(saved.first().at(1).toBool()) << qPrintable(saved.first().at(2).toString());
    QFile file(strPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> frames = Mp3Frames(file.readAll());
    EXPECT_NEAR(frames.size() * kMp3SecondsPerFrame, dTo - dFrom, 2.0);
    QFile source(QStringLiteral(KESTREL_SERVER_MEDIA_DIR "/kestrel-mp3.mp3"));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray station = source.readAll();
    const QByteArray joined = frames.join();
    ASSERT_GT(joined.size(), 0);
    EXPECT_GE(station.repeated(joined.size() / station.size() + 2).indexOf(joined), 0)
        << "one contiguous run of the station's frames, byte for byte";

    // Resume plays on from the buffer, with no new request. (Back is tested
    // at the station's own pace: a stream forty times faster than play moves
    // the whole buffer on within seconds.)
    m_player.GetControls().play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_player.GetStatus() != PlayerTexts::kPaused; }, 10000));
    EXPECT_TRUE(QTest::qWaitFor([] { return RecordPeakLevel(1000) > 0.01; }, 6000));
    EXPECT_EQ(CountStreamStarts(server, kMusicMount), 1) << "the buffer answered Resume";
}

TEST_F(TimeShiftTest, TheNewestMinutesAreSavedAsOneFileNamedAfterTheChannelAndTheTime)
{
    QTemporaryDir music;
    ASSERT_TRUE(SetMusicFolder(music.path()));

    CSongRecorder recorder(m_player.Engine());
    QSignalSpy reports(&recorder, &CSongRecorder::Report);
    recorder.SetChannel(QStringLiteral("Talk: Now"));
    PlayUntilBuffered(6);
    recorder.SaveNewestMinutes();
    ASSERT_TRUE(reports.wait(20000));
    ASSERT_TRUE(reports.last().at(0).toString().startsWith(QStringLiteral("Saved")))
        << qPrintable(reports.last().at(0).toString());

    const QDir channel(QDir(CSongRecorder::MusicFolder()).filePath(QStringLiteral("Talk_ Now")));
    const QStringList files = channel.entryList(QDir::Files | QDir::Hidden);
    ASSERT_EQ(files.size(), 1) << qPrintable(files.join(", "));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Talk_ Now \\d{4}-\\d\\d-\\d\\d \\d\\d\\.\\d\\d\\.\\d\\d\\.mp3$"))
                    .match(files.first())
                    .hasMatch())
        << qPrintable(files.first());
    // All the buffer held, shorter than the minutes asked for, as the
    // station's own frames.
    QFile file(channel.filePath(files.first()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> frames = Mp3Frames(file.readAll());
    EXPECT_GE(frames.size() * kMp3SecondsPerFrame, 5.0);
    QFile source(QStringLiteral(KESTREL_SERVER_MEDIA_DIR "/kestrel-mp3.mp3"));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    EXPECT_GE(source.readAll().repeated(3).indexOf(frames.join()), 0) << "a contiguous run of the station's frames";
}

TEST_F(TimeShiftTest, WithTheBufferOffNothingIsKept)
{
    WriteSettingInt(SettingNames::kTimeShiftMinutes, 0);
    m_player.SetURL(s_pServer->Url(kMusicMount));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return m_player.GetStatus().startsWith(PlayerTexts::kPlaying); }, kPlayTimeoutMs));
    ASSERT_NE(m_player.Engine().TimeShift(), nullptr);
    // The buffer has reported on a second of play, so it has had its chance
    // to keep something.
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_player.Engine().TimeShift()->Position() >= 1.0; }, kPlayTimeoutMs));
    EXPECT_FALSE(m_player.Engine().TimeShift()->IsActive());
    EXPECT_EQ(m_player.Engine().TimeShift()->FileBytes(), 0);
    WriteSettingInt(SettingNames::kTimeShiftMinutes, SettingDefaults::kTimeShiftMinutes);
}
}
