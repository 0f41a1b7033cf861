#include "StationListBytes.h"
#include "TestApplication.h"

#include "catalogue/CChannelCatalogue.h"
#include "catalogue/DataFolder.h"
#include "catalogue/FillChannelList.h"
#include "catalogue/StationListCheck.h"
#include "catalogue/StationListReader.h"
#include "fw/CListCtrl.h"
#include "fw/MessageBox.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const QString kHeader = "Type,Channel,Address,Extra,Genre,Language,Status";

class CChannelCatalogueTest : public ::testing::Test
{
protected:
    void TearDown() override { QFile::remove(GetStationListPath()); }

    // The rows as the list shows them: every column of every row, joined.
    QStringList Rows()
    {
        QStringList rows;
        for (int nRow = 0; nRow < m_list.GetItemCount(); ++nRow) {
            QStringList cells;
            for (int nColumn = 0; nColumn < m_list.GetHeaderCtrl().GetItemCount(); ++nColumn)
                cells << m_list.GetItemText(nRow, nColumn);
            rows << cells.join('|');
        }
        return rows;
    }

    QStringList ColumnTitles()
    {
        QStringList titles;
        for (int nColumn = 0; nColumn < m_list.GetHeaderCtrl().GetItemCount(); ++nColumn) {
            LVCOLUMN column;
            m_list.GetColumn(nColumn, column);
            titles << column.strText;
        }
        return titles;
    }

    void Fill(const QStringList& lines)
    {
        WriteStationList(StationListFile(lines));
        CChannelCatalogue catalogue;
        FillChannelList(m_list, catalogue);
    }

    TestApplication m_app;
    CListCtrl m_list;
    // No message box may come up unannounced.
    CMessageBoxAnswerer m_noBoxes{[](const MessageBoxRequest& request) -> int {
        ADD_FAILURE() << "message box: " << request.strText.toStdString();
        return IDOK;
    }};
};

TEST_F(CChannelCatalogueTest, ChannelsFillFiveColumnsNumberedFromOneWithTheAddressHidden)
{
    Fill({kHeader, "Radio, Kestrel FM ,http://127.0.0.1/a,128,Pop,English,Working",
          "Radio,Second,http://127.0.0.1/b,64,Jazz,French,Working"});
    EXPECT_EQ(ColumnTitles(), QStringList({"Sr No", "Channel", "Language", "Genre", "Address"}));
    EXPECT_EQ(Rows(),
              QStringList({"1|Kestrel FM|English|Pop|http://127.0.0.1/a", "2|Second|French|Jazz|http://127.0.0.1/b"}));
    const int widths[] = {50, 150, 300, 150, 0};
    const int formats[] = {LVCFMT_LEFT, LVCFMT_LEFT, LVCFMT_CENTER, LVCFMT_LEFT, LVCFMT_LEFT};
    for (int nColumn = 0; nColumn < 5; ++nColumn) {
        LVCOLUMN column;
        ASSERT_TRUE(m_list.GetColumn(nColumn, column));
        EXPECT_EQ(column.cx, widths[nColumn]) << nColumn;
        EXPECT_EQ(column.fmt, formats[nColumn]) << nColumn;
    }
    EXPECT_FALSE(QFileInfo::exists(GetStationListPath()));
}

TEST_F(CChannelCatalogueTest, AHeaderAloneGivesColumnsAndNoRows)
{
    Fill({"Radio,Old,http://old,1,a,b,c"});
    ASSERT_EQ(m_list.GetItemCount(), 0);
    Fill({"", kHeader, "  "});
    EXPECT_EQ(m_list.GetHeaderCtrl().GetItemCount(), 5);
    EXPECT_EQ(m_list.GetItemCount(), 0);
}

