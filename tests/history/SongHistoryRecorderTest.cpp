// What the relay's changes write into the history: a song per title that
// stands, its end when the next begins or playing stops, a pause that is no
// end, flickering titles that write nothing, and a channel without titles.
#include "nowplaying/NowPlayingRelay.h"
#include "nowplaying/SongHistoryRecorder.h"
#include "platform/history/SongHistory.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {
using PlayState = CNowPlayingRelay::PlayState;

const QString kChannel = QStringLiteral("Kestrel Jazz");
const QString kAddress = QStringLiteral("http://127.0.0.1:8000/streams/kestrel-mp3");
const QDateTime kStart = QDateTime(QDate(2024, 5, 1), QTime(8, 0), Qt::UTC);
constexpr int kSettleMs = 30;

class SongHistoryRecorderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pHistory = CreateSongHistory(m_folder.filePath(QStringLiteral("h.db")));
        ASSERT_TRUE(m_pHistory->IsAvailable());
        m_pRecorder = std::make_unique<CSongHistoryRecorder>(
            m_relay, *m_pHistory, [this] { return m_now; }, kSettleMs);
        m_relay.Attach(&m_page);
    }

    // The relay hears the title; the test waits until it is written.
    void HearAndSettle(const QString& strTitle)
    {
        QSignalSpy changed(m_pHistory.get(), &ISongHistory::Changed);
        m_relay.SetStreamTitle(strTitle);
        ASSERT_TRUE(changed.wait(5000));
    }

    void Play(const QString& strChannel)
    {
        m_relay.SetChannel(strChannel, kAddress);
        m_relay.SetPlayState(PlayState::Playing);
    }

    QList<SongHistoryEntry> Songs() const { return m_pHistory->RecentSongs(); }

    QTemporaryDir m_folder;
    CNowPlayingRelay m_relay;
    QObject m_page;
    std::unique_ptr<ISongHistory> m_pHistory;
    std::unique_ptr<CSongHistoryRecorder> m_pRecorder;
    QDateTime m_now = kStart;
};

TEST_F(SongHistoryRecorderTest, EachTitleIsASongFromWhenItWasHeardUntilTheNextBegan)
{
    Play(kChannel);
    HearAndSettle(QStringLiteral("Artist - One"));
    m_now = kStart.addSecs(180);
    HearAndSettle(QStringLiteral("Artist - Two"));
    m_now = kStart.addSecs(400);
    QSignalSpy changed(m_pHistory.get(), &ISongHistory::Changed);
    m_relay.SetPlayState(PlayState::Stopped);
    EXPECT_EQ(changed.count(), 1) << "the end is written at once";

    const QList<SongHistoryEntry> songs = Songs();
    ASSERT_EQ(songs.size(), 2);
    EXPECT_EQ(songs[1].strTitle, QStringLiteral("Artist - One"));
    EXPECT_EQ(songs[1].strChannel, kChannel);
    EXPECT_EQ(songs[1].started, kStart);
    EXPECT_EQ(songs[1].ended, kStart.addSecs(180));
    EXPECT_EQ(songs[0].strTitle, QStringLiteral("Artist - Two"));
    EXPECT_EQ(songs[0].started, kStart.addSecs(180));
    EXPECT_EQ(songs[0].ended, kStart.addSecs(400));
}

TEST_F(SongHistoryRecorderTest, APauseIsNoEndAndTheSameTitleAgainIsNoNewSong)
{
    Play(kChannel);
    HearAndSettle(QStringLiteral("Long Song"));
    QSignalSpy changed(m_pHistory.get(), &ISongHistory::Changed);
    m_relay.SetPlayState(PlayState::Paused);
    m_relay.SetPlayState(PlayState::Playing);
    m_relay.SetStreamTitle(QStringLiteral("Long Song"));
    EXPECT_FALSE(changed.wait(kSettleMs * 5));
    ASSERT_EQ(Songs().size(), 1);
    EXPECT_FALSE(Songs().first().ended.isValid());
}

TEST_F(SongHistoryRecorderTest, TitlesThatChangeFasterThanTheySettleWriteNothing)
{
    Play(kChannel);
    HearAndSettle(QStringLiteral("Steady"));
    QSignalSpy changed(m_pHistory.get(), &ISongHistory::Changed);
    for (int n = 0; n < 50; ++n)
        m_relay.SetStreamTitle(QStringLiteral("Flicker %1").arg(n));
    m_relay.SetStreamTitle(QStringLiteral("Steady"));
    // The steady song ended when the flicker began, and goes on as the same
    // song once its title stands again.
    ASSERT_TRUE(QTest::qWaitFor([&] { return changed.count() >= 2; }, 5000));
    EXPECT_FALSE(changed.wait(kSettleMs * 5));
    EXPECT_EQ(changed.count(), 2);
    const QList<SongHistoryEntry> songs = Songs();
    ASSERT_EQ(songs.size(), 1);
    EXPECT_EQ(songs[0].strTitle, QStringLiteral("Steady"));
    EXPECT_FALSE(songs[0].ended.isValid());
}

TEST_F(SongHistoryRecorderTest, AChannelWithoutTitlesIsWrittenAsTheChannelAlone)
{
    QSignalSpy changed(m_pHistory.get(), &ISongHistory::Changed);
    Play(kChannel);
    ASSERT_TRUE(changed.wait(5000));
    const QList<SongHistoryEntry> songs = Songs();
    ASSERT_EQ(songs.size(), 1);
    EXPECT_EQ(songs[0].strChannel, kChannel);
    EXPECT_TRUE(songs[0].strTitle.isEmpty());

    // The page closing ends it.
    m_now = kStart.addSecs(60);
    m_relay.Detach(&m_page);
    EXPECT_EQ(Songs().first().ended, kStart.addSecs(60));
}
}
