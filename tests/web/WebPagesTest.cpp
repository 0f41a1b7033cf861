// The whole program in the test process, on the test display, against the
// station server: the music and promotion pages, their ribbon commands, and
// what they do when their site is down.
#include "InProcessProgramTest.h"
#include "StationServer.h"

#include "app/CKestrelRadioApp.h"
#include "frame/CMainFrame.h"
#include "fw/CHtmlView.h"
#include "fw/CMDIChildWndEx.h"
#include "fw/MessageBox.h"
#include "fw/ribbon/CMFCRibbonBaseElement.h"
#include "res/PrivateMessages.h"
#include "res/ProductInfo.h"
#include "res/Resource.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"
#include "web/CHardwareStoreView.h"
#include "web/CPromoView.h"

#include <QDesktopServices>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

constexpr int kTimeoutMs = 30000;
const QString kHome = QStringLiteral("/");
const QString kStationList = QStringLiteral("/stationlist.zip");
constexpr int kMusicCategory = 3;
constexpr int kPromoCategory = 2;

bool WaitFor(const std::function<bool()>& condition, int nTimeoutMs = kTimeoutMs)
{
    return QTest::qWaitFor(condition, nTimeoutMs);
}

// Stands in for the user's web browser: it notes what it was asked to open.
class CBrowserStandIn : public QObject
{
    Q_OBJECT

public:
    CBrowserStandIn()
    {
        for (const char* scheme : {"http", "https", "mailto", "file"})
            QDesktopServices::setUrlHandler(scheme, this, "Open");
    }
    ~CBrowserStandIn() override
    {
        for (const char* scheme : {"http", "https", "mailto", "file"})
            QDesktopServices::unsetUrlHandler(scheme);
    }

    QStringList m_opened;

public slots:
    void Open(const QUrl& url) { m_opened.append(url.toString()); }
};

class WebPagesTest : public InProcessProgramTest
{
protected:
    static void PresetCategory(int nCategory) { PresetSetting(QLatin1String(SettingNames::kLastCategory), nCategory); }

    static QString MusicSite() { return QStringLiteral("http://127.0.0.1:") + s_ports[1]; }
    static QString PromoSite() { return QStringLiteral("http://127.0.0.1:") + s_ports[2]; }

    // The program, shown, with the stored category's page open; the spy
    // sees every load of that page.
    void StartProgram()
    {
        InProcessProgramTest::StartProgram();
        ASSERT_TRUE(WaitFor([this] { return Page() != nullptr; }));
        m_pLoads = std::make_unique<QSignalSpy>(Page(), &CHtmlView::DocumentComplete);
    }

    CHtmlView* Page() const { return dynamic_cast<CHtmlView*>(ActiveView()); }

    // The page has finished loading url, well or not, n times in all.
    bool WaitForLoads(int nLoads, bool bOk)
    {
        return WaitFor([&] { return m_pLoads->size() >= nLoads; }) && m_pLoads->at(nLoads - 1).first().toBool() == bOk;
    }

    // Opens the page's one link with the keyboard, as a reader without a
    // mouse would: the link takes the focus with Tab, Return follows it.
    void FollowTheOnlyLink()
    {
        Frame()->activateWindow();
        QWidget* pTarget = Page()->childAt(Page()->rect().center());
        ASSERT_NE(pTarget, nullptr);
        pTarget->setFocus();
        ASSERT_TRUE(WaitFor([&] { return pTarget->hasFocus(); }, 5000));
        QTest::keyClick(pTarget, Qt::Key_Tab);
        QTest::keyClick(pTarget, Qt::Key_Return);
    }

    std::unique_ptr<QSignalSpy> m_pLoads;
};

TEST_F(WebPagesTest, TheMusicCategoryOpensTheMusicSiteAndNoStationList)
{
    StartServer();
    PresetCategory(kMusicCategory);
    StartProgram();
    ASSERT_NE(dynamic_cast<CHardwareStoreView*>(Page()), nullptr);
    ASSERT_TRUE(WaitForLoads(1, true));
    EXPECT_EQ(Page()->GetLocationURL(), MusicSite() + kHome);
    EXPECT_EQ(Page()->GetLocationName(), QStringLiteral("Send Us Your Song - Kestrel Radio"));
    EXPECT_EQ(m_pServer->CountRequests(kHome), 1);
    EXPECT_EQ(m_pServer->CountRequests(kStationList), 0);
    EXPECT_EQ(GetSettingInt(QStringLiteral("CHardwareStoreView"), 0), 1) << "the first opening sized the window";
    EXPECT_TRUE(m_boxes.isEmpty());
}

