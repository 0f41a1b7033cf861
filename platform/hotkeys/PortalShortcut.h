#pragma once

#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

// A shortcut as the shortcuts portal passes it, a(sa{sv}) on the bus: its id
// and its properties ("description", "preferred_trigger" going out,
// "description" and "trigger_description" coming back).
struct PortalShortcut {
    QString strId;
    QVariantMap properties;
};
using PortalShortcutList = QList<PortalShortcut>;

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut);

namespace PortalShortcuts {
// Makes the types known to the bus; once is enough, more does no harm.
void RegisterTypes();
// The list under the key of a portal's results; empty when there is none.
PortalShortcutList FromResults(const QVariantMap& results);
// The list that a signal's argument holds.
PortalShortcutList FromArgument(const QVariant& argument);
}

Q_DECLARE_METATYPE(PortalShortcut)
