// The whole program in the test process, on the test display, against the
// station server: what can only be seen or answered from inside (the list's
// rows, the failure message, the ribbon's Stop and check boxes, the player's
// pictures, the status text).
#include "InProcessProgramTest.h"
#include "PlayerTestSupport.h"
#include "StationServer.h"
#include "StreamLog.h"

#include "app/CKestrelRadioApp.h"
#include "catalogue/DataFolder.h"
#include "download/CDlgFileDownloader.h"
#include "download/CFileDownloadManager.h"
#include "download/ChannelsListDownload.h"
#include "download/ServerAddresses.h"
#include "frame/CMainFrame.h"
#include "fw/CListCtrl.h"
#include "fw/CMDIChildWndEx.h"
#include "fw/MessageBox.h"
#include "fw/ribbon/CMFCRibbonBaseElement.h"
#include "fw/WindowMessages.h"
#include "nowplaying/NowPlayingRelay.h"
#include "fw/ribbon/CMFCRibbonCategory.h"
#include "fw/ribbon/CMFCRibbonStatusBarPane.h"
#include "platform/media/MediaEngine.h"
#include "radio/CKestrelRadioView.h"
#include "radio/PlayerTexts.h"
#include "radio/VideoSurface.h"
#include "res/ProductInfo.h"
#include "res/Resource.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

constexpr int kTimeoutMs = 20000;
const QString kStationList = QStringLiteral("/stationlist.zip");
const QString kDemoMp3 = QStringLiteral("/streams/kestrel-mp3");
const QString kVorbis = QStringLiteral("/streams/kestrel-ogg");
const QString kTalk = QStringLiteral("/streams/kestrel-talk");
const QStringList kDemoRows{QStringLiteral("Kestrel Vorbis"),      QStringLiteral("Kestrel Talk"),
                            QStringLiteral("Kestrel Radio Demo"),  QString::fromUtf8("ケストレル・ラジオ"),
                            QStringLiteral("Kestrel Lost Signal"), QStringLiteral("Kestrel Podcast"),
                            QStringLiteral("Kestrel Night Mix"),   QString::fromUtf8("Ραδιόφωνο Κέστρελ"),
                            QStringLiteral("Kestrel Morning")};

bool WaitFor(const std::function<bool()>& condition, int nTimeoutMs = kTimeoutMs)
{
    return QTest::qWaitFor(condition, nTimeoutMs);
}

// A second of a loud tone as a WAV file: a player that opened it would be
// heard at once.
QByteArray ToneWav()
{
    constexpr int kRate = 44100;
    QByteArray samples;
    for (int i = 0; i < kRate; ++i) {
        const auto sample = static_cast<qint16>(20000 * std::sin(2 * M_PI * 440 * i / kRate));
        samples.append(reinterpret_cast<const char*>(&sample), sizeof sample);
    }
    const auto le32 = [](quint32 n) { return QByteArray(reinterpret_cast<const char*>(&n), 4); };
    const auto le16 = [](quint16 n) { return QByteArray(reinterpret_cast<const char*>(&n), 2); };
    return "RIFF" + le32(36 + samples.size()) + "WAVEfmt " + le32(16) + le16(1) + le16(1) + le32(kRate) +
        le32(kRate * 2) + le16(2) + le16(16) + "data" + le32(samples.size()) + samples;
}

class RadioPageTest : public InProcessProgramTest
{
protected:
    static void SetUpTestSuite()
    {
        // As the program has it: only the video surface is a native window.
        QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
        InProcessProgramTest::SetUpTestSuite();
    }

    static void Preset(const char* name, int nValue) { PresetSetting(QLatin1String(name), nValue); }

    // The program, shown, with the radio page opening.
    void StartProgram()
    {
        InProcessProgramTest::StartProgram();
        ASSERT_TRUE(WaitFor([this] { return View() != nullptr; }));
    }

    CKestrelRadioView* View() const { return dynamic_cast<CKestrelRadioView*>(ActiveView()); }

    // The channel names the list shows, top to bottom.
    QStringList Rows() const
    {
        QStringList rows;
        if (CKestrelRadioView* pView = View()) {
            for (int nRow = 0; nRow < pView->m_listChannels.GetItemCount(); ++nRow)
                rows << pView->m_listChannels.GetItemText(nRow, 1);
        }
        return rows;
    }

