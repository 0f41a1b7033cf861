#include "WaylandCompositor.h"

#include "RadioProgram.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace {
constexpr int kStartTimeoutMs = 10000;
constexpr int kScreenshotTimeoutMs = 10000;
constexpr QSize kScreenSize(1280, 1024);
// No panel, and a desktop that a window cannot be mistaken for, under the
// pointer theme below.
constexpr char kConfiguration[] = "[core]\nidle-time=0\n[shell]\nbackground-color=0xff000000\npanel-position=none\n"
                                  "cursor-theme=kestrel-invisible\n";
const QString kPointerFile = QStringLiteral("icons/kestrel-invisible/cursors/left_ptr");
// The class of weston's window on the X display.
const QString kWindowClass = QStringLiteral("^Weston Compositor$");

// The shell's pointer: one transparent pixel, in the X cursor file format
// that its toolkit reads.
QByteArray InvisiblePointer()
{
    constexpr quint32 kImageChunk = 0xfffd0002;
    constexpr quint32 kNominalSize = 24;
    constexpr quint32 kFileHeaderSize = 16;
    constexpr quint32 kTableEntrySize = 12;
    constexpr quint32 kImageHeaderSize = 36;
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("Xcur", 4);
    // Version 1.0, and a table of one image.
    out << kFileHeaderSize << quint32(0x10000) << quint32(1);
    out << kImageChunk << kNominalSize << kFileHeaderSize + kTableEntrySize;
    // Version 1, 1 x 1 pixel, the hot spot at 0,0, not animated.
    out << kImageHeaderSize << kImageChunk << kNominalSize << quint32(1) << quint32(1) << quint32(1) << quint32(0)
        << quint32(0) << quint32(0);
    out << quint32(0);
    return data;
}

QString Xdotool(const QStringList& arguments)
{
    return RunTool(QStringLiteral("xdotool"), arguments);
}
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
    if (!m_folder.isValid() || strRuntime.isEmpty() || qEnvironmentVariableIsEmpty("DISPLAY") || !WriteConfiguration())
        return false;
    m_strSocket = QStringLiteral("kestrel-wayland-%1").arg(QCoreApplication::applicationPid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XCURSOR_PATH"), m_folder.filePath(QStringLiteral("icons")));
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(QStringLiteral("weston"),
                    {QStringLiteral("--backend=x11-backend.so"), QStringLiteral("--use-pixman"),
                     QStringLiteral("--debug"), QStringLiteral("--socket=") + m_strSocket,
                     QStringLiteral("--config=") + m_folder.filePath(QStringLiteral("weston.ini")),
                     QStringLiteral("--width=%1").arg(kScreenSize.width()),
                     QStringLiteral("--height=%1").arg(kScreenSize.height())});
    if (!m_process.waitForStarted(kStartTimeoutMs))
        return false;
    // Ready once its shell runs: the shell's black desktop is the first
    // picture a screenshot shows.
    const bool bReady = QTest::qWaitFor(
        [&] {
            if (m_strWindow.isEmpty())
                m_strWindow = Xdotool({QStringLiteral("search"), QStringLiteral("--class"), kWindowClass});
            return m_process.state() == QProcess::Running && !m_strWindow.isEmpty() &&
                QFile::exists(QDir(strRuntime).filePath(m_strSocket)) && !Screenshot().isNull();
        },
        kStartTimeoutMs);
    if (!bReady)
        return false;
    // The pointer waits in the corner, where it covers no window's middle.
    MovePointer(QPoint(0, 0));
    return true;
}

bool WaylandCompositor::WriteConfiguration()
{
    QFile config(m_folder.filePath(QStringLiteral("weston.ini")));
    if (!config.open(QIODevice::WriteOnly) || config.write(kConfiguration) < 0)
        return false;
    config.close();
    const QString strPointer = m_folder.filePath(kPointerFile);
    QFile pointer(strPointer);
    return QDir().mkpath(QFileInfo(strPointer).path()) && pointer.open(QIODevice::WriteOnly) &&
        pointer.write(InvisiblePointer()) > 0;
}

void WaylandCompositor::Click(const QPoint& point)
{
    MovePointer(point, {QStringLiteral("click"), QStringLiteral("1")});
}

void WaylandCompositor::MovePointer(const QPoint& point, const QStringList& then)
{
    // Weston moves its pointer by as much as the X pointer moved since it
    // last saw it, and keeps it on its screen: a run into the far corner (a
    // move first, so that the run is one) and back to the origin puts both
    // pointers there, whatever weston believed before, and from there they
    // go to the point together.
    QStringList arguments;
    const auto moveTo = [&](int nX, int nY) {
        arguments << QStringLiteral("mousemove") << QStringLiteral("--window") << m_strWindow << QString::number(nX)
                  << QString::number(nY);
    };
    moveTo(kScreenSize.width() / 2, kScreenSize.height() / 2);
    moveTo(kScreenSize.width() - 1, kScreenSize.height() - 1);
    moveTo(0, 0);
    moveTo(point.x(), point.y());
    Xdotool(arguments + then);
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
