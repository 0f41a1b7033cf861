#include "platform/hotkeys/GlobalHotKeys.h"
#include "platform/hotkeys/PortalGlobalHotKeys.h"
#include "platform/hotkeys/XcbGlobalHotKeys.h"

#include <QGuiApplication>

namespace {
constexpr char kSessionTypeVariable[] = "XDG_SESSION_TYPE";
constexpr char kWaylandDisplayVariable[] = "WAYLAND_DISPLAY";

// An X11 grab sees the keys of the whole desktop only on an X server of its
// own: under a Wayland compositor (XWayland included) it sees only the
// keys typed into other X11 programs.
bool X11GrabsSeeTheDesktop()
{
    return QGuiApplication::platformName() == QLatin1String("xcb") &&
        qgetenv(kSessionTypeVariable) != QByteArrayLiteral("wayland") &&
        qEnvironmentVariableIsEmpty(kWaylandDisplayVariable);
}
}

std::unique_ptr<IGlobalHotKeys> CreateGlobalHotKeys(QObject* pParent)
{
    if (X11GrabsSeeTheDesktop())
        return std::make_unique<CXcbGlobalHotKeys>(pParent);
    return std::make_unique<CPortalGlobalHotKeys>(pParent);
}
