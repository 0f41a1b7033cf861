#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// A dbus-daemon of the test's own, standing for the desktop session's bus.
// Stopped when destroyed.
class PrivateSessionBus
{
public:
    PrivateSessionBus() = default;
    ~PrivateSessionBus();
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    bool Start();
    QString Address() const { return m_strAddress; }

private:
    QProcess m_daemon;
    QString m_strAddress;
};
