#include "fw/FrameworkLog.h"

Q_LOGGING_CATEGORY(lcFramework, "kestrel.fw", QtInfoMsg)