TEST_F(CChannelCatalogueTest, BlankLinesUseNoSerialNumbers)
{
    Fill({kHeader, "Radio,A,u,x,e,f,ok", "", " \t ", "Radio,B,u,x,e,f,ok", QStringLiteral(u"\u3000"),
          "Radio,C,u,x,e,f,ok"});
    EXPECT_EQ(Rows(), QStringList({"1|A|f|e|u", "2|B|f|e|u", "3|C|f|e|u"}));
}

TEST_F(CChannelCatalogueTest, LinesBeforeTheHeaderPassThroughItAndAreLost)
{
    Fill({",Lost,lost-url,x,lost,lost,lost", kHeader, "Radio,A,u,x,e,f,ok"});
    EXPECT_EQ(ColumnTitles(), QStringList({"Sr No", "Channel", "Language", "Genre", "Address"}));
    EXPECT_EQ(Rows(), QStringList({"1|A|f|e|u"}));
}

TEST_F(CChannelCatalogueTest, WithoutAHeaderTheLastNonBlankLineTitlesTheColumns)
{
    Fill({",A,u1,x,e1,f1,ok", ",B,u2,x,e2,f2,ok", ""});
    EXPECT_EQ(ColumnTitles(), QStringList({"Sr No", "B", "f2", "e2", "u2"}));
    EXPECT_EQ(m_list.GetItemCount(), 0);
}

TEST_F(CChannelCatalogueTest, RadioAndTVFiltersCompareTheWholeKindIgnoringCase)
{
    const QStringList lines{kHeader,
                            "Radio,R1,u,x,e,f,ok",
                            "radio,R2,u,x,e,f,ok",
                            "TV,T1,u,x,e,f,ok",
                            "tV,T2,u,x,e,f,ok",
                            "Radio FM,K1,u,x,e,f,ok",
                            "Podcast,K2,u,x,e,f,ok",
                            " RADIO ,R3,u,x,e,f,ok"};
    // Defaults: radio shown, TV hidden.
    Fill(lines);
    EXPECT_EQ(Rows(), QStringList({"1|R1|f|e|u", "2|R2|f|e|u", "3|K1|f|e|u", "4|K2|f|e|u", "5|R3|f|e|u"}));

    WriteSettingInt(SettingNames::kDisplayRadioChannels, 0);
    m_app.Cache().m_nDisplayRadioChannels = -1;
    Fill(lines);
    EXPECT_EQ(Rows(), QStringList({"1|K1|f|e|u", "2|K2|f|e|u"}));

    WriteSettingInt(SettingNames::kDisplayTVChannels, 1);
    m_app.Cache().m_nDisplayTVChannels = -1;
    Fill(lines);
    EXPECT_EQ(Rows(), QStringList({"1|T1|f|e|u", "2|T2|f|e|u", "3|K1|f|e|u", "4|K2|f|e|u"}));
}

TEST_F(CChannelCatalogueTest, RadioAndTVSettingsComeFromTheCacheAndNonWorkingFromTheProfile)
{
    const QStringList lines{kHeader, "Radio,R,u,x,e,f,ok", "TV,T,u,x,e,f,ok", "Other,O,u,x,e,f,OFF"};
    // The cache holds values that the profile contradicts; the cache wins.
    m_app.Cache().m_nDisplayRadioChannels = 0;
    m_app.Cache().m_nDisplayTVChannels = 1;
    Fill(lines);
    EXPECT_EQ(Rows(), QStringList({"1|T|f|e|u"}));
    // The non-working setting is read afresh at every presentation.
    WriteSettingInt(SettingNames::kDisplayNonWorkingChannels, 1);
    Fill(lines);
    EXPECT_EQ(Rows(), QStringList({"1|T|f|e|u", "2|O|f|e|u"}));
}

