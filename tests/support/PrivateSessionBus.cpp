#include "PrivateSessionBus.h"

namespace {
constexpr int kStartTimeoutMs = 10000;
}

PrivateSessionBus::~PrivateSessionBus()
{
    if (m_daemon.state() == QProcess::NotRunning)
        return;
    m_daemon.terminate();
    if (!m_daemon.waitForFinished(kStartTimeoutMs))
        m_daemon.kill();
    m_daemon.waitForFinished(kStartTimeoutMs);
}

bool PrivateSessionBus::Start()
{
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nosyslog"),
                    QStringLiteral("--print-address=1")});
    if (!m_daemon.waitForStarted(kStartTimeoutMs))
        return false;
    while (!m_daemon.canReadLine()) {
        if (!m_daemon.waitForReadyRead(kStartTimeoutMs))
            return false;
    }
    m_strAddress = QString::fromLocal8Bit(m_daemon.readLine()).trimmed();
    return !m_strAddress.isEmpty();
}
