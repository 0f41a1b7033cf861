// The now-playing relay reaching up into the radio page.
#include "nowplaying/NowPlayingRelay.h"
#include "radio/StreamPlayback.h"
