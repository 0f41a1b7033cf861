#include "HttpFetch.h"
#include "StationServer.h"

#include <QThread>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

class FaultInjectionTest : public ::testing::Test
{
protected:
    // The station list as it is served without a fault.
    void SetUp() override
    {
        StationServer healthy;
        ASSERT_TRUE(healthy.Start()) << healthy.Error().toStdString();
        const auto answer = HttpFetch::Get(healthy.Port(), "/stationlist.zip");
        ASSERT_TRUE(answer);
        m_list = answer->body;
        // The list names the server's own address, which differs per run;
        // the bytes before the first channel do not.
        m_header = m_list.substr(0, m_list.find(std::string("\r\0\n\0", 4)));
    }

    bool StartWithFault(const QString& fault)
    {
        m_server = std::make_unique<StationServer>(StationServerOptions{.fault = fault});
        const bool started = m_server->Start();
        EXPECT_TRUE(started) << m_server->Error().toStdString();
        return started;
    }

    QString LastLogLine() const
    {
        const QStringList log = m_server->RequestLog();
        return log.isEmpty() ? QString() : log.last();
    }

    std::string m_list;
    std::string m_header;
    std::unique_ptr<StationServer> m_server;
};

TEST_F(FaultInjectionTest, StatusFaultsAnswerWithThatStatus)
{
    for (const int status : {404, 500}) {
        ASSERT_TRUE(StartWithFault(QStringLiteral("status=%1").arg(status)));
        const auto answer = HttpFetch::Get(m_server->Port(), "/stationlist.zip");
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->status, status);
        EXPECT_EQ(answer->body.find(m_header), std::string::npos);
        EXPECT_TRUE(LastLogLine().contains(QStringLiteral(" GET /stationlist.zip %1 ").arg(status)))
            << LastLogLine().toStdString();
        // Only the station list misbehaves.
        EXPECT_EQ(HttpFetch::Get(m_server->Port(), "/banners/kestrel-radio.html")->status, 200);
    }
}

TEST_F(FaultInjectionTest, CloseMidBodySendsLessThanItAnnounces)
{
    ASSERT_TRUE(StartWithFault("close-mid-body"));
    const auto answer = HttpFetch::GetFor(m_server->Port(), "/stationlist.zip", 5s);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 200);
    EXPECT_FALSE(answer->complete);
    const std::size_t announced = std::stoul(answer->Header("Content-Length"));
    EXPECT_EQ(announced, m_list.size());
    EXPECT_EQ(answer->body.size(), announced / 2);
    EXPECT_EQ(answer->body.substr(0, m_header.size()), m_header);
}

TEST_F(FaultInjectionTest, EndlessBodyKeepsSending)
{
    ASSERT_TRUE(StartWithFault("endless-body"));
    const std::size_t plenty = 20 * m_list.size() + 1024 * 1024;
    const auto answer = HttpFetch::GetFor(m_server->Port(), "/stationlist.zip", 10s, {}, plenty);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 200);
    EXPECT_EQ(answer->Header("Content-Length"), "");
    EXPECT_GE(answer->body.size(), plenty);
    EXPECT_EQ(answer->body.substr(0, m_header.size()), m_header);
    EXPECT_EQ(answer->body.substr(m_list.size(), m_header.size()), m_header) << "the list again";
}

TEST_F(FaultInjectionTest, StalledBodySendsHalfAndThenNothing)
{
    ASSERT_TRUE(StartWithFault("stalled-body"));
    const auto answer = HttpFetch::GetFor(m_server->Port(), "/stationlist.zip", 1500ms);
    ASSERT_TRUE(answer);
    EXPECT_EQ(std::stoul(answer->Header("Content-Length")), m_list.size());
    EXPECT_EQ(answer->body.size(), m_list.size() / 2);
    EXPECT_FALSE(answer->complete);
}

TEST_F(FaultInjectionTest, OversizedBodyIsSixtyFiveMebibytes)
{
    ASSERT_TRUE(StartWithFault("oversized-body"));
    const auto answer = HttpFetch::Get(m_server->Port(), "/stationlist.zip");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 200);
    constexpr std::size_t kSize = std::size_t{65} * 1024 * 1024;
    EXPECT_EQ(answer->Header("Content-Length"), std::to_string(kSize));
    EXPECT_EQ(answer->body.size(), kSize);
    EXPECT_EQ(answer->body.substr(0, m_header.size()), m_header);
    for (int i = 0; i < 100 && m_server->CountRequests("/stationlist.zip") == 0; ++i)
        QThread::msleep(20);
    EXPECT_TRUE(LastLogLine().endsWith(QStringLiteral(" 200 %1").arg(kSize))) << LastLogLine().toStdString();
}

TEST_F(FaultInjectionTest, DelayWaitsBeforeAnsweringNormally)
{
    ASSERT_TRUE(StartWithFault("delay=700"));
    const auto started = std::chrono::steady_clock::now();
    const auto answer = HttpFetch::Get(m_server->Port(), "/stationlist.zip");
    const auto waited = std::chrono::steady_clock::now() - started;
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 200);
    EXPECT_EQ(answer->body.size(), m_list.size());
    EXPECT_GE(waited, 700ms);
    EXPECT_EQ(m_server->CountRequests("/stationlist.zip"), 1);
}

}
