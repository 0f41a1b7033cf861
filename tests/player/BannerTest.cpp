#include "PlayerTestSupport.h"
#include "StationServer.h"
#include "platform/webview/WebView.h"
#include "radio/CExplorer_ad.h"

#include <QDesktopServices>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <algorithm>
#include <gtest/gtest.h>

namespace {
constexpr char kBannerPath[] = "/banners/kestrel-radio.html";
constexpr int kLoadTimeoutMs = 20000;
constexpr QRgb kLinkColour = 0xff24476b;

// Stands in for the user's web browser: it notes what it was asked to open.
class CBrowserStandIn : public QObject
{
    Q_OBJECT

public:
    CBrowserStandIn()
    {
        for (const char* scheme : {"http", "https", "file"})
            QDesktopServices::setUrlHandler(scheme, this, "Open");
    }
    ~CBrowserStandIn() override
    {
        for (const char* scheme : {"http", "https", "file"})
            QDesktopServices::unsetUrlHandler(scheme);
    }

    QList<QUrl> m_opened;

public slots:
    void Open(const QUrl& url) { m_opened.append(url); }
};

// The banner in a window of its own, as the radio page holds it.
class BannerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CWebView::IsAvailable());
        auto* pLayout = new QVBoxLayout(&m_window);
        pLayout->addStretch();
        pLayout->addWidget(m_pBanner);
        m_window.resize(760, 400);
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    }

    // A link the banner refused may still report its failed load after the
    // next navigation has begun, so this waits for the page it asked for.
    bool Navigate(const QString& url)
    {
        QSignalSpy loaded(m_pBanner, &CExplorer_ad::DocumentComplete);
        m_pBanner->Navigate2(url);
        return QTest::qWaitFor(
            [&] {
                return m_pBanner->GetLocationURL() == url &&
                    std::any_of(loaded.cbegin(), loaded.cend(),
                                [](const QList<QVariant>& args) { return args.first().toBool(); });
            },
            kLoadTimeoutMs);
    }

    // Clicks the link that covers the test pages once the page shows it.
    void ClickMiddleOfBanner()
    {
        const QPoint middle(m_pBanner->width() / 2, m_pBanner->height() / 2);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return PlayerTestSupport::GrabFromScreen(*m_pBanner).pixel(middle) == kLinkColour; }, 5000));
        QWidget* pTarget = m_pBanner->childAt(middle);
        ASSERT_NE(nullptr, pTarget);
        const QPoint local = pTarget->mapFrom(m_pBanner, middle);
        QTest::mouseMove(pTarget, local);
        QTest::mouseClick(pTarget, Qt::LeftButton, {}, local);
    }

    QWidget m_window;
    CExplorer_ad* m_pBanner = new CExplorer_ad(&m_window);
};

TEST_F(BannerTest, ShowsTheBannerPageInAStripOfFixedHeight)
{
    StationServer server;
    ASSERT_TRUE(server.Start()) << qPrintable(server.Error());
    ASSERT_TRUE(Navigate(server.Url(kBannerPath)));
    EXPECT_EQ(1, server.CountRequests(kBannerPath));
    EXPECT_EQ(server.Url(kBannerPath), m_pBanner->GetLocationURL());

    // The page's dark gradient, logo and text, not an empty strip.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return PlayerTestSupport::CountColours(PlayerTestSupport::GrabFromScreen(*m_pBanner)) >= 16; }, 5000));

    const int nHeight = m_pBanner->height();
    EXPECT_GT(nHeight, 60);
    m_window.resize(900, 700);
    QTest::qWait(100);
    EXPECT_EQ(nHeight, m_pBanner->height());

    QSignalSpy reloaded(m_pBanner, &CExplorer_ad::DocumentComplete);
    m_pBanner->Refresh();
    EXPECT_TRUE(reloaded.wait(kLoadTimeoutMs));
    EXPECT_EQ(2, server.CountRequests(kBannerPath));
}

