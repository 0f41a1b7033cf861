// The whole program in the test process, on the test display, against the
// station server: Save Song from the ribbon into a disk that cannot take
// the song. The status says which song, where and why, nothing is left in
// the music folder, the channel is heard on, and the songs heard are all
// in the history.
#include "FileSizeLimit.h"
#include "InProcessProgramTest.h"
#include "PlayerTestSupport.h"

#include "frame/CMainFrame.h"
#include "fw/ribbon/CMFCRibbonBaseElement.h"
#include "nowplaying/NowPlayingRelay.h"
#include "nowplaying/SongHistoryRecorder.h"
#include "platform/history/SongHistory.h"
#include "radio/PlayerTexts.h"
#include "res/Resource.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {
constexpr int kTimeoutMs = 30000;
// The row the program plays at its first start, and its songs.
constexpr char kChannel[] = "Kestrel Radio Demo";
const QString kSecondSong = QStringLiteral("Kestrel Demo - Track 2");

class SongSaveFaultTest : public InProcessProgramTest
{};

TEST_F(SongSaveFaultTest, SaveSongIntoAFullDiskSaysWhyLeavesNothingAndPlaysOn)
{
    QTemporaryDir music;
    ASSERT_TRUE(PlayerTestSupport::SetMusicFolder(music.path()));
    // A song of 10 s at 16,000 bytes a second.
    StartServer({.extraArguments = {QStringLiteral("--title-interval"), QStringLiteral("10")}});
    StartProgram();
    const auto statusText = [this] { return Frame() != nullptr ? Frame()->GetStatusText() : QString(); };
    // "(Live)" follows while the buffer keeps the channel.
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return statusText().startsWith(QString(PlayerTexts::kPlayingTitle).arg(kSecondSong)); },
                        kTimeoutMs + 10000))
        << qPrintable(statusText());

    CMFCRibbonBaseElement* pSaveSong = Frame()->GetRibbonBar().FindByID(ID_LIVE_SAVE_SONG);
    ASSERT_NE(pSaveSong, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return pSaveSong->GetWidget()->isEnabled(); }, 5000));
    ClickRibbon(ID_LIVE_SAVE_SONG);
    const QString strNotSaved = QStringLiteral("The song \"%1\" could not be saved").arg(kSecondSong);
    {
        // The history and the profile stay well below the limit.
        const FileSizeLimit limit(100000);
        ASSERT_TRUE(limit.IsSet());
        ASSERT_TRUE(QTest::qWaitFor([&] { return statusText().startsWith(strNotSaved); }, kTimeoutMs))
            << qPrintable(statusText());
    }
    const QString strChannelFolder = music.filePath(QStringLiteral("Kestrel Radio/%1").arg(kChannel));
    EXPECT_TRUE(statusText().contains(strChannelFolder)) << qPrintable(statusText());
    EXPECT_TRUE(statusText().endsWith(QStringLiteral("File too large"))) << qPrintable(statusText());
    EXPECT_EQ(QDir(strChannelFolder).entryList(QDir::Files | QDir::Hidden), QStringList()) << "no partial file";

    // The channel plays on, heard at the sink.
    CNowPlayingRelay* pRelay = CNowPlayingRelay::Get();
    ASSERT_NE(pRelay, nullptr);
    EXPECT_EQ(pRelay->GetPlayState(), CNowPlayingRelay::PlayState::Playing);
    EXPECT_TRUE(QTest::qWaitFor([] { return PlayerTestSupport::RecordPeakLevel(700) > 0.01; }, 8000));

    // Every song heard is in the history, the one that could not be saved
    // with its end.
    CSongHistoryRecorder* pHistory = CSongHistoryRecorder::Get();
    ASSERT_NE(pHistory, nullptr);
    const auto titles = [&] {
        QStringList heard;
        for (const SongHistoryEntry& entry : pHistory->History().RecentSongs())
            heard.append(entry.strChannel + QStringLiteral(": ") + entry.strTitle);
        return heard;
    };
    const QString strChannel = QLatin1String(kChannel) + QStringLiteral(": ");
    const QStringList expected{strChannel + QStringLiteral("Kestrel Demo - Track 3"), strChannel + kSecondSong,
                               strChannel + QStringLiteral("Kestrel Demo - Track 1")};
    EXPECT_TRUE(QTest::qWaitFor([&] { return titles().mid(0, 3) == expected; }, kTimeoutMs))
        << qPrintable(titles().join(" | "));
    const QList<SongHistoryEntry> songs = pHistory->History().RecentSongs(2);
    ASSERT_EQ(songs.size(), 2);
    EXPECT_TRUE(songs[1].ended.isValid());
}
}
