#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QVariantMap>

class CMprisMediaControls;

// org.mpris.MediaPlayer2.Player: what plays and the transport. A live
// stream has no position of its own; a time-shifted one seeks back and
// forth within its buffer by an offset (Seek), and no absolute position
// (SetPosition) is offered.
class CMprisPlayerAdaptor : public QDBusAbstractAdaptor, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
    Q_PROPERTY(QVariantMap Metadata READ Metadata)
    Q_PROPERTY(double Volume READ Volume WRITE SetVolume)
    Q_PROPERTY(qlonglong Position READ Position)
    Q_PROPERTY(double Rate READ Rate)
    Q_PROPERTY(double MinimumRate READ Rate)
    Q_PROPERTY(double MaximumRate READ Rate)
    Q_PROPERTY(bool CanGoNext READ CanControl)
    Q_PROPERTY(bool CanGoPrevious READ CanControl)
    Q_PROPERTY(bool CanPlay READ CanControl)
    Q_PROPERTY(bool CanPause READ CanControl)
    Q_PROPERTY(bool CanSeek READ CanSeek)
    Q_PROPERTY(bool CanControl READ CanControl)

public:
    explicit CMprisPlayerAdaptor(CMprisMediaControls* pControls);

    QString PlaybackStatus() const;
    QVariantMap Metadata() const;
    double Volume() const;
    void SetVolume(double dVolume);
    qlonglong Position() const { return 0; }
    double Rate() const { return 1.0; }
    bool CanSeek() const;
    bool CanControl() const;

public slots:
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void Next();
    void Previous();
    void Seek(qlonglong nOffset);
    void SetPosition(const QDBusObjectPath& trackId, qlonglong nPosition);
    void OpenUri(const QString& strUri);

signals:
    void Seeked(qlonglong nPosition);

private:
    CMprisMediaControls& m_controls;
};
