#pragma once

#include "res/Resource.h"
#include "res/StringTable.h"

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

// The names the desktop's shortcut settings remember the actions under
// (where the desktop decides the keys); they never change.
namespace HotKeyShortcutIds {
inline constexpr char kPlay[] = "play";
inline constexpr char kPlayNext[] = "play-next";
inline constexpr char kPlayPrev[] = "play-previous";
inline constexpr char kStop[] = "stop";
}

struct HotKeyAction {
    const char* pszName;
    int nId;
    unsigned nCommand;
    const char* pszShortcutId;
    // What the desktop shows the user: the tray menu's words for the command.
    const char* pszDescription;
};

// In the order they are registered and shown.
inline constexpr HotKeyAction kHotKeyActions[] = {
    {HotKeyNames::kPlay, ID_HOTKEY_PLAY, ID_PLAY, HotKeyShortcutIds::kPlay, Texts::kTrayPlay},
    {HotKeyNames::kPlayNext, ID_HOTKEY_PLAY_NEXT, ID_PLAY_NEXT, HotKeyShortcutIds::kPlayNext,
     Texts::kTrayPlayNextChannel},
    {HotKeyNames::kPlayPrev, ID_HOTKEY_PLAY_PREV, ID_PLAY_PREVIOUS, HotKeyShortcutIds::kPlayPrev,
     Texts::kTrayPlayPreviousChannel},
    {HotKeyNames::kStop, ID_HOTKEY_STOP, ID_STOP, HotKeyShortcutIds::kStop, Texts::kTrayStop},
};
