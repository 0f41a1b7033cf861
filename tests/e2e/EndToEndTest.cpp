// The whole program as a user meets it: kestrel-radio started on the test
// display against the station server, with a private sound server and
// session bus, and driven only from outside: clicks on the ribbon where its
// buttons are, keys, the server's request log, the profile, the sound at the
// test sink, the window as the X server has it and the media controls on
// the bus. Each journey shares its program starts between its steps.
#include "DesktopWindow.h"
#include "PlayerTestSupport.h"
#include "DesktopSessionBus.h"
#include "RadioProgram.h"
#include "StationServer.h"
#include "StatusNotifierWatcher.h"
#include "TrayHost.h"
#include "WaylandCompositor.h"
#include "download/ServerAddresses.h"
#include "res/Resource.h"
#include "settings/SettingNames.h"

#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr int kTimeoutMs = 20000;
// The demo catalogue on a fresh profile: the second row plays the talk
// stream, the third the MP3 demo, the fourth the same stream under a
// Japanese name.
const QString kDemoMp3 = QStringLiteral("/streams/kestrel-mp3");
const QString kBannerPath = QStringLiteral("/banners/kestrel-radio.html");
// The program's icon in the notification area is found by its window class.
const QString kProgramClass = QStringLiteral("kestrel-radio");
// The tray menu's items from the keyboard, top to bottom: Exit, Customize
// Menu..., Show, Stop, Play, Play Previous Channel, Play Next Channel.
constexpr int kTrayExitItem = 0;
constexpr int kTrayShowItem = 2;
const QString kTalk = QStringLiteral("/streams/kestrel-talk");
const QString kTv = QStringLiteral("/streams/kestrel-tv");
const QString kDisplayTvChannels = QStringLiteral("Settings/DisplayTVChannels");
const QString kWindowLeft = QStringLiteral("Workspace/MainWindowLeft");
const QString kWindowRight = QStringLiteral("Workspace/MainWindowRight");
const QString kStationList = QStringLiteral("/stationlist.zip");
const QString kThirdRow = QStringLiteral("Kestrel Radio Demo");
const QString kFourthRow = QString::fromUtf8("ケストレル・ラジオ");
const QString kLastChannelIndex = QStringLiteral("Settings/LastChannelIndex");
const QString kLastCategory = QStringLiteral("Settings/LastCategory");
const QString kRadioPageSized = QStringLiteral("Settings/CKestrelRadioView");
const QString kApplicationLook = QStringLiteral("Workspace/ApplicationLook");
constexpr int kSettingsCategory = 1;
// Two system-wide keys, as the profile stores them and as xdotool types them.
const QString kPlayKeyName = QStringLiteral("Play");
constexpr int kPlayKey = 'P';
constexpr int kPlayModifiers = 0x03;  // Ctrl and Alt
constexpr char kPlayKeys[] = "ctrl+alt+p";
const QString kStopKeyName = QStringLiteral("Stop");
constexpr int kStopKey = 0x76;  // F7
constexpr char kStopKeys[] = "F7";
constexpr double kAudible = 0.01;

bool WaitFor(const std::function<bool()>& condition, int nTimeoutMs = kTimeoutMs)
{
    return QTest::qWaitFor(condition, nTimeoutMs);
}

bool SoundArrives()
{
    return WaitFor([] { return PlayerTestSupport::RecordPeakLevel(700) > kAudible; }, 8000);
}

// The colour that most of the area shows: the look's background.
QColor MainColour(const QString& strWindow, const QRect& area)
{
    const QImage image = QGuiApplication::primaryScreen()
                             ->grabWindow(strWindow.toULongLong(), area.x(), area.y(), area.width(), area.height())
                             .toImage();
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    }
    QRgb most = 0;
    int nMost = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > nMost) {
            most = it.key();
            nMost = it.value();
        }
    }
    return nMost == 0 ? QColor() : QColor(most);
}

class EndToEndTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_FALSE(qEnvironmentVariableIsEmpty("DISPLAY")); }

    // The program goes before its server and its bus.
    void TearDown() override
    {
        m_pProgram.reset();
        m_pServer.reset();
        m_pSession.reset();
    }

    void StartServer(QStringList extraArguments = {})
    {
        extraArguments << QStringLiteral("--title-interval") << QStringLiteral("2");
        m_pServer = std::make_unique<StationServer>(StationServerOptions{.extraArguments = extraArguments});
        ASSERT_TRUE(m_pServer->Start()) << qPrintable(m_pServer->Error());
    }

    // A session bus for the program that follows.
    void StartBus()
    {
        m_pSession = std::make_unique<DesktopSessionBus>();
        ASSERT_TRUE(m_pSession->Start());
    }

    // The main window, and where its ribbon's buttons are at its size now.
    void FindWindow()
    {
        m_strWindow = m_pProgram->MainWindow();
        ASSERT_FALSE(m_strWindow.isEmpty()) << qPrintable(m_pProgram->ErrorOutput());
        const QSize size = DesktopWindow::Size(m_strWindow);
        ASSERT_FALSE(size.isEmpty());
        const QString strConfig = m_pProgram->HomeFolder() + QStringLiteral("/config");
        ASSERT_TRUE(m_places.Locate(strConfig, size)) << qPrintable(m_places.Error());
    }

    void Click(const QRect& place)
    {
        ASSERT_FALSE(place.isEmpty());
        DesktopWindow::ClickAt(m_strWindow, place.center());
    }
    void ClickElement(unsigned nID) { Click(m_places.Element(nID)); }

    // The look's colour across the ribbon's tab row, the pointer away.
    QColor RibbonColour() const
    {
        DesktopWindow::MovePointerAway();
        const QRect button = m_places.ApplicationButton();
        const QSize size = DesktopWindow::Size(m_strWindow);
        return MainColour(m_strWindow, QRect(0, 0, size.width(), button.bottom()));
    }

    int Starts(const QString& strMount) const { return CountStreamStarts(*m_pServer, strMount); }
    int Ends(const QString& strMount) const { return CountStreamEnds(*m_pServer, strMount); }
    int Profile(const QString& strKey) const { return m_pProgram->ProfileInt(strKey, -1); }
    const MprisClient& Client() const { return m_pSession->Client(); }
    QString Status() const { return Client().PlayerProperty("PlaybackStatus").toString(); }
    QString Channel() const { return Client().MetadataText("xesam:album"); }

    std::unique_ptr<DesktopSessionBus> m_pSession;
    std::unique_ptr<StationServer> m_pServer;
    std::unique_ptr<RadioProgram> m_pProgram;
    QString m_strWindow;
    RibbonPlaces m_places;
};

