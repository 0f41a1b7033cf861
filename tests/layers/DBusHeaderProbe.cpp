// A D-Bus service written outside platform/.
#include <QtDBus/QDBusConnection>
