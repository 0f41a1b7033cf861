#pragma once

#include "fw/Types.h"

// Sizes of the desktop's window parts, as the current style draws them.
inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
inline constexpr int SM_CYCAPTION = 4;
inline constexpr int SM_CXDLGFRAME = 7;
inline constexpr int SM_CYDLGFRAME = 8;
inline constexpr int SM_CXFRAME = 32;
inline constexpr int SM_CYFRAME = 33;

// The metric nIndex in pixels; 0 for a metric this platform does not know.
int GetSystemMetrics(int nIndex);
