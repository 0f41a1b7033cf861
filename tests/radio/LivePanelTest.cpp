// The "Live" panel in the whole program, in the test process, with real
// libmpv against the station server: Back and Forward move within the
// buffer and the status and the tray tip tell how far behind live play is;
// a song of Recently Played is saved from the buffer while it holds it, an
// incomplete one only when the listener confirms, and one it cannot hold is
// refused with the reason.
#include "InProcessProgramTest.h"
#include "PlayerTestSupport.h"
#include "StreamLog.h"

#include "frame/CMainFrame.h"
#include "fw/ribbon/CMFCRibbonBaseElement.h"
#include "nowplaying/SongHistoryRecorder.h"
#include "platform/history/SongHistory.h"
#include "platform/media/MediaEngine.h"
#include "platform/media/TimeShift.h"
#include "radio/CKestrelRadioView.h"
#include "radio/PlayerTexts.h"
#include "radio/RecentlyPlayedPanel.h"
#include "radio/SongRecorder.h"
#include "res/ProductInfo.h"
#include "res/Resource.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {
constexpr int kTimeoutMs = 30000;
const QString kDemoMp3 = QStringLiteral("/streams/kestrel-mp3");
// The row the page plays when it opens.
const QString kDemoChannel = QStringLiteral("Kestrel Radio Demo");

bool WaitFor(const std::function<bool()>& condition, int nTimeoutMs = kTimeoutMs)
{
    return QTest::qWaitFor(condition, nTimeoutMs);
}

// What ffprobe reads from a file, as "key=value" lines.
QString Probed(const QString& strPath, const QString& strEntries)
{
    QProcess probe;
    probe.start(QStringLiteral("ffprobe"),
                {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"), strEntries,
                 QStringLiteral("-of"), QStringLiteral("default=nw=1"), strPath});
    probe.waitForFinished(30000);
    return QString::fromUtf8(probe.readAllStandardOutput());
}

class LivePanelTest : public InProcessProgramTest
{
protected:
    static void SetUpTestSuite()
    {
        QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
        InProcessProgramTest::SetUpTestSuite();
    }

    void SetUp() override
    {
        InProcessProgramTest::SetUp();
        // Songs are saved into a music folder of the test's own.
        ASSERT_TRUE(PlayerTestSupport::SetMusicFolder(m_music.path()));
    }

    void StartProgram()
    {
        InProcessProgramTest::StartProgram();
        ASSERT_TRUE(WaitFor([this] { return View() != nullptr; }));
    }

    CKestrelRadioView* View() const { return dynamic_cast<CKestrelRadioView*>(ActiveView()); }
    ITimeShift* TimeShift() const { return View()->m_player.Engine().TimeShift(); }
    QString Status() const { return Frame()->GetStatusText(); }
    bool IsEnabled(unsigned nID) const { return !Frame()->GetRibbonBar().FindByID(nID)->IsDisabled(); }

    QTemporaryDir m_music;
};

TEST_F(LivePanelTest, BackAndForwardMoveWithinTheBufferAndTheStatusAndTipTellHowFarBehindLive)
{
    StartServer();
    StartProgram();
    ASSERT_TRUE(WaitFor([&] { return Status().endsWith(QStringLiteral(" (Live)")); })) << qPrintable(Status());
    EXPECT_TRUE(Status().startsWith(PlayerTexts::kPlaying)) << qPrintable(Status());
    EXPECT_TRUE(WaitFor([&] { return !IsEnabled(ID_LIVE_FORWARD); })) << "at the live edge nothing lies ahead";
    ASSERT_TRUE(WaitFor([&] { return TimeShift()->BufferEnd() - TimeShift()->BufferStart() > 12; }));

    ClickRibbon(ID_LIVE_BACK);
    ASSERT_TRUE(WaitFor([&] { return Status().contains(QStringLiteral(" behind live")); })) << qPrintable(Status());
    EXPECT_TRUE(Status().startsWith(QStringLiteral("-00:"))) << qPrintable(Status());
    EXPECT_TRUE(WaitFor([&] {
        return Frame()->GetTrayIcon().GetTip().startsWith(ProductInfo::ApplicationTitle() + QStringLiteral("\n-00:"));
    })) << qPrintable(Frame()->GetTrayIcon().GetTip());
    ASSERT_TRUE(WaitFor([&] { return IsEnabled(ID_LIVE_FORWARD); }));

    // Forward 30 s goes no further than the live edge.
    ClickRibbon(ID_LIVE_FORWARD);
    EXPECT_TRUE(WaitFor([&] { return Status().endsWith(QStringLiteral(" (Live)")); })) << qPrintable(Status());
    EXPECT_TRUE(WaitFor([&] { return Frame()->GetTrayIcon().GetTip().endsWith(QStringLiteral(" (Live)")); }));
    EXPECT_TRUE(WaitFor([&] { return !IsEnabled(ID_LIVE_FORWARD); }));
    EXPECT_EQ(CountStreamStarts(*m_pServer, kDemoMp3), 1) << "moving within the buffer asked the station for nothing";
}

