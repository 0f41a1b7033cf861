// The radio page's own rules, on a page of its own: what selects, what
// plays, what the display options write and post. The channels' addresses
// are ones the player refuses, so that nothing is opened; what the page hands
// the player is read back from it.
#include "StationListBytes.h"
#include "TestApplication.h"

#include "res/PrivateMessages.h"
#include "catalogue/DataFolder.h"
#include "download/ServerAddresses.h"
#include "fw/CCmdUI.h"
#include "fw/MessageBox.h"
#include "radio/CKestrelRadioView.h"
#include "radio/PlayerTexts.h"
#include "fw/DialogUnits.h"
#include "res/Resource.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include "radio/RecentlyPlayedPanel.h"
#include "fw/CCmdUI.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr int kNotStored = -99;
const QString kHeader = QStringLiteral("Category,Channel,Stream,Id,Genre,Description,Status");

QString AddressOf(int nRow)
{
    return QStringLiteral("test-channel:%1").arg(nRow);
}

struct Message {
    UINT message;
    WPARAM wParam;
};

// Window messages that reach a window through its queue.
class PostedMessages : public QObject
{
public:
    explicit PostedMessages(QObject* pWatched) { pWatched->installEventFilter(this); }

    int Count(UINT message, WPARAM wParam = 0) const
    {
        int nCount = 0;
        for (const Message& m : m_messages)
            nCount += m.message == message && (message != WM_COMMAND || m.wParam == wParam) ? 1 : 0;
        return nCount;
    }
    QList<Message> m_messages;

protected:
    bool eventFilter(QObject*, QEvent* pEvent) override
    {
        if (pEvent->type() == CWindowMessageEvent::EventType()) {
            const auto* pMessage = static_cast<CWindowMessageEvent*>(pEvent);
            m_messages.append({pMessage->m_message, pMessage->m_wParam});
        }
        return false;
    }
};

class RadioViewTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // The banner's address: nothing listens there, and nothing beyond
        // this machine is reached.
        setenv(kRadioServerVariable, "http://127.0.0.1:9", 1);
    }

    void SetUp() override { m_app.App().m_pMainWnd = &m_mainWindow; }

    void TearDown() override
    {
        m_app.App().m_pMainWnd = nullptr;
        QFile::remove(GetStationListPath());
    }

    // Rows as the catalogue gives them, each with an address the player
    // refuses.
    void AddRows(int nRows)
    {
        CListCtrl& list = m_view.m_listChannels;
        if (list.GetHeaderCtrl().GetItemCount() == 0) {
            for (int nColumn = 0; nColumn < 5; ++nColumn)
                list.InsertColumn(nColumn, QString::number(nColumn));
        }
        for (int nRow = 0; nRow < nRows; ++nRow) {
            const int nItem = list.InsertItem(list.GetItemCount(), QString::number(nRow + 1));
            list.SetItemText(nItem, 4, AddressOf(nItem));
        }
    }

    // Has the view run a command, as the ribbon does, and lets what it
    // posted run.
    void Command(UINT nID)
    {
        m_view.SendMessage(WM_COMMAND, nID, 0);
        Settle();
    }

    static void Settle()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::sendPostedEvents();
    }

    int Selected() const { return m_view.m_listChannels.GetNextItem(-1, LVNI_SELECTED); }
    int Focused() const { return m_view.m_listChannels.GetNextItem(-1, LVNI_FOCUSED); }
    QString Playing() const { return m_view.m_player.GetURL(); }
    static int Stored(const char* name) { return GetSettingInt(name, kNotStored); }
    int PlaysPosted() const { return m_viewMessages.Count(WM_COMMAND, ID_PLAY); }

    TestApplication m_app;
    CWnd m_mainWindow;
    CKestrelRadioView m_view;
    PostedMessages m_mainWindowMessages{&m_mainWindow};
    PostedMessages m_viewMessages{&m_view};
    CMessageBoxAnswerer m_noBoxes{[](const MessageBoxRequest& request) -> int {
        ADD_FAILURE() << "message box: " << request.strText.toStdString();
        return IDOK;
    }};
};

