#pragma once

#include <QByteArray>
#include <QString>

// The bytes the server at nPort sends for strPath, fetched with a client of
// another make than the program's, to hold the program's download against.
QByteArray FetchWithAnotherClient(int nPort, const QString& strPath);

// Writes a station server catalogue whose station list is at least
// nMinListBytes long; false when the file cannot be written.
bool WriteBigCatalogue(const QString& strPath, qint64 nMinListBytes);
