#include "platform/activation/WindowActivation.h"

namespace {
constexpr char kActivationTokenVariable[] = "XDG_ACTIVATION_TOKEN";
constexpr char kStartupIdVariable[] = "DESKTOP_STARTUP_ID";
}

IWindowActivation::IWindowActivation(QObject* pParent)
    : QObject(pParent)
{
}

IWindowActivation::~IWindowActivation() = default;

QString IWindowActivation::LaunchToken()
{
    const QString strToken = qEnvironmentVariable(kActivationTokenVariable);
    return strToken.isEmpty() ? qEnvironmentVariable(kStartupIdVariable) : strToken;
}
