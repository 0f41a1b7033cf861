#include "PrintQString.h"
#include "StationListSamples.h"
#include "StationServer.h"
#include "download/CFileDownloadManager.h"
#include "fw/CWinApp.h"
#include "platform/download/UrlDownloader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

const char kStationListPath[] = "/stationlist.zip";

QStringList TempFilesOfOurs()
{
    return QDir(QDir::tempPath()).entryList({QStringLiteral("KRF*")}, QDir::Files | QDir::Hidden | QDir::System);
}

QByteArray ReadAll(const QString& strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A download service that only notes how it was called.
class CRecordingDownloader : public IUrlDownloader
{
public:
    int m_nCalls = 0;
    QString m_strUrl;
    QString m_strFilePath;
    bool m_bFileExisted = true;
    int m_nWaitCursors = 0;

    bool IsAvailable() const override { return true; }
    UrlDownloadResult Download(const QString& strUrl, const QString& strFilePath) override
    {
        ++m_nCalls;
        m_strUrl = strUrl;
        m_strFilePath = strFilePath;
        m_bFileExisted = QFileInfo::exists(strFilePath);
        m_nWaitCursors = AfxGetApp()->WaitCursorCount();
        return UrlDownloadResult{UrlDownloadStatus::ConnectFailed, QStringLiteral("no server here"), 0};
    }
};

class FileDownloadManagerLogicTest : public ::testing::Test
{
protected:
    CWinApp m_app{QStringLiteral("Kestrel Radio test")};
};

TEST_F(FileDownloadManagerLogicTest, DownloadsIntoAFreshTempNameUnderTheWaitCursor)
{
    auto pOwned = std::make_unique<CRecordingDownloader>();
    CRecordingDownloader& downloader = *pOwned;
    CFileDownloadManager manager(std::move(pOwned));
    manager.m_strUrl = QStringLiteral("http://127.0.0.1:1/stationlist.zip");
    manager.m_strError = QStringLiteral("left from before");

    EXPECT_EQ(manager.Download(), FALSE);

    EXPECT_EQ(downloader.m_nCalls, 1);
    EXPECT_EQ(downloader.m_strUrl, manager.m_strUrl);
    EXPECT_EQ(downloader.m_strFilePath, manager.m_strTempFile);
    EXPECT_FALSE(downloader.m_bFileExisted);
    EXPECT_EQ(downloader.m_nWaitCursors, 1);
    EXPECT_EQ(m_app.WaitCursorCount(), 0);
    EXPECT_TRUE(manager.m_strError.isEmpty());
}

TEST(FileDownloadManagerTempNameTest, NameIsReservedButNoFileIsLeft)
{
    CFileDownloadManager manager;
    manager.MakeTempFileName();
    const QString strFirst = manager.m_strTempFile;
    manager.MakeTempFileName();
    const QString strSecond = manager.m_strTempFile;

    for (const QString& strName : {strFirst, strSecond}) {
        const QFileInfo info(strName);
        EXPECT_TRUE(info.fileName().startsWith(QLatin1String("KRF"))) << strName.toStdString();
        EXPECT_EQ(info.absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
        EXPECT_FALSE(info.exists()) << strName.toStdString();
    }
    EXPECT_NE(strFirst, strSecond);
}

TEST(FileDownloadManagerTempNameTest, UnwritableTempFolderGivesNoName)
{
    const QByteArray previous = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(QDir::tempPath() + QStringLiteral("/no-such-folder")));
    CFileDownloadManager manager;
    manager.m_strUrl = QStringLiteral("http://127.0.0.1:1/stationlist.zip");
    manager.MakeTempFileName();
    const QString strName = manager.m_strTempFile;
    const BOOL bDownloaded = manager.Download();
    qputenv("TMPDIR", previous);

    EXPECT_TRUE(strName.isEmpty());
    EXPECT_EQ(bDownloaded, FALSE);
}

class FileDownloadManagerServerTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(TempFilesOfOurs().isEmpty()); }
    void TearDown() override
    {
        for (const QString& strName : TempFilesOfOurs())
            QFile::remove(QDir(QDir::tempPath()).filePath(strName));
    }

    void StartServer(StationServerOptions options = {})
    {
        m_pServer = std::make_unique<StationServer>(std::move(options));
        ASSERT_TRUE(m_pServer->Start()) << m_pServer->Error().toStdString();
    }

    // A download through a manager whose limits a test can shorten.
    BOOL Download(CFileDownloadManager& manager, const QString& strUrl)
    {
        manager.m_strUrl = strUrl;
        manager.m_strError = QStringLiteral("left from before");
        return manager.Download();
    }

    std::unique_ptr<StationServer> m_pServer;
};

