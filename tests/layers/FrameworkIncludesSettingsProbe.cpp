// The framework reaching for the program's settings.
#include "fw/CWinApp.h"
#include "settings/SettingsStore.h"