TEST_F(LivePanelTest, RecentlyPlayedSavesTheSongsTheBufferStillHolds)
{
    // A title every 8 s of stream, so that whole songs pass quickly and
    // each stands long enough to be written to the history.
    StartServer({.extraArguments = {QStringLiteral("--title-interval"), QStringLiteral("8")}});
    StartProgram();
    IMediaEngine& engine = View()->m_player.Engine();
    ASSERT_TRUE(WaitFor([&] { return engine.StreamTitle().endsWith(QStringLiteral(" 3")); }))
        << qPrintable(engine.StreamTitle());
    // A song of another channel, heard in an earlier run.
    ISongHistory& history = CSongHistoryRecorder::Get()->History();
    history.AddSong(QStringLiteral("Kestrel Talk"), QStringLiteral("Old - Talk"),
                    QDateTime::currentDateTimeUtc().addSecs(-3600));

    ClickRibbon(ID_LIVE_RECENTLY_PLAYED);
    auto* pPanel = View()->findChild<CRecentlyPlayedPanel*>();
    ASSERT_NE(pPanel, nullptr);
    auto* pSongs = pPanel->findChild<QTreeWidget*>();
    QPushButton* pSave = nullptr;
    for (QPushButton* pButton : pPanel->findChildren<QPushButton*>())
        pSave = pButton->text() == QStringLiteral("Save Song") ? pButton : pSave;
    ASSERT_NE(pSave, nullptr);
    const auto choose = [&](const QString& strTitle) {
        const QList<QTreeWidgetItem*> rows = pSongs->findItems(strTitle, Qt::MatchExactly, 2);
        if (rows.isEmpty())
            return false;
        pSongs->clearSelection();
        rows.first()->setSelected(true);
        return true;
    };
    ASSERT_TRUE(WaitFor([&] { return choose(QStringLiteral("Kestrel Demo - Track 2")); }));

    // A whole song: saved at once, as the station sent it, with its tags.
    ASSERT_TRUE(WaitFor([&] { return pSave->isEnabled(); })) << qPrintable(pSave->toolTip());
    pSave->click();
    const QString strChannelFolder = QDir(CSongRecorder::MusicFolder()).filePath(kDemoChannel);
    const QString strSong = QDir(strChannelFolder).filePath(QStringLiteral("Kestrel Demo - Track 2.mp3"));
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(strSong); }));
    EXPECT_TRUE(WaitFor([&] { return Status().startsWith(QStringLiteral("Saved")); })) << qPrintable(Status());
    const QString strDuration = Probed(strSong, QStringLiteral("format=duration"));
    EXPECT_NEAR(strDuration.section(u'=', 1).toDouble(), 8.0, 1.0) << qPrintable(strDuration);
    const QString strTags = Probed(strSong, QStringLiteral("format_tags=title,artist,album"));
    EXPECT_TRUE(strTags.contains(QStringLiteral("title=Track 2"))) << qPrintable(strTags);
    EXPECT_TRUE(strTags.contains(QStringLiteral("album=") + kDemoChannel)) << qPrintable(strTags);

    // The first song began before the channel opened: the listener is asked,
    // and says no.
    ASSERT_TRUE(choose(QStringLiteral("Kestrel Demo - Track 1")));
    ASSERT_TRUE(pSave->isEnabled()) << qPrintable(pSave->toolTip());
    const qsizetype nBoxes = m_boxes.size();
    pSave->click();
    ASSERT_EQ(m_boxes.size(), nBoxes + 1);
    EXPECT_TRUE(m_boxes.last().strText.contains(QStringLiteral("incomplete"))) << qPrintable(m_boxes.last().strText);
    EXPECT_EQ(QDir(strChannelFolder).entryList(QDir::Files | QDir::Hidden),
              QStringList({QStringLiteral("Kestrel Demo - Track 2.mp3")}));

    // Another channel's song is not in this channel's buffer.
    ASSERT_TRUE(WaitFor([&] { return choose(QStringLiteral("Old - Talk")); }));
    EXPECT_FALSE(pSave->isEnabled());
    EXPECT_TRUE(pSave->toolTip().contains(QStringLiteral("Not kept"))) << qPrintable(pSave->toolTip());
}
}
