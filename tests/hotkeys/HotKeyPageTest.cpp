// The system-wide hot keys in the whole program, on the test display:
// keys pressed through XTEST (xdotool), as from any other window, reach the
// radio page, whose commands show in the station server's request log; the
// settings page assigns, clears and checks them; another X client that
// holds a combination is a second program on the desktop.
#include "InProcessProgramTest.h"
#include "StationServer.h"
#include "StreamLog.h"

#include "app/CKestrelRadioApp.h"
#include "catalogue/DataFolder.h"
#include "download/ServerAddresses.h"
#include "frame/CMainFrame.h"
#include "fw/CMDIChildWndEx.h"
#include "fw/CNewTypeDlg.h"
#include "fw/MessageBox.h"
#include "fw/WindowMessages.h"
#include "fw/ribbon/CMFCRibbonCategory.h"
#include "hotkeys/CRadioSettingsView.h"
#include "radio/CKestrelRadioView.h"
#include "res/ProductInfo.h"
#include "res/Resource.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

constexpr int kTimeoutMs = 20000;
// How long a key that should do nothing is given to do something.
constexpr int kQuietMs = 1500;
const QString kStationList = QStringLiteral("/stationlist.zip");
const QString kDemoMp3 = QStringLiteral("/streams/kestrel-mp3");
constexpr int kDemoRows = 9;

constexpr char kPlayKeys[] = "ctrl+alt+p";
constexpr int kPlayKey = 'P';
constexpr int kPlayModifiers = 0x03;  // Ctrl and Alt, as stored
constexpr char kStopKeys[] = "F7";
constexpr int kStopKey = 0x76;
constexpr char kNextKeys[] = "XF86AudioNext";
constexpr int kNextKey = 0xB0;

bool WaitFor(const std::function<bool()>& condition, int nTimeoutMs = kTimeoutMs)
{
    return QTest::qWaitFor(condition, nTimeoutMs);
}

// Presses keys on the display, as the keyboard would.
bool PressKeys(const QString& strKeys)
{
    return QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), strKeys}) == 0;
}

// A second program on the desktop that holds one combination.
class HotKeyHolder
{
public:
    // "held" or "refused", as the holder answered.
    QString Hold(unsigned nModifiers, unsigned nVirtualKey)
    {
        m_process.start(QStringLiteral(KESTREL_HOTKEY_HOLDER_PATH),
                        {QString::number(nModifiers), QString::number(nVirtualKey)});
        if (!WaitFor([this] { return m_process.canReadLine(); }, 10000))
            return QString();
        return QString::fromUtf8(m_process.readLine()).trimmed();
    }
    bool WasPressed()
    {
        m_output += QString::fromUtf8(m_process.readAllStandardOutput());
        return m_output.contains(QLatin1String("pressed"));
    }
    ~HotKeyHolder()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(2000);
    }

private:
    QProcess m_process;
    QString m_output;
};

class HotKeyPageTest : public InProcessProgramTest
{
public:
    void SetUp() override
    {
        InProcessProgramTest::SetUp();
        StartServer();
    }

    static void PresetHotKey(const QString& strName, int nKey, int nModifiers)
    {
        PresetSetting(strName + QLatin1String(" Key"), nKey);
        PresetSetting(strName + QLatin1String(" Mod"), nModifiers);
    }

    CKestrelRadioView* RadioView() const { return dynamic_cast<CKestrelRadioView*>(ActiveView()); }
    CRadioSettingsView* SettingsView() const { return dynamic_cast<CRadioSettingsView*>(ActiveView()); }

    void OpenCategory(int nIndex)
    {
        CCustomMFCRibbonBar& ribbon = Frame()->GetRibbonBar();
        ribbon.SetActiveCategory(ribbon.GetCategory(nIndex));
    }

    // The radio page has its list and plays the remembered third row.
    void WaitForRadioPagePlaying(int nStarts)
    {
        ASSERT_TRUE(WaitFor([&] {
            return RadioView() != nullptr && RadioView()->m_listChannels.GetItemCount() == kDemoRows &&
                Starts(kDemoMp3) == nStarts;
        }));
    }

    void ClickButton(UINT nID)
    {
        auto* pButton = SettingsView()->GetFormWidget()->findChild<QPushButton*>(QString::number(nID));
        ASSERT_NE(pButton, nullptr);
        QTest::mouseClick(pButton, Qt::LeftButton);
    }

    int Starts(const QString& strMount) const { return CountStreamStarts(*m_pServer, strMount); }
    // Every stream that began or ended, of any channel.
    int StreamRequests() const { return m_pServer->RequestLog().filter(QLatin1String(" /streams/")).size(); }
    // Presses the keys and waits for one more start (or end) of the mount.
    bool PressAndWait(const QString& strKeys, const QString& strMount,
                      int (HotKeyPageTest::*count)(const QString&) const)
    {
        const int nBefore = (this->*count)(strMount);
        return PressKeys(strKeys) && WaitFor([&] { return (this->*count)(strMount) == nBefore + 1; });
    }
    int Ends(const QString& strMount) const { return CountStreamEnds(*m_pServer, strMount); }
    int Stored(const QString& strName) const { return GetSettingInt(strName, -1); }
    QStringList BoxTexts() const
    {
        QStringList texts;
        for (const MessageBoxRequest& box : m_boxes)
            texts << box.strText;
        return texts;
    }
};

