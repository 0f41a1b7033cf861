#pragma once

// The player's own value in the profile section "Settings".
namespace PlayerSettingNames {
inline constexpr char kPlayerVolume[] = "PlayerVolume";
}

namespace PlayerSettingDefaults {
inline constexpr int kPlayerVolume = 50;
inline constexpr int kMinimumVolume = 0;
inline constexpr int kMaximumVolume = 100;
}