TEST_F(FileDownloadManagerServerTest, EveryDownloadGoesToTheServerAndKeepsItsBytes)
{
    StartServer();
    const QString strUrl = m_pServer->Url(kStationListPath);
    CFileDownloadManager first;
    CFileDownloadManager second;

    ASSERT_EQ(Download(first, strUrl), TRUE);
    ASSERT_EQ(Download(second, strUrl), TRUE);

    EXPECT_EQ(m_pServer->CountRequests(kStationListPath), 2);
    EXPECT_NE(first.m_strTempFile, second.m_strTempFile);
    const QByteArray served = FetchWithAnotherClient(m_pServer->Port(), kStationListPath);
    ASSERT_FALSE(served.isEmpty());
    EXPECT_EQ(ReadAll(first.m_strTempFile), served);
    EXPECT_EQ(ReadAll(second.m_strTempFile), served);
    EXPECT_EQ(TempFilesOfOurs().size(), 2);
}

TEST_F(FileDownloadManagerServerTest, TenMegabyteListArrivesWhole)
{
    const QString strCatalogue = QDir(QDir::tempPath()).filePath(QStringLiteral("big-catalogue.txt"));
    ASSERT_TRUE(WriteBigCatalogue(strCatalogue, 10 * 1024 * 1024));
    StationServerOptions options;
    options.catalogueFile = strCatalogue;
    StartServer(options);
    CFileDownloadManager manager;

    ASSERT_EQ(Download(manager, m_pServer->Url(kStationListPath)), TRUE);

    const QByteArray downloaded = ReadAll(manager.m_strTempFile);
    EXPECT_GE(downloaded.size(), 10 * 1024 * 1024);
    EXPECT_TRUE(downloaded == FetchWithAnotherClient(m_pServer->Port(), kStationListPath));
    QFile::remove(strCatalogue);
}

TEST_F(FileDownloadManagerServerTest, EveryWayOfFailingLeavesNothingBehind)
{
    UrlDownloadOptions shortLimits;
    shortLimits.connectTimeout = 2s;
    shortLimits.stallTimeout = 2s;
    const std::pair<const char*, UrlDownloadStatus> faults[] = {
        {"status=404", UrlDownloadStatus::HttpError},
        {"status=500", UrlDownloadStatus::HttpError},
        {"close-mid-body", UrlDownloadStatus::TransferFailed},
        {"stalled-body", UrlDownloadStatus::Stalled},
        {"delay=5000", UrlDownloadStatus::Stalled},
        {"endless-body", UrlDownloadStatus::TooLarge},
        {"oversized-body", UrlDownloadStatus::TooLarge},
    };
    for (const auto& [pFault, expectedStatus] : faults) {
        SCOPED_TRACE(pFault);
        StationServerOptions options;
        options.fault = QLatin1String(pFault);
        StartServer(options);
        const QString strUrl = m_pServer->Url(kStationListPath);
        CFileDownloadManager manager(CreateUrlDownloader(shortLimits));

        EXPECT_EQ(Download(manager, strUrl), FALSE);

        EXPECT_TRUE(manager.m_strError.isEmpty());
        EXPECT_FALSE(manager.m_strTempFile.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(manager.m_strTempFile));
        EXPECT_TRUE(TempFilesOfOurs().isEmpty());
        // And it failed for the fault's own reason.
        manager.MakeTempFileName();
        EXPECT_EQ(CreateUrlDownloader(shortLimits)->Download(strUrl, manager.m_strTempFile).status, expectedStatus);
        m_pServer.reset();
    }
}

TEST_F(FileDownloadManagerServerTest, RefusedConnectionFails)
{
    QTcpServer closedPort;
    ASSERT_TRUE(closedPort.listen(QHostAddress::LocalHost));
    const quint16 nPort = closedPort.serverPort();
    closedPort.close();
    CFileDownloadManager manager;

    EXPECT_EQ(Download(manager, QStringLiteral("http://127.0.0.1:%1/stationlist.zip").arg(nPort)), FALSE);

    EXPECT_TRUE(manager.m_strError.isEmpty());
    EXPECT_TRUE(TempFilesOfOurs().isEmpty());
}

TEST(StaleTempFilesTest, OnlyOurAbandonedFilesGo)
{
    const QDir temp(QDir::tempPath());
    const auto make = [&](const char* pName) {
        QFile file(temp.filePath(QLatin1String(pName)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("partial");
    };
    make("KRFab12cd.tmp");
    make("KRFin0use.tmp");
    make("KRF1.tmp");
    make("other.tmp");
    const QByteArray inUse = QFile::encodeName(temp.filePath(QStringLiteral("KRFin0use.tmp")));
    const int nHeld = open(inUse.constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(nHeld, 0);
    ASSERT_EQ(flock(nHeld, LOCK_EX), 0);
    ASSERT_TRUE(
        QFile::link(temp.filePath(QStringLiteral("other.tmp")), temp.filePath(QStringLiteral("KRFlink00.tmp"))));

    CFileDownloadManager::RemoveStaleTempFiles();

    EXPECT_EQ(temp.entryList({QStringLiteral("*.tmp")}, QDir::Files | QDir::System, QDir::Name),
              QStringList({"KRF1.tmp", "KRFin0use.tmp", "KRFlink00.tmp", "other.tmp"}));
    close(nHeld);
    for (const QString& strName : temp.entryList({QStringLiteral("*.tmp")}, QDir::Files | QDir::System))
        QFile::remove(temp.filePath(strName));
}

}
