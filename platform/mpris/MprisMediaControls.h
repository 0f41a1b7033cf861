#pragma once

#include "platform/mpris/DesktopMediaControls.h"

#include <QTimer>
#include <QVariantMap>

// The desktop media controls as an MPRIS 2 player on the session bus: the
// name org.mpris.MediaPlayer2.kestrelradio, the object /org/mpris/MediaPlayer2
// with the root and the Player interfaces. Every change of a property goes
// out as PropertiesChanged.
class CMprisMediaControls : public IDesktopMediaControls
{
    Q_OBJECT

public:
    explicit CMprisMediaControls(QObject* pParent = nullptr);
    ~CMprisMediaControls() override;

    bool Start(const Description& description) override;
    bool IsAvailable() const override { return m_bAvailable; }

    void SetPlaybackStatus(PlaybackStatus status) override;
    void SetTrack(const Track& track) override;
    void SetVolume(double dVolume) override;
    void SetControllable(bool bControllable) override;
    void SetSeekable(bool bSeekable) override;

    // What the interfaces answer.
    const Description& GetDescription() const { return m_description; }
    QString PlaybackStatusName() const;
    QVariantMap Metadata() const;
    double Volume() const { return m_dVolume; }
    bool IsControllable() const { return m_bControllable; }
    bool IsSeekable() const { return m_bControllable && m_bSeekable; }

    // A client's request to set the volume.
    void RequestVolume(double dVolume);

private:
    void QueueChange(const char* property, const QVariant& value);
    void SendChanges();

    Description m_description;
    PlaybackStatus m_status = PlaybackStatus::Stopped;
    Track m_track;
    double m_dVolume = 1.0;
    bool m_bControllable = false;
    bool m_bSeekable = false;
    bool m_bAvailable = false;
    QString m_strServiceName;
    QVariantMap m_pendingChanges;
    QTimer m_sendTimer;
};