    int Selected() const { return View()->m_listChannels.GetNextItem(-1, LVNI_SELECTED); }
    int Starts(const QString& strMount) const { return CountStreamStarts(*m_pServer, strMount); }
    int Ends(const QString& strMount) const { return CountStreamEnds(*m_pServer, strMount); }
    bool StatusIs(const char* text) const { return Frame()->GetStatusText() == QLatin1String(text); }

    // Every list the program loads has been fetched and reloaded, and the
    // page plays the row it selected.
    void WaitForList(const QStringList& rows, int nRequests)
    {
        ASSERT_TRUE(WaitFor([&] { return m_pServer->CountRequests(kStationList) == nRequests && Rows() == rows; }))
            << qPrintable(Rows().join(", "));
    }
};

TEST_F(RadioPageTest, OpeningThePageShowsTheFilteredChannelsAndPlaysTheThirdRow)
{
    StartServer();
    StartProgram();
    WaitForList(kDemoRows, 1);
    CListCtrl& list = View()->m_listChannels;
    QStringList titles;
    for (int nColumn = 0; nColumn < list.GetHeaderCtrl().GetItemCount(); ++nColumn) {
        LVCOLUMN column;
        list.GetColumn(nColumn, column);
        titles << column.strText;
    }
    EXPECT_EQ(titles, QStringList({"Sr No", "Channel", "Description", "Genre", "Stream"}));
    EXPECT_EQ(list.GetItemText(2, 4), m_pServer->Url(kDemoMp3));
    EXPECT_FALSE(QFile::exists(GetStationListPath())) << "the reload consumes the file";

    EXPECT_EQ(Selected(), 2);
    ASSERT_TRUE(WaitFor([&] { return Frame()->GetStatusText().startsWith(PlayerTexts::kPlaying); }));
    EXPECT_TRUE(WaitFor([&] { return Frame()->GetStatusPane()->GetText() == Frame()->GetStatusText(); }))
        << "the status reaches the left pane";
    EXPECT_EQ(Starts(kDemoMp3), 1);
    EXPECT_TRUE(m_boxes.isEmpty());

    // The banner shows the server's banner page.
    EXPECT_EQ(View()->m_banner.GetLocationURL(), ServerAddresses::BannerUrl());
    EXPECT_TRUE(WaitFor([&] { return m_pServer->CountRequests(QStringLiteral("/banners/kestrel-radio.html")) == 1; }));
}

TEST_F(RadioPageTest, StopEndsTheStreamAndPlayStartsTheSelectedRowAgain)
{
    StartServer();
    StartProgram();
    WaitForList(kDemoRows, 1);
    ASSERT_TRUE(WaitFor([&] { return Starts(kDemoMp3) == 1; }));

    ClickRibbon(ID_STOP);
    EXPECT_TRUE(WaitFor([&] { return Ends(kDemoMp3) == 1; })) << "the stream's connection is closed";
    EXPECT_TRUE(WaitFor([&] { return StatusIs(PlayerTexts::kStopped); }));
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(GetSettingInt(SettingNames::kLastChannelIndex, -1), 2);
    EXPECT_LT(PlayerTestSupport::RecordPeakLevel(600), 0.01) << "nothing is heard once stopped";

    ClickRibbon(ID_PLAY);
    EXPECT_TRUE(WaitFor([&] { return Starts(kDemoMp3) == 2; }));
    EXPECT_TRUE(WaitFor([&] { return Frame()->GetStatusText().startsWith(PlayerTexts::kPlaying); }));
}

TEST_F(RadioPageTest, TheDisplayCheckBoxesDownloadTheListAgainAndFilterIt)
{
    StartServer();
    StartProgram();
    WaitForList(kDemoRows, 1);
    CMFCRibbonBaseElement* pRadio = Frame()->GetRibbonBar().FindByID(ID_DISPLAY_RADIO_CHANNELS);
    CMFCRibbonBaseElement* pTV = Frame()->GetRibbonBar().FindByID(ID_DISPLAY_TV_CHANNELS);
    ASSERT_TRUE(WaitFor([&] { return pRadio->IsChecked() && !pTV->IsChecked(); }));

    ClickRibbon(ID_DISPLAY_TV_CHANNELS);
    QStringList withTV = kDemoRows;
    withTV.insert(3, QStringLiteral("Kestrel TV"));
    withTV.insert(7, QStringLiteral("Kestrel TV News"));
    WaitForList(withTV, 2);
    EXPECT_EQ(GetSettingInt(SettingNames::kDisplayTVChannels, -1), 1);
    EXPECT_TRUE(WaitFor([&] { return pTV->IsChecked(); }));

    ClickRibbon(ID_DISPLAY_RADIO_CHANNELS);
    WaitForList({QStringLiteral("Kestrel TV"), QStringLiteral("Kestrel Podcast"), QStringLiteral("Kestrel TV News")},
                3);
    EXPECT_EQ(GetSettingInt(SettingNames::kDisplayRadioChannels, -1), 0);
    EXPECT_TRUE(WaitFor([&] { return !pRadio->IsChecked() && pTV->IsChecked(); }));
    // Each reload plays the remembered row again: now a TV channel.
    EXPECT_TRUE(WaitFor([&] { return Starts(QStringLiteral("/streams/kestrel-tv-news")) == 1; }));
}

