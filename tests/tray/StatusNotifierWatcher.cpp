#include "StatusNotifierWatcher.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusVariant>

namespace {
const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString kItemInterface = QStringLiteral("org.kde.StatusNotifierItem");
const QString kItemPath = QStringLiteral("/StatusNotifierItem");
const QString kConnectionName = QStringLiteral("kestrel-test-watcher");
}

StatusNotifierWatcher::StatusNotifierWatcher(const QString& strBusAddress)
    : m_connection(QDBusConnection::connectToBus(strBusAddress, kConnectionName))
{
}

StatusNotifierWatcher::~StatusNotifierWatcher()
{
    QDBusConnection::disconnectFromBus(kConnectionName);
}

bool StatusNotifierWatcher::Listen()
{
    return m_connection.isConnected() && m_connection.registerService(kWatcherService) &&
        m_connection.registerObject(kWatcherPath, this,
                                    QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties |
                                        QDBusConnection::ExportAllSignals);
}

void StatusNotifierWatcher::RegisterStatusNotifierItem(const QString& strService, const QDBusMessage& message)
{
    // An item names its bus connection, or only its path on the sender's.
    const QString strItem = strService.startsWith(QLatin1Char('/')) ? message.service() : strService;
    if (!m_items.contains(strItem))
        m_items.append(strItem);
    emit StatusNotifierItemRegistered(strItem);
}

void StatusNotifierWatcher::RegisterStatusNotifierHost(const QString&)
{
    emit StatusNotifierHostRegistered();
}

QString StatusNotifierWatcher::ToolTip(const QString& strItem)
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        strItem, kItemPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get.setArguments({kItemInterface, QStringLiteral("ToolTip")});
    const QDBusMessage reply = m_connection.call(get);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return QString();
    const QDBusArgument argument = reply.arguments().first().value<QDBusVariant>().variant().value<QDBusArgument>();
    // (icon name, icon pixmaps, title, text)
    QString strIcon;
    QString strTitle;
    QString strText;
    argument.beginStructure();
    argument >> strIcon;
    argument.beginArray();
    while (!argument.atEnd()) {
        int nWidth = 0;
        int nHeight = 0;
        QByteArray pixels;
        argument.beginStructure();
        argument >> nWidth >> nHeight >> pixels;
        argument.endStructure();
    }
    argument.endArray();
    argument >> strTitle >> strText;
    argument.endStructure();
    return strText.isEmpty() ? strTitle : strTitle + QLatin1Char('\n') + strText;
}

bool StatusNotifierWatcher::CallItem(const QString& strItem, const QString& strMethod)
{
    QDBusMessage call = QDBusMessage::createMethodCall(strItem, kItemPath, kItemInterface, strMethod);
    call.setArguments({10, 10});
    return m_connection.call(call).type() == QDBusMessage::ReplyMessage;
}

bool StatusNotifierWatcher::Activate(const QString& strItem)
{
    return CallItem(strItem, QStringLiteral("Activate"));
}

bool StatusNotifierWatcher::ContextMenu(const QString& strItem)
{
    return CallItem(strItem, QStringLiteral("ContextMenu"));
}
