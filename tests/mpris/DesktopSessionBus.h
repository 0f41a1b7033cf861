#pragma once

#include "MprisClient.h"
#include "PrivateSessionBus.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

// The desktop session's bus for the programs a test starts next: a private
// dbus-daemon that the session bus variable points at while this lives,
// and a client that sees the program's media controls on it. The variable
// is put back as it was when this goes.
class DesktopSessionBus
{
public:
    DesktopSessionBus() = default;
    ~DesktopSessionBus();
    DesktopSessionBus(const DesktopSessionBus&) = delete;
    DesktopSessionBus& operator=(const DesktopSessionBus&) = delete;

    bool Start();
    QString Address() const { return m_bus.Address(); }
    const MprisClient& Client() const { return *m_pClient; }

private:
    PrivateSessionBus m_bus;
    std::unique_ptr<MprisClient> m_pClient;
    std::optional<QByteArray> m_previousAddress;
};
