#include "platform/activation/WindowActivation.h"

namespace {
constexpr char kActivationTokenVariable[] = "XDG_ACTIVATION_TOKEN";
constexpr char kStartupIdVariable[] = "DESKTOP_STARTUP_ID";
}

CWindowActivation::CWindowActivation(QObject* pParent)
    : QObject(pParent)
{
}

CWindowActivation::~CWindowActivation() = default;

QString CWindowActivation::LaunchToken()
{
    const QString strToken = qEnvironmentVariable(kActivationTokenVariable);
    return strToken.isEmpty() ? qEnvironmentVariable(kStartupIdVariable) : strToken;
}
