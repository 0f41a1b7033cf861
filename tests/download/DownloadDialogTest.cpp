#include "LocalWebServer.h"
#include "PrintQString.h"
#include "StationListSamples.h"
#include "StationServer.h"
#include "download/CDlgFileDownloader.h"
#include "download/CFileDownloadManager.h"
#include "download/ChannelsListDownload.h"
#include "download/HandwritingFont.h"
#include "fw/CWinApp.h"
#include "fw/MessageBox.h"
#include "res/ProductInfo.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QKeyEvent>
#include <QPointer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <httplib.h>
#include <optional>
#include <sys/mount.h>

namespace {

const char kStationListPath[] = "/stationlist.zip";
const char kApplicationName[] = "Kestrel Radio by kestrelradio.example";

QStringList TempFilesOfOurs()
{
    return QDir(QDir::tempPath()).entryList({QStringLiteral("KRF*")}, QDir::Files | QDir::Hidden | QDir::System);
}

QByteArray ReadAll(const QString& strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteFile(const QString& strPath, const QByteArray& bytes)
{
    QFile file(strPath);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// What the dialog showed when its modal loop began.
struct ShownDialog {
    QString strCaption;
    QString strMessage;
    QString strFontFamily;
    int nRequestsSoFar = -1;
};

// A list server that sends two bytes a second and never finishes.
void ServeTwoBytesASecond(LocalWebServer& server, std::atomic<int>& nRequests)
{
    server.Routes().Get(kStationListPath, [&server, &nRequests](const httplib::Request&, httplib::Response& response) {
        ++nRequests;
        response.set_chunked_content_provider("application/octet-stream", [&server](size_t, httplib::DataSink& sink) {
            server.HoldBack(std::chrono::milliseconds(500));
            return sink.is_writable() && sink.write("R", 1);
        });
    });
}

// What reached the dialog while its download ran.
class DuringTheDownload : public QObject
{
public:
    explicit DuringTheDownload(CDlgFileDownloader& dialog)
        : m_dialog(dialog)
    {
        dialog.installEventFilter(this);
    }

    bool eventFilter(QObject* pWatched, QEvent* pEvent) override
    {
        if (pWatched == &m_dialog && pEvent->type() == QEvent::Paint && m_dialog.m_manager.IsDownloading())
            ++m_nPaints;
        return false;
    }

    CDlgFileDownloader& m_dialog;
    int m_nPaints = 0;
    int m_nTicks = 0;
    int m_nZeroTimers = 0;
    int m_nPostedEvents = 0;
};

TEST(HandwritingFontTest, SegoePrintOrTheInstalledHandwritingFace)
{
    const QFont font = HandwritingFont(12);
    // The build machine's face comes from fonts-comic-neue.
    const QString strExpected = QFontDatabase::families().contains(QLatin1String("Segoe Print"))
        ? QStringLiteral("Segoe Print")
        : QStringLiteral("Comic Neue");

    EXPECT_EQ(QFontInfo(font).family(), strExpected);
    EXPECT_EQ(font.pointSize(), 12);
}

class DownloadDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        m_strDestination = m_folder.filePath(QStringLiteral("StationList.zip"));
    }

    void StartServer(const QString& strFault = QString())
    {
        StationServerOptions options;
        options.fault = strFault;
        m_pServer = std::make_unique<StationServer>(options);
        ASSERT_TRUE(m_pServer->Start()) << m_pServer->Error().toStdString();
    }

    QString ListUrl() const { return m_pServer->Url(kStationListPath); }

    CWinApp m_app{QLatin1String(kApplicationName)};
    QTemporaryDir m_folder;
    QString m_strDestination;
    std::unique_ptr<StationServer> m_pServer;
};

TEST_F(DownloadDialogTest, DownloadsAfterItsFirstSecondAndPutsTheListInPlace)
{
    StartServer();
    ASSERT_TRUE(WriteFile(m_strDestination, "an older list"));
    std::optional<ShownDialog> shown;
    const CModalDialogDriver driver([&](CDialog& dialog) {
        auto* pMessage = qobject_cast<QLabel*>(dialog.GetDlgItem(CDlgFileDownloader::IDC_MESSAGE));
        shown = ShownDialog{dialog.windowTitle(), pMessage != nullptr ? pMessage->text() : QString(),
                            QFontInfo(dialog.font()).family(), m_pServer->CountRequests(kStationListPath)};
    });
    CDlgFileDownloader dialog;
    dialog.m_strMessage = QLatin1String(kLoadingChannelsListMessage);

    EXPECT_EQ(dialog.DownloadFile(ListUrl(), m_strDestination), TRUE);

    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->strCaption, kApplicationName);
    EXPECT_EQ(shown->strMessage, "Loading Channels List Now...");
    EXPECT_EQ(shown->strFontFamily, QFontInfo(HandwritingFont(12)).family());
    EXPECT_EQ(shown->nRequestsSoFar, 0);
    EXPECT_EQ(m_pServer->CountRequests(kStationListPath), 1);
    EXPECT_EQ(ReadAll(m_strDestination), FetchWithAnotherClient(m_pServer->Port(), kStationListPath));
    EXPECT_TRUE(TempFilesOfOurs().isEmpty());
}

