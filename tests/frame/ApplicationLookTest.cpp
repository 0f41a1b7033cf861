#include "MainFrameFixture.h"

#include "res/PrivateMessages.h"
#include "frame/ApplicationLooks.h"
#include "fw/CCmdUI.h"
#include "fw/CMFCVisualManager.h"
#include "fw/ribbon/CMFCRibbonApplicationButton.h"
#include "res/ProductInfo.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QSet>
#include <QSettings>

namespace {

class ApplicationLookTest : public MainFrameFixture
{
protected:
    void StartWithLook(int nLook)
    {
        QSettings profile(QSettings::IniFormat, QSettings::UserScope, ProductInfo::MakerDomain(),
                          ProductInfo::ApplicationTitle());
        profile.setValue(QStringLiteral("Workspace/ApplicationLook"), nLook);
        profile.sync();
        Start();
    }
    int StoredLook() { return m_pApp->GetInt(SettingNames::kApplicationLook, -1); }
    QColor CaptionNow() const { return CMFCVisualManager::GetInstance()->GetLook().caption; }
    // The ids whose update-UI gives a radio mark.
    QList<UINT> RadioMarked() const
    {
        QList<UINT> marked;
        for (UINT nID = 210; nID <= 218; ++nID) {
            CCmdUI cmdUI(nID);
            cmdUI.DoUpdate(Frame());
            EXPECT_TRUE(cmdUI.IsEnabled()) << nID;
            if (cmdUI.IsRadio())
                marked.append(nID);
        }
        return marked;
    }
    void ClickApplicationButton()
    {
        Frame()->GetRibbonBar().GetApplicationButton()->OnLButtonDown(CPoint(5, 5));
        Pump();
    }
};

TEST_F(ApplicationLookTest, FreshProfileUsesTheBlackLookAndStoresItInTheWorkspaceStore)
{
    Start();
    EXPECT_EQ(Frame()->GetAppLook(), 216);
    EXPECT_EQ(StoredLook(), 216);
    // Not among the "Settings" values.
    EXPECT_EQ(GetSettingInt(SettingNames::kApplicationLook, -1), -1);
    EXPECT_EQ(RadioMarked(), QList<UINT>{216});
    EXPECT_EQ(CaptionNow(),
              ApplicationLooks::LookFor(ApplicationLooks::VisualManager::Office2007,
                                        ApplicationLooks::Office2007Style::ObsidianBlack)
                  .caption);
}

TEST_F(ApplicationLookTest, ApplicationButtonCyclesThroughTheOffice2007Looks)
{
    StartWithLook(215);
    QList<int> seen;
    for (int i = 0; i < 4; ++i) {
        ClickApplicationButton();
        seen.append(Frame()->GetAppLook());
    }
    EXPECT_EQ(seen, (QList<int>{216, 217, 218, 215}));
    EXPECT_EQ(StoredLook(), 215);
}

TEST_F(ApplicationLookTest, PressAndDoubleClickEachPostOneNextLook)
{
    StartWithLook(214);
    PostedMessageRecorder recorder;
    Frame()->installEventFilter(&recorder);
    CMFCRibbonApplicationButton* pButton = Frame()->GetRibbonBar().GetApplicationButton();
    pButton->OnLButtonDown(CPoint(1, 1));
    pButton->OnLButtonDblClk(CPoint(1, 1));
    Pump();
    ASSERT_EQ(recorder.Of(WM_NEXT_APP_LOOK).size(), 2);
    EXPECT_EQ(recorder.Of(WM_NEXT_APP_LOOK)[0].wParam, 0u);
    EXPECT_EQ(recorder.Of(WM_NEXT_APP_LOOK)[0].lParam, 0);
    // From 214 to 215, then on to 216.
    EXPECT_EQ(Frame()->GetAppLook(), 216);
}

TEST_F(ApplicationLookTest, OlderLooksStepInNumericOrder)
{
    StartWithLook(210);
    ClickApplicationButton();
    EXPECT_EQ(Frame()->GetAppLook(), 211);
    Frame()->OnApplicationLook(214);
    ClickApplicationButton();
    EXPECT_EQ(Frame()->GetAppLook(), 215);
    EXPECT_EQ(StoredLook(), 215);
}

TEST_F(ApplicationLookTest, StoredValueOutsideTheRangeDrawsOffice2007InItsCurrentStyleAndStaysStored)
{
    StartWithLook(217);
    TearDown();
    // The Office 2007 manager is silver now; an unknown id keeps that.
    StartWithLook(300);
    EXPECT_EQ(Frame()->GetAppLook(), 300);
    EXPECT_EQ(StoredLook(), 300);
    EXPECT_TRUE(RadioMarked().isEmpty());
    EXPECT_EQ(CaptionNow(),
              ApplicationLooks::LookFor(ApplicationLooks::VisualManager::Office2007,
                                        ApplicationLooks::Office2007Style::Silver)
                  .caption);
    ClickApplicationButton();
    EXPECT_EQ(Frame()->GetAppLook(), 215);
    EXPECT_EQ(StoredLook(), 215);
}

TEST_F(ApplicationLookTest, LookCommandsApplyAndStoreAndTheNextStartRestores)
{
    Start();
    Frame()->SendMessage(WM_COMMAND, 212, 0);
    EXPECT_EQ(Frame()->GetAppLook(), 212);
    EXPECT_EQ(StoredLook(), 212);
    EXPECT_EQ(RadioMarked(), QList<UINT>{212});
    const QColor windowsXP = CaptionNow();
    TearDown();

    Start();
    EXPECT_EQ(Frame()->GetAppLook(), 212);
    EXPECT_EQ(CaptionNow(), windowsXP);
}

TEST_F(ApplicationLookTest, TheNineLooksAreToldApart)
{
    using namespace ApplicationLooks;
    QSet<QRgb> captions;
    QSet<QRgb> panels;
    for (UINT nID = 210; nID <= 218; ++nID) {
        Office2007Style style = Office2007Style::LunaBlue;
        StyleFor(nID, &style);
        const CMFCVisualLook look = LookFor(ManagerFor(nID), style);
        captions.insert(look.caption.rgb());
        panels.insert(look.ribbon.panelBackground.rgb());
        // Labels stay readable on their backgrounds.
        EXPECT_GT(qAbs(look.ribbon.text.lightness() - look.ribbon.panelBackground.lightness()), 100) << nID;
        EXPECT_GT(qAbs(look.captionText.lightness() - look.caption.lightness()), 100) << nID;
        EXPECT_GT(qAbs(look.palette.color(QPalette::WindowText).lightness() -
                       look.palette.color(QPalette::Window).lightness()),
                  100)
            << nID;
    }
    EXPECT_EQ(captions.size(), 9);
    EXPECT_EQ(panels.size(), 9);
}

}
