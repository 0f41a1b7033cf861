#pragma once

#include "platform/mpris/DesktopMediaControls.h"

#include <QObject>
#include <QString>

class CNowPlayingRelay;

// Tells the desktop's media controls what the relay knows, and hands their
// requests to the relay. The title is the station's song when it sends one,
// else the channel's name; the channel's name is the album, and the artist
// beside a song.
class CDesktopMediaControlsBinding : public QObject
{
    Q_OBJECT

public:
    // strArtUrl: the picture the desktop shows beside the title; may be empty.
    CDesktopMediaControlsBinding(CNowPlayingRelay& relay, IDesktopMediaControls& controls, QString strArtUrl);

    // The track as the desktop is told it, for the relay's present state.
    static IDesktopMediaControls::Track TrackOf(const CNowPlayingRelay& relay, const QString& strArtUrl);

private:
    void PublishTrack();
    void PublishPlayState();
    void PublishVolume();
    void PublishControllable();
    void OnVolumeRequested(double dVolume);

    CNowPlayingRelay& m_relay;
    IDesktopMediaControls& m_controls;
    QString m_strArtUrl;
    // The last track told, without its id, and how many were told.
    IDesktopMediaControls::Track m_lastTrack;
    quint64 m_nTracks = 0;
};
