#include "LocalWebServer.h"
#include "platform/download/UrlDownloader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <mutex>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

using namespace std::chrono_literals;

namespace {

QByteArray ReadAll(const QString& strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Bytes that no text conversion leaves alone: every byte value, NULs included.
std::string EveryByteValue(size_t nLength)
{
    std::string bytes(nLength, '\0');
    for (size_t i = 0; i < nLength; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return bytes;
}

class UrlDownloaderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        m_strTarget = m_folder.filePath(QStringLiteral("download.bin"));
    }

    UrlDownloadResult Fetch(const QString& strUrl, const UrlDownloadOptions& options = {})
    {
        return CreateUrlDownloader(options)->Download(strUrl, m_strTarget);
    }

    QTemporaryDir m_folder;
    QString m_strTarget;
    LocalWebServer m_server;
};

TEST_F(UrlDownloaderTest, FollowsRedirectsAndAsksForAFreshAnswer)
{
    const std::string body = EveryByteValue(100000);
    std::mutex mutex;
    std::string strCacheControl, strPragma;
    int nRequests = 0;
    m_server.Routes().Get(
        "/old", [](const httplib::Request&, httplib::Response& response) { response.set_redirect("/moved"); });
    m_server.Routes().Get(
        "/moved", [](const httplib::Request&, httplib::Response& response) { response.set_redirect("/list", 301); });
    m_server.Routes().Get("/list", [&](const httplib::Request& request, httplib::Response& response) {
        const std::lock_guard lock(mutex);
        strCacheControl = request.get_header_value("Cache-Control");
        strPragma = request.get_header_value("Pragma");
        ++nRequests;
        response.set_content(body, "application/octet-stream");
    });
    ASSERT_TRUE(m_server.Start());

    const UrlDownloadResult result = Fetch(m_server.Url("/old"));

    ASSERT_TRUE(result.Succeeded()) << result.strDetail.toStdString();
    EXPECT_EQ(result.nHttpStatus, 200);
    EXPECT_EQ(ReadAll(m_strTarget), QByteArray::fromStdString(body));
    const std::lock_guard lock(mutex);
    EXPECT_EQ(nRequests, 1);
    EXPECT_EQ(strCacheControl, "no-cache");
    EXPECT_EQ(strPragma, "no-cache");
}

TEST_F(UrlDownloaderTest, RefusesWhatIsNotAWebAddressAndTouchesNothing)
{
    m_server.Routes().Get("/to-local-file", [](const httplib::Request&, httplib::Response& response) {
        response.set_redirect("file:///etc/hostname");
    });
    ASSERT_TRUE(m_server.Start());

    for (const QString& strUrl : {QStringLiteral("file:///etc/hostname"), QStringLiteral("/etc/hostname"),
                                  QStringLiteral("ftp://127.0.0.1/list"), QStringLiteral("http://"), QString()}) {
        const UrlDownloadResult result = Fetch(strUrl);
        EXPECT_EQ(result.status, UrlDownloadStatus::InvalidAddress) << strUrl.toStdString();
        EXPECT_FALSE(QFile::exists(m_strTarget)) << strUrl.toStdString();
    }
    // A server cannot send the download to a local file either.
    const UrlDownloadResult redirected = Fetch(m_server.Url("/to-local-file"));
    EXPECT_FALSE(redirected.Succeeded());
    EXPECT_FALSE(QFile::exists(m_strTarget));
}

TEST_F(UrlDownloaderTest, NeverWritesThroughWhatAlreadyLiesAtTheTarget)
{
    m_server.Routes().Get("/list", [](const httplib::Request&, httplib::Response& response) {
        response.set_content("new bytes", "text/plain");
    });
    ASSERT_TRUE(m_server.Start());
    const QString strVictim = m_folder.filePath(QStringLiteral("victim.txt"));
    {
        QFile victim(strVictim);
        ASSERT_TRUE(victim.open(QIODevice::WriteOnly));
        victim.write("precious");
    }

    ASSERT_TRUE(QFile::link(strVictim, m_strTarget));
    EXPECT_EQ(Fetch(m_server.Url("/list")).status, UrlDownloadStatus::FileError);
    EXPECT_EQ(ReadAll(strVictim), QByteArray("precious"));
    EXPECT_TRUE(QFileInfo(m_strTarget).isSymLink());

    const UrlDownloadResult ontoFile = CreateUrlDownloader()->Download(m_server.Url("/list"), strVictim);
    EXPECT_EQ(ontoFile.status, UrlDownloadStatus::FileError);
    EXPECT_EQ(ReadAll(strVictim), QByteArray("precious"));
}

TEST_F(UrlDownloaderTest, SizeLimitHoldsWithAndWithoutAnnouncedLength)
{
    const size_t nLimit = 256 * 1024;
    const std::string exactly = EveryByteValue(nLimit);
    m_server.Routes().Get("/exactly", [&](const httplib::Request&, httplib::Response& response) {
        response.set_content(exactly, "application/octet-stream");
    });
    m_server.Routes().Get("/announced", [&](const httplib::Request&, httplib::Response& response) {
        response.set_content(EveryByteValue(nLimit + 1), "application/octet-stream");
    });
    // Chunked: the length is known only when the body has gone past it.
    m_server.Routes().Get("/chunked", [](const httplib::Request&, httplib::Response& response) {
        response.set_chunked_content_provider("application/octet-stream", [](size_t nOffset, httplib::DataSink& sink) {
            const std::string chunk(4096, 'x');
            sink.write(chunk.data(), chunk.size());
            if (nOffset > 4 * nLimit)
                sink.done();
            return true;
        });
    });
    ASSERT_TRUE(m_server.Start());
    UrlDownloadOptions options;
    options.nMaxBytes = nLimit;

    const UrlDownloadResult atLimit = Fetch(m_server.Url("/exactly"), options);
    ASSERT_TRUE(atLimit.Succeeded()) << atLimit.strDetail.toStdString();
    EXPECT_EQ(ReadAll(m_strTarget).size(), qsizetype(nLimit));
    ASSERT_TRUE(QFile::remove(m_strTarget));

    for (const char* pPath : {"/announced", "/chunked"}) {
        const UrlDownloadResult result = Fetch(m_server.Url(QLatin1String(pPath)), options);
        EXPECT_EQ(result.status, UrlDownloadStatus::TooLarge) << pPath;
        EXPECT_FALSE(QFile::exists(m_strTarget)) << pPath;
    }
}

TEST_F(UrlDownloaderTest, StalledAnswerEndsAfterTheStallTimeout)
{
    // One answer stops in the middle of its body, the other never begins.
    m_server.Routes().Get("/stops", [this](const httplib::Request&, httplib::Response& response) {
        response.set_content_provider(1000, "text/plain", [this](size_t nOffset, size_t, httplib::DataSink& sink) {
            if (nOffset == 0)
                sink.write(std::string(100, 'x').data(), 100);
            else
                m_server.HoldBack(15s);
            return true;
        });
    });
    m_server.Routes().Get("/silent", [this](const httplib::Request&, httplib::Response& response) {
        m_server.HoldBack(15s);
        response.set_content("late", "text/plain");
    });
    ASSERT_TRUE(m_server.Start());
    UrlDownloadOptions options;
    options.stallTimeout = 1s;

    for (const char* pPath : {"/stops", "/silent"}) {
        const UrlDownloadResult result = Fetch(m_server.Url(QLatin1String(pPath)), options);
        EXPECT_EQ(result.status, UrlDownloadStatus::Stalled) << pPath << ": " << result.strDetail.toStdString();
        EXPECT_FALSE(QFile::exists(m_strTarget)) << pPath;
    }
}

// A listening socket whose queue is full and never served: the kernel drops
// further connection attempts, so connecting to it hangs.
class UnansweredPort
{
public:
    UnansweredPort()
    {
        m_listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t nLength = sizeof(address);
        if (bind(m_listener, reinterpret_cast<sockaddr*>(&address), nLength) != 0 || listen(m_listener, 0) != 0 ||
            getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &nLength) != 0)
            return;
        m_nPort = ntohs(address.sin_port);
        for (int i = 0; i < 4; ++i) {
            const int client = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            ::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof(address));
            m_clients.push_back(client);
        }
    }
    ~UnansweredPort()
    {
        for (const int client : m_clients)
            close(client);
        close(m_listener);
    }
    int Port() const { return m_nPort; }