TEST_F(RadioViewTest, PlayWithoutSelectionSelectsTheFirstRowWhichThenPlays)
{
    AddRows(3);
    m_view.SendMessage(WM_COMMAND, ID_PLAY, 0);
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(Focused(), 0);
    EXPECT_TRUE(Playing().isEmpty()) << "the row plays only once the selection change comes back";
    Settle();
    EXPECT_EQ(Playing(), AddressOf(0));
    EXPECT_EQ(Stored(SettingNames::kLastChannelIndex), 0);
    EXPECT_EQ(PlaysPosted(), 1);
}

TEST_F(RadioViewTest, PlayHandsTheSelectedRowsAddressToThePlayerAndRemembersTheRow)
{
    AddRows(4);
    m_view.SelectChannel(3);
    Settle();
    EXPECT_EQ(Playing(), AddressOf(3));
    EXPECT_EQ(Stored(SettingNames::kLastChannelIndex), 3);
    // The player refuses the address and says so; nothing else happens.
    EXPECT_EQ(m_view.m_player.GetStatus(), QString(PlayerTexts::kAddressRefused));
    // The tray's Play is the same command.
    Command(ID_TRAY_PLAY);
    EXPECT_EQ(Playing(), AddressOf(3));
    EXPECT_EQ(Selected(), 3);
}

TEST_F(RadioViewTest, AnEmptyListPlaysNothingButStopStillStops)
{
    for (UINT nID : {ID_PLAY, ID_PLAY_NEXT, ID_PLAY_PREVIOUS})
        Command(nID);
    m_view.SelectChannel(0);
    Settle();
    EXPECT_EQ(Selected(), -1);
    EXPECT_TRUE(Playing().isEmpty());
    EXPECT_EQ(Stored(SettingNames::kLastChannelIndex), kNotStored);

    m_view.m_player.SetURL(AddressOf(7));
    Command(ID_STOP);
    EXPECT_EQ(m_view.m_player.GetStatus(), QString(PlayerTexts::kStopped));
}

TEST_F(RadioViewTest, OneRowPlaysButNextAndPreviousLeaveIt)
{
    AddRows(1);
    Command(ID_PLAY);
    EXPECT_EQ(Playing(), AddressOf(0));
    for (UINT nID : {ID_PLAY_NEXT, ID_PLAY_PREVIOUS, ID_TRAY_PLAY_NEXT, ID_TRAY_PLAY_PREVIOUS})
        Command(nID);
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(PlaysPosted(), 1);
}

TEST_F(RadioViewTest, NextAndPreviousWrapAndOnlyMoveTheSelection)
{
    AddRows(3);
    m_view.SelectChannel(2);
    Settle();

    m_view.SendMessage(WM_COMMAND, ID_PLAY_NEXT, 0);
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(Focused(), 0);
    EXPECT_EQ(Playing(), AddressOf(2)) << "next only moves the selection";
    Settle();
    EXPECT_EQ(Playing(), AddressOf(0));

    Command(ID_PLAY_PREVIOUS);
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(Playing(), AddressOf(2));

    Command(ID_TRAY_PLAY_PREVIOUS);
    EXPECT_EQ(Playing(), AddressOf(1));
    Command(ID_TRAY_PLAY_NEXT);
    EXPECT_EQ(Playing(), AddressOf(2));
    EXPECT_EQ(Stored(SettingNames::kLastChannelIndex), 2);
}

