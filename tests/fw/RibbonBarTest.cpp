#include "PageFixture.h"

#include "fw/CMFCVisualManager.h"
#include "fw/WindowMessages.h"
#include "fw/ribbon/CMFCRibbonApplicationButton.h"
#include "fw/ribbon/CMFCRibbonBar.h"
#include "fw/ribbon/CMFCRibbonButton.h"
#include "fw/ribbon/CMFCRibbonCategory.h"
#include "fw/ribbon/CMFCRibbonCheckBox.h"
#include "fw/ribbon/CMFCRibbonPanel.h"
#include "fw/ribbon/RibbonHeader.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

using namespace PageFixture;

namespace {

constexpr UINT kPlay = 319;
constexpr UINT kStop = 317;
constexpr UINT kShowRadio = 325;
constexpr UINT kHide = 324;
constexpr UINT kLookFirst = 215;
constexpr UINT kLookLast = 218;
constexpr UINT kLookHandledLast = 217;
constexpr UINT kAbout = 57664;
constexpr UINT kNoCommand = static_cast<UINT>(-1);

CString LoadRibbonString(UINT nID)
{
    if (nID == kPlay)
        return QStringLiteral("Press this button to play the <selected> channel\nPlay Radio");
    return LoadTestString(nID);
}

// The radio page's part of the route: play, stop and a check box.
class RadioView : public PageView
{
public:
    RadioView()
    {
        MapCommand(kPlay, &RadioView::OnPlay);
        MapCommand(kShowRadio, &RadioView::OnShowRadio);
        MapUpdateCommandUI(kShowRadio, &RadioView::OnUpdateShowRadio);
    }
    void OnPlay() { Events() << QStringLiteral("play"); }
    void OnShowRadio()
    {
        Events() << QStringLiteral("show radio");
        s_bShowRadio = !s_bShowRadio;
    }
    void OnUpdateShowRadio(CCmdUI* pCmdUI) { pCmdUI->SetCheck(s_bShowRadio ? 1 : 0); }
    static inline bool s_bShowRadio = true;
};

class LookFrame : public MainFrame
{
public:
    LookFrame()
    {
        MapCommandRange(kLookFirst, kLookHandledLast, &LookFrame::OnLook);
        MapUpdateCommandUIRange(kLookFirst, kLookHandledLast, &LookFrame::OnUpdateLook);
        MapCommand(kHide, &LookFrame::OnHide);
    }
    void OnLook(UINT nID)
    {
        Events() << QStringLiteral("look %1").arg(nID);
        m_nLook = nID;
    }
    void OnUpdateLook(CCmdUI* pCmdUI) { pCmdUI->SetRadio(pCmdUI->m_nID == m_nLook); }
    void OnHide() { Events() << QStringLiteral("hide"); }
    UINT m_nLook = 216;
};

// A ribbon that reports the calls the framework makes to it.
class RecordingRibbon : public CMFCRibbonBar
{
public:
    using CMFCRibbonBar::CMFCRibbonBar;

    BOOL SetActiveCategory(CMFCRibbonCategory* pCategory, BOOL bForceRestore = FALSE) override
    {
        Events()
            << QStringLiteral("activate %1%2").arg(GetCategoryIndex(pCategory)).arg(bForceRestore ? " restoring" : "");
        return m_bPassOn ? CMFCRibbonBar::SetActiveCategory(pCategory, bForceRestore) : FALSE;
    }
    BOOL OnShowRibbonContextMenu(CWnd* pWnd, int x, int y, CMFCRibbonBaseElement* pHit) override
    {
        m_contextPoint = QPoint(x, y);
        m_pContextHit = pHit;
        Events() << QStringLiteral("context menu");
        return m_bPassOn ? CMFCRibbonBar::OnShowRibbonContextMenu(pWnd, x, y, pHit) : TRUE;
    }

