// Station titles made into file names: nothing that leaves the folder,
// hides the file or outgrows a name, and never the name of a file that is
// already there.
#include "radio/SongFileName.h"
#include "radio/SongRecorder.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QString kFallback = QStringLiteral("Unknown song");

TEST(SongFileName, TitlesBecomeOneSafeNameInsideTheFolder)
{
    EXPECT_EQ(SongFileName::Sanitised(QStringLiteral("AC/DC - Back in Black"), kFallback),
              QStringLiteral("AC_DC - Back in Black"));
    EXPECT_EQ(SongFileName::Sanitised(QStringLiteral("../../etc/passwd"), kFallback), QStringLiteral("_.._etc_passwd"));
    EXPECT_EQ(SongFileName::Sanitised(QStringLiteral("...hidden"), kFallback), QStringLiteral("hidden"));
    EXPECT_EQ(SongFileName::Sanitised(QStringLiteral("a\nb\tc\u202Ed"), kFallback), QStringLiteral("a_b_c_d"));
    EXPECT_EQ(SongFileName::Sanitised(QStringLiteral(" .. "), kFallback), kFallback);
    EXPECT_EQ(SongFileName::Sanitised(QString(), kFallback), kFallback);
    EXPECT_EQ(SongFileName::Sanitised(QStringLiteral("Björk – Jóga"), kFallback), QStringLiteral("Björk – Jóga"));

    // Long titles stop within the byte bound without splitting a character.
    const QString strLong = QString(300, QChar(0x00E9)) + QStringLiteral("\U0001F3B5");
    const QString strName = SongFileName::Sanitised(strLong, kFallback);
    EXPECT_LE(strName.toUtf8().size(), SongFileName::kMaxNameBytes);
    EXPECT_FALSE(strName.isEmpty());
    EXPECT_FALSE(strName.back().isHighSurrogate());
}

TEST(SongFileName, AFreePathNeverNamesAnExistingFile)
{
    QTemporaryDir folder;
    const QString strFirst = SongFileName::FreePath(folder.path(), QStringLiteral("Song"), QStringLiteral("mp3"));
    EXPECT_EQ(strFirst, folder.filePath(QStringLiteral("Song.mp3")));
    QFile(strFirst).open(QIODevice::WriteOnly);
    const QString strSecond = SongFileName::FreePath(folder.path(), QStringLiteral("Song"), QStringLiteral("mp3"));
    EXPECT_EQ(strSecond, folder.filePath(QStringLiteral("Song (2).mp3")));
    // A dangling link counts as taken too.
    QFile::link(folder.filePath(QStringLiteral("nowhere")), strSecond);
    EXPECT_EQ(SongFileName::FreePath(folder.path(), QStringLiteral("Song"), QStringLiteral("mp3")),
              folder.filePath(QStringLiteral("Song (3).mp3")));
}

TEST(SongFileName, AnnouncedTitlesSplitIntoArtistAndTitle)
{
    const SongTags tags = CSongRecorder::TagsOf(QStringLiteral("Miles Davis - So What - Live"), QStringLiteral("Jazz"));
    EXPECT_EQ(tags.strArtist, QStringLiteral("Miles Davis"));
    EXPECT_EQ(tags.strTitle, QStringLiteral("So What - Live"));
    EXPECT_EQ(tags.strAlbum, QStringLiteral("Jazz"));
    const SongTags bare = CSongRecorder::TagsOf(QStringLiteral("News at Nine"), QStringLiteral("Talk"));
    EXPECT_TRUE(bare.strArtist.isEmpty());
    EXPECT_EQ(bare.strTitle, QStringLiteral("News at Nine"));
}
}
