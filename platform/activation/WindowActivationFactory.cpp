#include "platform/activation/WaylandWindowActivation.h"
#include "platform/activation/WindowActivation.h"
#include "platform/activation/XcbWindowActivation.h"

#include <QGuiApplication>

std::unique_ptr<IWindowActivation> CreateWindowActivation(QObject* pParent)
{
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        return std::make_unique<CXcbWindowActivation>(pParent);
    return std::make_unique<CWaylandWindowActivation>(pParent);
}