TEST_F(DownloadDialogTest, ClosedInItsFirstSecondIsAFailure)
{
    StartServer();
    ASSERT_TRUE(WriteFile(m_strDestination, "an older list"));
    const std::function<void(CDialog&)> ways[] = {
        [](CDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); },
        [](CDialog& dialog) { QTimer::singleShot(500, &dialog, [&dialog] { dialog.close(); }); },
    };
    for (const auto& close : ways) {
        const CModalDialogDriver driver(close);
        CDlgFileDownloader dialog;

        EXPECT_EQ(dialog.DownloadFile(ListUrl(), m_strDestination), FALSE);
    }

    EXPECT_EQ(m_pServer->CountRequests(kStationListPath), 0);
    EXPECT_EQ(ReadAll(m_strDestination), "an older list");
}

TEST_F(DownloadDialogTest, ASlowListServerLeavesTheDialogPaintingAndTheEventLoopAnswering)
{
    LocalWebServer server;
    std::atomic<int> nRequests = 0;
    ServeTwoBytesASecond(server, nRequests);
    ASSERT_TRUE(server.Start());
    ASSERT_TRUE(WriteFile(m_strDestination, "an older list"));
    const CDownloadDeadlineOverride deadline(std::chrono::milliseconds(3000));
    CDlgFileDownloader dialog;
    DuringTheDownload seen(dialog);
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, &dialog, [&] {
        if (!dialog.m_manager.IsDownloading())
            return;
        ++seen.m_nTicks;
        dialog.update();
        QTimer::singleShot(0, &dialog, [&] { seen.m_nZeroTimers += dialog.m_manager.IsDownloading() ? 1 : 0; });
        QMetaObject::invokeMethod(
            &dialog, [&] { seen.m_nPostedEvents += dialog.m_manager.IsDownloading() ? 1 : 0; }, Qt::QueuedConnection);
    });
    const CModalDialogDriver driver([&](CDialog&) { ticker.start(50); });

    EXPECT_EQ(dialog.DownloadFile(server.Url(QLatin1String(kStationListPath)), m_strDestination), FALSE);

    EXPECT_EQ(nRequests, 1);
    EXPECT_GT(seen.m_nTicks, 3);
    EXPECT_GT(seen.m_nZeroTimers, 3);
    EXPECT_GT(seen.m_nPostedEvents, 3);
    EXPECT_GT(seen.m_nPaints, 0);
    EXPECT_FALSE(dialog.m_bGivenUp);
    EXPECT_EQ(ReadAll(m_strDestination), "an older list");
    EXPECT_TRUE(TempFilesOfOurs().isEmpty());
}

TEST_F(DownloadDialogTest, FailedDownloadKeepsTheOlderList)
{
    StartServer(QStringLiteral("close-mid-body"));
    ASSERT_TRUE(WriteFile(m_strDestination, "an older list"));
    CDlgFileDownloader dialog;

    EXPECT_EQ(dialog.DownloadFile(ListUrl(), m_strDestination), FALSE);

    EXPECT_EQ(ReadAll(m_strDestination), "an older list");
    EXPECT_TRUE(TempFilesOfOurs().isEmpty());
}

TEST_F(DownloadDialogTest, FailedCopyIsAFailureAndLeavesNoTempFile)
{
    StartServer();
    CDlgFileDownloader dialog;

    EXPECT_EQ(dialog.DownloadFile(ListUrl(), m_folder.filePath(QStringLiteral("missing/StationList.zip"))), FALSE);

    EXPECT_EQ(m_pServer->CountRequests(kStationListPath), 1);
    EXPECT_TRUE(TempFilesOfOurs().isEmpty());
}

