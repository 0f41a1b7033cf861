#include "HttpFetch.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <csignal>
#include <gtest/gtest.h>
#include <thread>

namespace {

constexpr int kWaitMs = 15000;
constexpr char kHeader[] = "Category,Channel,Stream,Id,Genre,Description,Status\n";

// Replaces the file by renaming a complete new one over it, as an operator's
// import does; the server never sees it half-written.
void ReplaceFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    ASSERT_TRUE(file.commit());
}

QByteArray CatalogueOf(const QString& prefix, int channels)
{
    QByteArray text = kHeader;
    for (int i = 1; i <= channels; ++i)
        text += QStringLiteral("Radio,%1 %2,http://%1.example.org/%2,%1-%2,Pop,Channel %2 of %1,ON\n")
                    .arg(prefix)
                    .arg(i)
                    .toUtf8();
    return text;
}

// A station server whose output the test reads while it runs.
class ReloadingServer
{
public:
    explicit ReloadingServer(const QString& catalogue)
        : m_catalogue(catalogue)
    {
    }
    ~ReloadingServer()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
        m_process.waitForFinished();
    }

    bool Start()
    {
        const QString ready = m_folder.filePath("ready");
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(QStringLiteral(KESTREL_STATION_SERVER_PATH),
                        {"--catalogue", m_catalogue, "--listen", "127.0.0.1", "--port", "0", "--music-port", "0",
                         "--promo-port", "0", "--ready-file", ready});
        const QDeadlineTimer deadline(kWaitMs);
        while (!deadline.hasExpired() && m_process.state() != QProcess::NotRunning) {
            QFile file(ready);
            if (file.open(QIODevice::ReadOnly)) {
                for (const QByteArray& line : file.readAll().split('\n')) {
                    if (line.startsWith("station="))
                        m_port = line.mid(8).toInt();
                }
                return m_port > 0;
            }
            m_process.waitForReadyRead(20);
        }
        return false;
    }

    int Port() const { return m_port; }
    void SendHangUp() { ::kill(static_cast<pid_t>(m_process.processId()), SIGHUP); }

    // Waits until the server has written text count times in all.
    bool WaitForOutput(const QString& text, int count = 1)
    {
        const QDeadlineTimer deadline(kWaitMs);
        while (Output().count(text) < count) {
            if (deadline.hasExpired())
                return false;
            m_process.waitForReadyRead(50);
        }
        return true;
    }

    QString Output()
    {
        m_output += QString::fromUtf8(m_process.readAll());
        return m_output;
    }

    std::string StationList()
    {
        const auto answer = HttpFetch::Get(m_port, "/stationlist.zip");
        EXPECT_TRUE(answer && answer->status == 200);
        return answer ? answer->body : std::string();
    }

private:
    QString m_catalogue;
    QTemporaryDir m_folder;
    QProcess m_process;
    QString m_output;
    int m_port = 0;
};

// The station list bytes of a channel name, as the program reads them.
std::string Utf16(const QString& text)
{
    return std::string(reinterpret_cast<const char*>(text.utf16()), static_cast<std::size_t>(text.size()) * 2);
}

class CatalogueReloadTest : public ::testing::Test
{
protected:
    QString Catalogue() const { return m_folder.filePath("catalogue.txt"); }

    QTemporaryDir m_folder;
};

TEST_F(CatalogueReloadTest, SighupServesTheNewCatalogueUnderANewEntityTag)
{
    ReplaceFile(Catalogue(), CatalogueOf("alpha", 2));
    ReloadingServer server(Catalogue());
    ASSERT_TRUE(server.Start()) << server.Output().toStdString();

    const auto before = HttpFetch::Get(server.Port(), "/stationlist.zip");
    ASSERT_TRUE(before);
    const std::string oldTag = before->Header("ETag");
    ASSERT_TRUE(oldTag.starts_with('"') && oldTag.ends_with('"')) << "a strong tag: " << oldTag;
    const auto unchanged = HttpFetch::Get(server.Port(), "/stationlist.zip", {{"If-None-Match", oldTag}});
    ASSERT_TRUE(unchanged);
    EXPECT_EQ(unchanged->status, 304);
    EXPECT_EQ(unchanged->body, "");

    ReplaceFile(Catalogue(), CatalogueOf("beta", 3));
    server.SendHangUp();
    ASSERT_TRUE(server.WaitForOutput("read again: 3 channels")) << server.Output().toStdString();

    const auto after = HttpFetch::Get(server.Port(), "/stationlist.zip", {{"If-None-Match", oldTag}});
    ASSERT_TRUE(after);
    EXPECT_EQ(after->status, 200) << "the list the client has is no longer the one served";
    EXPECT_NE(after->body.find(Utf16("beta 3")), std::string::npos);
    EXPECT_EQ(after->body.find(Utf16("alpha")), std::string::npos);
    const std::string newTag = after->Header("ETag");
    EXPECT_NE(newTag, oldTag);
    const auto current = HttpFetch::Get(server.Port(), "/stationlist.zip", {{"If-None-Match", "\"x\", W/" + newTag}});
    ASSERT_TRUE(current);
    EXPECT_EQ(current->status, 304);
}