TEST_F(EndToEndTest, AFreshProfileTheRibbonByMouseTheLookAndTheLastChannelAcrossRestarts)
{
    StartServer();
    StartBus();
    m_pProgram = std::make_unique<RadioProgram>(*m_pServer);

    // A fresh start: the list is fetched, the radio page opens with the
    // third row playing out loud, the window is sized for the page once.
    ASSERT_TRUE(m_pProgram->Start());
    ASSERT_TRUE(WaitFor([&] { return Starts(kDemoMp3) == 1; })) << qPrintable(m_pProgram->ErrorOutput());
    EXPECT_EQ(m_pServer->CountRequests(kStationList), 1);
    EXPECT_TRUE(SoundArrives());
    EXPECT_TRUE(WaitFor([&] { return Profile(kLastChannelIndex) == 2; }));
    EXPECT_TRUE(WaitFor([&] { return Profile(kRadioPageSized) == 1; })) << "the window was sized for the page";
    ASSERT_NO_FATAL_FAILURE(FindWindow());
    const QSize firstSize = DesktopWindow::Size(m_strWindow);
    // The desktop's media controls see the channel.
    EXPECT_TRUE(WaitFor([&] { return Status() == QLatin1String("Playing") && Channel() == kThirdRow; }))
        << qPrintable(Status()) << ' ' << qPrintable(Channel());

    // The ribbon's buttons, clicked where they are drawn.
    ClickElement(ID_PLAY_NEXT);
    EXPECT_TRUE(WaitFor([&] { return Starts(kDemoMp3) == 2; }));
    EXPECT_TRUE(WaitFor([&] { return Profile(kLastChannelIndex) == 3; }));
    EXPECT_TRUE(WaitFor([&] { return Channel() == kFourthRow; })) << qPrintable(Channel());
    ClickElement(ID_PLAY_PREVIOUS);
    EXPECT_TRUE(WaitFor([&] { return Starts(kDemoMp3) == 3; }));
    ClickElement(ID_PLAY_PREVIOUS);
    EXPECT_TRUE(WaitFor([&] { return Starts(kTalk) == 1; }));
    EXPECT_TRUE(WaitFor([&] { return Profile(kLastChannelIndex) == 1; }));
    EXPECT_TRUE(SoundArrives());
    ClickElement(ID_STOP);
    EXPECT_TRUE(WaitFor([&] { return Ends(kTalk) == 1; }));
    EXPECT_TRUE(WaitFor([&] { return Status() == QLatin1String("Stopped"); })) << qPrintable(Status());

    // The application button switches the look.
    const QColor firstColour = RibbonColour();
    const int nFirstLook = Profile(kApplicationLook);
    Click(m_places.ApplicationButton());
    EXPECT_TRUE(WaitFor([&] { return Profile(kApplicationLook) != nFirstLook; }));
    const int nLook = Profile(kApplicationLook);
    QColor lookColour;
    EXPECT_TRUE(WaitFor([&] {
        lookColour = RibbonColour();
        return lookColour.isValid() && lookColour != firstColour;
    })) << qPrintable(firstColour.name());

    // The listener makes the window larger; it is not sized again.
    const QSize largerSize = firstSize + QSize(120, 90);
    RunTool(QStringLiteral("xdotool"),
            {QStringLiteral("windowsize"), QStringLiteral("--sync"), m_strWindow, QString::number(largerSize.width()),
             QString::number(largerSize.height())});
    ASSERT_TRUE(WaitFor([&] { return DesktopWindow::Size(m_strWindow) == largerSize; }));
    ASSERT_TRUE(m_pProgram->Stop()) << qPrintable(m_pProgram->ErrorOutput());

    // A restart: the radio page with the last channel playing, in the look
    // and at the size the listener left.
    ASSERT_TRUE(m_pProgram->Start());
    ASSERT_TRUE(WaitFor([&] { return Starts(kTalk) == 2; })) << qPrintable(m_pProgram->ErrorOutput());
    EXPECT_TRUE(SoundArrives());
    ASSERT_NO_FATAL_FAILURE(FindWindow());
    EXPECT_EQ(DesktopWindow::Size(m_strWindow), largerSize);
    EXPECT_EQ(Profile(kApplicationLook), nLook);
    EXPECT_TRUE(WaitFor([&] { return RibbonColour() == lookColour; })) << qPrintable(RibbonColour().name());

    // The settings category, left open, is where the next start opens.
    Click(m_places.Tab(kSettingsCategory));
    EXPECT_TRUE(WaitFor([&] { return Ends(kTalk) == 2; })) << "the radio page's channel stops with the page";
    EXPECT_TRUE(WaitFor([&] { return !Client().PlayerProperty("CanControl").toBool(true); }));
    ASSERT_TRUE(m_pProgram->Stop()) << qPrintable(m_pProgram->ErrorOutput());
    EXPECT_EQ(Profile(kLastCategory), kSettingsCategory);

    ASSERT_TRUE(m_pProgram->Start());
    ASSERT_TRUE(WaitFor([&] { return Client().IsOnBus(); })) << qPrintable(m_pProgram->ErrorOutput());
    ASSERT_NO_FATAL_FAILURE(FindWindow());
    EXPECT_FALSE(Client().PlayerProperty("CanControl").toBool(true)) << "no channel list is open";
    EXPECT_EQ(Starts(kTalk), 2);
    Click(m_places.Tab(0));
    EXPECT_TRUE(WaitFor([&] { return Client().PlayerProperty("CanControl").toBool(); }));
}

