#include "StreamLog.h"

#include "StationServer.h"

#include <QStringList>

int CountStreamStarts(const StationServer& server, const QString& strMount)
{
    int nStarts = 0;
    for (const QString& line : server.RequestLog()) {
        const QStringList fields = line.split(QLatin1Char(' '));
        if (fields.size() == 5 && fields[2] == strMount && fields[4] == QLatin1String("STREAM-START"))
            ++nStarts;
    }
    return nStarts;
}

int CountStreamEnds(const StationServer& server, const QString& strMount)
{
    return server.CountRequests(strMount);
}
