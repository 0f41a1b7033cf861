// The global hot keys where the desktop's shortcuts portal decides them, as
// on a Wayland session: the whole program in the test process against the
// station server, with a stand-in portal on a private session bus that
// speaks the real interfaces. The session says it is Wayland, so the
// program takes the portal, as it does under XWayland.
#include "InProcessProgramTest.h"
#include "PrivateSessionBus.h"
#include "StationServer.h"
#include "StreamLog.h"

#include "frame/CMainFrame.h"
#include "hotkeys/CRadioSettingsView.h"
#include "radio/CKestrelRadioView.h"
#include "res/ProductInfo.h"
#include "res/Resource.h"
#include "settings/SettingNames.h"

#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

constexpr int kTimeoutMs = 20000;
const QString kDemoMp3 = QStringLiteral("/streams/kestrel-mp3");
constexpr int kDemoRows = 9;

bool WaitFor(const std::function<bool()>& condition, int nTimeoutMs = kTimeoutMs)
{
    return QTest::qWaitFor(condition, nTimeoutMs);
}

// The stand-in portal, started on the test's bus; what it was asked, line
// by line.
class ShortcutsPortal
{
public:
    bool Start(const QString& strBusAddress, const QStringList& arguments = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), strBusAddress);
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(KESTREL_FAKE_PORTAL_PATH), arguments);
        return WaitFor([this] { return Calls().contains(QLatin1String("ready")); }, 10000);
    }
    ~ShortcutsPortal()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(2000);
    }
    QStringList Calls()
    {
        m_output += QString::fromUtf8(m_process.readAllStandardOutput());
        return m_output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    QStringList CallsStartingWith(const QString& strPrefix)
    {
        return Calls().filter(QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(strPrefix)));
    }
    void Send(const QString& strCommand) { m_process.write((strCommand + QLatin1Char('\n')).toUtf8()); }

private:
    QProcess m_process;
    QString m_output;
};

class PortalHotKeyTest : public InProcessProgramTest
{
public:
    static void SetUpTestSuite()
    {
        InProcessProgramTest::SetUpTestSuite();
        // One bus for the whole run: the program's connection to the
        // session bus lasts as long as the process.
        s_pBus = new PrivateSessionBus;
        ASSERT_TRUE(s_pBus->Start());
        qputenv("DBUS_SESSION_BUS_ADDRESS", s_pBus->Address().toLocal8Bit());
        qputenv("XDG_SESSION_TYPE", "wayland");
    }
    static void TearDownTestSuite()
    {
        delete s_pBus;
        s_pBus = nullptr;
    }

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
    // Ctrl+Alt+P, Ctrl+Alt+N, Ctrl+Alt+B and F7.
    static void PresetFourKeys()
    {
        PresetHotKey(QStringLiteral("Play"), 'P', 0x03);
        PresetHotKey(QStringLiteral("Play Next"), 'N', 0x03);
        PresetHotKey(QStringLiteral("Play Prev"), 'B', 0x03);
        PresetHotKey(QStringLiteral("Stop"), 0x76, 0);
    }

    CKestrelRadioView* RadioView() const { return dynamic_cast<CKestrelRadioView*>(ActiveView()); }
    CRadioSettingsView* SettingsView() const { return dynamic_cast<CRadioSettingsView*>(ActiveView()); }
    int Starts(const QString& strMount) const { return CountStreamStarts(*m_pServer, strMount); }
    int Ends(const QString& strMount) const { return CountStreamEnds(*m_pServer, strMount); }
    QStringList BoxTexts() const
    {
        QStringList texts;
        for (const MessageBoxRequest& box : m_boxes)
            texts << box.strText;
        return texts;
    }
    QString ShownTrigger(UINT nID) const
    {
        auto* pLabel = SettingsView()->GetFormWidget()->findChild<QLabel*>(QString::number(nID));
        return pLabel != nullptr && pLabel->isVisible() ? pLabel->text() : QStringLiteral("(hidden)");
    }

    static PrivateSessionBus* s_pBus;
};

PrivateSessionBus* PortalHotKeyTest::s_pBus = nullptr;

