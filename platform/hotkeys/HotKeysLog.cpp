#include "platform/hotkeys/HotKeysLog.h"

Q_LOGGING_CATEGORY(lcHotKeys, "kestrel.hotkeys", QtInfoMsg)
