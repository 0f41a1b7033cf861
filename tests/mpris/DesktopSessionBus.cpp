#include "DesktopSessionBus.h"

#include <QtGlobal>

namespace {
constexpr char kBusVariable[] = "DBUS_SESSION_BUS_ADDRESS";
}

DesktopSessionBus::~DesktopSessionBus()
{
    if (!m_previousAddress)
        return;
    if (m_previousAddress->isNull())
        qunsetenv(kBusVariable);
    else
        qputenv(kBusVariable, *m_previousAddress);
}

bool DesktopSessionBus::Start()
{
    if (!m_bus.Start())
        return false;
    m_pClient = std::make_unique<MprisClient>(m_bus.Address());
    m_previousAddress = qEnvironmentVariableIsSet(kBusVariable) ? qgetenv(kBusVariable) : QByteArray();
    qputenv(kBusVariable, m_bus.Address().toLocal8Bit());
    return true;
}