std::string RandomBytes(std::size_t nSize)
{
    QRandomGenerator generator(6);
    std::string bytes(nSize, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(generator.bounded(256));
    return bytes;
}

class ChannelsListDownloadTest : public DownloadDialogTest
{
protected:
    std::vector<MessageBoxRequest> m_boxes;
    CMessageBoxAnswerer m_answerer{[this](const MessageBoxRequest& request) {
        m_boxes.push_back(request);
        return IDOK;
    }};
};

TEST_F(ChannelsListDownloadTest, FailureTellsTheUserHowToReachUs)
{
    StartServer(QStringLiteral("status=500"));

    EXPECT_EQ(DownloadChannelsList(nullptr, ListUrl(), m_strDestination), FALSE);

    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].strCaption, kApplicationName);
    EXPECT_EQ(m_boxes[0].strText,
              "Failed to Update Load Channels List.\n\nPlease make sure you Computer is connected to Internet.\n\n"
              "In case the problem persists please do write to us at " +
                  ProductInfo::SupportAddress() + ".");
    EXPECT_EQ(m_boxes[0].nType, MB_OK | MB_ICONINFORMATION);
    EXPECT_FALSE(QFile::exists(m_strDestination));
}

TEST_F(ChannelsListDownloadTest, SuccessShowsNoBox)
{
    StartServer();
    std::optional<QString> shownMessage;
    const CModalDialogDriver driver([&](CDialog& dialog) {
        shownMessage = qobject_cast<QLabel*>(dialog.GetDlgItem(CDlgFileDownloader::IDC_MESSAGE))->text();
    });

    EXPECT_EQ(DownloadChannelsList(nullptr, ListUrl(), m_strDestination), TRUE);

    EXPECT_TRUE(m_boxes.empty());
    EXPECT_EQ(shownMessage, "Loading Channels List Now...");
    EXPECT_EQ(ReadAll(m_strDestination), FetchWithAnotherClient(m_pServer->Port(), kStationListPath));
}

TEST_F(ChannelsListDownloadTest, AnAnswerThatIsNoStationListKeepsTheOlderList)
{
    LocalWebServer server;
    const std::pair<const char*, std::string> answers[] = {
        {"/empty", std::string()},
        {"/one-byte", std::string("R")},
        {"/utf8",
         std::string("Type,Channel,Address,Extra,Genre,Language,Status\r\nRadio,\xc3\xa9t\xc3\xa9,u,,g,l,s\r\n")},
        {"/random", RandomBytes(1024 * 1024)},
    };
    for (const auto& [pPath, body] : answers) {
        server.Routes().Get(pPath, [body](const httplib::Request&, httplib::Response& response) {
            response.set_content(body, "application/octet-stream");
        });
    }
    ASSERT_TRUE(server.Start());
    ASSERT_TRUE(WriteFile(m_strDestination, "an older list"));

    for (const auto& [pPath, body] : answers) {
        EXPECT_EQ(DownloadChannelsList(nullptr, server.Url(QLatin1String(pPath)), m_strDestination), FALSE) << pPath;
        EXPECT_EQ(ReadAll(m_strDestination), "an older list") << pPath;
    }

    ASSERT_EQ(m_boxes.size(), std::size(answers));
    for (const MessageBoxRequest& box : m_boxes)
        EXPECT_EQ(box.strText, ChannelsListFailureMessage());
    EXPECT_TRUE(TempFilesOfOurs().isEmpty());
}

// A data folder on a small file system of its own, filled to the last byte.
class FullDataFolder
{
public:
    explicit FullDataFolder(const QString& strFolder)
        : m_strFolder(strFolder)
    {
        m_bMounted = mount("tmpfs", QFile::encodeName(strFolder).constData(), "tmpfs", 0, "size=64k") == 0;
    }
    ~FullDataFolder()
    {
        if (m_bMounted)
            umount2(QFile::encodeName(m_strFolder).constData(), MNT_DETACH);
    }
    FullDataFolder(const FullDataFolder&) = delete;
    FullDataFolder& operator=(const FullDataFolder&) = delete;

    bool IsMounted() const { return m_bMounted; }

