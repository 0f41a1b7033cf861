#include "HttpFetch.h"
#include "StationServer.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

class SitePagesTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_server.Start()) << m_server.Error().toStdString(); }

    // The page, checked to be a complete HTML page that loads nothing from
    // anywhere: no scripts, style sheets, images or frames by address.
    std::string Page(int port, const std::string& path)
    {
        const auto answer = HttpFetch::Get(port, path);
        EXPECT_TRUE(answer);
        if (!answer)
            return {};
        EXPECT_EQ(answer->status, 200) << path;
        EXPECT_EQ(answer->Header("Content-Type"), "text/html; charset=utf-8") << path;
        const QString html = QString::fromStdString(answer->body);
        EXPECT_TRUE(html.startsWith("<!DOCTYPE html>")) << path;
        EXPECT_TRUE(html.trimmed().endsWith("</html>")) << path;
        for (const char* loader : {"src=", "<link", "@import", "url(", "<script", "<iframe"})
            EXPECT_FALSE(html.contains(loader, Qt::CaseInsensitive)) << path << " uses " << loader;
        return answer->body;
    }

    // The addresses that the page's links lead to.
    QStringList Links(const std::string& page)
    {
        QStringList links;
        const QRegularExpression href(R"re(href="([^"]*)")re");
        for (auto match = href.globalMatch(QString::fromStdString(page)); match.hasNext();)
            links << match.next().captured(1);
        return links;
    }

    StationServer m_server;
};

TEST_F(SitePagesTest, BannerIsASelfContainedPage)
{
    const std::string banner = Page(m_server.Port(), "/banners/kestrel-radio.html");
    EXPECT_NE(banner.find("Kestrel Radio"), std::string::npos);
    EXPECT_TRUE(Links(banner).isEmpty());
}

TEST_F(SitePagesTest, MusicSiteInvitesArtistsAndLinksToThePromotionSite)
{
    const std::string page = Page(m_server.MusicPort(), "/");
    EXPECT_NE(page.find("Send Us Your Song"), std::string::npos);
    EXPECT_EQ(page.find('{'), page.find("{ ")) << "no placeholder left";
    EXPECT_EQ(Links(page), QStringList{m_server.PromoBaseUrl() + "/"});
}

TEST_F(SitePagesTest, PromotionSiteShowsTheProgramAndLinksToTheMusicSite)
{
    const std::string page = Page(m_server.PromoPort(), "/");
    EXPECT_NE(page.find("Kestrel Radio"), std::string::npos);
    EXPECT_EQ(Links(page), QStringList{m_server.MusicBaseUrl() + "/"});
}

TEST_F(SitePagesTest, EachSiteAnswersOnlyItsOwnPages)
{
    EXPECT_EQ(HttpFetch::Get(m_server.MusicPort(), "/stationlist.zip")->status, 404);
    EXPECT_EQ(HttpFetch::Get(m_server.PromoPort(), "/banners/kestrel-radio.html")->status, 404);
    EXPECT_EQ(HttpFetch::Get(m_server.Port(), "/")->status, 404);
    EXPECT_EQ(m_server.RequestLog().filter(QRegularExpression(" 404 \\d+$")).size(), 3);
}

// Pages are small and sent whole: a range, even one past the end or of no
// bytes, gets the page and never a cut or empty one.
TEST_F(SitePagesTest, PagesAreSentWholeWhateverRangeIsAsked)
{
    const std::string banner = Page(m_server.Port(), "/banners/kestrel-radio.html");
    for (const char* range : {"bytes=999999999-", "bytes=-0", "bytes=0-9", "bytes=0-9,20-"}) {
        const auto answer = HttpFetch::Get(m_server.Port(), "/banners/kestrel-radio.html", {{"Range", range}});
        ASSERT_TRUE(answer) << range;
        EXPECT_EQ(answer->status, 200) << range;
        EXPECT_EQ(answer->Header("Content-Range"), "") << range;
        EXPECT_EQ(answer->body, banner) << range;
    }
    EXPECT_EQ(
        m_server.RequestLog().filter(" GET /banners/kestrel-radio.html 200 " + QString::number(banner.size())).size(),
        5);
}

}
