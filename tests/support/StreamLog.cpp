#include "StreamLog.h"

#include "StationServer.h"

#include <QStringList>

namespace {
// A log line: time, method, path, status, and STREAM-START when a stream
// began or the size of the answer once it ended.
bool IsStreamStart(const QStringList& fields)
{
    return fields.size() == 5 && fields[4] == QLatin1String("STREAM-START");
}
}

int CountStreamStarts(const StationServer& server, const QString& strMount)
{
    int nStarts = 0;
    for (const QString& line : server.RequestLog()) {
        const QStringList fields = line.split(QLatin1Char(' '));
        if (IsStreamStart(fields) && fields[2] == strMount)
            ++nStarts;
    }
    return nStarts;
}

int CountStreamEnds(const StationServer& server, const QString& strMount)
{
    return server.CountRequests(strMount);
}

QString LastStreamStarted(const StationServer& server)
{
    const QStringList log = server.RequestLog();
    for (auto line = log.crbegin(); line != log.crend(); ++line) {
        const QStringList fields = line->split(QLatin1Char(' '));
        if (IsStreamStart(fields))
            return fields[2];
    }
    return QString();
}

int CountOpenStreams(const StationServer& server, const QString& strMount)
{
    return CountStreamStarts(server, strMount) - CountStreamEnds(server, strMount);
}