    // Fills what is left with a file of its own.
    bool Fill() const
    {
        QFile filler(QDir(m_strFolder).filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray block(512, 'f');
        while (filler.write(block) == block.size()) {}
        const QByteArray byte(1, 'f');
        while (filler.write(byte) == 1) {}
        return true;
    }

private:
    QString m_strFolder;
    bool m_bMounted = false;
};

TEST_F(ChannelsListDownloadTest, AFullDataFolderKeepsTheOlderListAndSaysSo)
{
    StartServer();
    const QString strFolder = m_folder.filePath(QStringLiteral("data"));
    ASSERT_TRUE(QDir().mkpath(strFolder));
    const FullDataFolder full(strFolder);
    if (!full.IsMounted())
        GTEST_SKIP() << "a small file system cannot be mounted here (the test needs root)";
    const QString strDestination = QDir(strFolder).filePath(QStringLiteral("StationList.zip"));
    ASSERT_TRUE(WriteFile(strDestination, "an older list"));
    ASSERT_TRUE(full.Fill());

    EXPECT_EQ(DownloadChannelsList(nullptr, ListUrl(), strDestination), FALSE);

    EXPECT_EQ(ReadAll(strDestination), "an older list");
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].strText, ChannelsListFailureMessage());
    EXPECT_EQ(QDir(strFolder).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              QStringList({QStringLiteral("StationList.zip"), QStringLiteral("filler")}));
    EXPECT_TRUE(TempFilesOfOurs().isEmpty());
}

TEST_F(ChannelsListDownloadTest, AListServerThatTricklesEndsInTheFailureMessageAtTheDeadline)
{
    LocalWebServer server;
    server.Routes().Get(kStationListPath, [&server](const httplib::Request&, httplib::Response& response) {
        response.set_chunked_content_provider("application/octet-stream", [&server](size_t, httplib::DataSink& sink) {
            server.HoldBack(std::chrono::milliseconds(100));
            return sink.is_writable() && sink.write("R", 1);
        });
    });
    ASSERT_TRUE(server.Start());
    ASSERT_TRUE(WriteFile(m_strDestination, "an older list"));
    const CDownloadDeadlineOverride deadline(std::chrono::milliseconds(2000));

    // The trickle never ends: only the deadline returns.
    EXPECT_EQ(DownloadChannelsList(nullptr, server.Url(QLatin1String(kStationListPath)), m_strDestination), FALSE);

    EXPECT_EQ(ReadAll(m_strDestination), "an older list");
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].strText, ChannelsListFailureMessage());
    EXPECT_TRUE(TempFilesOfOurs().isEmpty());
}

TEST_F(ChannelsListDownloadTest, OnceTheDownloadRunsOnlyTheProgramEndingCallsItOffAndNoOneIsTold)
{
    LocalWebServer server;
    std::atomic<int> nRequests = 0;
    ServeTwoBytesASecond(server, nRequests);
    ASSERT_TRUE(server.Start());
    ASSERT_TRUE(WriteFile(m_strDestination, "an older list"));
    bool bEscapeEndedIt = true;
    bool bCloseEndedIt = true;
    const CModalDialogDriver driver([&](CDialog& modal) {
        auto* pDialog = qobject_cast<CDlgFileDownloader*>(&modal);
        ASSERT_NE(pDialog, nullptr);
        auto* pPoll = new QTimer(pDialog);
        QObject::connect(pPoll, &QTimer::timeout, pDialog, [&, pDialog, pPoll] {
            if (!pDialog->m_manager.IsDownloading() || nRequests == 0)
                return;
            pPoll->stop();
            QTest::keyClick(pDialog, Qt::Key_Escape);
            bEscapeEndedIt = !pDialog->isVisible() || !pDialog->m_manager.IsDownloading();
            // What the program does with open dialogs as it ends.
            bCloseEndedIt = pDialog->close();
        });
        pPoll->start(20);
    });
    EXPECT_EQ(DownloadChannelsList(nullptr, server.Url(QLatin1String(kStationListPath)), m_strDestination), FALSE);

    EXPECT_FALSE(bEscapeEndedIt) << "the user cannot call the download off";
    EXPECT_FALSE(bCloseEndedIt) << "the dialog ends with its download";
    // Called off, not ended by its deadline: that one tells the user.
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_EQ(ReadAll(m_strDestination), "an older list");
    EXPECT_TRUE(TempFilesOfOurs().isEmpty());
}

}