TEST_F(RadioViewTest, ABurstOfNextPlaysOnlyTheRowItEndsOn)
{
    AddRows(5);
    m_view.SelectChannel(0);
    Settle();
    ASSERT_EQ(PlaysPosted(), 1);

    // As the tray, the hot keys and the desktop's media controls send them.
    for (int i = 0; i < 12; ++i)
        m_view.PostMessage(WM_COMMAND, ID_PLAY_NEXT, 0);
    Settle();

    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(Playing(), AddressOf(2));
    EXPECT_EQ(Stored(SettingNames::kLastChannelIndex), 2);
    EXPECT_EQ(PlaysPosted(), 2) << "one Play for the whole burst";

    // That Play has run: the next change plays again.
    Command(ID_PLAY_PREVIOUS);
    EXPECT_EQ(Playing(), AddressOf(1));
    EXPECT_EQ(PlaysPosted(), 3);
}

TEST_F(RadioViewTest, WithoutSelectionNextPlaysTheFirstRowAndPreviousTheLast)
{
    AddRows(3);
    Command(ID_PLAY_NEXT);
    EXPECT_EQ(Playing(), AddressOf(0));

    m_view.m_listChannels.SetItemState(-1, 0, LVIS_SELECTED);
    Command(ID_PLAY_PREVIOUS);
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(Playing(), AddressOf(2));
}

TEST_F(RadioViewTest, StopKeepsTheSelectionSoThatPlayStartsTheSameRowAgain)
{
    AddRows(3);
    m_view.SelectChannel(1);
    Settle();
    Command(ID_STOP);
    EXPECT_EQ(m_view.m_player.GetStatus(), QString(PlayerTexts::kStopped));
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(Stored(SettingNames::kLastChannelIndex), 1);

    Command(ID_TRAY_STOP);
    Command(ID_PLAY);
    EXPECT_EQ(Playing(), AddressOf(1));
    EXPECT_EQ(m_view.m_player.GetStatus(), QString(PlayerTexts::kAddressRefused));
}

TEST_F(RadioViewTest, ClickingTheSelectedRowDoesNotPlayItAgain)
{
    AddRows(3);
    m_view.resize(800, 600);
    m_view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_view));
    auto* pTable = m_view.m_listChannels.findChild<QTableView*>();
    ASSERT_NE(pTable, nullptr);
    const auto clickRow = [pTable](int nRow) {
        const QRect cell = pTable->visualRect(pTable->model()->index(nRow, 1));
        QTest::mouseClick(pTable->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::qWait(50);
        Settle();
    };

    clickRow(1);
    EXPECT_EQ(PlaysPosted(), 1);
    EXPECT_EQ(Playing(), AddressOf(1));
    clickRow(1);
    EXPECT_EQ(PlaysPosted(), 1) << "a click that changes nothing must not restart the stream";
    clickRow(2);
    EXPECT_EQ(PlaysPosted(), 2);
    EXPECT_EQ(Playing(), AddressOf(2));
}

TEST_F(RadioViewTest, F9PlaysTheNextRowAndF8ThePreviousOne)
{
    AddRows(3);
    m_view.resize(800, 600);
    m_view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_view));
    m_view.SelectChannel(2);
    Settle();
    auto* pTable = m_view.m_listChannels.findChild<QTableView*>();
    ASSERT_NE(pTable, nullptr);

    QTest::keyClick(pTable, Qt::Key_F9);
    Settle();
    EXPECT_EQ(m_viewMessages.Count(WM_COMMAND, ID_PLAY_NEXT), 1);
    EXPECT_EQ(Playing(), AddressOf(0));

    QTest::keyClick(pTable, Qt::Key_F8);
    Settle();
    EXPECT_EQ(m_viewMessages.Count(WM_COMMAND, ID_PLAY_PREVIOUS), 1);
    EXPECT_EQ(Playing(), AddressOf(2));

    // Other keys are the list's own: the arrow moves the selection, which plays.
    QTest::keyClick(pTable, Qt::Key_Up);
    QTest::qWait(50);
    Settle();
    EXPECT_EQ(Playing(), AddressOf(1));
    EXPECT_EQ(m_viewMessages.Count(WM_COMMAND, ID_PLAY_NEXT), 1);
    EXPECT_EQ(m_viewMessages.Count(WM_COMMAND, ID_PLAY_PREVIOUS), 1);
}

