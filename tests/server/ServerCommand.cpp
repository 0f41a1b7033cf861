#include "ServerCommand.h"

#include <QFile>
#include <QProcess>

ServerCommandRun RunServerCommand(const QStringList& arguments, int nTimeoutMs, const QByteArray& standardInput)
{
    QProcess process;
    process.start(QStringLiteral(KESTREL_STATION_SERVER_PATH), arguments);
    process.write(standardInput);
    process.closeWriteChannel();
    if (!process.waitForFinished(nTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            QString::fromUtf8(process.readAllStandardError())};
}

QByteArray ReadFile(const QString& strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteFile(const QString& strPath, const QByteArray& bytes)
{
    QFile file(strPath);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}