TEST_F(EndToEndTest, AnOfflineStartShowsTheFailureAndRefreshRecoversOnceTheServerAnswers)
{
    // The station server's address answers nothing at first.
    StartServer();
    const int nOfflinePort = PlayerTestSupport::ClosedPort();
    m_pProgram = std::make_unique<RadioProgram>(*m_pServer);
    m_pProgram->SetEnvironment(QLatin1String(kRadioServerVariable),
                               QStringLiteral("http://127.0.0.1:%1").arg(nOfflinePort));
    ASSERT_TRUE(m_pProgram->Start());

    // The failure message: a box of the main window's once the download
    // has failed (the download's own dialog closes then), answered with
    // Enter. Enter is pressed until no box is left, as a box takes keys
    // only once it is active.
    QString strMain;
    const auto boxes = [&] {
        QStringList found;
        const QStringList windows = VisibleProgramWindows();
        for (const QString& strWindow : windows) {
            for (const QString& strOwner : windows) {
                if (DesktopWindow::IsTransientFor(strWindow, strOwner)) {
                    found.append(strWindow);
                    strMain = strOwner;
                }
            }
        }
        return found;
    };
    ASSERT_TRUE(WaitFor([&] {
        return m_pProgram->ErrorOutput().contains(QStringLiteral("stationlist.zip failed")) && !boxes().isEmpty();
    })) << qPrintable(m_pProgram->ErrorOutput());
    ASSERT_TRUE(WaitFor([&] {
        const QStringList open = boxes();
        if (open.isEmpty())
            return true;
        RunTool(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), QStringLiteral("--sync"), open.first()});
        RunTool(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Return")});
        return WaitFor([&] { return !VisibleProgramWindows().contains(open.first()); }, 2000) && boxes().isEmpty();
    }));
    ASSERT_NO_FATAL_FAILURE(FindWindow());
    EXPECT_EQ(m_strWindow, strMain);
    EXPECT_EQ(Starts(kDemoMp3), 0);

    // The server comes up at that address; Refresh fetches the list.
    m_pServer.reset();
    StartServer({QStringLiteral("--port"), QString::number(nOfflinePort)});
    ASSERT_EQ(m_pServer->Port(), nOfflinePort);
    ClickElement(ID_REFRESH_CHANNELS_LIST);
    ASSERT_TRUE(WaitFor([&] { return m_pServer->CountRequests(kStationList) == 1; }))
        << qPrintable(m_pProgram->ErrorOutput());
    // With the list in, the channel of a fresh profile plays.
    EXPECT_TRUE(WaitFor([&] { return Starts(kDemoMp3) == 1; })) << qPrintable(m_pServer->RequestLog().join('\n'));
    EXPECT_TRUE(SoundArrives());
    EXPECT_EQ(VisibleProgramWindows(), QStringList{m_strWindow}) << "no failure this time";
}

TEST_F(EndToEndTest, ASilentStartStaysHiddenItsHotKeysWorkFromAnotherWindowAndASecondStartShowsIt)
{
    StartServer();
    m_pProgram = std::make_unique<RadioProgram>(*m_pServer);
    const auto presetHotKey = [&](const QString& strName, int nKey, int nModifiers) {
        const QString strKey = QLatin1String(SettingNames::kSection) + QLatin1Char('/');
        m_pProgram->Preset(strKey + QString::fromLatin1(SettingNames::kHotKeyKeyFormat).arg(strName), nKey);
        m_pProgram->Preset(strKey + QString::fromLatin1(SettingNames::kHotKeyModFormat).arg(strName), nModifiers);
    };
    presetHotKey(kPlayKeyName, kPlayKey, kPlayModifiers);
    presetHotKey(kStopKeyName, kStopKey, 0);
    ASSERT_TRUE(m_pProgram->Start({QStringLiteral(":silent")}));
    ASSERT_TRUE(WaitFor([&] { return Starts(kDemoMp3) == 1; })) << qPrintable(m_pProgram->ErrorOutput());
    EXPECT_TRUE(SoundArrives());
    EXPECT_TRUE(VisibleProgramWindows().isEmpty());
    EXPECT_TRUE(m_pProgram->IsRunning());

    // Another program has the keyboard: the system-wide keys reach the
    // hidden program all the same.
    QWidget other;
    other.setWindowTitle(QStringLiteral("another program"));
    other.resize(200, 100);
    other.show();
    other.activateWindow();
    const QString strOther = QString::number(other.winId());
    ASSERT_TRUE(WaitFor([&] { return DesktopWindow::FocusedWindow() == strOther; }));
    RunTool(QStringLiteral("xdotool"), {QStringLiteral("key"), QLatin1String(kStopKeys)});
    EXPECT_TRUE(WaitFor([&] { return Ends(kDemoMp3) == 1; })) << "Stop on its key";
    RunTool(QStringLiteral("xdotool"), {QStringLiteral("key"), QLatin1String(kPlayKeys)});
    EXPECT_TRUE(WaitFor([&] { return Starts(kDemoMp3) == 2; })) << "Play on its key";
    EXPECT_TRUE(SoundArrives());
    EXPECT_EQ(DesktopWindow::FocusedWindow(), strOther);

    // A second start shows the first program and gives it the focus.

    QProcess second;
    second.setProcessEnvironment(m_pProgram->Environment());
    second.start(QStringLiteral(KESTREL_RADIO_PATH), {});
    ASSERT_TRUE(second.waitForFinished(kTimeoutMs));
    EXPECT_EQ(second.exitCode(), 0);
    const QString strWindow = m_pProgram->MainWindow();
    ASSERT_FALSE(strWindow.isEmpty()) << "the first program's window is shown";
    EXPECT_TRUE(WaitFor([&] { return DesktopWindow::FocusedWindow() == strWindow; }))
        << "and has the focus, not " << qPrintable(DesktopWindow::FocusedWindow());
    EXPECT_EQ(Starts(kDemoMp3), 2) << "the channel plays on undisturbed";
    EXPECT_TRUE(m_pProgram->IsRunning());
}

