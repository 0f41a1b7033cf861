#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Files of a folder that other programs and the user share with us, where
// the name of a file may have been taken by a link, a FIFO or a device.
namespace FolderFiles {

// The bytes of the regular file at strPath, at most nMaxSize of them.
// Nothing when the file is missing, larger, not a regular file, or a link
// that leads out of strFolder. Never waits on a FIFO or a device.
std::optional<QByteArray> ReadRegularFile(const QString& strFolder, const QString& strPath, qint64 nMaxSize);

// Puts bytes at strPath, in strFolder, as a new file renamed over whatever
// held the name: a link there is replaced itself, what it pointed to is not
// touched. Either the new file is there afterwards or the old entry is.
bool ReplaceFile(const QString& strFolder, const QString& strPath, const QByteArray& bytes);

}
