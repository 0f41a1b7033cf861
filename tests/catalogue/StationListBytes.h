#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Station list text as it lies on disk: UTF-16LE code units.
QByteArray Utf16LE(const QString& strText);
// Lines joined with CR LF after each.
QByteArray StationListFile(const QStringList& lines);
// Writes bytes to the station list path in the data folder.
void WriteStationList(const QByteArray& bytes);