    bool m_bPassOn = true;
    QPoint m_contextPoint;
    CMFCRibbonBaseElement* m_pContextHit = nullptr;
};

class CountingApplicationButton : public CMFCRibbonApplicationButton
{
public:
    void OnLButtonDown(CPoint) override { Events() << QStringLiteral("application button down"); }
    void OnLButtonDblClk(CPoint) override { Events() << QStringLiteral("application button double-click"); }
};

QPixmap Strip(int nImages, int nSize)
{
    QPixmap strip(nImages * nSize, nSize);
    strip.fill(Qt::darkCyan);
    return strip;
}

class RibbonBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Events().clear();
        AfxSetStringResourceLoader(&LoadRibbonString);
        m_app.m_pMainWnd = &m_frame;
        ASSERT_TRUE(m_frame.LoadFrame(kMainFrameId, WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | FWS_ADDTOTITLE));
        m_pTemplate =
            new CMultiDocTemplate(kPageId, RUNTIME_CLASS(PageDoc), RUNTIME_CLASS(PageFrame), RUNTIME_CLASS(RadioView));
        m_app.AddDocTemplate(m_pTemplate);

        ASSERT_TRUE(m_ribbon.Create(&m_frame));
        m_ribbon.SetApplicationButton(&m_applicationButton, CSize(45, 45));
        m_pRadio = m_ribbon.AddCategory(QStringLiteral("Radio"), Strip(11, 16), Strip(3, 32));
        CMFCRibbonPanel* pControls = m_pRadio->AddPanel(QStringLiteral("Controls"));
        m_pPlay = new CMFCRibbonButton(kPlay, QStringLiteral("Play"), 1, 1);
        pControls->Add(m_pPlay);
        pControls->Add(new CMFCRibbonButton(kStop, QStringLiteral("Stop"), 0, 0));
        CMFCRibbonPanel* pManagement = m_pRadio->AddPanel(QStringLiteral("Management"));
        m_pHide = new CMFCRibbonButton(kHide, QStringLiteral("Hide to System Tray"));
        pManagement->Add(m_pHide);
        m_pShowRadio = new CMFCRibbonCheckBox(kShowRadio, QStringLiteral("Display Radio Channels"));
        pManagement->Add(m_pShowRadio);
        pManagement->Add(new CMFCRibbonCheckBox(kShowRadio + 1, QStringLiteral("Display TV Channels")));
        pManagement->Add(new CMFCRibbonButton(kStop + 100, QStringLiteral("Fourth")));
        m_pSettings = m_ribbon.AddCategory(QStringLiteral("Settings"), QPixmap(), QPixmap());

        m_pStyle = new CMFCRibbonButton(kNoCommand, QStringLiteral("Style"));
        QList<CMFCRibbonMenuItem> looks;
        for (UINT nID = kLookFirst; nID <= kLookLast; ++nID)
            looks.append({nID, QStringLiteral("Look &%1").arg(nID)});
        m_pStyle->SetMenu(looks, FALSE, TRUE);
        m_ribbon.AddToTabs(m_pStyle);
        m_ribbon.AddToTabs(new CMFCRibbonButton(kAbout, QStringLiteral("\na"), QIcon(Strip(1, 16))));

        m_frame.resize(900, 600);
        m_frame.show();
        QCoreApplication::processEvents();
    }
    void TearDown() override
    {
        for (QWidget* pPopup : QApplication::topLevelWidgets()) {
            if (qobject_cast<QMenu*>(pPopup) != nullptr)
                pPopup->close();
        }
        m_app.CloseAllDocuments(FALSE);
        m_app.m_pMainWnd = nullptr;
        AfxSetStringResourceLoader(nullptr);
    }

    RibbonHeader* Header() const { return m_ribbon.findChild<RibbonHeader*>(); }
    QToolButton* ButtonOf(CMFCRibbonBaseElement* pElement) const
    {
        return qobject_cast<QToolButton*>(pElement->GetWidget());
    }
    void OpenRadioPage() { ASSERT_NE(m_pTemplate->OpenDocumentFile(nullptr), nullptr); }

    TestApp m_app;
    LookFrame m_frame;
    RecordingRibbon m_ribbon;
    CountingApplicationButton m_applicationButton;
    CMultiDocTemplate* m_pTemplate = nullptr;
    CMFCRibbonCategory* m_pRadio = nullptr;
    CMFCRibbonCategory* m_pSettings = nullptr;
    CMFCRibbonButton* m_pPlay = nullptr;
    CMFCRibbonButton* m_pHide = nullptr;
    CMFCRibbonCheckBox* m_pShowRadio = nullptr;
    CMFCRibbonButton* m_pStyle = nullptr;
};