TEST_F(PortalHotKeyTest, TheProgramRegistersBindsTheFourActionsOnceAndAnActivatedShortcutDrivesTheRadioPage)
{
    ShortcutsPortal portal;
    ASSERT_TRUE(portal.Start(s_pBus->Address()));
    PresetFourKeys();
    StartProgram();
    ASSERT_TRUE(WaitFor([&] {
        return RadioView() != nullptr && RadioView()->m_listChannels.GetItemCount() == kDemoRows &&
            Starts(kDemoMp3) == 1;
    }));
    ASSERT_TRUE(WaitFor([&] { return !portal.CallsStartingWith(QStringLiteral("BindShortcuts")).isEmpty(); }))
        << qPrintable(portal.Calls().join('\n'));

    // Who the program is, before its session; what it remembers; then the
    // four actions in one request, each with its stored keys and the words
    // the user knows it by.
    EXPECT_EQ(
        portal.Calls(),
        QStringList({"ready", "Register " + ProductInfo::ApplicationId(), "CreateSession registered", "ListShortcuts",
                     "BindShortcuts play=CTRL+ALT+P:Play,play-next=CTRL+ALT+N:Play Next "
                     "Channel,play-previous=CTRL+ALT+B:Play Previous Channel,stop=F7:Stop"}));

    // The desktop's key for Play Next plays the next row (the demo's fourth
    // row plays the same stream as the third, under another name).
    const QString strNextStream = QUrl(RadioView()->m_listChannels.GetItemText(3, 4)).path();
    const int nStartsBefore = Starts(strNextStream);
    portal.Send(QStringLiteral("activate play-next"));
    EXPECT_TRUE(WaitFor([&] { return Starts(strNextStream) == nStartsBefore + 1; }));
    EXPECT_TRUE(WaitFor([&] { return RadioView()->m_listChannels.GetNextItem(-1, LVNI_SELECTED) == 3; }));
    const int nEndsBefore = Ends(strNextStream);
    portal.Send(QStringLiteral("activate stop"));
    EXPECT_TRUE(
        WaitFor([&] { return Ends(strNextStream) > nEndsBefore && Starts(strNextStream) == Ends(strNextStream); }));
    // An id the program never bound does nothing: the Play the portal sends
    // after it starts the only stream, on the row still selected.
    const int nStarts = Starts(strNextStream);
    portal.Send(QStringLiteral("activate something-else"));
    portal.Send(QStringLiteral("activate play"));
    EXPECT_TRUE(WaitFor([&] { return Starts(strNextStream) == nStarts + 1; }));
    EXPECT_EQ(RadioView()->m_listChannels.GetNextItem(-1, LVNI_SELECTED), 3);

    // The settings page finds everything bound: no new request, no dialog,
    // no message, and each row shows the desktop's trigger.
    CCustomMFCRibbonBar& ribbon = Frame()->GetRibbonBar();
    ribbon.SetActiveCategory(ribbon.GetCategory(1));
    ASSERT_TRUE(WaitFor([&] { return SettingsView() != nullptr && ShownTrigger(IDC_TRIGGER_STOP) == "F7"; }));
    EXPECT_EQ(ShownTrigger(IDC_TRIGGER_PLAY), "Ctrl+Alt+P");
    EXPECT_EQ(ShownTrigger(IDC_TRIGGER_PLAY_NEXT), "Ctrl+Alt+N");
    // Pressed while the settings page is open, the key does nothing. The
    // desktop's change sent after it shows once the key has been handled.
    const int nStartsOnSettings = Starts(strNextStream);
    portal.Send(QStringLiteral("activate play"));
    portal.Send(QStringLiteral("change stop F8"));
    ASSERT_TRUE(WaitFor([&] { return ShownTrigger(IDC_TRIGGER_STOP) == "F8"; }));
    EXPECT_EQ(portal.CallsStartingWith(QStringLiteral("BindShortcuts")).size(), 1);
    EXPECT_TRUE(m_boxes.isEmpty()) << qPrintable(BoxTexts().join('\n'));
    EXPECT_EQ(Starts(strNextStream), nStartsOnSettings);
}

TEST_F(PortalHotKeyTest, ShortcutsTheDesktopRemembersAreUsedWithoutAskingTheUserAgain)
{
    ShortcutsPortal portal;
    ASSERT_TRUE(portal.Start(s_pBus->Address(), {"--remember", "play-next=Ctrl+Alt+N", "--remember", "stop=F7"}));
    PresetHotKey(QStringLiteral("Play Next"), 'N', 0x03);
    PresetHotKey(QStringLiteral("Stop"), 0x76, 0);
    StartProgram();
    ASSERT_TRUE(WaitFor([&] { return RadioView() != nullptr && Starts(kDemoMp3) == 1; }));
    ASSERT_TRUE(WaitFor([&] { return portal.Calls().contains(QLatin1String("ListShortcuts")); }));
    portal.Send(QStringLiteral("activate stop"));
    EXPECT_TRUE(WaitFor([&] { return Ends(kDemoMp3) == 1; }));
    EXPECT_TRUE(portal.CallsStartingWith(QStringLiteral("BindShortcuts")).isEmpty());
}

