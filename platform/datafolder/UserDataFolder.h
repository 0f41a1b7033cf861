#pragma once

#include <QString>

// Where the system keeps each user's local (non-roaming) application data,
// and where the running program lives. On Linux the data folder is the XDG
// data home, or ~/.local/share when XDG_DATA_HOME names no usable folder.
class CUserDataFolder
{
public:
    // Whether the system names a usable per-user data folder.
    static bool IsAvailable();
    // The per-user data folder, created if it is missing; empty when the
    // system names none or it cannot be created.
    static QString Path();
    // The full path of the running executable; empty if it cannot be found.
    static QString ExecutablePath();
    // Creates the last level of strPath only; true if it exists afterwards.
    static bool CreateFolder(const QString& strPath);
};