private:
    int m_listener = -1;
    int m_nPort = 0;
    std::vector<int> m_clients;
};

TEST_F(UrlDownloaderTest, ConnectionThatNeverCompletesEndsAfterTheConnectTimeout)
{
    const UnansweredPort port;
    ASSERT_NE(port.Port(), 0);
    UrlDownloadOptions options;
    options.connectTimeout = 300ms;

    const UrlDownloadResult result =
        Fetch(QStringLiteral("http://127.0.0.1:%1/stationlist.zip").arg(port.Port()), options);

    EXPECT_EQ(result.status, UrlDownloadStatus::ConnectTimedOut) << result.strDetail.toStdString();
    EXPECT_FALSE(QFile::exists(m_strTarget));
}

class UrlDownloaderTlsTest : public UrlDownloaderTest
{
protected:
    void SetUp() override
    {
        UrlDownloaderTest::SetUp();
        m_strCertificate = m_folder.filePath(QStringLiteral("server.pem"));
        const QString strKey = m_folder.filePath(QStringLiteral("server.key"));
        ASSERT_TRUE(MakeLoopbackCertificate(m_strCertificate, strKey));
        m_pTlsServer = std::make_unique<LocalWebServer>(m_strCertificate, strKey);
        m_pTlsServer->Routes().Get("/list", [this](const httplib::Request&, httplib::Response& response) {
            response.set_content(m_body, "application/octet-stream");
        });
        ASSERT_TRUE(m_pTlsServer->Start());
    }

