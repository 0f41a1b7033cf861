#pragma once

#include "fw/Types.h"

#include <optional>

// The program's own folder on disk: "KestrelRadio" in the user's local data
// folder, or beside the executable when the system names no usable data
// folder. It is worked out, and created if missing, at every call; no path
// is kept anywhere.
void GetDataFolder(CString& strFolder);
// The folder of the running executable, without a trailing separator.
void GetModuleFolder(CString& strFolder);
// The full path of the running executable.
void GetModulePath(CString& strPath);

// The station list file in the data folder (which this creates).
CString GetStationListPath();

// Replaces each pair of separators by one, in a single left-to-right pass
// over pairs that do not overlap, so "///" becomes "//".
CString CollapseDoubledSeparators(const CString& strPath);

// While it lives, the data folder is worked out from strBase instead of the
// system's answer; tests use it to reach the fallback and odd bases.
class CDataFolderBaseOverride
{
public:
    explicit CDataFolderBaseOverride(const CString& strBase);
    ~CDataFolderBaseOverride();
    CDataFolderBaseOverride(const CDataFolderBaseOverride&) = delete;
    CDataFolderBaseOverride& operator=(const CDataFolderBaseOverride&) = delete;

private:
    std::optional<CString> m_previous;
};
