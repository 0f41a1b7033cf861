#pragma once

#include "fw/Types.h"

#include <QKeyCombination>

// One entry of a frame's accelerator table: the key combination and the
// command it sends.
struct ACCEL {
    QKeyCombination key;
    UINT cmd;
};
