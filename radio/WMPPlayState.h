#pragma once

// The player's play states, numbered as media player controls number them;
// PlayStateChange carries one of these.
enum WMPPlayState {
    wmppsUndefined = 0,
    wmppsStopped = 1,
    wmppsPaused = 2,
    wmppsPlaying = 3,
    wmppsBuffering = 6,
    wmppsMediaEnded = 8,
    wmppsTransitioning = 9,
    wmppsReady = 10,
    wmppsReconnecting = 11,
};