TEST_F(RadioPageTest, ATvChannelDrawsItsPicturesInsideThePlayer)
{
    Preset(SettingNames::kDisplayTVChannels, 1);
    Preset(SettingNames::kLastChannelIndex, 3);
    StartServer();
    StartProgram();
    ASSERT_TRUE(WaitFor([&] { return Starts(QStringLiteral("/streams/kestrel-tv")) == 1; }));
    auto* pSurface = View()->m_player.findChild<CVideoSurface*>();
    ASSERT_NE(pSurface, nullptr);
    EXPECT_TRUE(WaitFor([&] {
        return pSurface->isVisible() &&
            PlayerTestSupport::CountColours(PlayerTestSupport::GrabFromScreen(*pSurface)) >= 8;
    })) << "the video surface shows no picture";
    EXPECT_TRUE(WaitFor([] { return PlayerTestSupport::RecordPeakLevel(700) > 0.01; }, 8000))
        << "the TV channel's sound";

    // Leaving the page with pictures playing, and coming back.
    CCustomMFCRibbonBar& ribbon = Frame()->GetRibbonBar();
    ribbon.SetActiveCategory(ribbon.GetCategory(1));
    ASSERT_TRUE(WaitFor([&] { return Ends(QStringLiteral("/streams/kestrel-tv")) == 1; }));
    ribbon.SetActiveCategory(ribbon.GetCategory(0));
    ASSERT_TRUE(WaitFor([&] { return Starts(QStringLiteral("/streams/kestrel-tv")) == 2; }));
    pSurface = View()->m_player.findChild<CVideoSurface*>();
    EXPECT_TRUE(WaitFor([&] {
        return pSurface->isVisible() &&
            PlayerTestSupport::CountColours(PlayerTestSupport::GrabFromScreen(*pSurface)) >= 8;
    })) << "the video surface shows no picture";
}

TEST_F(RadioPageTest, WithTheServerDownTheFailureIsToldAndTheNextRefreshFillsTheList)
{
    StartProgram();
    ASSERT_TRUE(WaitFor([&] { return !m_boxes.isEmpty(); }));
    EXPECT_EQ(m_boxes.first().strText, ChannelsListFailureMessage());
    EXPECT_TRUE(m_boxes.first().strText.endsWith(ProductInfo::SupportAddress() + QLatin1Char('.')));
    EXPECT_EQ(m_boxes.first().strCaption, ProductInfo::ApplicationTitle());
    EXPECT_EQ(m_boxes.first().nType, MB_OK | MB_ICONINFORMATION);
    EXPECT_EQ(View()->m_listChannels.GetItemCount(), 0);
    EXPECT_EQ(View()->m_listChannels.GetHeaderCtrl().GetItemCount(), 0);

    StartServer();
    ClickRibbon(ID_REFRESH_CHANNELS_LIST);
    WaitForList(kDemoRows, 1);
    EXPECT_TRUE(WaitFor([&] { return Starts(kDemoMp3) == 1; }));
    EXPECT_EQ(m_boxes.size(), 1);
}

// Paint events of a window while a download runs.
class PaintsDuringDownload : public QObject
{
public:
    bool eventFilter(QObject*, QEvent* pEvent) override
    {
        if (pEvent->type() == QEvent::Paint && m_pDialog && m_pDialog->m_manager.IsDownloading())
            ++m_nPaints;
        return false;
    }

    QPointer<CDlgFileDownloader> m_pDialog;
    int m_nPaints = 0;
};