TEST_F(EndToEndTest, TheTrayKeepsItPlayingClosingHidesShowRestoresAndExitEndsItAndItsIcon)
{
    TrayHost tray;
    ASSERT_TRUE(tray.Start()) << "trayer did not start";
    StartServer();
    m_pProgram = std::make_unique<RadioProgram>(*m_pServer);
    ASSERT_TRUE(m_pProgram->Start());
    ASSERT_TRUE(WaitFor([&] { return Starts(kDemoMp3) == 1; })) << qPrintable(m_pProgram->ErrorOutput());
    ASSERT_TRUE(SoundArrives());
    const QString strIcon = tray.IconWindow(kProgramClass);
    ASSERT_FALSE(strIcon.isEmpty()) << "no icon in the notification area";
    const auto chooseFromTrayMenu = [&](int nItem) {
        ASSERT_TRUE(XTools::ClickForMenu(strIcon, 3, kProgramClass));
        QStringList keys;
        for (int i = 0; i <= nItem; ++i)
            keys << QStringLiteral("Down");
        XTools::Keys(keys << QStringLiteral("Return"));
    };

    // The window's close button hides it; the station plays on. (Once the
    // banner's page has come: the window's X window is made anew when the
    // web engine joins it.)
    ASSERT_TRUE(WaitFor([&] { return m_pServer->CountRequests(kBannerPath) >= 1; }));
    QTest::qWait(1000);
    const QString strWindow = m_pProgram->MainWindow();
    ASSERT_FALSE(strWindow.isEmpty());
    ASSERT_TRUE(XTools::SendDeleteWindow(strWindow));
    EXPECT_TRUE(WaitFor([&] { return !m_pProgram->HasVisibleWindow(); }, 5000)) << "the window still shows";
    EXPECT_TRUE(SoundArrives()) << "playback stopped with the window";
    EXPECT_EQ(Ends(kDemoMp3), 0);

    // "Show" brings it back; "Exit" ends the program, and its icon goes.
    chooseFromTrayMenu(kTrayShowItem);
    EXPECT_FALSE(m_pProgram->MainWindow(5000).isEmpty()) << "Show did not restore the window";
    chooseFromTrayMenu(kTrayExitItem);
    EXPECT_TRUE(m_pProgram->WaitForEnd(10000)) << "Exit did not end the program";
    EXPECT_TRUE(m_pProgram->EndedCleanly());
    EXPECT_TRUE(WaitFor([&] { return !tray.HasIcon(kProgramClass); }, 5000)) << "the icon outlived the program";
}