TEST_F(RadioViewTest, SpacePausesOrResumesAndTheLivePanelWaitsForSomethingPlaying)
{
    AddRows(2);
    m_view.resize(800, 600);
    m_view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_view));
    auto* pTable = m_view.m_listChannels.findChild<QTableView*>();
    ASSERT_NE(pTable, nullptr);
    pTable->setFocus();
    QTest::keyClick(pTable, Qt::Key_Space);
    Settle();
    EXPECT_EQ(m_viewMessages.Count(WM_COMMAND, ID_LIVE_PAUSE_RESUME), 1);

    // Nothing plays (the rows' addresses are refused): nothing to pause,
    // move in or save.
    for (const UINT nID : {ID_LIVE_PAUSE_RESUME, ID_LIVE_BACK, ID_LIVE_FORWARD, ID_LIVE_GO_LIVE, ID_LIVE_SAVE_SONG}) {
        CCmdUI cmdUI(nID);
        ASSERT_TRUE(m_view.OnCmdMsg(nID, &cmdUI));
        EXPECT_FALSE(cmdUI.IsEnabled()) << nID;
    }

    // Recently Played shows the songs heard on the page, and hides them again.
    auto* pRecent = m_view.findChild<CRecentlyPlayedPanel*>();
    ASSERT_NE(pRecent, nullptr);
    EXPECT_FALSE(pRecent->isVisible());
    Command(ID_LIVE_RECENTLY_PLAYED);
    EXPECT_TRUE(pRecent->isVisible());
    CCmdUI recentUI(ID_LIVE_RECENTLY_PLAYED);
    ASSERT_TRUE(m_view.OnCmdMsg(ID_LIVE_RECENTLY_PLAYED, &recentUI));
    EXPECT_EQ(recentUI.GetCheck(), 1);
    Command(ID_LIVE_RECENTLY_PLAYED);
    EXPECT_FALSE(pRecent->isVisible());
}

class RadioViewReloadTest : public RadioViewTest
{
protected:
    // A station list of nChannels radio channels, reloaded as a download
    // would have it reloaded.
    void Reload(int nChannels)
    {
        QStringList lines{kHeader};
        for (int nChannel = 0; nChannel < nChannels; ++nChannel)
            lines << QStringLiteral("Radio,Channel %1,%2,id,Genre,Text,ON").arg(nChannel).arg(AddressOf(nChannel));
        WriteStationList(StationListFile(lines));
        m_view.SendMessage(WM_RELOAD_CHANNELS, 0, 0);
        Settle();
    }
};

TEST_F(RadioViewReloadTest, AFreshProfilePlaysTheThirdChannelOnceTheListLoads)
{
    Reload(10);
    EXPECT_EQ(m_view.m_listChannels.GetItemCount(), 10);
    EXPECT_FALSE(QFile::exists(GetStationListPath())) << "a load consumes the file";
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(Playing(), AddressOf(2));
    EXPECT_EQ(Stored(SettingNames::kLastChannelIndex), 2);
}

TEST_F(RadioViewReloadTest, TheLastChannelIsRestoredOnlyWhenItIsARow)
{
    WriteSettingInt(SettingNames::kLastChannelIndex, 4);
    Reload(5);
    EXPECT_EQ(Playing(), AddressOf(4));

    for (int nIndex : {5, -1}) {
        WriteSettingInt(SettingNames::kLastChannelIndex, nIndex);
        m_view.m_listChannels.SetItemState(-1, 0, LVIS_SELECTED);
        m_view.m_player.SetURL(QString());
        Reload(5);
        EXPECT_EQ(Selected(), -1) << "LastChannelIndex " << nIndex;
        EXPECT_TRUE(Playing().isEmpty()) << "LastChannelIndex " << nIndex;
        EXPECT_EQ(Stored(SettingNames::kLastChannelIndex), nIndex);
    }
}

