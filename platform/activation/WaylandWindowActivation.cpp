#include "platform/activation/WaylandWindowActivation.h"

namespace {
constexpr char kActivationTokenVariable[] = "XDG_ACTIVATION_TOKEN";
}

void CWaylandWindowActivation::UseToken(QWindow*, const QString& strToken)
{
    if (!strToken.isEmpty())
        qputenv(kActivationTokenVariable, strToken.toUtf8());
}