    const std::string m_body = EveryByteValue(50000);
    QString m_strCertificate;
    std::unique_ptr<LocalWebServer> m_pTlsServer;
};

TEST_F(UrlDownloaderTlsTest, HttpsFromATrustedServer)
{
    UrlDownloadOptions options;
    options.strCertificateAuthorityFile = m_strCertificate;

    const UrlDownloadResult result = Fetch(m_pTlsServer->Url("/list"), options);

    ASSERT_TRUE(result.Succeeded()) << result.strDetail.toStdString();
    EXPECT_EQ(ReadAll(m_strTarget), QByteArray::fromStdString(m_body));
}

TEST_F(UrlDownloaderTlsTest, HttpsFromAnUntrustedServerFails)
{
    const UrlDownloadResult result = Fetch(m_pTlsServer->Url("/list"));

    EXPECT_EQ(result.status, UrlDownloadStatus::TransferFailed) << result.strDetail.toStdString();
    EXPECT_FALSE(QFile::exists(m_strTarget));
}

// A server that sends one byte every tenth of a second, for as long as
// anyone listens: never stalled, never finished.
void AddTrickleRoute(LocalWebServer& server, const char* pPath)
{
    server.Routes().Get(pPath, [&server](const httplib::Request&, httplib::Response& response) {
        response.set_chunked_content_provider("application/octet-stream", [&server](size_t, httplib::DataSink& sink) {
            server.HoldBack(100ms);
            return sink.is_writable() && sink.write("R", 1);
        });
    });
}

TEST_F(UrlDownloaderTest, ATrickleEndsAtTheOverallDeadline)
{
    AddTrickleRoute(m_server, "/trickle");
    ASSERT_TRUE(m_server.Start());
    UrlDownloadOptions options;
    options.overallTimeout = 1500ms;

    // The trickle never ends: only the deadline returns.
    const UrlDownloadResult result = Fetch(m_server.Url("/trickle"), options);

    EXPECT_EQ(result.status, UrlDownloadStatus::TookTooLong) << result.strDetail.toStdString();
    EXPECT_FALSE(QFile::exists(m_strTarget));
}

TEST_F(UrlDownloaderTest, ARequestToGiveUpEndsTheTransferSoonAndLeavesNoFile)
{
    AddTrickleRoute(m_server, "/trickle");
    ASSERT_TRUE(m_server.Start());
    const auto start = std::chrono::steady_clock::now();
    UrlDownloadOptions options;
    options.cancelRequested = [start] { return std::chrono::steady_clock::now() - start > 500ms; };

    const UrlDownloadResult result = Fetch(m_server.Url("/trickle"), options);

    EXPECT_EQ(result.status, UrlDownloadStatus::Cancelled) << result.strDetail.toStdString();
    EXPECT_FALSE(QFile::exists(m_strTarget));
}

}
