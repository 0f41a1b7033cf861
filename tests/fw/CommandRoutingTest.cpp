#include "PageFixture.h"

#include "fw/WindowMessages.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QTest>

using namespace PageFixture;

namespace {

constexpr UINT kViewAndChild = 500;
constexpr UINT kChildOnly = 501;
constexpr UINT kMainAndApp = 502;
constexpr UINT kAppOnly = 503;
constexpr UINT kNobody = 504;
constexpr UINT kChecked = 505;
constexpr UINT kRadioOn = 506;
constexpr UINT kRadioOff = 507;
constexpr UINT kDisabled = 508;
constexpr UINT kCopy = 57634;

class RoutedView : public PageView
{
public:
    RoutedView()
    {
        MapCommand(kViewAndChild, &RoutedView::OnViewCommand);
        MapUpdateCommandUI(kChecked, &RoutedView::OnUpdateChecked);
        MapUpdateCommandUIRange(kRadioOn, kRadioOff, &RoutedView::OnUpdateRadio);
        MapUpdateCommandUI(kDisabled, &RoutedView::OnUpdateDisabled);
    }
    void OnViewCommand() { Events() << QStringLiteral("view"); }
    void OnUpdateChecked(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    void OnUpdateRadio(CCmdUI* pCmdUI) { pCmdUI->SetRadio(pCmdUI->m_nID == kRadioOn); }
    void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
};

class RoutedChildFrame : public PageFrame
{
public:
    RoutedChildFrame()
    {
        MapCommand(kViewAndChild, &RoutedChildFrame::OnChildCommand);
        MapCommand(kChildOnly, &RoutedChildFrame::OnChildCommand);
    }
    void OnChildCommand() { Events() << QStringLiteral("child frame"); }
};

class RoutedApp : public TestApp
{
public:
    RoutedApp()
    {
        MapCommand(kMainAndApp, &RoutedApp::OnAppCommand);
        MapCommand(kAppOnly, &RoutedApp::OnAppCommand);
    }
    void OnAppCommand() { Events() << QStringLiteral("application"); }
};

class RoutedMainFrame : public MainFrame
{
public:
    RoutedMainFrame() { MapCommand(kMainAndApp, &RoutedMainFrame::OnMainCommand); }
    void OnMainCommand() { Events() << QStringLiteral("main frame"); }
};

class CommandRoutingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Events().clear();
        AfxSetStringResourceLoader(&LoadTestString);
        m_app.m_pMainWnd = &m_frame;
        ASSERT_TRUE(m_frame.LoadFrame(kMainFrameId));
        m_app.AddDocTemplate(new CMultiDocTemplate(kPageId, RUNTIME_CLASS(PageDoc), RUNTIME_CLASS(RoutedChildFrame),
                                                   RUNTIME_CLASS(RoutedView)));
    }
    void TearDown() override
    {
        m_app.CloseAllDocuments(FALSE);
        m_app.m_pMainWnd = nullptr;
        AfxSetStringResourceLoader(nullptr);
    }

    QStringList Route(UINT nID)
    {
        Events().clear();
        m_frame.SendMessage(WM_COMMAND, nID);
        return Events();
    }

    CCmdUI State(UINT nID)
    {
        CCmdUI state(nID);
        state.DoUpdate(&m_frame);
        return state;
    }

    RoutedApp m_app;
    RoutedMainFrame m_frame;
};

TEST_F(CommandRoutingTest, CommandsTryTheActivePageThenTheFrameThenTheApplication)
{
    EXPECT_EQ(Route(kViewAndChild), QStringList());
    EXPECT_EQ(Route(kMainAndApp), QStringList{"main frame"});
    EXPECT_EQ(Route(kAppOnly), QStringList{"application"});

    ASSERT_NE(m_app.m_pDocManager->GetDocTemplate(0)->OpenDocumentFile(nullptr), nullptr);
    EXPECT_EQ(Route(kViewAndChild), QStringList{"view"});
    EXPECT_EQ(Route(kChildOnly), QStringList{"child frame"});
    EXPECT_EQ(Route(kMainAndApp), QStringList{"main frame"});
    EXPECT_EQ(Route(kAppOnly), QStringList{"application"});
    EXPECT_EQ(Route(kNobody), QStringList());
}

