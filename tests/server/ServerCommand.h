#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// kestrel-station-server run as a command, to its end: the exit code (-1
// when it crashed or did not end within the time), and what it wrote.
struct ServerCommandRun {
    int exitCode = -1;
    QByteArray output;
    QString errors;
};

ServerCommandRun RunServerCommand(const QStringList& arguments, int nTimeoutMs,
                                  const QByteArray& standardInput = QByteArray());

// A file's bytes; empty when it cannot be read.
QByteArray ReadFile(const QString& strPath);
// Replaces a file's bytes; false when that failed.
[[nodiscard]] bool WriteFile(const QString& strPath, const QByteArray& bytes);
