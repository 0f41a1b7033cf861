#pragma once

#include "platform/mpris/DesktopMediaControls.h"

#include <QList>

// Desktop media controls that keep what they are told, for the binding's
// unit tests. The real ones are tested on a private session bus.
class CFakeDesktopMediaControls final : public IDesktopMediaControls
{
    Q_OBJECT

public:
    bool Start(const Description&) override { return true; }
    bool IsAvailable() const override { return true; }
    void SetPlaybackStatus(PlaybackStatus status) override { m_status = status; }
    void SetTrack(const Track& track) override { m_tracks.append(track); }
    void SetVolume(double dVolume) override { m_dVolume = dVolume; }
    void SetControllable(bool bControllable) override { m_bControllable = bControllable; }
    void SetSeekable(bool bSeekable) override { m_bSeekable = bSeekable; }

    Track LastTrack() const { return m_tracks.isEmpty() ? Track() : m_tracks.last(); }

    PlaybackStatus m_status = PlaybackStatus::Stopped;
    QList<Track> m_tracks;
    double m_dVolume = -1.0;
    bool m_bControllable = false;
    bool m_bSeekable = false;
};