TEST_F(CommandRoutingTest, TheActivePageStaysOnTheRouteWhileTheProgramIsNotActive)
{
    // Offscreen, no window is ever the desktop's active one: the route must
    // not depend on it (hot keys and the tray reach the page that way).
    ASSERT_NE(m_app.m_pDocManager->GetDocTemplate(0)->OpenDocumentFile(nullptr), nullptr);
    ASSERT_NE(m_app.m_pDocManager->GetDocTemplate(0)->OpenDocumentFile(nullptr), nullptr);
    const QList<CMDIChildWndEx*> pages = m_frame.GetMDIChildren();
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(m_frame.MDIGetActive(), pages.at(1));
    m_frame.MDIActivate(pages.at(0));
    EXPECT_EQ(m_frame.MDIGetActive(), pages.at(0));
    EXPECT_EQ(m_frame.GetActiveChildFrame(), pages.at(0));
}

TEST_F(CommandRoutingTest, UpdateUiGivesEnabledCheckedAndRadioStates)
{
    ASSERT_NE(m_app.m_pDocManager->GetDocTemplate(0)->OpenDocumentFile(nullptr), nullptr);

    EXPECT_TRUE(State(kViewAndChild).IsEnabled());
    EXPECT_TRUE(State(kAppOnly).IsEnabled());
    EXPECT_FALSE(State(kNobody).IsEnabled());
    EXPECT_FALSE(State(kDisabled).IsEnabled());

    EXPECT_EQ(State(kChecked).GetCheck(), 1);
    EXPECT_FALSE(State(kChecked).IsRadio());
    EXPECT_TRUE(State(kRadioOn).IsRadio());
    EXPECT_EQ(State(kRadioOn).GetCheck(), 1);
    EXPECT_FALSE(State(kRadioOff).IsRadio());
    EXPECT_EQ(State(kRadioOff).GetCheck(), 0);

    // Without the page, its commands have no handler and are disabled.
    m_app.CloseAllDocuments(FALSE);
    EXPECT_FALSE(State(kViewAndChild).IsEnabled());
    EXPECT_FALSE(State(kChecked).IsEnabled());
    EXPECT_TRUE(State(kMainAndApp).IsEnabled());
}

TEST_F(CommandRoutingTest, AcceleratorsReachHandlersAndLeaveOtherKeysToTheControl)
{
    m_frame.LoadAccelTable({{QKeyCombination(Qt::ControlModifier, Qt::Key_N), kFileNew},
                            {QKeyCombination(Qt::ControlModifier, Qt::Key_C), kCopy},
                            {QKeyCombination(Qt::ControlModifier, Qt::Key_B), kAppOnly}});
    auto* pEdit = new QLineEdit(QStringLiteral("typed"), m_frame.GetMDIClient());
    m_frame.show();
    Events().clear();

    QTest::keyClick(pEdit, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(Events(), QStringList{"application"});

    // Ctrl+N opens a page beside the open one; nobody handles copy, so the
    // line edit keeps Ctrl+C and selecting keeps working as it always does.
    ASSERT_NE(m_app.m_pDocManager->GetDocTemplate(0)->OpenDocumentFile(nullptr), nullptr);
    QTest::keyClick(pEdit, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(m_frame.GetMDIChildren().size(), 2);
    Events().clear();
    pEdit->selectAll();
    QTest::keyClick(pEdit, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(pEdit, Qt::Key_End);
    QTest::keyClick(pEdit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(pEdit->text(), QStringLiteral("typedtyped"));
    EXPECT_TRUE(Events().isEmpty());
}

}
