#include "platform/tray/SystemTrayIcon.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcTray, "kestrel.tray", QtInfoMsg)

namespace {
const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
const char kHostRegisteredProperty[] = "IsStatusNotifierHostRegistered";
}

CSystemTrayIcon::CSystemTrayIcon(QObject* pParent)
    : ITrayIcon(pParent)
    , m_bStatusNotifier(IsStatusNotifierHostRegistered())
{
    connect(&m_icon, &QSystemTrayIcon::activated, this, &CSystemTrayIcon::OnActivated);
}

CSystemTrayIcon::~CSystemTrayIcon()
{
    m_icon.hide();
}

bool CSystemTrayIcon::IsAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool CSystemTrayIcon::IsStatusNotifierHostRegistered()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || bus.interface() == nullptr || !bus.interface()->isServiceRegistered(kWatcherService))
        return false;
    QDBusInterface watcher(kWatcherService, kWatcherPath, kWatcherService, bus);
    return watcher.isValid() && watcher.property(kHostRegisteredProperty).toBool();
}

bool CSystemTrayIcon::Add(const QIcon& icon, const QString& strTip)
{
    m_icon.setIcon(icon);
    m_icon.setToolTip(strTip);
    m_icon.show();
    if (IsAvailable())
        return true;
    qCInfo(lcTray, "No notification area runs now; the icon appears once one starts");
    return false;
}

void CSystemTrayIcon::SetTip(const QString& strTip)
{
    if (m_icon.toolTip() != strTip)
        m_icon.setToolTip(strTip);
}

void CSystemTrayIcon::Remove()
{
    m_icon.hide();
}

bool CSystemTrayIcon::IsAdded() const
{
    return m_icon.isVisible();
}

QString CSystemTrayIcon::Tip() const
{
    return m_icon.toolTip();
}

void CSystemTrayIcon::OnActivated(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        emit Activated(m_bStatusNotifier ? Gesture::DoubleClick : Gesture::Click);
        break;
    case QSystemTrayIcon::DoubleClick:
        emit Activated(Gesture::DoubleClick);
        break;
    case QSystemTrayIcon::Context:
        emit Activated(Gesture::ContextClick);
        break;
    case QSystemTrayIcon::MiddleClick:
        emit Activated(Gesture::MiddleClick);
        break;
    case QSystemTrayIcon::Unknown:
        break;
    }
}