TEST_F(BannerTest, ALinkOpensInTheBrowserAndTheBannerStays)
{
    CFixedPagesServer pages;
    ASSERT_TRUE(pages.Start());
    const QByteArray style =
        "<style>html,body{margin:0;height:100%}a{position:absolute;inset:0;background:#24476b}</style>";
    pages.Serve("/link.html", "text/html", style + "<a href='" + pages.Url("/elsewhere").toUtf8() + "'>Elsewhere</a>");
    pages.Serve("/new-window.html", "text/html",
                style + "<a target='_blank' href='" + pages.Url("/new-window").toUtf8() + "'>New window</a>");
    pages.Serve("/local.html", "text/html", style + "<a href='file:///etc/passwd'>Local</a>");
    CBrowserStandIn browser;

    ASSERT_TRUE(Navigate(pages.Url("/link.html")));
    ClickMiddleOfBanner();
    ASSERT_TRUE(QTest::qWaitFor([&] { return browser.m_opened.size() == 1; }, 5000));
    EXPECT_EQ(pages.Url("/elsewhere"), browser.m_opened.at(0).toString());

    ASSERT_TRUE(Navigate(pages.Url("/new-window.html")));
    ClickMiddleOfBanner();
    ASSERT_TRUE(QTest::qWaitFor([&] { return browser.m_opened.size() == 2; }, 5000));
    EXPECT_EQ(pages.Url("/new-window"), browser.m_opened.at(1).toString());

    // A banner may not send the reader to a file on this computer.
    ASSERT_TRUE(Navigate(pages.Url("/local.html")));
    ClickMiddleOfBanner();
    QTest::qWait(1000);
    EXPECT_EQ(2, browser.m_opened.size());

    // Nothing was followed inside the banner.
    EXPECT_EQ(pages.Url("/local.html"), m_pBanner->GetLocationURL());
    EXPECT_FALSE(pages.RequestedPaths().contains("/elsewhere"));
    EXPECT_FALSE(pages.RequestedPaths().contains("/new-window"));
}

TEST_F(BannerTest, OnlyTheReadersOwnClickOpensALink)
{
    CFixedPagesServer pages;
    ASSERT_TRUE(pages.Start());
    const QByteArray style =
        "<style>html,body{margin:0;height:100%}a{position:absolute;inset:0;background:#24476b}</style>";
    pages.Serve("/clicker.html", "text/html",
                style + "<a id='ad' href='" + pages.Url("/ad").toUtf8() +
                    "'>Ad</a><script>setInterval(()=>{"
                    "document.getElementById('ad').click();window.open('" +
                    pages.Url("/window").toUtf8() +
                    "');"
                    "new Image().src='/tick?'+Date.now();},20);</script>");
    CBrowserStandIn browser;
    const auto ticks = [&] {
        const QStringList requested = pages.RequestedPaths();
        return std::count_if(requested.cbegin(), requested.cend(),
                             [](const QString& path) { return path.startsWith("/tick"); });
    };

    ASSERT_TRUE(Navigate(pages.Url("/clicker.html")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks() >= 50; }, kLoadTimeoutMs));
    EXPECT_TRUE(browser.m_opened.isEmpty()) << "the script's clicks opened the browser";

    ClickMiddleOfBanner();
    ASSERT_TRUE(QTest::qWaitFor([&] { return browser.m_opened.size() == 1; }, 5000));
    EXPECT_EQ(pages.Url("/ad"), browser.m_opened.at(0).toString());
    // The script clicks on in the reader's wake, and gets nothing more.
    const auto nTicks = ticks();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks() >= nTicks + 30; }, kLoadTimeoutMs));
    EXPECT_EQ(1, browser.m_opened.size());
    EXPECT_FALSE(pages.RequestedPaths().contains("/window"));
}
}

#include "BannerTest.moc"
