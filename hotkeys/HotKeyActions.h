#pragma once

#include "res/Resource.h"

// The four hot key actions: the name their profile values are built from,
// the hot key id they are registered under, and the playback command that
// their key posts on the radio page.
inline constexpr int ID_HOTKEY_PLAY = 1;
inline constexpr int ID_HOTKEY_PLAY_NEXT = 2;
inline constexpr int ID_HOTKEY_PLAY_PREV = 3;
inline constexpr int ID_HOTKEY_STOP = 4;

namespace HotKeyNames {
inline constexpr char kPlay[] = "Play";
inline constexpr char kPlayNext[] = "Play Next";
inline constexpr char kPlayPrev[] = "Play Prev";
inline constexpr char kStop[] = "Stop";
}

struct HotKeyAction {
    const char* pszName;
    int nId;
    unsigned nCommand;
};

// In the order they are registered and shown.
inline constexpr HotKeyAction kHotKeyActions[] = {
    {HotKeyNames::kPlay, ID_HOTKEY_PLAY, ID_PLAY},
    {HotKeyNames::kPlayNext, ID_HOTKEY_PLAY_NEXT, ID_PLAY_NEXT},
    {HotKeyNames::kPlayPrev, ID_HOTKEY_PLAY_PREV, ID_PLAY_PREVIOUS},
    {HotKeyNames::kStop, ID_HOTKEY_STOP, ID_STOP},
};