TEST_F(CChannelCatalogueTest, TheCacheIsReadOnlyWhenAChannelIsJudgedByIt)
{
    // A channel of another kind is judged by both filters.
    Fill({kHeader, "Other,O,u,x,e,f,ok"});
    EXPECT_EQ(m_app.Cache().m_nDisplayRadioChannels, 1);
    EXPECT_EQ(m_app.Cache().m_nDisplayTVChannels, 0);
    // No channel, no question.
    m_app.Cache() = CSettingsCache();
    Fill({kHeader});
    EXPECT_EQ(m_app.Cache().m_nDisplayRadioChannels, -1);
    EXPECT_EQ(m_app.Cache().m_nDisplayTVChannels, -1);
    // A radio channel that the radio test drops never asks about TV.
    m_app.Cache().m_nDisplayRadioChannels = 0;
    Fill({kHeader, "Radio,R,u,x,e,f,ok"});
    EXPECT_EQ(m_app.Cache().m_nDisplayTVChannels, -1);
}

TEST_F(CChannelCatalogueTest, OffInTheStatusHidesAChannelUnlessNonWorkingChannelsAreShown)
{
    const QStringList lines{kHeader, "Radio,A,u,x,e,f,Working OFFLINE", "Radio,B,u,x,e,f,off", "Radio,C,u,x,e,f",
                            "Radio,D,u,x,e,OFF"};
    Fill(lines);
    // C and D have fewer than six commas: their status is the whole line.
    EXPECT_EQ(Rows(), QStringList({"1|B|f|e|u", "2|C||e|u"}));
    WriteSettingInt(SettingNames::kDisplayNonWorkingChannels, 1);
    Fill(lines);
    EXPECT_EQ(m_list.GetItemCount(), 4);
}

TEST_F(CChannelCatalogueTest, ASecondReloadWithoutADownloadChangesNothing)
{
    Fill({kHeader, "Radio,A,u,x,e,f,ok", "Radio,B,u,x,e,f,ok"});
    const QStringList shown = Rows();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_FALSE(QFileInfo::exists(GetStationListPath()));

    m_list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    CChannelCatalogue catalogue;
    FillChannelList(m_list, catalogue);
    EXPECT_EQ(Rows(), shown);
    EXPECT_EQ(m_list.GetHeaderCtrl().GetItemCount(), 5);
    EXPECT_EQ(m_list.GetNextItem(-1, LVNI_SELECTED), 1);
    EXPECT_EQ(catalogue.LoadStationList(), 0);
}

TEST_F(CChannelCatalogueTest, AReadErrorKeepsTheLinesSoFarAndStillDeletesTheFile)
{
    const QByteArray bytes = StationListFile({kHeader, "Radio,A,u,x,e,f,ok", "Radio,B,u,x,e,f,ok"});
    WriteStationList(bytes);
    // The read fails once everything up to the middle of channel B has come.
    const qint64 nFailAt = bytes.size() - 10;
    const CStationListReader::CSupplyFilter failing(
        [nFailAt, nGiven = qint64(0)](const CStationListReader::ByteSupply& real, char* pBuffer,
                                      qint64 nSize) mutable -> qint64 {
            if (nGiven >= nFailAt)
                return -1;
            const qint64 nRead = real(pBuffer, std::min(nSize, nFailAt - nGiven));
            nGiven += std::max<qint64>(nRead, 0);
            return nRead;
        });
    CChannelCatalogue catalogue;
    EXPECT_NE(catalogue.LoadStationList(), 0);
    ASSERT_EQ(catalogue.m_channels.size(), 1);
    EXPECT_EQ(catalogue.m_channels[0].GetColumn1Text(), u"A");
    EXPECT_EQ(catalogue.m_header.GetColumn1Text(), u"Channel");
    EXPECT_FALSE(QFileInfo::exists(GetStationListPath()));
}

TEST_F(CChannelCatalogueTest, LfOnlyFilesLoseTheirLastLines)
{
    // Each LF line is counted two bytes longer than it is. Before the 31st
    // line the count is 62 bytes ahead, more than that line's 38 bytes.
    QString strText = kHeader + "\n";
    for (int n = 10; n < 40; ++n)
        strText += QString("Radio,A%1,u,x,e,f,ok\n").arg(n);
    WriteStationList(Utf16LE(strText));
    CChannelCatalogue catalogue;
    FillChannelList(m_list, catalogue);
    ASSERT_EQ(m_list.GetItemCount(), 29);
    EXPECT_EQ(m_list.GetItemText(28, 1), "A38");
}