TEST_F(CatalogueReloadTest, AMalformedCatalogueIsRefusedWithItsLineAndTheOldListIsServedOn)
{
    ReplaceFile(Catalogue(), CatalogueOf("alpha", 2));
    ReloadingServer server(Catalogue());
    ASSERT_TRUE(server.Start()) << server.Output().toStdString();
    const std::string served = server.StationList();

    ReplaceFile(Catalogue(),
                QByteArray(kHeader) +
                    "Radio,Good,http://good.example.org/,g,Pop,Fine,ON\n"
                    "Radio,Bad,http://bad.example.org/,b,Pop\n");
    server.SendHangUp();
    ASSERT_TRUE(server.WaitForOutput("catalogue not reloaded")) << server.Output().toStdString();
    EXPECT_TRUE(server.Output().contains(Catalogue() + ":3: only 5 fields")) << server.Output().toStdString();
    EXPECT_EQ(server.StationList(), served);

    ReplaceFile(Catalogue(), CatalogueOf("gamma", 4));
    server.SendHangUp();
    ASSERT_TRUE(server.WaitForOutput("read again: 4 channels")) << server.Output().toStdString();
    EXPECT_NE(server.StationList().find(Utf16("gamma 4")), std::string::npos);
}

TEST_F(CatalogueReloadTest, AChangedCatalogueFileIsReadWithoutASignal)
{
    ReplaceFile(Catalogue(), CatalogueOf("alpha", 2));
    ReloadingServer server(Catalogue());
    ASSERT_TRUE(server.Start()) << server.Output().toStdString();

    ReplaceFile(Catalogue(), CatalogueOf("delta", 5));
    ASSERT_TRUE(server.WaitForOutput("read again: 5 channels")) << server.Output().toStdString();
    EXPECT_NE(server.StationList().find(Utf16("delta 5")), std::string::npos);
}

// Clients fetch the list without pause while it is swapped back and forth:
// each answer is one list or the other, whole, never a mixture.
TEST_F(CatalogueReloadTest, AListClientNeverSeesHalfOfEachList)
{
    const QByteArray first = CatalogueOf("first", 5000);
    const QByteArray second = CatalogueOf("second", 5000);
    ReplaceFile(Catalogue(), first);
    ReloadingServer server(Catalogue());
    ASSERT_TRUE(server.Start()) << server.Output().toStdString();
    const std::string firstList = server.StationList();
    ReplaceFile(Catalogue(), second);
    server.SendHangUp();
    ASSERT_TRUE(server.WaitForOutput("read again", 1)) << server.Output().toStdString();
    const std::string secondList = server.StationList();
    ASSERT_NE(firstList, secondList);

    std::atomic<bool> stop{false};
    std::atomic<int> answers{0};
    std::atomic<int> mixtures{0};
    std::vector<std::thread> clients;
    for (int i = 0; i < 4; ++i) {
        clients.emplace_back([&] {
            while (!stop) {
                const auto answer = HttpFetch::Get(server.Port(), "/stationlist.zip");
                if (!answer || answer->status != 200 || (answer->body != firstList && answer->body != secondList))
                    ++mixtures;
                ++answers;
            }
        });
    }
    constexpr int kSwaps = 8;
    for (int swap = 1; swap <= kSwaps; ++swap) {
        ReplaceFile(Catalogue(), swap % 2 ? first : second);
        server.SendHangUp();
        EXPECT_TRUE(server.WaitForOutput("read again", 1 + swap)) << server.Output().toStdString();
    }
    stop = true;
    for (std::thread& client : clients)
        client.join();
    EXPECT_GT(answers.load(), kSwaps);
    EXPECT_EQ(mixtures.load(), 0);
}

}