TEST_F(RadioViewReloadTest, OnlyAutoPlayOneRestoresTheLastChannel)
{
    for (int nAutoPlay : {0, 2, -1}) {
        WriteSettingInt(SettingNames::kAutoPlay, nAutoPlay);
        Reload(4);
        EXPECT_EQ(Selected(), -1) << "AutoPlay " << nAutoPlay;
        EXPECT_EQ(PlaysPosted(), 0) << "AutoPlay " << nAutoPlay;
    }
    WriteSettingInt(SettingNames::kAutoPlay, 1);
    Reload(4);
    EXPECT_EQ(Playing(), AddressOf(2));
}

TEST_F(RadioViewReloadTest, AReloadWithoutAFileKeepsTheListAndPlaysTheLastChannelAgain)
{
    Reload(4);
    m_view.m_listChannels.SetItemState(2, 0, LVIS_SELECTED);
    m_view.SendMessage(WM_RELOAD_CHANNELS, 0, 0);
    Settle();
    EXPECT_EQ(m_view.m_listChannels.GetItemCount(), 4);
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(PlaysPosted(), 2);
}

TEST_F(RadioViewTest, TheFormKeepsTheDialogsPlacesAndTheListAndPlayerGrowWithTheWindow)
{
    QWidget* pForm = m_view.GetFormWidget();
    const QSize formSize = m_view.GetFormSize();
    EXPECT_EQ(formSize, DialogUnits::ToPixels(QSize(483, 281), pForm->font()));
    m_view.resize(formSize);
    m_view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_view));
    const auto near = [pForm](const QWidget& control, const QRect& rectDialogUnits) {
        const QRect expected = DialogUnits::ToPixels(rectDialogUnits, pForm->font());
        const QRect actual = control.geometry();
        const int nSlack = 3;
        return std::abs(actual.left() - expected.left()) <= nSlack &&
            std::abs(actual.top() - expected.top()) <= nSlack &&
            std::abs(actual.width() - expected.width()) <= nSlack &&
            std::abs(actual.height() - expected.height()) <= nSlack;
    };
    EXPECT_TRUE(near(m_view.m_player, {7, 7, 469, 66})) << m_view.m_player.geometry().height();
    EXPECT_TRUE(near(m_view.m_listChannels, {7, 86, 469, 111})) << m_view.m_listChannels.geometry().height();
    EXPECT_TRUE(near(m_view.m_banner, {7, 200, 469, 75})) << m_view.m_banner.geometry().height();

    const int nPlayerHeight = m_view.m_player.height();
    const int nListHeight = m_view.m_listChannels.height();
    const int nBannerHeight = m_view.m_banner.height();
    const int nBannerGap = pForm->height() - m_view.m_banner.geometry().bottom();
    m_view.resize(formSize + QSize(300, 354));
    QTest::qWait(20);
    EXPECT_EQ(m_view.m_listChannels.width(), m_view.m_player.width());
    EXPECT_EQ(m_view.m_banner.width(), m_view.m_player.width());
    EXPECT_GT(m_view.m_player.width(), DialogUnits::ToPixels(QSize(469, 1), pForm->font()).width() + 250);
    EXPECT_EQ(m_view.m_banner.height(), nBannerHeight);
    // The 354 pixels are shared as 66 to 111.
    EXPECT_NEAR(m_view.m_player.height() - nPlayerHeight, 132, 3);
    EXPECT_NEAR(m_view.m_listChannels.height() - nListHeight, 222, 3);
    EXPECT_EQ(pForm->height() - m_view.m_banner.geometry().bottom(), nBannerGap) << "the banner stays at the bottom";
}