TEST_F(CChannelCatalogueTest, AFileThatCannotBeOpenedChangesNothing)
{
    Fill({kHeader, "Radio,A,u,x,e,f,ok"});
    ASSERT_EQ(m_list.GetItemCount(), 1);

    // Someone else holds the file.
    WriteStationList(StationListFile({kHeader, "Radio,New,u,x,e,f,ok"}));
    const int nOther = ::open(QFile::encodeName(GetStationListPath()).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(nOther, 0);
    ASSERT_EQ(::flock(nOther, LOCK_EX | LOCK_NB), 0);
    CChannelCatalogue locked;
    FillChannelList(m_list, locked);
    EXPECT_EQ(Rows(), QStringList({"1|A|f|e|u"}));
    EXPECT_TRUE(QFileInfo::exists(GetStationListPath()));
    ::close(nOther);

    // A folder in the file's place.
    ASSERT_TRUE(QFile::remove(GetStationListPath()));
    ASSERT_TRUE(QDir().mkdir(GetStationListPath()));
    CChannelCatalogue folder;
    EXPECT_EQ(folder.LoadStationList(), 0);
    FillChannelList(m_list, folder);
    EXPECT_EQ(Rows(), QStringList({"1|A|f|e|u"}));
    ASSERT_TRUE(QDir().rmdir(GetStationListPath()));

    // A FIFO, which would block a careless open.
    ASSERT_EQ(::mkfifo(QFile::encodeName(GetStationListPath()).constData(), 0600), 0);
    CChannelCatalogue fifo;
    EXPECT_EQ(fifo.LoadStationList(), 0);
}

TEST_F(CChannelCatalogueTest, LoadingEmptiesTheChannelsButKeepsTheHeader)
{
    CChannelCatalogue catalogue;
    catalogue.AddLine(kHeader);
    catalogue.AddLine("Radio,A,u,x,e,f,ok");
    ASSERT_EQ(catalogue.m_channels.size(), 1);
    EXPECT_EQ(catalogue.LoadStationList(), 0);
    EXPECT_TRUE(catalogue.m_channels.isEmpty());
    EXPECT_EQ(catalogue.m_header.GetColumn1Text(), u"Channel");
    // With the header kept, every line of the next file is a channel.
    WriteStationList(StationListFile({"Radio,B,u,x,e,f,ok"}));
    EXPECT_EQ(catalogue.LoadStationList(), 1);
    ASSERT_EQ(catalogue.m_channels.size(), 1);
    EXPECT_EQ(catalogue.m_channels[0].GetColumn1Text(), u"B");
    EXPECT_EQ(catalogue.AddLine("   "), 1);
    EXPECT_EQ(catalogue.m_channels.size(), 1);
}

}