TEST_F(EndToEndTest, OnWaylandTheWindowMapsRadioAndTvPlayInItASecondStartHandsOverAndTheTrayHostSeesIt)
{
    WaylandCompositor compositor;
    ASSERT_TRUE(compositor.Start()) << qPrintable(compositor.Log());
    StartServer();
    StartBus();
    StatusNotifierWatcher tray(m_pSession->Address());
    ASSERT_TRUE(tray.Listen());
    m_pProgram = std::make_unique<RadioProgram>(*m_pServer);
    // A Wayland session as a desktop starts programs in it: the compositor's
    // socket, no X display, and no platform forced on Qt.
    m_pProgram->SetEnvironment(QStringLiteral("WAYLAND_DISPLAY"), compositor.SocketName());
    m_pProgram->UnsetEnvironment(QStringLiteral("DISPLAY"));
    m_pProgram->UnsetEnvironment(QStringLiteral("QT_QPA_PLATFORM"));
    // The third row plays the MP3 demo, the fourth is the TV channel.
    m_pProgram->Preset(kDisplayTvChannels, 1);
    ASSERT_TRUE(m_pProgram->Start());

    // The window maps, and the radio channel plays out loud.
    ASSERT_TRUE(WaitFor([&] { return Starts(kDemoMp3) == 1; })) << qPrintable(m_pProgram->ErrorOutput());
    EXPECT_TRUE(SoundArrives());
    QRect window;
    ASSERT_TRUE(WaitFor([&] {
        window = WaylandCompositor::DrawnArea(compositor.Screenshot());
        return window.width() > 300 && window.height() > 200;
    })) << qPrintable(m_pProgram->ErrorOutput());
    EXPECT_FALSE(PlayerTestSupport::ShowsColourBars(compositor.Screenshot().copy(window))) << "bars before TV";
    ASSERT_TRUE(WaitFor([&] { return !tray.RegisteredStatusNotifierItems().isEmpty(); }))
        << "the tray host on the session bus has no icon";

    // The TV channel's pictures show inside the window, and nowhere else.
    ASSERT_TRUE(WaitFor([&] { return Client().IsOnBus(); }));
    ASSERT_TRUE(Client().CallPlayer("Next"));
    ASSERT_TRUE(WaitFor([&] { return Starts(kTv) == 1; })) << qPrintable(m_pProgram->ErrorOutput());
    QImage screen;
    EXPECT_TRUE(WaitFor([&] {
        screen = compositor.Screenshot();
        return PlayerTestSupport::ShowsColourBars(screen.copy(window));
    })) << "no colour bars in the window";
    EXPECT_EQ(WaylandCompositor::DrawnArea(screen), window) << "something besides the window shows";
    EXPECT_TRUE(SoundArrives());

    // A second start hands over to the first and ends.
    QProcess second;
    second.setProcessEnvironment(m_pProgram->Environment());
    second.start(QStringLiteral(KESTREL_RADIO_PATH), {});
    ASSERT_TRUE(second.waitForFinished(kTimeoutMs));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(m_pProgram->IsRunning());
    EXPECT_EQ(Starts(kTv), 1) << "the channel plays on undisturbed";

    // The close button of the caption that the ribbon draws hides the
    // window; the channel plays on, and the tray host keeps the icon. (Once
    // the banner's page has come: the window is made anew when the web
    // engine joins it.)
    ASSERT_TRUE(WaitFor([&] { return m_pServer->CountRequests(kBannerPath) >= 1; }));
    const QStringList icons = tray.RegisteredStatusNotifierItems();
    window = WaylandCompositor::DrawnArea(compositor.Screenshot());
    ASSERT_TRUE(m_places.Locate(m_pProgram->HomeFolder() + QStringLiteral("/config"), window.size()))
        << qPrintable(m_places.Error());
    ASSERT_FALSE(m_places.CloseButton().isEmpty());
    compositor.Click(window.topLeft() + m_places.CloseButton().center());
    EXPECT_TRUE(WaitFor([&] {
        screen = compositor.Screenshot();
        return !screen.isNull() && WaylandCompositor::DrawnArea(screen).isEmpty();
    })) << "the window still shows";
    EXPECT_TRUE(m_pProgram->IsRunning());
    EXPECT_TRUE(SoundArrives()) << "playback stopped with the window";
    EXPECT_EQ(Ends(kTv), 0);
    EXPECT_EQ(tray.RegisteredStatusNotifierItems(), icons);

    // A Wayland client cannot know where its window is: no position is
    // stored, only the size.
    ASSERT_TRUE(m_pProgram->Stop()) << qPrintable(m_pProgram->ErrorOutput());
    EXPECT_EQ(Profile(kWindowLeft), -1);
    EXPECT_GT(Profile(kWindowRight), 0);
}

}