TEST_F(HotKeyPageTest, StoredKeysDriveTheRadioPageWhateverTheLocksAndNothingWhileTheSettingsPageIsOpen)
{
    PresetHotKey(QStringLiteral("Play"), kPlayKey, kPlayModifiers);
    PresetHotKey(QStringLiteral("Stop"), kStopKey, 0);
    PresetHotKey(QStringLiteral("Play Next"), kNextKey, 0);
    StartProgram();
    WaitForRadioPagePlaying(1);
    // Another window has the keyboard: the keys work all the same.
    QWidget otherWindow;
    otherWindow.show();
    otherWindow.activateWindow();

    ASSERT_TRUE(PressAndWait(kStopKeys, kDemoMp3, &HotKeyPageTest::Ends)) << "Stop";
    ASSERT_TRUE(PressAndWait(kPlayKeys, kDemoMp3, &HotKeyPageTest::Starts)) << "Play";

    // The media key moves to the next row, which plays.
    const QString strNextStream = QUrl(RadioView()->m_listChannels.GetItemText(3, 4)).path();
    EXPECT_TRUE(PressAndWait(kNextKeys, strNextStream, &HotKeyPageTest::Starts)) << "Play Next on the media key";
    EXPECT_TRUE(WaitFor([&] { return RadioView()->m_listChannels.GetNextItem(-1, LVNI_SELECTED) == 3; }));
    // The row before has let its stream go.
    ASSERT_TRUE(WaitFor([&] { return Starts(strNextStream) - Ends(strNextStream) == 1; }));

    // With NumLock and CapsLock on.
    ASSERT_TRUE(PressKeys(QStringLiteral("Num_Lock")));
    ASSERT_TRUE(PressKeys(QStringLiteral("Caps_Lock")));
    EXPECT_TRUE(PressAndWait(kStopKeys, strNextStream, &HotKeyPageTest::Ends)) << "Stop with the locks on";
    EXPECT_TRUE(PressAndWait(kPlayKeys, strNextStream, &HotKeyPageTest::Starts)) << "Play with the locks on";
    ASSERT_TRUE(PressKeys(QStringLiteral("Num_Lock")));
    ASSERT_TRUE(PressKeys(QStringLiteral("Caps_Lock")));

    // The settings page holds the same keys only to check them.
    const int nStreamRequests = StreamRequests();
    OpenCategory(1);
    ASSERT_TRUE(WaitFor([&] { return SettingsView() != nullptr && StreamRequests() == nStreamRequests + 1; }))
        << "leaving the radio page ends its stream";
    ASSERT_TRUE(PressKeys(kPlayKeys));
    ASSERT_TRUE(PressKeys(kNextKeys));
    QTest::qWait(kQuietMs);
    EXPECT_EQ(StreamRequests(), nStreamRequests + 1);
    EXPECT_TRUE(m_boxes.isEmpty()) << qPrintable(BoxTexts().join('\n'));

    // Back on a new radio page, the keys are its own again.
    OpenCategory(0);
    ASSERT_TRUE(WaitFor([&] { return RadioView() != nullptr && StreamRequests() == nStreamRequests + 2; }));
    EXPECT_TRUE(PressAndWait(kStopKeys, strNextStream, &HotKeyPageTest::Ends));
}

TEST_F(HotKeyPageTest, AKeyAnotherProgramHoldsIsReportedOnTheSettingsPageAndMissingSilentlyOnTheRadioPage)
{
    HotKeyHolder holder;
    ASSERT_EQ(holder.Hold(kPlayModifiers, kPlayKey), "held");
    PresetHotKey(QStringLiteral("Play"), kPlayKey, kPlayModifiers);
    PresetHotKey(QStringLiteral("Stop"), kStopKey, 0);
    PresetSetting(QLatin1String(SettingNames::kLastCategory), 1);
    StartProgram();
    ASSERT_TRUE(WaitFor([&] { return SettingsView() != nullptr && !m_boxes.isEmpty(); }));
    QTest::qWait(200);
    ASSERT_EQ(BoxTexts(), QStringList{"Failed to Load HotKey for Playing Channel."});
    EXPECT_EQ(m_boxes.first().strCaption, ProductInfo::ApplicationTitle());
    EXPECT_EQ(m_boxes.first().nType, MB_ICONERROR);
    // The value stays stored and shown.
    EXPECT_EQ(SettingsView()->m_hotKeyPlay.text(), "Ctrl + Alt + P");
    EXPECT_EQ(Stored("Play Key"), kPlayKey);

    OpenCategory(0);
    WaitForRadioPagePlaying(1);
    EXPECT_EQ(m_boxes.size(), 1) << "the radio page says nothing";
    ASSERT_TRUE(PressKeys(kStopKeys));
    ASSERT_TRUE(WaitFor([&] { return Ends(kDemoMp3) == 1; }));
    // The other program's key is the other program's.
    ASSERT_TRUE(PressKeys(kPlayKeys));
    EXPECT_TRUE(WaitFor([&] { return holder.WasPressed(); }));
    QTest::qWait(kQuietMs);
    EXPECT_EQ(Starts(kDemoMp3), 1);
}

