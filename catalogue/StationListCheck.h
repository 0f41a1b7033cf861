#pragma once

#include "fw/Types.h"

// Whether the file at strPath reads as a station list: at least one line,
// read the way a load reads it, has a kind of channel in its first field,
// so that it gives the list its titles. An empty answer, a stray byte, or
// text in another encoding has none, and must not replace a list that works.
bool HoldsStationList(const CString& strPath);
