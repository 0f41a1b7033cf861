// The whole program in the test process beside a real XEmbed notification
// area (trayer): its icon, the mouse on it, the tray menu and its
// customisation, hiding, and the two check boxes of the Settings category.
#include "MainFrameFixture.h"
#include "TestEnvironment.h"
#include "TrayHost.h"
#include "fw/CCmdUI.h"
#include "fw/CContextMenuManager.h"
#include "fw/CMFCToolBarsCustomizeDialog.h"
#include "platform/autostart/XdgAutostartFolder.h"
#include "res/PrivateMessages.h"
#include "res/ProductInfo.h"
#include "res/Resource.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QTextDocument>
#include <QDir>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace {

const QStringList kTrayMenuTexts{QStringLiteral("Exit"),
                                 QString(),
                                 QStringLiteral("Customize Menu..."),
                                 QStringLiteral("Show"),
                                 QString(),
                                 QStringLiteral("Stop"),
                                 QStringLiteral("Play"),
                                 QStringLiteral("Play Previous Channel"),
                                 QStringLiteral("Play Next Channel")};

QStringList Texts(const QMenu& menu)
{
    QStringList texts;
    for (const QAction* pAction : menu.actions())
        texts.append(pAction->isSeparator() ? QString() : pAction->text());
    return texts;
}

QAction* ActionOf(const QMenu& menu, const QString& strText)
{
    for (QAction* pAction : menu.actions()) {
        if (pAction->text() == strText)
            return pAction;
    }
    return nullptr;
}

class TrayFrameTest : public MainFrameFixture
{
protected:
    static void SetUpTestSuite()
    {
        MainFrameFixture::SetUpTestSuite();
        s_pTray = new TrayHost;
    }
    static void TearDownTestSuite()
    {
        delete s_pTray;
        s_pTray = nullptr;
    }

    void SetUp() override
    {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("DISPLAY"));
        MainFrameFixture::SetUp();
        if (!s_pTray->IsRunning()) {
            ASSERT_TRUE(s_pTray->Start());
        }
        QDir(AutostartFolder()).removeRecursively();
    }
    void TearDown() override
    {
        if (QMenu* pMenu = Manager()->GetShownMenu())
            pMenu->close();
        MainFrameFixture::TearDown();
        QFile::setPermissions(AutostartFolder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    CContextMenuManager* Manager() const { return m_pApp->GetContextMenuManager(); }
    QString IconWindow() const { return s_pTray->IconWindow(QCoreApplication::applicationName()); }
    static QString AutostartFolder() { return CXdgAutostartFolder::DefaultFolder(); }
    QString EntryFile() const
    {
        return CXdgAutostartFolder(AutostartFolder()).EntryPath(ProductInfo::ApplicationTitle());
    }

    QMenu* OpenTrayMenu()
    {
        Frame()->SendMessage(WM_TRAY_NOTIFY, 90, WM_RBUTTONUP);
        QMenu* pMenu = Manager()->GetShownMenu();
        EXPECT_TRUE(QTest::qWaitFor([pMenu] { return pMenu->isVisible(); }, 3000));
        return pMenu;
    }
    CCmdUI State(UINT nID) const
    {
        CCmdUI state(nID);
        state.DoUpdate(Frame());
        return state;
    }
    void Command(UINT nID)
    {
        Frame()->SendMessage(WM_COMMAND, nID);
        Pump();
    }

    static TrayHost* s_pTray;
};

TrayHost* TrayFrameTest::s_pTray = nullptr;

TEST_F(TrayFrameTest, ARightClickOnTheIconOpensTheTrayMenuWithShowBoldWhileTheWindowStaysHidden)
{
    Start();
    const QString strIcon = IconWindow();
    ASSERT_FALSE(strIcon.isEmpty()) << "the icon is not in the notification area";
    EXPECT_EQ(Frame()->GetTrayIcon().GetTip(), ProductInfo::ApplicationTitle());

    Frame()->SetStatusText(QStringLiteral("Playing <b>Jazz</b>"));
    // The pointer resting on the icon shows the tip, tags and all: a
    // station's title is never read as markup.
    QLabel* pTip = nullptr;
    for (int nTry = 0; nTry < 4 && pTip == nullptr; ++nTry) {
        XTools::MoveOnto(strIcon);
        static_cast<void>(QTest::qWaitFor(
            [&] {
                for (QWidget* pWidget : QApplication::topLevelWidgets()) {
                    if (pWidget->inherits("QTipLabel") && pWidget->isVisible())
                        pTip = qobject_cast<QLabel*>(pWidget);
                }
                return pTip != nullptr;
            },
            2000));
    }
    ASSERT_NE(pTip, nullptr) << "no tooltip on the icon";
    QTextDocument rendered;
    rendered.setHtml(pTip->text());
    const QString strShown = Qt::mightBeRichText(pTip->text()) ? rendered.toPlainText() : pTip->text();
    EXPECT_TRUE(strShown.startsWith(ProductInfo::ApplicationTitle() + "\nPlaying <b>Jazz</b>")) << qPrintable(strShown);

    XTools::Click(strIcon, 3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Manager()->GetShownMenu() != nullptr; }, 5000));
    QMenu* pMenu = Manager()->GetShownMenu();
    ASSERT_TRUE(QTest::qWaitFor([pMenu] { return pMenu->isVisible(); }, 3000));
    EXPECT_EQ(Texts(*pMenu), kTrayMenuTexts);
    ASSERT_NE(pMenu->defaultAction(), nullptr);
    EXPECT_EQ(pMenu->defaultAction()->text(), QStringLiteral("Show"));
    // Right-aligned at the cursor: the menu ends where the pointer is.
    EXPECT_NEAR(pMenu->geometry().right(), QCursor::pos().x(), 2);
    EXPECT_FALSE(Frame()->isVisible());

    QTest::keyClick(pMenu, Qt::Key_Escape);
    XTools::Click(strIcon, 1);
    QTest::qWait(800);
    EXPECT_FALSE(Frame()->isVisible()) << "a single click showed the window";
    XTools::Click(strIcon, 1, 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Frame()->isVisible(); }, 5000)) << "a double-click did not restore";

    // The close button and command 324 hide the window; the frame lives on.
    Frame()->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_FALSE(Frame()->isVisible());
    ASSERT_NE(Frame(), nullptr);
    EXPECT_FALSE(Frame()->IsDestroyed());
    Command(ID_TRAY_SHOW);
    EXPECT_TRUE(Frame()->isVisible());
    Command(ID_HIDE_TO_TRAY);
    EXPECT_FALSE(Frame()->isVisible());
}

