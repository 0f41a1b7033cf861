#include "MainFrameFixture.h"

#include "frame/RibbonLayout.h"
#include "fw/ribbon/CMFCRibbonApplicationButton.h"
#include "fw/ribbon/CMFCRibbonButton.h"
#include "fw/ribbon/CMFCRibbonCategory.h"
#include "fw/ribbon/CMFCRibbonCheckBox.h"
#include "fw/ribbon/CMFCRibbonPanel.h"

namespace {

using RibbonTest = MainFrameFixture;

struct Expected {
    int nCategory;
    const char* panel;
    const char* label;
    bool bCheckBox;
    UINT nID;
    int nSmall;
    int nLarge;
};

TEST_F(RibbonTest, CategoriesPanelsAndElementsFollowTheLayout)
{
    Start();
    CCustomMFCRibbonBar& ribbon = Frame()->GetRibbonBar();
    ASSERT_EQ(ribbon.GetCategoryCount(), 4);
    EXPECT_EQ(ribbon.GetCategory(0)->GetName(), QStringLiteral("Online Radio Player"));
    EXPECT_EQ(ribbon.GetCategory(1)->GetName(), QStringLiteral("Settings"));
    EXPECT_EQ(ribbon.GetCategory(2)->GetName(), QStringLiteral("More Softwares"));
    EXPECT_EQ(ribbon.GetCategory(3)->GetName(), QStringLiteral("Send Us Your Song"));
    // The design's three panels, then the program's own "Live".
    EXPECT_EQ(ribbon.GetCategory(0)->GetPanelCount(), 4);
    EXPECT_EQ(ribbon.GetCategory(1)->GetPanelCount(), 1);

    const Expected expected[] = {
        {0, "Radio Controls", "Play", false, 319, 1, 1},
        {0, "Radio Controls", "Play Next", false, 320, 1, 1},
        {0, "Radio Controls", "Play Previous", false, 321, 1, 1},
        {0, "Radio Controls", "Stop", false, 317, 0, 0},
        {0, "Channel Management", "Refresh Channels List", false, 310, -1, 2},
        {0, "Application Management", "Hide to System Tray", false, 324, -1, -1},
        {0, "Application Management", "Display Radio Channels", true, 325, -1, -1},
        {0, "Application Management", "Display TV Channels", true, 326, -1, -1},
        {0, "Live", "Pause/Resume", false, 340, -1, -1},
        {0, "Live", "Back 30 s", false, 341, -1, -1},
        {0, "Live", "Forward 30 s", false, 342, -1, -1},
        {0, "Live", "Save Song", false, 345, -1, -1},
        {0, "Live", "Record Songs", true, 346, -1, -1},
        {0, "Live", "Recently Played", true, 344, -1, -1},
        {0, "Live", "Live", false, 343, -1, -1},
        {1, "Radio Control", "Auto Startup with Windows", true, 322, -1, -1},
        {1, "Radio Control", "Play Last Channel Automatically", true, 323, -1, -1},
        {2, "Navigation", "Open In New Window", false, 311, -1, -1},
        {2, "Navigation", "Refresh", false, 312, -1, -1},
        {3, "Navigation", "Open In New Window", false, 315, -1, -1},
        {3, "Navigation", "Refresh", false, 316, -1, -1},
    };
    int nFound = 0;
    for (int nCategory = 0; nCategory < 4; ++nCategory) {
        const QList<CMFCRibbonBaseElement*> elements = ribbon.GetCategory(nCategory)->GetElements();
        for (CMFCRibbonBaseElement* pElement : elements) {
            ASSERT_LT(nFound, 21);
            const Expected& e = expected[nFound++];
            SCOPED_TRACE(e.label);
            EXPECT_EQ(nCategory, e.nCategory);
            EXPECT_EQ(pElement->GetParentPanel()->GetName(), QLatin1String(e.panel));
            EXPECT_EQ(pElement->GetText(), QLatin1String(e.label));
            EXPECT_EQ(pElement->GetID(), e.nID);
            if (e.bCheckBox) {
                EXPECT_NE(dynamic_cast<CMFCRibbonCheckBox*>(pElement), nullptr);
            } else {
                auto* pButton = dynamic_cast<CMFCRibbonButton*>(pElement);
                ASSERT_NE(pButton, nullptr);
                EXPECT_EQ(pButton->GetImageIndex(FALSE), e.nSmall);
                EXPECT_EQ(pButton->GetImageIndex(TRUE), e.nLarge);
            }
        }
    }
    EXPECT_EQ(nFound, 21);

    // The strips the categories draw from have the geometry the indexes need.
    EXPECT_EQ(ribbon.GetCategory(0)->GetSmallImages().GetCount(), 11);
    EXPECT_EQ(ribbon.GetCategory(0)->GetLargeImages().GetCount(), 3);
    EXPECT_EQ(ribbon.GetCategory(0)->GetLargeImages().GetImageSize(), QSize(32, 32));
}

TEST_F(RibbonTest, TooltipsComeFromTheCommandPrompts)
{
    Start();
    CCustomMFCRibbonBar& ribbon = Frame()->GetRibbonBar();
    CMFCRibbonBaseElement* pPlayNext = ribbon.FindByID(320);
    ASSERT_NE(pPlayNext, nullptr);
    EXPECT_EQ(pPlayNext->GetToolTipText(), QStringLiteral("Play Next Radio Channel"));
    EXPECT_EQ(pPlayNext->GetDescription(),
              QStringLiteral("Press this button to play Next Radio Station from the list or press F9 to Play Next "
                             "Channel when this Window is Active."));
    CMFCRibbonBaseElement* pAutoPlay = ribbon.FindByID(323);
    ASSERT_NE(pAutoPlay, nullptr);
    EXPECT_EQ(pAutoPlay->GetToolTipText(), QStringLiteral("Auto Play"));
    // Elements without a prompt show only their label.
    EXPECT_EQ(ribbon.FindByID(311)->GetDescription(), QString());
}

TEST_F(RibbonTest, ApplicationButtonStyleAndAboutButtons)
{
    Start();
    CCustomMFCRibbonBar& ribbon = Frame()->GetRibbonBar();
    CMFCRibbonApplicationButton* pMain = ribbon.GetApplicationButton();
    ASSERT_NE(pMain, nullptr);
    EXPECT_EQ(pMain->GetToolTipText(), QStringLiteral("Click Here to Change Application Skin"));
    EXPECT_EQ(pMain->GetKeys(), QStringLiteral("f"));
    EXPECT_EQ(pMain->GetImage().size(), QSize(26, 26));

    ASSERT_EQ(ribbon.GetTabElements().size(), 2);
    auto* pStyle = dynamic_cast<CMFCRibbonButton*>(ribbon.GetTabElements()[0]);
    ASSERT_NE(pStyle, nullptr);
    EXPECT_EQ(pStyle->GetID(), static_cast<UINT>(-1));
    EXPECT_EQ(pStyle->GetText(), QStringLiteral("Style"));
    EXPECT_EQ(pStyle->GetToolTipText(), QStringLiteral("Modify Visual Style"));
    EXPECT_EQ(pStyle->GetDescription(), QStringLiteral("Choose one of the Office 2007 themes"));
    EXPECT_FALSE(pStyle->IsDefaultCommand());
    EXPECT_TRUE(pStyle->IsMenuRightAlign());
    QList<UINT> menuIds;
    QStringList menuLabels;
    for (const CMFCRibbonMenuItem& item : pStyle->GetMenuItems()) {
        menuIds.append(item.nID);
        menuLabels.append(item.strText);
    }
    EXPECT_EQ(menuIds, (QList<UINT>{215, 216, 217, 218}));
    EXPECT_EQ(menuLabels.first(), QStringLiteral("Office 2007 (&Blue Style)"));

    auto* pAbout = dynamic_cast<CMFCRibbonButton*>(ribbon.GetTabElements()[1]);
    ASSERT_NE(pAbout, nullptr);
    EXPECT_EQ(pAbout->GetID(), 57664u);
    EXPECT_EQ(pAbout->GetText(), QString());
    EXPECT_EQ(pAbout->GetKeys(), QStringLiteral("a"));
    EXPECT_EQ(pAbout->GetToolTipText(), QStringLiteral("About"));
    EXPECT_FALSE(pAbout->GetIcon(FALSE).isNull());

    EXPECT_FALSE(ribbon.IsPrintPreviewEnabled());
}

TEST_F(RibbonTest, RightClickShowsNoMenu)
{
    Start();
    EXPECT_TRUE(Frame()->GetRibbonBar().OnShowRibbonContextMenu(Frame(), 10, 10, nullptr));
    EXPECT_FALSE(Frame()->GetRibbonBar().IsMinimized());
}

}
