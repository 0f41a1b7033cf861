// Which songs of the history the time-shift buffer still holds, over a
// buffer whose state the test sets: a song is whole while the buffer holds
// it from start to end, incomplete once its start is gone or when it began
// before the channel opened, and gone with a reason otherwise. A station
// without titles saves its newest minutes as one file.
#include "FakeMediaEngine.h"
#include "FakeTimeShift.h"
#include "PlayerTestSupport.h"

#include "platform/history/SongHistory.h"
#include "radio/HeardSongs.h"
#include "radio/SongRecorder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QRegularExpression>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {
using Holding = CHeardSongs::Holding;

const QDateTime kMorning = QDateTime(QDate(2024, 5, 1), QTime(8, 0), Qt::UTC);
const QString kChannel = QStringLiteral("Jazz FM");

class HeardSongsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Songs are saved into a music folder of the test's own.
        ASSERT_TRUE(PlayerTestSupport::SetMusicFolder(m_music.path()));
        ASSERT_TRUE(CSongRecorder::MusicFolder().startsWith(m_music.path()));
        m_engine.m_pTimeShift = &m_timeShift;
        m_heard.SetChannel(kChannel);
        m_recorder.SetChannel(kChannel);
    }

    // The station announces strTitle when play reaches dPosition, at the
    // wall-clock time now.
    void Announce(const QString& strTitle, double dPosition)
    {
        m_timeShift.Hold(m_dBufferStart, qMax(dPosition + 1, m_dBufferEnd), dPosition);
        m_engine.UpdateMetadata(strTitle, QString());
    }

    // The history's entry for what was announced at nSeconds past kMorning.
    SongHistoryEntry Entry(const QString& strTitle, int nSeconds, const QString& strChannel = kChannel) const
    {
        SongHistoryEntry entry;
        entry.strChannel = strChannel;
        entry.strTitle = strTitle;
        entry.started = kMorning.addSecs(nSeconds);
        return entry;
    }

    QTemporaryDir m_music;
    CFakeMediaEngine m_engine;
    CFakeTimeShift m_timeShift;
    QDateTime m_now = kMorning;
    CHeardSongs m_heard{m_engine, [this] { return m_now; }};
    CSongRecorder m_recorder{m_engine};
    double m_dBufferStart = 0;
    double m_dBufferEnd = 0;
};

TEST_F(HeardSongsTest, ASongIsHeldWholeUntilTheBufferLetsGoOfItsStartThenOfItsEnd)
{
    // The station names itself before its first title.
    m_timeShift.Hold(0, 2, 1);
    m_engine.UpdateMetadata(QString(), QStringLiteral("Jazz FM"));
    Announce(QStringLiteral("A - First"), 2);
    m_now = kMorning.addSecs(200);
    Announce(QStringLiteral("B - Second"), 202);
    m_now = kMorning.addSecs(400);
    Announce(QStringLiteral("C - Third"), 402);

    // The first began before the channel opened.
    CHeardSongs::Verdict first = m_heard.Find(Entry(QStringLiteral("A - First"), 0));
    EXPECT_EQ(first.holding, Holding::Incomplete);
    CHeardSongs::Verdict second = m_heard.Find(Entry(QStringLiteral("B - Second"), 201));
    EXPECT_EQ(second.holding, Holding::Whole) << qPrintable(second.strWhy);
    EXPECT_EQ(second.song.dStart, 202);
    EXPECT_EQ(second.song.dEnd, 402);
    EXPECT_TRUE(second.song.bComplete);
    EXPECT_EQ(m_heard.Find(Entry(QStringLiteral("C - Third"), 400)).holding, Holding::Playing);

    // The buffer drops the oldest sound as the channel goes on.
    m_dBufferStart = 250;
    Announce(QStringLiteral("C - Third"), 420);
    EXPECT_EQ(m_heard.Find(Entry(QStringLiteral("B - Second"), 200)).holding, Holding::Incomplete);
    m_dBufferStart = 402;
    Announce(QStringLiteral("C - Third"), 430);
    const CHeardSongs::Verdict gone = m_heard.Find(Entry(QStringLiteral("B - Second"), 200));
    EXPECT_EQ(gone.holding, Holding::Gone);
    EXPECT_TRUE(gone.strWhy.contains(QStringLiteral("older"))) << qPrintable(gone.strWhy);
}

TEST_F(HeardSongsTest, WhatTheBufferCannotHoldIsGoneWithItsReason)
{
    Announce(QStringLiteral("A - First"), 2);
    m_now = kMorning.addSecs(100);
    Announce(QStringLiteral("B - Second"), 102);
    m_now = kMorning.addSecs(200);
    Announce(QStringLiteral("A - First"), 202);
    m_now = kMorning.addSecs(400);
    Announce(QStringLiteral("C - Third"), 402);

    // The same title heard twice: the entry is the one heard at its time.
    const CHeardSongs::Verdict again = m_heard.Find(Entry(QStringLiteral("A - First"), 201));
    EXPECT_EQ(again.song.dStart, 202);

    const auto why = [this](const SongHistoryEntry& entry) {
        const CHeardSongs::Verdict verdict = m_heard.Find(entry);
        EXPECT_EQ(verdict.holding, Holding::Gone);
        return verdict.strWhy;
    };
    EXPECT_TRUE(why(Entry(QStringLiteral("A - First"), 200, QStringLiteral("Rock Radio"))).contains("channel"));
    EXPECT_TRUE(why(Entry(QStringLiteral("Z - Yesterday"), -86400)).contains("before the channel was last opened"));
    // Another opening of the channel: its buffer holds nothing heard before.
    m_heard.SetChannel(kChannel);
    EXPECT_TRUE(why(Entry(QStringLiteral("A - First"), 201)).contains("before the channel was last opened"));
    m_timeShift.Drop();
    EXPECT_TRUE(why(Entry(QStringLiteral("A - First"), 201)).contains("only while their channel plays"));
    m_timeShift.m_nBufferSeconds = 0;
    EXPECT_TRUE(why(Entry(QStringLiteral("A - First"), 201)).contains("time-shift is off"));
}

