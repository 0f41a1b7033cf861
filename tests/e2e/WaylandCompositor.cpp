#include "WaylandCompositor.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>

namespace {
constexpr int kStartTimeoutMs = 10000;
constexpr int kScreenshotTimeoutMs = 10000;
constexpr QSize kScreenSize(1280, 1024);
// No panel, and a desktop that a window cannot be mistaken for.
constexpr char kConfiguration[] = "[core]\nidle-time=0\n[shell]\nbackground-color=0xff000000\npanel-position=none\n";
}

WaylandCompositor::~WaylandCompositor()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(kStartTimeoutMs))
        m_process.kill();
    m_process.waitForFinished(kStartTimeoutMs);
}

bool WaylandCompositor::Start()
{
    const QString strRuntime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!m_folder.isValid() || strRuntime.isEmpty())
        return false;
    const QString strConfig = m_folder.filePath(QStringLiteral("weston.ini"));
    QFile config(strConfig);
    if (!config.open(QIODevice::WriteOnly) || config.write(kConfiguration) < 0)
        return false;
    config.close();
    m_strSocket = QStringLiteral("kestrel-wayland-%1").arg(QCoreApplication::applicationPid());
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(QStringLiteral("weston"),
                    {QStringLiteral("--backend=headless-backend.so"), QStringLiteral("--use-pixman"),
                     QStringLiteral("--debug"), QStringLiteral("--socket=") + m_strSocket,
                     QStringLiteral("--config=") + strConfig, QStringLiteral("--width=%1").arg(kScreenSize.width()),
                     QStringLiteral("--height=%1").arg(kScreenSize.height())});
    if (!m_process.waitForStarted(kStartTimeoutMs))
        return false;
    // Ready once its shell runs: the shell's black desktop is the first
    // picture a screenshot shows.
    return QTest::qWaitFor(
        [&] {
            return m_process.state() == QProcess::Running && QFile::exists(QDir(strRuntime).filePath(m_strSocket)) &&
                !Screenshot().isNull();
        },
        kStartTimeoutMs);
}

QImage WaylandCompositor::Screenshot()
{
    QDir shots(m_folder.filePath(QStringLiteral("shots")));
    shots.removeRecursively();
    if (!shots.mkpath(QStringLiteral(".")))
        return QImage();
    QProcess shooter;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("WAYLAND_DISPLAY"), m_strSocket);
    shooter.setProcessEnvironment(environment);
    shooter.setWorkingDirectory(shots.path());
    shooter.setProcessChannelMode(QProcess::MergedChannels);
    shooter.start(QStringLiteral("weston-screenshooter"), {});
    if (!shooter.waitForFinished(kScreenshotTimeoutMs) || shooter.exitCode() != 0)
        return QImage();
    const QStringList files = shots.entryList({QStringLiteral("*.png")}, QDir::Files);
    return files.isEmpty() ? QImage() : QImage(shots.filePath(files.first()));
}

QString WaylandCompositor::Log()
{
    m_strLog += QString::fromLocal8Bit(m_process.readAll());
    return m_strLog;
}

QRect WaylandCompositor::DrawnArea(const QImage& screen)
{
    QRect area;
    const QImage pixels = screen.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* pLine = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        int nFirst = -1;
        int nLast = -1;
        for (int x = 0; x < pixels.width(); ++x) {
            if ((pLine[x] & 0xffffff) != 0) {
                if (nFirst < 0)
                    nFirst = x;
                nLast = x;
            }
        }
        if (nFirst >= 0)
            area |= QRect(nFirst, y, nLast - nFirst + 1, 1);
    }
    return area;
}