TEST_F(RibbonBarTest, ClickingATabGoesThroughTheVirtualSetActiveCategory)
{
    EXPECT_EQ(m_ribbon.GetActiveCategory(), m_pRadio);
    Events().clear();
    QTest::mouseClick(Header(), Qt::LeftButton, {}, Header()->TabRect(1).center());
    EXPECT_EQ(Events(), QStringList{"activate 1"});
    EXPECT_EQ(m_ribbon.GetActiveCategory(), m_pSettings);
    EXPECT_EQ(m_ribbon.findChild<QStackedWidget*>()->currentWidget(), m_pSettings->GetWidget());

    // A subclass that does not pass the call on keeps the category.
    m_ribbon.m_bPassOn = false;
    QTest::mouseClick(Header(), Qt::LeftButton, {}, Header()->TabRect(0).center());
    EXPECT_EQ(Events().last(), QStringLiteral("activate 0"));
    EXPECT_EQ(m_ribbon.GetActiveCategory(), m_pSettings);
}

TEST_F(RibbonBarTest, ACategoryOfAnotherRibbonIsNotFound)
{
    CMFCRibbonBar other;
    CMFCRibbonCategory* pForeign = other.AddCategory(QStringLiteral("Foreign"), QPixmap(), QPixmap());
    EXPECT_EQ(m_ribbon.GetCategoryIndex(pForeign), -1);
    EXPECT_EQ(m_ribbon.GetCategoryIndex(nullptr), -1);
    EXPECT_EQ(m_ribbon.GetCategoryIndex(m_pSettings), 1);
    EXPECT_FALSE(m_ribbon.SetActiveCategory(pForeign));
    EXPECT_EQ(m_ribbon.GetActiveCategory(), m_pRadio);
    EXPECT_EQ(m_ribbon.GetCategoryCount(), 2);
    EXPECT_EQ(m_ribbon.GetCategory(2), nullptr);
}

