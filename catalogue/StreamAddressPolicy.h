#pragma once

#include <QString>
#include <QStringList>

// Which addresses the player may open. Station lists come from the network,
// so an address there is only ever a network stream: http, https, mms, mmsh,
// rtsp or rtmp with a host (playlists and HLS included, as they are served
// over http). Local files, paths and the media library's own protocols
// (av://, lavf://, memory://, fd://, edl:// and the like) are refused.
class CStreamAddressPolicy
{
public:
    enum class Verdict { Accepted, Empty, Refused };

    static Verdict Check(const QString& address);
    static bool IsAllowed(const QString& address) { return Check(address) == Verdict::Accepted; }
    // The address as handed to the engine: trimmed and percent-encoded.
    static QString Normalised(const QString& address);
    // The schemes of the addresses it accepts.
    static QStringList NetworkSchemes();
};
