#pragma once

#include <QString>

// Removes the files in strFolder whose names match strWildcard and that a
// run of the program abandoned when it was killed: regular files of the
// current user that no process holds locked. Links, folders, other users'
// files and files in use stay. Returns how many were removed.
int RemoveAbandonedFiles(const QString& strFolder, const QString& strWildcard);
