#pragma once

#include "PrivateSessionBus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QStringList>

// The desktop's StatusNotifierWatcher with a host registered, as a panel
// that shows StatusNotifierItem icons offers it: programs register their
// items here, and the test reads and drives them like the panel does.
class StatusNotifierWatcher : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ IsStatusNotifierHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ ProtocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ RegisteredStatusNotifierItems)

public:
    explicit StatusNotifierWatcher(const QString& strBusAddress);
    ~StatusNotifierWatcher() override;

    bool Listen();
    bool IsStatusNotifierHostRegistered() const { return true; }
    int ProtocolVersion() const { return 0; }
    QStringList RegisteredStatusNotifierItems() const { return m_items; }

    // The item's tip: its title, and its text on a second line when it has
    // one; empty when the item does not answer.
    QString ToolTip(const QString& strItem);
    // The panel's left click, and its request for the item's menu.
    bool Activate(const QString& strItem);
    bool ContextMenu(const QString& strItem);

public slots:
    void RegisterStatusNotifierItem(const QString& strService, const QDBusMessage& message);
    void RegisterStatusNotifierHost(const QString& strService);

signals:
    void StatusNotifierItemRegistered(const QString& strService);
    void StatusNotifierHostRegistered();

private:
    bool CallItem(const QString& strItem, const QString& strMethod);

    QDBusConnection m_connection;
    QStringList m_items;
};
