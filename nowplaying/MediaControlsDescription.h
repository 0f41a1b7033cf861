#pragma once

#include "platform/mpris/DesktopMediaControls.h"

#include <QString>

namespace MediaControlsDescription {
// The name the desktop's media controls give the program.
inline constexpr char kIdentity[] = "Kestrel Radio";

// Who the program is to the desktop's media controls, and what it plays.
IDesktopMediaControls::Description Description();
// The program's icon as a file URL for the media controls; empty when the
// icon is not installed where the desktop finds it.
QString ApplicationIconUrl();
}