TEST_F(WebPagesTest, ThePromotionCategoryOpensThePromotionSite)
{
    StartServer();
    PresetCategory(kPromoCategory);
    StartProgram();
    ASSERT_NE(dynamic_cast<CPromoView*>(Page()), nullptr);
    ASSERT_TRUE(WaitForLoads(1, true));
    EXPECT_EQ(Page()->GetLocationURL(), PromoSite() + kHome);
    EXPECT_EQ(m_pServer->CountRequests(kHome), 1);
    EXPECT_EQ(m_pServer->CountRequests(kStationList), 0);
    EXPECT_EQ(GetSettingInt(QStringLiteral("CPromoView"), 0), 1);
}

TEST_F(WebPagesTest, AFollowedLinkLoadsInThePageAndRefreshGoesBackHome)
{
    StartServer();
    PresetCategory(kMusicCategory);
    StartProgram();
    ASSERT_TRUE(WaitForLoads(1, true));

    // The music site's link leads to the promotion site, inside the page.
    CBrowserStandIn browser;
    FollowTheOnlyLink();
    ASSERT_TRUE(WaitForLoads(2, true));
    EXPECT_EQ(Page()->GetLocationURL(), PromoSite() + kHome);
    EXPECT_TRUE(browser.m_opened.isEmpty());

    // The other page's reload message leaves this page alone.
    Page()->PostMessage(WM_RELOAD_PROMO_PAGE, 0, 0);
    QTest::qWait(1000);
    EXPECT_EQ(m_pLoads->size(), 2);
    EXPECT_EQ(Page()->GetLocationURL(), PromoSite() + kHome);

    ClickRibbon(ID_RELOAD_MUSIC_PAGE);
    ASSERT_TRUE(WaitForLoads(3, true));
    EXPECT_EQ(Page()->GetLocationURL(), MusicSite() + kHome);
    EXPECT_EQ(m_pServer->CountRequests(kHome), 3) << "home, the link, home again from the server";
}

TEST_F(WebPagesTest, OpenInNewWindowHandsTheSiteToTheBrowser)
{
    StartServer();
    PresetCategory(kMusicCategory);
    StartProgram();
    ASSERT_TRUE(WaitForLoads(1, true));
    CBrowserStandIn browser;

    ClickRibbon(ID_OPEN_MUSIC_SITE);
    ASSERT_TRUE(WaitFor([&] { return browser.m_opened.size() == 1; }, 5000));
    Frame()->SendMessage(WM_COMMAND, ID_OPEN_PROMO_SITE, 0);
    // Scheme, host and port, without a path: no trailing slash.
    EXPECT_EQ(browser.m_opened, QStringList({MusicSite(), PromoSite()}));
    QTest::qWait(500);
    EXPECT_EQ(m_pLoads->size(), 1) << "the page itself stays where it is";
}

TEST_F(WebPagesTest, ASiteThatIsDownShowsAnErrorPageAndRefreshTriesAgain)
{
    StartServer();
    m_pServer->Stop();
    PresetCategory(kPromoCategory);
    StartProgram();
    ASSERT_TRUE(WaitForLoads(1, false));
    EXPECT_TRUE(m_boxes.isEmpty()) << "no message box, the page shows the failure";

    // Still answering: a queued message runs at once.
    bool bAnswered = false;
    QTimer::singleShot(0, Frame(), [&] { bAnswered = true; });
    EXPECT_TRUE(WaitFor([&] { return bAnswered; }, 1000));

    StartServer();
    ClickRibbon(ID_RELOAD_PROMO_PAGE);
    ASSERT_TRUE(WaitForLoads(2, true));
    EXPECT_EQ(Page()->GetLocationURL(), PromoSite() + kHome);
    EXPECT_EQ(m_pServer->CountRequests(kHome), 1);
    EXPECT_TRUE(m_boxes.isEmpty());
}

}

#include "WebPagesTest.moc"
