// The real program from outside: started hidden in the tray, it plays
// without the web engine, which comes only once the window is shown.
#include "StationServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr int kTimeoutMs = 30000;
constexpr char kEngineLibrary[] = "libQt6WebEngineCore";
constexpr char kHelperName[] = "QtWebEngineProc";
const QString kBanner = QStringLiteral("/banners/kestrel-radio.html");

// The processes that pid started, and theirs.
QList<qint64> Descendants(qint64 pid)
{
    QList<qint64> found;
    QFile children(QStringLiteral("/proc/%1/task/%1/children").arg(pid));
    if (!children.open(QIODevice::ReadOnly))
        return found;
    for (const QByteArray& child : children.readAll().split(' ')) {
        if (child.trimmed().isEmpty())
            continue;
        const qint64 childPid = child.trimmed().toLongLong();
        found << childPid << Descendants(childPid);
    }
    return found;
}

QString ProcessName(qint64 pid)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    return comm.open(QIODevice::ReadOnly) ? QString::fromUtf8(comm.readAll().trimmed()) : QString();
}

int CountHelpers(qint64 pid)
{
    int nHelpers = 0;
    for (qint64 child : Descendants(pid))
        nHelpers += ProcessName(child) == QLatin1String(kHelperName) ? 1 : 0;
    return nHelpers;
}

bool MapsEngine(qint64 pid)
{
    QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(kEngineLibrary);
}

class LazyEngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_server.Start()) << qPrintable(m_server.Error());
        m_environment.insert(QStringLiteral("KESTREL_RADIO_SERVER"), m_server.BaseUrl());
        m_environment.insert(QStringLiteral("KESTREL_MUSIC_SITE"), m_server.MusicBaseUrl());
        m_environment.insert(QStringLiteral("KESTREL_PROMO_SITE"), m_server.PromoBaseUrl());
        m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
        m_environment.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
        m_program.setProcessEnvironment(m_environment);
        m_program.setStandardOutputFile(QProcess::nullDevice());
        m_program.setStandardErrorFile(QProcess::nullDevice());
    }

    void TearDown() override
    {
        if (m_program.state() == QProcess::NotRunning)
            return;
        m_program.terminate();
        if (!m_program.waitForFinished(10000))
            m_program.kill();
        m_program.waitForFinished(10000);
    }

    int StreamStarts() const
    {
        int nStarts = 0;
        for (const QString& line : m_server.RequestLog())
            nStarts += line.endsWith(QLatin1String("STREAM-START")) ? 1 : 0;
        return nStarts;
    }

    StationServer m_server;
    QTemporaryDir m_home;
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
    QProcess m_program;
};

TEST_F(LazyEngineTest, AHiddenStartPlaysWithoutTheWebEngineUntilTheWindowShows)
{
    m_program.start(QStringLiteral(KESTREL_RADIO_PATH), {QStringLiteral(":silent")});
    ASSERT_TRUE(m_program.waitForStarted());
    const qint64 pid = m_program.processId();

    // Auto play of a fresh profile: the list arrives and the stream plays.
    ASSERT_TRUE(QTest::qWaitFor([&] { return StreamStarts() >= 1; }, kTimeoutMs));
    QTest::qWait(2000);
    EXPECT_EQ(CountHelpers(pid), 0) << "no web engine process while nothing shows a page";
    EXPECT_FALSE(MapsEngine(pid)) << "the engine's library is not even loaded";
    EXPECT_EQ(m_server.CountRequests(kBanner), 0);

    // A second start without arguments shows the running program's window.
    QProcess second;
    second.setProcessEnvironment(m_environment);
    second.start(QStringLiteral(KESTREL_RADIO_PATH), {});
    ASSERT_TRUE(second.waitForFinished(kTimeoutMs));

    EXPECT_TRUE(QTest::qWaitFor([&] { return m_server.CountRequests(kBanner) == 1; }, kTimeoutMs))
        << "the banner loads once it is seen";
    EXPECT_TRUE(MapsEngine(pid));
    EXPECT_GE(CountHelpers(pid), 1);
}

}
