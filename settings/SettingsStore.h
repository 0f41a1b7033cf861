#pragma once

#include "fw/Types.h"

// The named values of the profile section "Settings". A missing value reads
// as the caller's default; a failed write is not shown to the user, and is
// logged (kestrel.settings) for whoever runs the program from a terminal.
int GetSettingInt(CString strName, int nDefault);
void WriteSettingInt(CString strName, int nValue);
CString GetSettingString(CString strName, CString strDefault);
void WriteSettingString(CString strName, CString strValue);
// A value of the workspace store (the window's place and look), reported
// the same way when it cannot be written.
void WriteWorkspaceInt(CString strName, int nValue);
