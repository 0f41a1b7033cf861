#include "MainFrameFixture.h"

#include "download/ServerAddresses.h"
#include "fw/ribbon/CMFCRibbonStatusBarPane.h"
#include "res/ProductInfo.h"

#include <cstdlib>

namespace {

class StatusPanesTest : public MainFrameFixture
{
protected:
    static void SetUpTestSuite()
    {
        MainFrameFixture::SetUpTestSuite();
        // Read once, at the addresses' first use.
        setenv("KESTREL_MUSIC_SITE", "http://127.0.0.1:8581", 1);
    }

    void ExpectLeftPane(const QString& strDescription, const QString& strText) const
    {
        EXPECT_EQ(Frame()->GetStatusPane()->GetDescription(), strDescription);
        EXPECT_EQ(Frame()->GetStatusPane()->GetText(), strText);
    }
};

TEST_F(StatusPanesTest, PanesAreBuiltWithTheirIdsLabelsAndSampleWidths)
{
    Start();
    CMFCRibbonStatusBar& bar = Frame()->GetStatusBar();
    ASSERT_EQ(bar.GetCount(), 1);
    ASSERT_EQ(bar.GetExCount(), 1);
    EXPECT_EQ(bar.GetElement(0), Frame()->GetStatusPane());
    EXPECT_EQ(bar.GetExElement(0), Frame()->GetContactPane());
    EXPECT_EQ(Frame()->GetStatusPane()->GetID(), 120u);
    EXPECT_EQ(Frame()->GetContactPane()->GetID(), 0u);
    EXPECT_EQ(bar.GetLabel(Frame()->GetStatusPane()), QStringLiteral("Status"));
    EXPECT_EQ(bar.GetLabel(Frame()->GetContactPane()), QStringLiteral("XXXX"));
    EXPECT_EQ(Frame()->GetStatusPane()->GetAlmostLargeText(), QString(81, QLatin1Char('X')));
    EXPECT_EQ(Frame()->GetContactPane()->GetAlmostLargeText(), QString(28, QLatin1Char('X')));
}

TEST_F(StatusPanesTest, EachCategoryHasItsTextsAndTheContactPaneNeverChanges)
{
    Start();
    const QString strVisit = QStringLiteral("Visit ") + ProductInfo::WebSiteName();
    const QString strContact = QStringLiteral("Please do drop us a line at ") + ProductInfo::SupportAddress();

    ExpectLeftPane(QStringLiteral("This Pane Displays Current Status"), QString());
    ActivateCategory(1);
    ExpectLeftPane(QStringLiteral("Get More Software Utilities"), strVisit);
    ActivateCategory(2);
    ExpectLeftPane(QStringLiteral("Download More Software Utilities"), strVisit);
    ActivateCategory(3);
    ExpectLeftPane(QStringLiteral("Visit http://127.0.0.1:8581"),
                   QStringLiteral("Let People from Across the Globe Hear your Voice."));
    EXPECT_EQ(ServerAddresses::MusicSiteAddress(), QStringLiteral("http://127.0.0.1:8581"));

    EXPECT_EQ(Frame()->GetContactPane()->GetText(), QStringLiteral("Contact Us"));
    EXPECT_EQ(Frame()->GetContactPane()->GetDescription(), strContact);
}

TEST_F(StatusPanesTest, StatusTextShowsAfterThePostedUpdateAndNonRadioPagesEmptyIt)
{
    Start();
    Frame()->SetStatusText(QStringLiteral("Playing - Kestrel FM"));
    EXPECT_EQ(Frame()->GetStatusText(), QStringLiteral("Playing - Kestrel FM"));
    EXPECT_EQ(Frame()->GetStatusPane()->GetText(), QString());
    Pump();
    EXPECT_EQ(Frame()->GetStatusPane()->GetText(), QStringLiteral("Playing - Kestrel FM"));

    // The settings page empties the status; back on the radio page the pane
    // stays empty until the player reports again.
    ActivateCategory(1);
    EXPECT_TRUE(Frame()->GetStatusText().isEmpty());
    ActivateCategory(0);
    EXPECT_EQ(Frame()->GetStatusPane()->GetText(), QString());
}

}