TEST_F(RadioPageTest, WhileAStalledListServerHoldsTheDownloadTheWindowPaintsAndAnswers)
{
    StartServer({.fault = QStringLiteral("stalled-body")});
    const CDownloadDeadlineOverride deadline(std::chrono::milliseconds(4000));
    PaintsDuringDownload paints;
    int nAnswered = 0;
    const CModalDialogDriver driver([&](CDialog& dialog) {
        paints.m_pDialog = qobject_cast<CDlgFileDownloader*>(&dialog);
        if (!paints.m_pDialog)
            return;
        Frame()->installEventFilter(&paints);
        auto* pTicker = new QTimer(&dialog);
        QObject::connect(pTicker, &QTimer::timeout, &dialog, [&] {
            if (!paints.m_pDialog->m_manager.IsDownloading())
                return;
            Frame()->update();
            QMetaObject::invokeMethod(
                Frame(), [&] { nAnswered += paints.m_pDialog && paints.m_pDialog->m_manager.IsDownloading() ? 1 : 0; },
                Qt::QueuedConnection);
        });
        pTicker->start(50);
    });

    StartProgram();
    ASSERT_TRUE(WaitFor([&] { return !m_boxes.isEmpty(); })) << "the download's deadline, then the failure";

    Frame()->removeEventFilter(&paints);
    EXPECT_GT(paints.m_nPaints, 0) << "the main window painted under the dialog";
    EXPECT_GT(nAnswered, 3) << "what was posted to the main window ran";
    EXPECT_EQ(m_boxes.size(), 1);
    EXPECT_EQ(m_boxes.first().strText, ChannelsListFailureMessage());
    EXPECT_EQ(View()->m_listChannels.GetItemCount(), 0);
}

TEST_F(RadioPageTest, ARefreshOnAnotherPageLeavesTheFileForTheNextRadioPage)
{
    StartServer();
    StartProgram();
    WaitForList(kDemoRows, 1);
    ASSERT_TRUE(WaitFor([&] { return Starts(kDemoMp3) == 1; }));

    CCustomMFCRibbonBar& ribbon = Frame()->GetRibbonBar();
    ribbon.SetActiveCategory(ribbon.GetCategory(1));
    ASSERT_TRUE(WaitFor([&] { return View() == nullptr && Frame()->MDIGetActive() != nullptr; }));
    EXPECT_TRUE(WaitFor([&] { return Ends(kDemoMp3) == 1; })) << "leaving the radio page ends its stream";

    Frame()->SendMessage(WM_COMMAND, ID_REFRESH_CHANNELS_LIST, 0);
    EXPECT_EQ(m_pServer->CountRequests(kStationList), 2);
    EXPECT_TRUE(QFile::exists(GetStationListPath())) << "nobody reloaded the list";
    EXPECT_EQ(Starts(kDemoMp3), 1);

    ribbon.SetActiveCategory(ribbon.GetCategory(0));
    WaitForList(kDemoRows, 3);
    EXPECT_FALSE(QFile::exists(GetStationListPath()));
    EXPECT_TRUE(WaitFor([&] { return Starts(kDemoMp3) == 2; }));
    EXPECT_TRUE(m_boxes.isEmpty());
}

