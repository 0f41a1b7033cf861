#pragma once

#include <QString>

// Names of saved songs. A station's title becomes part of a path, so it is
// made safe first: no path separators or control characters, no leading
// dots (no hidden files, no "..") and a bounded length.
namespace SongFileName {
// Longest name part, in UTF-8 bytes, leaving room for a number and the
// extension within the usual 255-byte limit of a file name.
inline constexpr int kMaxNameBytes = 200;

// strText as one safe file or folder name; strFallback when nothing of it
// is left.
QString Sanitised(const QString& strText, const QString& strFallback);

// A path in strFolder for strBaseName.strExtension that names no existing
// file: "Name.mp3", else "Name (2).mp3", "Name (3).mp3"...
QString FreePath(const QString& strFolder, const QString& strBaseName, const QString& strExtension);
}
