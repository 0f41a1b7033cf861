#pragma once

// Names of the values the program keeps in the profile section "Settings",
// and the workspace store's entry for the look.
namespace SettingNames {
inline constexpr char kSection[] = "Settings";

inline constexpr char kDisplayRadioChannels[] = "DisplayRadioChannels";
inline constexpr char kDisplayTVChannels[] = "DisplayTVChannels";
inline constexpr char kDisplayNonWorkingChannels[] = "DisplayNonWorkingChannels";
inline constexpr char kLastChannelIndex[] = "LastChannelIndex";
inline constexpr char kAutoPlay[] = "AutoPlay";
inline constexpr char kLastCategory[] = "LastCategory";
// The volume the listener last settled on in the player.
inline constexpr char kPlayerVolume[] = "PlayerVolume";
// How many minutes of a live channel the player keeps to pause and go back
// in; 0 keeps none.
inline constexpr char kTimeShiftMinutes[] = "TimeShiftMinutes";

// The hot key values are built from a hot key's name with these formats.
inline constexpr char kHotKeyKeyFormat[] = "%1 Key";
inline constexpr char kHotKeyModFormat[] = "%1 Mod";

// Kept in the workspace store, not in "Settings".
inline constexpr char kApplicationLook[] = "ApplicationLook";
}

// Defaults of the values above.
namespace SettingDefaults {
inline constexpr int kDisplayRadioChannels = 1;
inline constexpr int kDisplayTVChannels = 0;
inline constexpr int kDisplayNonWorkingChannels = 0;
inline constexpr int kLastChannelIndex = 2;
inline constexpr int kAutoPlay = 1;
inline constexpr int kLastCategory = 0;
inline constexpr int kPlayerVolume = 50;
inline constexpr int kTimeShiftMinutes = 30;
inline constexpr int kFirstRunSizingDone = 0;
inline constexpr int kApplicationLook = 216;
}
