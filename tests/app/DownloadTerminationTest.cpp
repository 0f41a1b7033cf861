// The real program on a private display, against a station list server that
// sends a byte now and then and never finishes: a termination signal during
// the download ends the program cleanly, with no temporary file left, and a
// temporary file that an earlier, killed run left is cleared at start-up.

#include "LocalWebServer.h"
#include "res/ProductInfo.h"

#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <csignal>
#include <gtest/gtest.h>
#include <httplib.h>

namespace {

const QString kProgram = QStringLiteral(KESTREL_PROGRAM);
const char kStationListPath[] = "/stationlist.zip";

class DownloadTerminationTest : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("DISPLAY"));
        ASSERT_TRUE(m_temp.isValid());
        QSettings profile(QSettings::IniFormat, QSettings::UserScope, ProductInfo::MakerDomain(),
                          ProductInfo::ApplicationTitle());
        profile.clear();
        // The radio page, which brings its station list as it opens.
        profile.setValue(QStringLiteral("Settings/LastCategory"), 0);
        profile.sync();

        m_server.Routes().Get(kStationListPath, [this](const httplib::Request&, httplib::Response& response) {
            ++m_nRequests;
            response.set_chunked_content_provider("application/octet-stream", [this](size_t, httplib::DataSink& sink) {
                m_server.HoldBack(std::chrono::milliseconds(200));
                return sink.is_writable() && sink.write("R", 1);
            });
        });
        ASSERT_TRUE(m_server.Start());
    }

    QStringList TempFilesOfOurs() const
    {
        return QDir(m_temp.path()).entryList({QStringLiteral("KRF*")}, QDir::Files | QDir::Hidden | QDir::System);
    }

    QTemporaryDir m_temp;
    LocalWebServer m_server;
    std::atomic<int> m_nRequests = 0;
};

TEST_P(DownloadTerminationTest, SignalDuringTheDownloadEndsTheProgramWithNoTemporaryFileLeft)
{
    QFile stale(QDir(m_temp.path()).filePath(QStringLiteral("KRF0ld0ne.tmp")));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("what a killed run left");
    stale.close();

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), m_temp.path());
    environment.insert(QStringLiteral("KESTREL_RADIO_SERVER"), m_server.Url(QString()));
    environment.insert(QStringLiteral("KESTREL_MUSIC_SITE"), QStringLiteral("http://127.0.0.1:9"));
    environment.insert(QStringLiteral("KESTREL_PROMO_SITE"), QStringLiteral("http://127.0.0.1:9"));
    program.setProcessEnvironment(environment);
    program.start(kProgram, {});
    ASSERT_TRUE(program.waitForStarted());

    ASSERT_TRUE(QTest::qWaitFor([&] { return m_nRequests > 0; }, 60000)) << "the station list was never asked for";
    QTest::qWait(1500);
    EXPECT_FALSE(stale.exists()) << "a killed run's file is still there";
    EXPECT_EQ(TempFilesOfOurs().size(), 1) << "the download's own file";
    EXPECT_EQ(program.state(), QProcess::Running);

    ASSERT_EQ(kill(static_cast<pid_t>(program.processId()), GetParam()), 0);

    ASSERT_TRUE(program.waitForFinished(10000)) << "the program did not end";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_TRUE(TempFilesOfOurs().isEmpty()) << qPrintable(TempFilesOfOurs().join(' '));
}

INSTANTIATE_TEST_SUITE_P(Signals, DownloadTerminationTest, ::testing::Values(SIGTERM, SIGINT, SIGHUP));

}