TEST_F(RadioPageTest, FileAddressesInTheListAreRefusedAndNothingIsRead)
{
    QTemporaryDir folder;
    const QString strDecoy = folder.filePath(QStringLiteral("decoy.wav"));
    QFile decoy(strDecoy);
    ASSERT_TRUE(decoy.open(QIODevice::WriteOnly));
    decoy.write(ToneWav());
    decoy.close();
    QFile catalogue(folder.filePath(QStringLiteral("catalogue.txt")));
    ASSERT_TRUE(catalogue.open(QIODevice::WriteOnly));
    catalogue.write(QStringLiteral("Category,Channel,Stream,Id,Genre,Description,Status\n"
                                   "Radio,First,{server}/streams/kestrel-ogg,1,Pop,First,ON\n"
                                   "Radio,Second,{server}/streams/kestrel-talk,2,Pop,Second,ON\n"
                                   "Radio,Passwords,file:///etc/passwd,3,Pop,Local file,ON\n"
                                   "Radio,Decoy,file://%1,4,Pop,Local file,ON\n")
                        .arg(strDecoy)
                        .toUtf8());
    catalogue.close();
    const int nWatch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(nWatch, 0);
    ASSERT_GE(inotify_add_watch(nWatch, qPrintable(strDecoy), IN_OPEN | IN_ACCESS), 0);

    StartServer({.catalogueFile = catalogue.fileName()});
    StartProgram();
    QStringList opened;
    QObject::connect(&View()->m_player.Engine(), &IMediaEngine::LoadStarted,
                     [&opened](const QString& address) { opened << address; });
    WaitForList({"First", "Second", "Passwords", "Decoy"}, 1);
    EXPECT_EQ(Selected(), 2);
    ASSERT_TRUE(WaitFor([&] { return StatusIs(PlayerTexts::kAddressRefused); }));

    Frame()->SendMessage(WM_COMMAND, ID_PLAY_NEXT, 0);
    ASSERT_TRUE(WaitFor([&] { return GetSettingInt(SettingNames::kLastChannelIndex, -1) == 3; }));
    EXPECT_EQ(Selected(), 3);
    EXPECT_TRUE(StatusIs(PlayerTexts::kAddressRefused));
    EXPECT_LT(PlayerTestSupport::RecordPeakLevel(700), 0.01) << "nothing is heard";
    EXPECT_TRUE(opened.isEmpty()) << qPrintable(opened.join(", "));
    char events[4096];
    EXPECT_LT(read(nWatch, events, sizeof events), 1) << "the decoy file was opened";
    close(nWatch);
    for (const QString& line : m_pServer->RequestLog())
        EXPECT_FALSE(line.contains(QStringLiteral("/streams/"))) << qPrintable(line);
}

TEST_F(RadioPageTest, ABurstOfNextCommandsEndsOnItsLastRowInTheListTheRelayAndTheSound)
{
    Preset(SettingNames::kLastChannelIndex, 0);
    StartServer();
    StartProgram();
    WaitForList(kDemoRows, 1);
    ASSERT_TRUE(WaitFor([&] {
        return Starts(kVorbis) == 1 && Frame()->GetStatusText().startsWith(PlayerTexts::kPlaying);
    })) << qPrintable(Frame()->GetStatusText());
    CNowPlayingRelay* pRelay = CNowPlayingRelay::Get();
    ASSERT_NE(pRelay, nullptr);

    // The desktop's media controls asking for Next a thousand times, far
    // faster than streams open.
    constexpr int kBurst = 1000;
    for (int i = 0; i < kBurst; ++i)
        pRelay->Next();

    const int nLast = kBurst % static_cast<int>(kDemoRows.size());
    ASSERT_EQ(kDemoRows[nLast], QStringLiteral("Kestrel Talk"));
    const auto settled = [&] {
        return Selected() == nLast && pRelay->ChannelName() == kDemoRows[nLast] &&
            Frame()->GetStatusText().startsWith(PlayerTexts::kPlaying) && CountOpenStreams(*m_pServer, kTalk) == 1 &&
            CountOpenStreams(*m_pServer, kVorbis) == 0 && CountOpenStreams(*m_pServer, kDemoMp3) == 0;
    };
    EXPECT_TRUE(WaitFor(settled)) << "row " << Selected() << ", " << qPrintable(pRelay->ChannelName()) << ", "
                                  << qPrintable(Frame()->GetStatusText()) << "; open streams: talk "
                                  << CountOpenStreams(*m_pServer, kTalk) << ", vorbis "
                                  << CountOpenStreams(*m_pServer, kVorbis) << ", mp3 "
                                  << CountOpenStreams(*m_pServer, kDemoMp3);
    EXPECT_EQ(LastStreamStarted(*m_pServer), kTalk) << qPrintable(LastStreamStarted(*m_pServer));
    EXPECT_EQ(pRelay->GetPlayState(), CNowPlayingRelay::PlayState::Playing);
    EXPECT_EQ(pRelay->StreamAddress(), m_pServer->Url(kTalk));
    EXPECT_EQ(View()->m_player.GetURL(), m_pServer->Url(kTalk));
    EXPECT_EQ(GetSettingInt(SettingNames::kLastChannelIndex, -1), nLast);
    EXPECT_TRUE(WaitFor([] { return PlayerTestSupport::RecordPeakLevel(700) > 0.01; }, 8000))
        << "the last row is heard";
    EXPECT_TRUE(settled()) << "and it stays so";
    EXPECT_EQ(LastStreamStarted(*m_pServer), kTalk) << qPrintable(LastStreamStarted(*m_pServer));
}

}