namespace {

TEST_F(CChannelCatalogueTest, ListStartingWithManyBlankLinesLoadsInFullWithModestRoom)
{
    // The first lines are blank, so they promise a channel every four bytes
    // of a long file; the room made up front stays modest all the same.
    QStringList lines;
    for (int n = 0; n < 300; ++n)
        lines << QString();
    lines << kHeader << "Radio,Alpha,http://127.0.0.1/a,,Pop,English,Working"
          << "Radio,Beta,http://127.0.0.1/b,,Jazz,French," + QString(4 * 1024 * 1024, QLatin1Char('x'));
    WriteStationList(StationListFile(lines));
    CChannelCatalogue catalogue;

    ASSERT_NE(catalogue.LoadStationList(), 0);

    ASSERT_EQ(catalogue.m_channels.size(), 2);
    EXPECT_EQ(catalogue.m_channels[1].GetColumn1Text(), u"Beta");
    EXPECT_LE(catalogue.m_channels.capacity(), 100000);
    EXPECT_FALSE(QFile::exists(GetStationListPath()));
}

TEST(StationListCheckTest, AHeaderAndAChannelWithAStreamAddressMakeAStationList)
{
    const QString strPath = GetStationListPath();
    const auto holds = [&](const QByteArray& bytes) {
        WriteStationList(bytes);
        const bool bHolds = HoldsStationList(strPath);
        QFile::remove(strPath);
        return bHolds;
    };
    const QString strChannel = "Radio,Alpha,http://127.0.0.1:8000/a,,Pop,English,Working";
    EXPECT_TRUE(holds(StationListFile({kHeader, strChannel})));
    EXPECT_TRUE(holds(StationListFile({"", "  ", kHeader, "", "Radio,\tAlpha\tOne,mms://radio.example/a,,g,l,"})));
    EXPECT_TRUE(holds(Utf16LE(QChar(0xfeff) + kHeader + "\r\n" + strChannel + "\r\n")));
    EXPECT_TRUE(holds(StationListFile({kHeader, "Radio,Broken,u,,g,l,s", "TV,Ok,https://tv.example/x?a=1,,g,l,s"})));
    EXPECT_TRUE(
        holds(StationListFile({kHeader, strChannel, QString::fromUtf16(u"Radio,\U0001F3B5,http://h/x,,g,l,s")})));

    EXPECT_FALSE(holds(QByteArray()));
    EXPECT_FALSE(holds(QByteArray("x")));
    EXPECT_FALSE(
        holds(QByteArray("Type,Channel,Address,Extra,Genre,Language,Status\r\nRadio,\xc3\xa9t\xc3\xa9,u\r\n")));
    EXPECT_FALSE(holds(StationListFile({"", "no commas here", " ,field one is blank"})));
    // A header alone, or channels without a stream address.
    EXPECT_FALSE(holds(StationListFile({kHeader})));
    EXPECT_FALSE(
        holds(StationListFile({kHeader, "Radio,A,,,g,l,s", "Radio,B,no address,,g,l,s", "Radio,C,http:/x,,g,l,s"})));
    // Fewer than seven fields in the header or in the one channel.
    EXPECT_FALSE(holds(StationListFile({"Type,Channel,Address", strChannel})));
    EXPECT_FALSE(holds(StationListFile({kHeader, "Radio,Alpha,http://127.0.0.1/a,,Pop"})));
    // Control characters, broken surrogate pairs and non-characters are no text.
    EXPECT_FALSE(holds(StationListFile({kHeader, strChannel, "Radio,Be\x01ta,http://h/b,,g,l,s"})));
    EXPECT_FALSE(
        holds(StationListFile({kHeader, strChannel, "Radio,B" + QString(QChar(0xd800)) + ",http://h/b,,g,l,s"})));
    EXPECT_FALSE(
        holds(StationListFile({kHeader, strChannel, "Radio,B" + QString(QChar(0xffff)) + ",http://h/b,,g,l,s"})));
    // A list whose end was never written: zeros where the last lines belong.
    EXPECT_FALSE(holds(StationListFile({kHeader, strChannel}) + QByteArray(4096, '\0')));
    EXPECT_FALSE(HoldsStationList(strPath + ".missing"));
}

TEST(StationListCheckTest, RandomBytesAreNoStationList)
{
    QRandomGenerator generator(6);
    for (int nTry = 0; nTry < 8; ++nTry) {
        QByteArray bytes(1024 * 1024, Qt::Uninitialized);
        generator.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
        // However the bytes fall, a plausible list ahead of them is no help.
        const QByteArray listFirst = StationListFile({kHeader, "Radio,A,http://h/a,,g,l,s"}) + bytes;
        for (const QByteArray& file : {bytes, listFirst}) {
            WriteStationList(file);
            EXPECT_FALSE(HoldsStationList(GetStationListPath())) << "try " << nTry;
        }
    }
    QFile::remove(GetStationListPath());
}

}