TEST_F(PortalHotKeyTest, ABindingTheDesktopChangedOrRefusedIsReportedOnTheSettingsPageWithTheDesktopsTrigger)
{
    // The user gives Play Next another key in the desktop's dialog and
    // leaves Stop without one.
    ShortcutsPortal portal;
    ASSERT_TRUE(
        portal.Start(s_pBus->Address(), {"--version", "2", "--answer", "play-next=Shift+F12", "--answer", "stop="}));
    PresetFourKeys();
    PresetSetting(QLatin1String(SettingNames::kLastCategory), 1);
    StartProgram();
    ASSERT_NE(SettingsView(), nullptr);
    ASSERT_TRUE(WaitFor([&] { return m_boxes.size() == 2; }));
    EXPECT_EQ(BoxTexts(),
              QStringList({"Failed to Load HotKey for Playing Next Channel.",
                           "Failed to Load HotKey to Stop Playing Channel."}));
    EXPECT_EQ(m_boxes.first().nType, MB_ICONERROR);
    EXPECT_EQ(ShownTrigger(IDC_TRIGGER_PLAY), "Ctrl+Alt+P");
    EXPECT_EQ(ShownTrigger(IDC_TRIGGER_PLAY_NEXT), "Shift+F12");
    EXPECT_EQ(ShownTrigger(IDC_TRIGGER_STOP), "");
    // The stored keys stay what the user assigned.
    EXPECT_EQ(SettingsView()->m_hotKeyPlayNext.text(), "Ctrl + Alt + N");

    // The desktop's own settings, where its portal has them.
    auto* pConfigure = SettingsView()->GetFormWidget()->findChild<QPushButton*>(QString::number(IDC_CONFIGURE_HOTKEYS));
    ASSERT_NE(pConfigure, nullptr);
    ASSERT_TRUE(pConfigure->isVisible());
    QTest::mouseClick(pConfigure, Qt::LeftButton);
    EXPECT_TRUE(WaitFor([&] { return portal.Calls().contains(QLatin1String("ConfigureShortcuts")); }));

    // A change made there shows, without a message: the user made it.
    portal.Send(QStringLiteral("change play-next Ctrl+Alt+N"));
    EXPECT_TRUE(WaitFor([&] { return ShownTrigger(IDC_TRIGGER_PLAY_NEXT) == "Ctrl+Alt+N"; }));

    // Asked once: reloading the rows brings no new dialog and reports the
    // refused key again.
    auto* pAssign = SettingsView()->GetFormWidget()->findChild<QPushButton*>(QString::number(IDC_ASSIGN_PLAY));
    QTest::mouseClick(pAssign, Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return m_boxes.size() == 3; }));
    EXPECT_EQ(m_boxes.last().strText, "Failed to Load HotKey to Stop Playing Channel.");
    EXPECT_EQ(portal.CallsStartingWith(QStringLiteral("BindShortcuts")).size(), 1);
}

TEST_F(PortalHotKeyTest, WithoutThePortalOrItsShortcutsEveryKeyIsReportedAsFailed)
{
    const QStringList expected{
        "Failed to Load HotKey for Playing Channel.", "Failed to Load HotKey for Playing Next Channel.",
        "Failed to Load HotKey for Playing Previous Channel.", "Failed to Load HotKey to Stop Playing Channel."};
    PresetFourKeys();
    PresetSetting(QLatin1String(SettingNames::kLastCategory), 1);
    {
        // A portal without the shortcuts interface (Sway, older GNOME).
        ShortcutsPortal portal;
        ASSERT_TRUE(portal.Start(s_pBus->Address(), {"--no-shortcuts"}));
        StartProgram();
        ASSERT_TRUE(WaitFor([&] { return m_boxes.size() == 4; }));
        EXPECT_EQ(BoxTexts(), expected);
        EXPECT_EQ(ShownTrigger(IDC_TRIGGER_PLAY), "");
        EXPECT_FALSE(SettingsView()
                         ->GetFormWidget()
                         ->findChild<QPushButton*>(QString::number(IDC_CONFIGURE_HOTKEYS))
                         ->isVisible());
        EndProgram();
    }
    // No portal at all.
    m_boxes.clear();
    StartProgram();
    ASSERT_TRUE(WaitFor([&] { return m_boxes.size() == 4; }));
    EXPECT_EQ(BoxTexts(), expected);
}

}