TEST_F(TrayFrameTest, ThePlaybackItemsWorkOnlyWhileTheRadioPageIsOpen)
{
    Start();
    ActivateCategory(1);
    QMenu* pMenu = OpenTrayMenu();
    for (const char* text : {"Stop", "Play", "Play Previous Channel", "Play Next Channel"})
        EXPECT_FALSE(ActionOf(*pMenu, QString::fromLatin1(text))->isEnabled()) << text;
    for (const char* text : {"Exit", "Customize Menu...", "Show"})
        EXPECT_TRUE(ActionOf(*pMenu, QString::fromLatin1(text))->isEnabled()) << text;
    EXPECT_FALSE(State(ID_TRAY_PLAY).IsHandled());
    pMenu->close();

    ActivateCategory(0);
    pMenu = OpenTrayMenu();
    for (const char* text : {"Stop", "Play", "Play Previous Channel", "Play Next Channel"})
        EXPECT_TRUE(ActionOf(*pMenu, QString::fromLatin1(text))->isEnabled()) << text;
}

TEST_F(TrayFrameTest, TheTipFollowsTheStatusAsPlainTextAndIsCutAt127Characters)
{
    Start();
    Frame()->SetStatusText(QStringLiteral("Playing <b>Jazz</b>"));
    EXPECT_EQ(Frame()->GetTrayIcon().GetTip(), ProductInfo::ApplicationTitle() + "\nPlaying <b>Jazz</b>");

    Frame()->SetStatusText(QString(200, QLatin1Char('y')));
    EXPECT_EQ(Frame()->GetTrayIcon().GetTip().size(), 127);
    Frame()->SetStatusText(QString());
    EXPECT_EQ(Frame()->GetTrayIcon().GetTip(), ProductInfo::ApplicationTitle());
}

TEST_F(TrayFrameTest, WithoutANotificationAreaClosingMinimisesInsteadOfHiding)
{
    Start({});
    ASSERT_TRUE(Frame()->isVisible());
    s_pTray->Stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Frame()->GetTrayIcon().IsHostAvailable(); }, 5000));
    Frame()->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_TRUE(Frame()->isMinimized());
    EXPECT_FALSE(Frame()->isHidden()) << "a hidden window could not come back";
}

