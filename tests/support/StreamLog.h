#pragma once

#include <QString>

class StationServer;

// How many times a stream of the mount began, and ended, in the server's log.
int CountStreamStarts(const StationServer& server, const QString& strMount);
int CountStreamEnds(const StationServer& server, const QString& strMount);
// The mount whose stream began last in the server's log; empty when none did.
QString LastStreamStarted(const StationServer& server);
// How many streams of the mount are open now: begun and not yet ended.
int CountOpenStreams(const StationServer& server, const QString& strMount);
