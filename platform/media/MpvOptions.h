#pragma once

struct MpvFunctions;
struct mpv_handle;

// The options every libmpv handle of the program starts with: what keeps a
// stream address from the network from running anything but the player, and
// what suits a tray player that plays all day.
namespace MpvOptions {
// Applies them to a handle not yet initialised; false when an option that
// the player's safety depends on was refused.
bool Apply(const MpvFunctions& mpv, mpv_handle* pHandle);
}