TEST_F(RadioViewTest, FirstUpdateReadsTheNonWorkingChoiceAndAsksTheMainWindowForAList)
{
    WriteSettingInt(SettingNames::kDisplayNonWorkingChannels, 1);
    m_view.OnInitialUpdate();
    auto* pCheck = m_view.findChild<QCheckBox*>(QString::number(IDC_CHECK_NON_WORKING));
    ASSERT_NE(pCheck, nullptr);
    EXPECT_TRUE(pCheck->isChecked());
    EXPECT_TRUE(pCheck->isHidden());
    EXPECT_EQ(pCheck->text(), QStringLiteral("Display Non Working Channels"));
    EXPECT_EQ(m_view.m_listChannels.GetExtendedStyle(), LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    EXPECT_EQ(m_view.m_banner.GetLocationURL(), ServerAddresses::BannerUrl());

    Settle();
    ASSERT_EQ(m_mainWindowMessages.m_messages.size(), 2);
    EXPECT_EQ(m_mainWindowMessages.m_messages[0].message, WM_UPDATE_STATUS_PANES);
    EXPECT_EQ(m_mainWindowMessages.m_messages[1].message, WM_COMMAND);
    EXPECT_EQ(m_mainWindowMessages.m_messages[1].wParam, ID_REFRESH_CHANNELS_LIST);
}

TEST_F(RadioViewTest, TheNonWorkingCheckBoxStoresItsStateAndReloadsWithoutDownloading)
{
    m_view.OnInitialUpdate();
    Settle();
    const int nRefreshes = m_mainWindowMessages.Count(WM_COMMAND, ID_REFRESH_CHANNELS_LIST);
    auto* pCheck = m_view.findChild<QCheckBox*>(QString::number(IDC_CHECK_NON_WORKING));
    ASSERT_NE(pCheck, nullptr);

    pCheck->click();
    Settle();
    EXPECT_EQ(Stored(SettingNames::kDisplayNonWorkingChannels), 1);
    EXPECT_EQ(m_viewMessages.Count(WM_RELOAD_CHANNELS), 1);
    pCheck->click();
    Settle();
    EXPECT_EQ(Stored(SettingNames::kDisplayNonWorkingChannels), 0);
    EXPECT_EQ(m_viewMessages.Count(WM_RELOAD_CHANNELS), 2);
    EXPECT_EQ(m_mainWindowMessages.Count(WM_COMMAND, ID_REFRESH_CHANNELS_LIST), nRefreshes);
}

TEST_F(RadioViewTest, DisplayTogglesWriteTheNegationForgetTheCacheAndRefresh)
{
    struct Toggle {
        UINT nID;
        const char* name;
        int CSettingsCache::*cached;
        int nDefault;
    };
    for (const Toggle& toggle :
         {Toggle{ID_DISPLAY_RADIO_CHANNELS, SettingNames::kDisplayRadioChannels,
                 &CSettingsCache::m_nDisplayRadioChannels, 1},
          Toggle{ID_DISPLAY_TV_CHANNELS, SettingNames::kDisplayTVChannels, &CSettingsCache::m_nDisplayTVChannels, 0}}) {
        SCOPED_TRACE(toggle.name);
        CCmdUI before(toggle.nID);
        before.DoUpdate(&m_view);
        EXPECT_EQ(before.GetCheck(), toggle.nDefault);
        EXPECT_EQ(m_app.Cache().*toggle.cached, toggle.nDefault) << "the update reads through the cache";

        const int nRefreshes = m_mainWindowMessages.Count(WM_COMMAND, ID_REFRESH_CHANNELS_LIST);
        Command(toggle.nID);
        EXPECT_EQ(Stored(toggle.name), toggle.nDefault == 0 ? 1 : 0);
        EXPECT_EQ(m_app.Cache().*toggle.cached, -1);
        EXPECT_EQ(m_mainWindowMessages.Count(WM_COMMAND, ID_REFRESH_CHANNELS_LIST), nRefreshes + 1);

        CCmdUI after(toggle.nID);
        after.DoUpdate(&m_view);
        EXPECT_EQ(after.GetCheck(), toggle.nDefault == 0 ? 1 : 0);

        // Any value other than 0 shows the channels; its negation is 0.
        WriteSettingInt(toggle.name, 5);
        m_app.Cache().*toggle.cached = -1;
        Command(toggle.nID);
        EXPECT_EQ(Stored(toggle.name), 0);
    }
}

}