TEST_F(TrayFrameTest, TheCustomisedMenuKeepsItsLayoutAcrossStarts)
{
    Start();
    Command(ID_TRAY_CUSTOMIZE_MENU);
    QPointer<CMFCToolBarsCustomizeDialog> pDialog;
    for (QWidget* pWidget : QApplication::topLevelWidgets()) {
        if (auto* pFound = qobject_cast<CMFCToolBarsCustomizeDialog*>(pWidget);
            pFound != nullptr && pFound->isVisible())
            pDialog = pFound;
    }
    ASSERT_NE(pDialog, nullptr);
    EXPECT_FALSE(pDialog->isModal());
    EXPECT_EQ(pDialog->GetMenuList()->currentText(), QStringLiteral("System Tray Menu"));
    QListWidget* pItems = pDialog->GetItemList();
    ASSERT_EQ(pItems->count(), kTrayMenuTexts.size());
    // "Stop" hidden; "Show" moved to the top; "Customize Menu..." stays.
    pItems->item(5)->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(pItems->item(2)->flags().testFlag(Qt::ItemIsUserCheckable));
    pItems->setCurrentRow(3);
    auto* pMoveUp = pDialog->findChildren<QPushButton*>().at(0);
    for (int i = 0; i < 3; ++i)
        pMoveUp->click();

    QMenu* pMenu = OpenTrayMenu();
    const QStringList expected{QStringLiteral("Show"),
                               QStringLiteral("Exit"),
                               QString(),
                               QStringLiteral("Customize Menu..."),
                               QString(),
                               QStringLiteral("Play"),
                               QStringLiteral("Play Previous Channel"),
                               QStringLiteral("Play Next Channel")};
    EXPECT_EQ(Texts(*pMenu), expected);
    pMenu->close();
    pDialog->close();
    Pump();
    EXPECT_EQ(pDialog, nullptr) << "the dialog outlived its closing";

    m_pApp->EndApplication();
    Pump();
    m_pApp.reset();
    Start();
    EXPECT_EQ(Texts(*OpenTrayMenu()), expected);
}

TEST_F(TrayFrameTest, AutoPlayIsOnUntilTheFirstClickStoresZero)
{
    Start();
    EXPECT_EQ(State(ID_AUTO_PLAY).GetCheck(), 1);
    Command(ID_AUTO_PLAY);
    EXPECT_EQ(GetSettingInt(SettingNames::kAutoPlay, -1), 0);
    EXPECT_EQ(State(ID_AUTO_PLAY).GetCheck(), 0);
    Command(ID_AUTO_PLAY);
    EXPECT_EQ(GetSettingInt(SettingNames::kAutoPlay, -1), 1);
    EXPECT_EQ(State(ID_AUTO_PLAY).GetCheck(), 1);
    // Any value but 0 is switched to 0.
    WriteSettingInt(SettingNames::kAutoPlay, 2);
    Command(ID_AUTO_PLAY);
    EXPECT_EQ(GetSettingInt(SettingNames::kAutoPlay, -1), 0);
}

TEST_F(TrayFrameTest, TheStartAtLogInCheckBoxWritesReadsAndRemovesTheEntry)
{
    Start();
    CCmdUI state = State(ID_AUTO_STARTUP);
    EXPECT_TRUE(state.IsEnabled());
    EXPECT_EQ(state.GetCheck(), 0);

    Command(ID_AUTO_STARTUP);
    ASSERT_TRUE(QFile::exists(EntryFile()));
    CXdgAutostartFolder folder(AutostartFolder());
    QString strExec;
    ASSERT_TRUE(folder.ReadEntry(ProductInfo::ApplicationTitle(), strExec));
    EXPECT_EQ(folder.SplitCommandText(strExec),
              (QStringList{QCoreApplication::applicationFilePath(), QStringLiteral(":silent")}));
    EXPECT_EQ(State(ID_AUTO_STARTUP).GetCheck(), 1);

    Command(ID_AUTO_STARTUP);
    EXPECT_FALSE(QFile::exists(EntryFile()));
    EXPECT_EQ(State(ID_AUTO_STARTUP).GetCheck(), 0);

    // A stale entry of an old installation reads as off; the next click
    // writes the program's own entry over it.
    ASSERT_TRUE(folder.WriteEntry(ProductInfo::ApplicationTitle(), QStringLiteral("/gone/kestrel-radio :silent")));
    m_pApp->EndApplication();
    Pump();
    m_pApp.reset();
    Start();
    EXPECT_EQ(State(ID_AUTO_STARTUP).GetCheck(), 0);
    Command(ID_AUTO_STARTUP);
    EXPECT_EQ(State(ID_AUTO_STARTUP).GetCheck(), 1);
    ASSERT_TRUE(folder.ReadEntry(ProductInfo::ApplicationTitle(), strExec));
    EXPECT_TRUE(strExec.contains(QCoreApplication::applicationFilePath()));
}

TEST_F(TrayFrameTest, AReadOnlyAutostartFolderDisablesTheCheckBox)
{
    QDir().mkpath(AutostartFolder());
    ASSERT_TRUE(QFile::setPermissions(AutostartFolder(), QFile::ReadOwner | QFile::ExeOwner));
    Start();
    const CCmdUI state = State(ID_AUTO_STARTUP);
    EXPECT_FALSE(state.IsEnabled());
    EXPECT_EQ(state.GetCheck(), 0);
    Command(ID_AUTO_STARTUP);
    EXPECT_FALSE(QFile::exists(EntryFile()));
}

}
