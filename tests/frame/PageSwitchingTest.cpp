#include "MainFrameFixture.h"

#include "res/PrivateMessages.h"
#include "fw/CDocTemplate.h"
#include "fw/CDocument.h"
#include "fw/ribbon/CMFCRibbonCategory.h"
#include "hotkeys/CRadioSettingsView.h"
#include "radio/CKestrelRadioView.h"
#include "res/ProductInfo.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"
#include "web/CHardwareStoreView.h"
#include "web/CPromoView.h"

#include <QPointer>
#include <functional>

namespace {

using PageSwitchingTest = MainFrameFixture;

TEST_F(PageSwitchingTest, FreshProfileOpensTheRadioPageHiddenWithTheTitleAsCaption)
{
    Start();
    ASSERT_NE(Frame(), nullptr);
    EXPECT_FALSE(Frame()->isVisible());
    EXPECT_EQ(Frame()->GetStyle(), 0x00CC8000u);
    EXPECT_EQ(Frame()->GetWindowText(), ProductInfo::ApplicationTitle());
    EXPECT_NE(dynamic_cast<CKestrelRadioView*>(OpenView()), nullptr);
    EXPECT_EQ(StoredLastCategory(), 0);
    EXPECT_EQ(m_pApp->GetOpenDocumentCount(), 1);
}

TEST_F(PageSwitchingTest, TemplatesAreRegisteredInTheFixedOrder)
{
    Start();
    QList<UINT> resources;
    for (POSITION pos = m_pApp->GetFirstDocTemplatePosition(); pos != nullptr;)
        resources.append(m_pApp->GetNextDocTemplate(pos)->GetResourceID());
    EXPECT_EQ(resources, (QList<UINT>{130, 130, 131, 133}));

    const QList<std::function<bool(CWnd*)>> expectedViews = {
        [](CWnd* p) { return dynamic_cast<CKestrelRadioView*>(p) != nullptr; },
        [](CWnd* p) { return dynamic_cast<CRadioSettingsView*>(p) != nullptr; },
        [](CWnd* p) { return dynamic_cast<CPromoView*>(p) != nullptr; },
        [](CWnd* p) { return dynamic_cast<CHardwareStoreView*>(p) != nullptr; },
    };
    for (int nIndex = 3; nIndex >= 0; --nIndex) {
        ActivateCategory(nIndex);
        EXPECT_TRUE(expectedViews[nIndex](OpenView())) << "category " << nIndex;
        EXPECT_EQ(m_pApp->GetOpenDocumentCount(), 1);
        // Every document keeps an empty title, so the caption stays the title.
        ASSERT_NE(Frame()->GetActiveDocument(), nullptr);
        EXPECT_TRUE(Frame()->GetActiveDocument()->GetTitle().isEmpty());
        EXPECT_EQ(Frame()->GetWindowText(), ProductInfo::ApplicationTitle());
    }
}

TEST_F(PageSwitchingTest, SwitchingClosesTheOldPageBeforeTheNewOneIsCreatedAndStoresTheCategory)
{
    Start();
    QPointer<CWnd> pRadioView = OpenView();
    ASSERT_NE(dynamic_cast<CKestrelRadioView*>(pRadioView.data()), nullptr);

    POSITION pos = m_pApp->GetFirstDocTemplatePosition();
    m_pApp->GetNextDocTemplate(pos);
    CDocTemplate* pSettingsTemplate = m_pApp->GetNextDocTemplate(pos);
    bool bNewPageExistedWhenOldWentAway = true;
    QObject::connect(pRadioView.data(), &QObject::destroyed,
                     [&] { bNewPageExistedWhenOldWentAway = !pSettingsTemplate->GetDocuments().isEmpty(); });
    ActivateCategory(1);

    EXPECT_TRUE(pRadioView.isNull());
    EXPECT_FALSE(bNewPageExistedWhenOldWentAway);
    EXPECT_NE(dynamic_cast<CRadioSettingsView*>(OpenView()), nullptr);
    EXPECT_EQ(StoredLastCategory(), 1);
    EXPECT_EQ(m_pApp->m_cache.m_nLastCategory, 1);

    ActivateCategory(0);
    EXPECT_NE(dynamic_cast<CKestrelRadioView*>(OpenView()), nullptr);
    EXPECT_EQ(StoredLastCategory(), 0);
}

TEST_F(PageSwitchingTest, PageSwitchTakesThreeTurnsOfTheMessageLoop)
{
    Start();
    PostedMessageRecorder recorder;
    Frame()->installEventFilter(&recorder);
    CCustomMFCRibbonBar& ribbon = Frame()->GetRibbonBar();
    ribbon.SetActiveCategory(ribbon.GetCategory(2));
    // Nothing happens until the loop runs.
    EXPECT_NE(dynamic_cast<CKestrelRadioView*>(OpenView()), nullptr);
    Pump();
    ASSERT_GE(recorder.m_messages.size(), 2);
    EXPECT_EQ(recorder.m_messages[0].message, WM_CATEGORY_CHANGED);
    EXPECT_EQ(recorder.m_messages[1].message, WM_OPEN_PAGE);
    EXPECT_NE(dynamic_cast<CPromoView*>(OpenView()), nullptr);
}

TEST_F(PageSwitchingTest, NextStartOpensTheLastCategory)
{
    Start();
    ActivateCategory(3);
    EXPECT_EQ(StoredLastCategory(), 3);
    TearDown();

    Start();
    EXPECT_NE(dynamic_cast<CHardwareStoreView*>(OpenView()), nullptr);
    EXPECT_EQ(Frame()->GetRibbonBar().GetCategoryIndex(Frame()->GetRibbonBar().GetActiveCategory()), 3);
}

TEST_F(PageSwitchingTest, StoredCategoryOutsideTheRibbonOpensTheRadioPage)
{
    for (int nStored : {4, 17, -1, -5}) {
        SetUp();
        WriteSettingInt(SettingNames::kLastCategory, nStored);
        Start();
        EXPECT_NE(dynamic_cast<CKestrelRadioView*>(OpenView()), nullptr) << nStored;
        EXPECT_EQ(StoredLastCategory(), 0) << nStored;
        TearDown();
    }
}

TEST_F(PageSwitchingTest, ActivatingTheActiveCategoryReopensItsPage)
{
    Start();
    PostedMessageRecorder recorder;
    Frame()->installEventFilter(&recorder);
    QPointer<CWnd> pFirst = OpenView();
    ActivateCategory(0);
    ASSERT_EQ(recorder.Of(WM_CATEGORY_CHANGED).size(), 1);
    EXPECT_EQ(recorder.Of(WM_CATEGORY_CHANGED)[0].wParam, 0u);
    EXPECT_EQ(recorder.Of(WM_CATEGORY_CHANGED)[0].lParam, 0);
    EXPECT_TRUE(pFirst.isNull());
    EXPECT_NE(dynamic_cast<CKestrelRadioView*>(OpenView()), nullptr);
}

TEST_F(PageSwitchingTest, ForeignCategoryIsReportedAsMinusOne)
{
    Start();
    CCustomMFCRibbonBar otherRibbon;
    CMFCRibbonCategory* pForeign = otherRibbon.AddCategory(QStringLiteral("Elsewhere"), QPixmap(), QPixmap());
    PostedMessageRecorder recorder;
    Frame()->installEventFilter(&recorder);

    Frame()->GetRibbonBar().SetActiveCategory(pForeign);
    Pump();
    ASSERT_EQ(recorder.Of(WM_CATEGORY_CHANGED).size(), 1);
    EXPECT_EQ(static_cast<LPARAM>(recorder.Of(WM_CATEGORY_CHANGED)[0].wParam), -1);
    EXPECT_EQ(recorder.Of(WM_CATEGORY_CHANGED)[0].lParam, -1);
}

TEST_F(PageSwitchingTest, PageFramesHaveNoSystemMenuAndNoMinimiseBox)
{
    Start();
    CFrameWnd* pChild = OpenView()->GetParentFrame();
    ASSERT_NE(pChild, nullptr);
    EXPECT_EQ(pChild->GetStyle() & (WS_SYSMENU | WS_MINIMIZEBOX), 0u);
    EXPECT_NE(pChild->GetStyle() & WS_MAXIMIZEBOX, 0u);
}

TEST_F(PageSwitchingTest, PagesSizeTheMainWindowOnlyTheFirstTimeEver)
{
    Start();
    EXPECT_EQ(GetSettingInt(QStringLiteral("CKestrelRadioView"), 0), 1);
    EXPECT_EQ(GetSettingInt(QStringLiteral("CRadioSettingsView"), 0), 0);
    ActivateCategory(1);
    EXPECT_EQ(GetSettingInt(QStringLiteral("CRadioSettingsView"), 0), 1);
    ActivateCategory(2);
    EXPECT_EQ(GetSettingInt(QStringLiteral("CPromoView"), 0), 1);

    // Once done, a later opening leaves the size alone.
    Frame()->resize(700, 500);
    ActivateCategory(0);
    EXPECT_EQ(Frame()->size(), QSize(700, 500));
}

}
