#pragma once

#include "fw/Types.h"

class IAutostartStore;

// Start at log-in: the user's autostart entry named after the application,
// whose command is the program's path and " :silent".

// 1 when the entry names an existing file, 0 when it is missing,
// unreadable, longer than kMaxEntryLength or names no file, -2 when the
// autostart store cannot be opened.
int QueryAutoStartup();
// Writes the program's own entry (bEnable) or removes the entry; the
// outcome is not reported, QueryAutoStartup tells it.
void WriteAutoStartupEntry(BOOL bEnable);

// The entry's command text under a name; TRUE when it was written.
BOOL WriteRegistryString(IAutostartStore& store, const CString& strName, const CString& strData);
// TRUE with strOut filled when the entry was read and is at most
// kMaxEntryLength long; otherwise strOut is emptied.
BOOL ReadRegistryString(IAutostartStore& store, const CString& strName, CString& strOut);

inline constexpr qsizetype kMaxEntryLength = 255;