TEST_F(HotKeyPageTest, ASecondRadioPageGetsNoKeysAndTheyKeepReachingTheFirst)
{
    PresetHotKey(QStringLiteral("Stop"), kStopKey, 0);
    StartProgram();
    WaitForRadioPagePlaying(1);
    CKestrelRadioView* pFirst = RadioView();
    QList<long> firstStates;
    QObject::connect(&pFirst->m_player, &CWMPPlayer4::PlayStateChange,
                     [&firstStates](long nState) { firstStates << nState; });

    // Ctrl+N: a second radio page beside the first, playing as well.
    Frame()->SendMessage(WM_COMMAND, ID_FILE_NEW, 0);
    auto* pNewDialog = Frame()->findChild<CNewTypeDlg*>();
    ASSERT_NE(pNewDialog, nullptr);
    pNewDialog->GetList()->setCurrentRow(0);
    pNewDialog->accept();
    ASSERT_TRUE(WaitFor([&] { return RadioView() != nullptr && RadioView() != pFirst; }));
    CKestrelRadioView* pSecond = RadioView();
    QList<long> secondStates;
    QObject::connect(&pSecond->m_player, &CWMPPlayer4::PlayStateChange,
                     [&secondStates](long nState) { secondStates << nState; });
    WaitForRadioPagePlaying(2);
    EXPECT_TRUE(m_boxes.isEmpty()) << qPrintable(BoxTexts().join('\n'));

    ASSERT_TRUE(PressKeys(kStopKeys));
    ASSERT_TRUE(WaitFor([&] { return Ends(kDemoMp3) == 1; }));
    EXPECT_TRUE(firstStates.contains(wmppsStopped));
    // Ids that are no hot key of the page's post nothing.
    pFirst->SendMessage(WM_HOTKEY, 0, 0);
    pFirst->SendMessage(WM_HOTKEY, 5, 0);
    QTest::qWait(kQuietMs);
    EXPECT_FALSE(secondStates.contains(wmppsStopped));
    EXPECT_EQ(Ends(kDemoMp3), 1);
    EXPECT_EQ(Starts(kDemoMp3), 2);
}

TEST_F(HotKeyPageTest, AssignStoresWhatWasTypedChecksItAndClearGivesTheKeyBack)
{
    PresetSetting(QLatin1String(SettingNames::kLastCategory), 1);
    StartProgram();
    CRadioSettingsView* pView = SettingsView();
    ASSERT_NE(pView, nullptr);
    for (CHotKeyCtrl* pControl :
         {&pView->m_hotKeyPlay, &pView->m_hotKeyPlayNext, &pView->m_hotKeyPlayPrev, &pView->m_hotKeyStop})
        EXPECT_EQ(pControl->text(), "None");

    QTest::keyClick(&pView->m_hotKeyPlay, Qt::Key_F5, Qt::ShiftModifier);
    QTest::keyClick(&pView->m_hotKeyStop, Qt::Key_F7);
    ClickButton(IDC_ASSIGN_PLAY);
    EXPECT_EQ(Stored("Play Key"), 0x74);
    EXPECT_EQ(Stored("Play Mod"), 0x04);
    EXPECT_EQ(pView->m_hotKeyPlay.text(), "Shift + F5");
    // Assigning one row reloads them all: Stop was typed, never assigned.
    EXPECT_EQ(pView->m_hotKeyStop.text(), "None");
    EXPECT_EQ(Stored("Stop Key"), -1);

    // The page holds the key now, so no other program can have it.
    {
        HotKeyHolder holder;
        EXPECT_EQ(holder.Hold(0x04, 0x74), "refused");
    }
    EXPECT_TRUE(m_boxes.isEmpty()) << qPrintable(BoxTexts().join('\n'));

    ClickButton(IDC_CLEAR_PLAY);
    EXPECT_EQ(Stored("Play Key"), 0);
    EXPECT_EQ(Stored("Play Mod"), 0);
    EXPECT_EQ(pView->m_hotKeyPlay.text(), "None");
    HotKeyHolder holder;
    EXPECT_EQ(holder.Hold(0x04, 0x74), "held") << "Clear let the key go";

    // A combination taken meanwhile is stored and reported at each load.
    QTest::keyClick(&pView->m_hotKeyPlay, Qt::Key_F5, Qt::ShiftModifier);
    ClickButton(IDC_ASSIGN_PLAY);
    EXPECT_EQ(Stored("Play Key"), 0x74);
    ClickButton(IDC_ASSIGN_STOP);
    EXPECT_EQ(
        BoxTexts(),
        QStringList({"Failed to Load HotKey for Playing Channel.", "Failed to Load HotKey for Playing Channel."}));
    EXPECT_EQ(Stored("Stop Key"), 0) << "Assign with an empty control stores no key";
}

}
