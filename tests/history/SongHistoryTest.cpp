// The history file: songs kept newest first within their bound, a damaged
// file set aside rather than lost, and every written song still there after
// the writer is killed mid-write.
#include "platform/history/SongHistory.h"

#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <csignal>

namespace {
const QDateTime kMorning = QDateTime(QDate(2024, 5, 1), QTime(8, 0), Qt::UTC);

class SongHistoryTest : public ::testing::Test
{
protected:
    QString FilePath() const { return m_folder.filePath(QStringLiteral("SongHistory.db")); }

    QTemporaryDir m_folder;
};

TEST_F(SongHistoryTest, SongsComeBackNewestFirstWithTheirTimesAcrossReopening)
{
    {
        const auto pHistory = CreateSongHistory(FilePath());
        ASSERT_TRUE(pHistory->IsAvailable()) << qPrintable(pHistory->ErrorText());
        const qint64 nFirst = pHistory->AddSong(QStringLiteral("Jazz FM"), QStringLiteral("Miles - So What"), kMorning);
        ASSERT_NE(nFirst, 0);
        EXPECT_TRUE(pHistory->EndSong(nFirst, kMorning.addSecs(200)));
        ASSERT_NE(pHistory->AddSong(QStringLiteral("Jazz FM"), QString(), kMorning.addSecs(200)), 0);
    }
    const auto pHistory = CreateSongHistory(FilePath());
    const QList<SongHistoryEntry> songs = pHistory->RecentSongs();
    ASSERT_EQ(songs.size(), 2);
    EXPECT_TRUE(songs[0].strTitle.isEmpty());
    EXPECT_EQ(songs[0].started, kMorning.addSecs(200));
    EXPECT_FALSE(songs[0].ended.isValid()) << "still playing";
    EXPECT_EQ(songs[1].strChannel, QStringLiteral("Jazz FM"));
    EXPECT_EQ(songs[1].strTitle, QStringLiteral("Miles - So What"));
    EXPECT_EQ(songs[1].started, kMorning);
    EXPECT_EQ(songs[1].ended, kMorning.addSecs(200));
}

TEST_F(SongHistoryTest, OnlyTheNewestSongsAreKept)
{
    const auto pHistory = CreateSongHistory(FilePath());
    ASSERT_TRUE(pHistory->IsAvailable());
    const int nWritten = ISongHistory::kKeptSongs + 25;
    for (int n = 1; n <= nWritten; ++n)
        ASSERT_NE(pHistory->AddSong(QStringLiteral("C"), QString::number(n), kMorning.addSecs(n)), 0);
    const QList<SongHistoryEntry> songs = pHistory->RecentSongs();
    ASSERT_EQ(songs.size(), ISongHistory::kKeptSongs);
    EXPECT_EQ(songs.first().strTitle, QString::number(nWritten));
    EXPECT_EQ(songs.last().strTitle, QString::number(nWritten - ISongHistory::kKeptSongs + 1));
    EXPECT_EQ(pHistory->RecentSongs(3).size(), 3);
}

TEST_F(SongHistoryTest, AFileThatIsNoHistoryIsSetAsideKeptAndANewOneBegun)
{
    const QByteArray garbage("this is not a database, but someone's notes\n");
    {
        QFile file(FilePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(garbage.repeated(200));
    }
    const auto pHistory = CreateSongHistory(FilePath());
    ASSERT_TRUE(pHistory->IsAvailable()) << qPrintable(pHistory->ErrorText());
    EXPECT_NE(pHistory->AddSong(QStringLiteral("C"), QStringLiteral("T"), kMorning), 0);
    QFile setAside(FilePath() + QStringLiteral(".damaged"));
    ASSERT_TRUE(setAside.open(QIODevice::ReadOnly));
    EXPECT_EQ(setAside.readAll(), garbage.repeated(200));
}

TEST_F(SongHistoryTest, AFolderThatCannotHoldTheFileLeavesTheHistoryOffWithAReason)
{
    const auto pHistory = CreateSongHistory(m_folder.filePath(QStringLiteral("missing/SongHistory.db")));
    EXPECT_FALSE(pHistory->IsAvailable());
    EXPECT_FALSE(pHistory->ErrorText().isEmpty());
    EXPECT_EQ(pHistory->AddSong(QStringLiteral("C"), QStringLiteral("T"), kMorning), 0);
    EXPECT_TRUE(pHistory->RecentSongs().isEmpty());
}

TEST_F(SongHistoryTest, EverySongWrittenSurvivesTheWriterKilledMidWrite)
{
    QProcess writer;
    writer.start(QStringLiteral(KESTREL_SONG_HISTORY_WRITER), {FilePath()});
    ASSERT_TRUE(writer.waitForStarted());
    QSet<qint64> written;
    QByteArray pending;
    // Killed while it writes as fast as it can: most likely inside a
    // transaction.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            writer.waitForReadyRead(100);
            pending += writer.readAllStandardOutput();
            while (pending.contains('\n')) {
                const qsizetype nEnd = pending.indexOf('\n');
                written.insert(pending.left(nEnd).toLongLong());
                pending.remove(0, nEnd + 1);
            }
            return written.size() >= 150;
        },
        60000))
        << qPrintable(writer.readAllStandardError());
    ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
    ASSERT_TRUE(writer.waitForFinished(10000));
    pending += writer.readAllStandardOutput();
    for (const QByteArray& line : pending.split('\n')) {
        if (!line.isEmpty())
            written.insert(line.toLongLong());
    }

    const auto pHistory = CreateSongHistory(FilePath());
    ASSERT_TRUE(pHistory->IsAvailable()) << qPrintable(pHistory->ErrorText());
    EXPECT_FALSE(QFile::exists(FilePath() + QStringLiteral(".damaged"))) << "the file was not damaged";
    QSet<qint64> kept;
    qint64 nNewest = 0;
    for (const SongHistoryEntry& song : pHistory->RecentSongs()) {
        nNewest = qMax(nNewest, song.nId);
        kept.insert(song.nId);
        if (written.contains(song.nId)) {
            EXPECT_TRUE(song.ended.isValid()) << "its end was written before its id was printed";
        }
    }
    // Within the bound, that is: a fast disk lets it write more.
    for (const qint64 nId : written) {
        if (nId > nNewest - ISongHistory::kKeptSongs) {
            EXPECT_TRUE(kept.contains(nId)) << "song " << nId << " lost";
        }
    }
    // And the file takes new songs.
    EXPECT_NE(pHistory->AddSong(QStringLiteral("C"), QStringLiteral("after"), kMorning), 0);
}
}
