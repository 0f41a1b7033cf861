#include "platform/hotkeys/PortalShortcut.h"

#include <QDBusMetaType>

namespace {
constexpr char kShortcutsKey[] = "shortcuts";
}

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument << shortcut.strId << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument >> shortcut.strId >> shortcut.properties;
    argument.endStructure();
    return argument;
}

namespace PortalShortcuts {

void RegisterTypes()
{
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<PortalShortcutList>();
}

PortalShortcutList FromArgument(const QVariant& argument)
{
    if (argument.canConvert<QDBusArgument>())
        return qdbus_cast<PortalShortcutList>(argument.value<QDBusArgument>());
    return argument.value<PortalShortcutList>();
}

PortalShortcutList FromResults(const QVariantMap& results)
{
    return FromArgument(results.value(QLatin1String(kShortcutsKey)));
}

}
