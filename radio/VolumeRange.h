#pragma once

// The player's volume runs over whole percent.
namespace VolumeRange {
inline constexpr int kMinimum = 0;
inline constexpr int kMaximum = 100;
}
