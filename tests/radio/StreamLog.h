#pragma once

#include <QString>

class StationServer;

// How many times a stream of the mount began, and ended, in the server's log.
int CountStreamStarts(const StationServer& server, const QString& strMount);
int CountStreamEnds(const StationServer& server, const QString& strMount);
