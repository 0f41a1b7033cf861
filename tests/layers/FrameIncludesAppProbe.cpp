// The main frame reaching up for the command line's constant.
#include "frame/AutoStartup.h"
#include "app/CommandLine.h"