TEST_F(RibbonBarTest, AButtonPostsItsCommandToTheOwnerFrameWhenSomethingHandlesIt)
{
    m_ribbon.UpdateFromOwner();
    EXPECT_TRUE(m_pPlay->IsDisabled());
    EXPECT_FALSE(ButtonOf(m_pPlay)->isEnabled());
    EXPECT_FALSE(m_pHide->IsDisabled());

    OpenRadioPage();
    m_ribbon.UpdateFromOwner();
    ASSERT_FALSE(m_pPlay->IsDisabled());
    Events().clear();
    QTest::mouseClick(ButtonOf(m_pPlay), Qt::LeftButton);
    EXPECT_TRUE(Events().isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(Events(), QStringList{"play"});

    // Without the page its handler is gone; the click finds out at once.
    m_app.CloseAllDocuments(FALSE);
    Events().clear();
    m_pPlay->OnClick();
    QCoreApplication::processEvents();
    EXPECT_TRUE(Events().isEmpty());
    EXPECT_TRUE(m_pPlay->IsDisabled());
}

TEST_F(RibbonBarTest, CheckBoxesShowTheUpdateUiStateAndAClickOnlySendsTheCommand)
{
    auto* pCheckBox = qobject_cast<QCheckBox*>(m_pShowRadio->GetWidget());
    ASSERT_NE(pCheckBox, nullptr);
    m_ribbon.UpdateFromOwner();
    EXPECT_FALSE(pCheckBox->isEnabled());

    OpenRadioPage();
    RadioView::s_bShowRadio = true;
    m_ribbon.UpdateFromOwner();
    EXPECT_TRUE(pCheckBox->isEnabled());
    EXPECT_TRUE(pCheckBox->isChecked());

    Events().clear();
    QTest::mouseClick(pCheckBox, Qt::LeftButton);
    EXPECT_TRUE(pCheckBox->isChecked());
    QCoreApplication::processEvents();
    EXPECT_EQ(Events(), QStringList{"show radio"});
    EXPECT_FALSE(RadioView::s_bShowRadio);
    QCoreApplication::processEvents();
    EXPECT_FALSE(pCheckBox->isChecked());
    EXPECT_FALSE(m_pShowRadio->IsChecked());
}

TEST_F(RibbonBarTest, TheDropDownMenuMarksTheCurrentLookAndDisablesUnhandledItems)
{
    m_ribbon.UpdateFromOwner();
    EXPECT_FALSE(m_pStyle->IsDisabled());
    QToolButton* pButton = ButtonOf(m_pStyle);
    QTest::mouseClick(pButton, Qt::LeftButton);
    auto* pMenu = pButton->findChild<QMenu*>();
    ASSERT_NE(pMenu, nullptr);
    ASSERT_TRUE(pMenu->isVisible());
    EXPECT_EQ(pMenu->geometry().right(), pButton->mapToGlobal(QPoint(pButton->width(), 0)).x() - 1);

    const QList<QAction*> actions = pMenu->actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_EQ(actions.at(0)->text(), QStringLiteral("Look &215"));
    EXPECT_FALSE(actions.at(0)->isChecked());
    EXPECT_TRUE(actions.at(1)->isChecked());
    ASSERT_NE(actions.at(1)->actionGroup(), nullptr);
    EXPECT_TRUE(actions.at(1)->actionGroup()->isExclusive());
    EXPECT_TRUE(actions.at(2)->isEnabled());
    EXPECT_FALSE(actions.at(3)->isEnabled());

    Events().clear();
    actions.at(2)->trigger();
    EXPECT_TRUE(Events().isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(Events(), QStringList{"look 217"});
    pMenu->close();
    EXPECT_TRUE(ButtonOf(m_pStyle)->text().startsWith(QStringLiteral("Style")));
}

TEST_F(RibbonBarTest, ARightClickAsksTheRibbonWithTheElementUnderThePointer)
{
    QToolButton* pHide = ButtonOf(m_pHide);
    const QPoint local(3, 3);
    QContextMenuEvent onElement(QContextMenuEvent::Mouse, local, pHide->mapToGlobal(local));
    m_ribbon.m_bPassOn = false;
    QApplication::sendEvent(pHide, &onElement);
    EXPECT_EQ(Events().last(), QStringLiteral("context menu"));
    EXPECT_EQ(m_ribbon.m_pContextHit, m_pHide);
    EXPECT_EQ(m_ribbon.m_contextPoint, pHide->mapToGlobal(local));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    QContextMenuEvent onTabs(QContextMenuEvent::Mouse, QPoint(1, 1), Header()->mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(Header(), &onTabs);
    EXPECT_EQ(m_ribbon.m_pContextHit, nullptr);
}

TEST_F(RibbonBarTest, TheFrameworkContextMenuMinimisesTheRibbon)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(1, 1), Header()->mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(Header(), &event);
    auto* pMenu = m_ribbon.findChild<QMenu*>();
    ASSERT_NE(pMenu, nullptr);
    ASSERT_EQ(pMenu->actions().size(), 1);
    pMenu->actions().first()->trigger();
    EXPECT_TRUE(m_ribbon.IsMinimized());
    EXPECT_FALSE(m_ribbon.findChild<QStackedWidget*>()->isVisible());

    // A tab click brings the panels back.
    QTest::mouseClick(Header(), Qt::LeftButton, {}, Header()->TabRect(0).center());
    EXPECT_EQ(Events().last(), QStringLiteral("activate 0 restoring"));
    EXPECT_FALSE(m_ribbon.IsMinimized());
}

TEST_F(RibbonBarTest, TooltipsShowTheBoldTitleOverTheDescription)
{
    EXPECT_EQ(m_pPlay->GetToolTipText(), QStringLiteral("Play Radio"));
    EXPECT_EQ(m_pPlay->GetDescription(), QStringLiteral("Press this button to play the <selected> channel"));
    EXPECT_EQ(m_pPlay->GetToolTipHtml(),
              QStringLiteral("<b>Play Radio</b><p style=\"margin-top:4px\">Press this button to "
                             "play the &lt;selected&gt; channel</p>"));
    // Without a prompt: the label; an explicit tooltip or description wins.
    EXPECT_EQ(m_pHide->GetToolTipHtml(), QStringLiteral("<b>Hide to System Tray</b>"));
    m_pStyle->SetToolTipText(QStringLiteral("Modify"));
    m_pStyle->SetDescription(QStringLiteral("Choose"));
    EXPECT_EQ(m_pStyle->GetToolTipHtml(), QStringLiteral("<b>Modify</b><p style=\"margin-top:4px\">Choose</p>"));
    EXPECT_EQ(m_ribbon.FindByID(kAbout)->GetText(), QString());
    EXPECT_EQ(m_ribbon.FindByID(kAbout)->GetKeys(), QStringLiteral("a"));
}

TEST_F(RibbonBarTest, TheApplicationButtonReportsPressesAndDoubleClicks)
{
    QWidget* pButton = m_applicationButton.GetWidget();
    ASSERT_NE(pButton, nullptr);
    EXPECT_EQ(pButton->size(), QSize(45, 45));
    Events().clear();
    QTest::mousePress(pButton, Qt::LeftButton);
    QTest::mouseRelease(pButton, Qt::LeftButton);
    EXPECT_EQ(Events(), QStringList{"application button down"});
    Events().clear();
    QTest::mouseDClick(pButton, Qt::LeftButton);
    EXPECT_EQ(Events().count(QStringLiteral("application button double-click")), 1);
}

TEST_F(RibbonBarTest, LargeButtonsTakeAColumnAndSmallOnesStackThreeToAColumn)
{
    QToolButton* pPlay = ButtonOf(m_pPlay);
    EXPECT_EQ(pPlay->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    EXPECT_EQ(pPlay->iconSize(), QSize(32, 32));
    QToolButton* pHide = ButtonOf(m_pHide);
    EXPECT_EQ(pHide->toolButtonStyle(), Qt::ToolButtonTextOnly);

    QWidget* pSecond = m_pShowRadio->GetWidget();
    QWidget* pFourth = m_pRadio->GetPanel(1)->GetElement(3)->GetWidget();
    EXPECT_EQ(pHide->x(), pSecond->x());
    EXPECT_LT(pHide->y(), pSecond->y());
    EXPECT_GT(pFourth->x(), pSecond->x());
    EXPECT_EQ(pFourth->y(), pHide->y());
}

TEST_F(RibbonBarTest, TheRibbonDrawsTheCaptionOfItsFrame)
{
    EXPECT_TRUE(m_frame.IsCaptionReplaced());
    EXPECT_TRUE(m_frame.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_GT(m_ribbon.GetCaptionHeight(), 0);

    MainFrame plain;
    ASSERT_TRUE(plain.LoadFrame(kMainFrameId));
    CMFCRibbonBar ribbon(FALSE);
    ribbon.Create(&plain);
    EXPECT_FALSE(plain.IsCaptionReplaced());
    EXPECT_FALSE(plain.windowFlags().testFlag(Qt::FramelessWindowHint));
}

TEST_F(RibbonBarTest, ANewLookRedrawsTheRibbonInItsColours)
{
    CMFCVisualLook look = CMFCVisualManager::LookFromPalette(QApplication::palette());
    look.ribbon.text = QColor(0x12, 0x34, 0x56);
    look.palette.setColor(QPalette::Window, QColor(0x65, 0x43, 0x21));
    CMFCVisualManager::GetInstance()->SetLook(look);
    EXPECT_TRUE(m_ribbon.styleSheet().contains(QStringLiteral("rgba(18,52,86,255)")));
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor(0x65, 0x43, 0x21));
    EXPECT_EQ(CMFCVisualManager::GetInstance()->GetLook().ribbon.text, QColor(0x12, 0x34, 0x56));
}

}