TEST_F(HeardSongsTest, AStreamThatBeganAnewForgetsThePositionsOfTheOldOne)
{
    Announce(QStringLiteral("A - First"), 300);
    m_now = kMorning.addSecs(200);
    Announce(QStringLiteral("B - Second"), 500);
    // A reconnection: the new stream's times start from nothing.
    m_now = kMorning.addSecs(300);
    Announce(QStringLiteral("C - Third"), 3);
    EXPECT_EQ(m_heard.Find(Entry(QStringLiteral("A - First"), 0)).holding, Holding::Gone);
    EXPECT_EQ(m_heard.Find(Entry(QStringLiteral("C - Third"), 300)).holding, Holding::Playing);
}

TEST_F(HeardSongsTest, RecordSongsKeepsTheSecondTitleEvenWhenTheFirstCameBeforeTheBufferReported)
{
    // The station's name, then its first title, before the buffer's first
    // report on the stream just opened; the second title begins in it.
    m_recorder.SetRecordSongs(true);
    m_engine.UpdateMetadata(QString(), QStringLiteral("Jazz FM"));
    m_engine.UpdateMetadata(QStringLiteral("A - First"), QString());
    Announce(QStringLiteral("B - Second"), 62);
    Announce(QStringLiteral("C - Third"), 122);

    ASSERT_EQ(m_timeShift.m_saves.size(), 1) << "only the whole song is recorded";
    EXPECT_EQ(m_timeShift.m_saves[0].dFrom, 62);
    EXPECT_EQ(m_timeShift.m_saves[0].dTo, 122);
    EXPECT_TRUE(m_timeShift.m_saves[0].strPath.contains(QStringLiteral("B - Second")))
        << qPrintable(m_timeShift.m_saves[0].strPath);
}

TEST_F(HeardSongsTest, AStationWithoutTitlesSavesItsNewestMinutesAsOneFile)
{
    m_timeShift.Hold(0, 1000, 990);
    SongHistoryEntry untitled = Entry(QString(), 0);
    const CHeardSongs::Verdict verdict = m_heard.Find(untitled);
    EXPECT_EQ(verdict.holding, Holding::Playing);
    EXPECT_TRUE(verdict.strWhy.contains(QStringLiteral("%1 minutes").arg(CSongRecorder::kUntitledSaveMinutes)));
    untitled.ended = kMorning.addSecs(60);
    EXPECT_EQ(m_heard.Find(untitled).holding, Holding::Gone) << "a stretch that ended is no song to save";

    // Save Song has no end of a song to wait for: it saves at once.
    m_recorder.SetChannel(QStringLiteral("Talk: Now/Then"));
    m_recorder.SaveCurrentSong();
    EXPECT_FALSE(m_recorder.IsSaveAsked());
    ASSERT_EQ(m_timeShift.m_saves.size(), 1);
    const CFakeTimeShift::SaveRequest& save = m_timeShift.m_saves.first();
    EXPECT_EQ(save.dFrom, 1000 - CSongRecorder::kUntitledSaveMinutes * 60);
    EXPECT_EQ(save.dTo, 1000);
    const QFileInfo file(save.strPath);
    EXPECT_EQ(file.dir().dirName(), QStringLiteral("Talk_ Now_Then")) << "the channel's folder, made safe";
    EXPECT_TRUE(QRegularExpression(
                    QStringLiteral("^\\.saving-Talk_ Now_Then \\d{4}-\\d\\d-\\d\\d \\d\\d\\.\\d\\d\\.\\d\\d\\.mp3$"))
                    .match(file.fileName())
                    .hasMatch())
        << qPrintable(file.fileName());

    // A buffer shorter than those minutes is saved whole.
    m_timeShift.Hold(40, 100, 100);
    m_recorder.SaveNewestMinutes();
    ASSERT_EQ(m_timeShift.m_saves.size(), 2);
    EXPECT_EQ(m_timeShift.m_saves.last().dFrom, 40);
}

TEST_F(HeardSongsTest, WithoutABufferNothingIsSavedAndTheListenerIsTold)
{
    QSignalSpy reports(&m_recorder, &CSongRecorder::Report);
    m_recorder.SaveNewestMinutes();
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports.first().at(0).toString().contains(QStringLiteral("time-shift is off")));
    EXPECT_TRUE(m_timeShift.m_saves.isEmpty());
}
}
