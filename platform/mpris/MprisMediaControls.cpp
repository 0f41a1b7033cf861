#include "platform/mpris/MprisMediaControls.h"

#include "platform/mpris/MprisPlayerAdaptor.h"
#include "platform/mpris/MprisRootAdaptor.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QLoggingCategory>
#include <cmath>

Q_LOGGING_CATEGORY(lcMpris, "kestrel.mpris", QtInfoMsg)

namespace {
constexpr char kServiceName[] = "org.mpris.MediaPlayer2.kestrelradio";
constexpr char kObjectPath[] = "/org/mpris/MediaPlayer2";
constexpr char kPlayerInterface[] = "org.mpris.MediaPlayer2.Player";
constexpr char kPropertiesInterface[] = "org.freedesktop.DBus.Properties";
constexpr char kPropertiesChanged[] = "PropertiesChanged";
// The interface's own name for "nothing is playing".
constexpr char kNoTrack[] = "/org/mpris/MediaPlayer2/TrackList/NoTrack";
// Track ids live under the program's own name, not under /org/mpris.
constexpr char kTrackIdPrefix[] = "/org/kestrelradio/track/";

const char* StatusName(IDesktopMediaControls::PlaybackStatus status)
{
    switch (status) {
    case IDesktopMediaControls::PlaybackStatus::Playing:
        return "Playing";
    case IDesktopMediaControls::PlaybackStatus::Paused:
        return "Paused";
    case IDesktopMediaControls::PlaybackStatus::Stopped:
        break;
    }
    return "Stopped";
}

void InsertIfSet(QVariantMap& map, const char* key, const QString& value)
{
    if (!value.isEmpty())
        map.insert(QLatin1String(key), value);
}
}

CMprisMediaControls::CMprisMediaControls(QObject* pParent)
    : IDesktopMediaControls(pParent)
{
    new CMprisRootAdaptor(this);
    new CMprisPlayerAdaptor(this);
    // Changes made in one turn of the event loop go out together.
    m_sendTimer.setSingleShot(true);
    m_sendTimer.setInterval(0);
    connect(&m_sendTimer, &QTimer::timeout, this, &CMprisMediaControls::SendChanges);
}

CMprisMediaControls::~CMprisMediaControls()
{
    if (!m_bAvailable)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(m_strServiceName);
    bus.unregisterObject(QLatin1String(kObjectPath));
}

bool CMprisMediaControls::Start(const Description& description)
{
    if (m_bAvailable)
        return true;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCWarning(lcMpris, "Desktop media controls are off: no session bus");
        return false;
    }
    m_description = description;
    if (!bus.registerObject(QLatin1String(kObjectPath), this, QDBusConnection::ExportAdaptors)) {
        qCWarning(lcMpris, "Desktop media controls are off: the object %s is taken", kObjectPath);
        return false;
    }
    // Should the name be taken (another user's program on a shared bus), the
    // interface's rule gives this process a name of its own.
    m_strServiceName = QLatin1String(kServiceName);
    if (!bus.registerService(m_strServiceName)) {
        m_strServiceName += QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid());
        if (!bus.registerService(m_strServiceName)) {
            qCWarning(lcMpris, "Desktop media controls are off: the bus refused the name %s: %s",
                      qPrintable(m_strServiceName), qPrintable(bus.lastError().message()));
            bus.unregisterObject(QLatin1String(kObjectPath));
            return false;
        }
    }
    m_bAvailable = true;
    return true;
}

void CMprisMediaControls::SetPlaybackStatus(PlaybackStatus status)
{
    if (m_status == status)
        return;
    m_status = status;
    QueueChange("PlaybackStatus", PlaybackStatusName());
}

void CMprisMediaControls::SetTrack(const Track& track)
{
    if (m_track == track)
        return;
    m_track = track;
    QueueChange("Metadata", Metadata());
}

void CMprisMediaControls::SetVolume(double dVolume)
{
    if (m_dVolume == dVolume)
        return;
    m_dVolume = dVolume;
    QueueChange("Volume", dVolume);
}

void CMprisMediaControls::SetControllable(bool bControllable)
{
    if (m_bControllable == bControllable)
        return;
    m_bControllable = bControllable;
    for (const char* property : {"CanGoNext", "CanGoPrevious", "CanPlay", "CanPause", "CanControl"})
        QueueChange(property, bControllable);
    QueueChange("CanSeek", IsSeekable());
}

void CMprisMediaControls::SetSeekable(bool bSeekable)
{
    if (m_bSeekable == bSeekable)
        return;
    m_bSeekable = bSeekable;
    QueueChange("CanSeek", IsSeekable());
}

QString CMprisMediaControls::PlaybackStatusName() const
{
    return QLatin1String(StatusName(m_status));
}

QVariantMap CMprisMediaControls::Metadata() const
{
    QVariantMap metadata;
    if (m_track.nId == 0) {
        metadata.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(kNoTrack)));
        return metadata;
    }
    const QString trackId = QLatin1String(kTrackIdPrefix) + QString::number(m_track.nId);
    metadata.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(trackId)));
    InsertIfSet(metadata, "xesam:title", m_track.title);
    if (!m_track.artist.isEmpty())
        metadata.insert(QStringLiteral("xesam:artist"), QStringList{m_track.artist});
    InsertIfSet(metadata, "xesam:album", m_track.album);
    InsertIfSet(metadata, "xesam:url", m_track.url);
    InsertIfSet(metadata, "mpris:artUrl", m_track.artUrl);
    if (!m_track.comment.isEmpty())
        metadata.insert(QStringLiteral("xesam:comment"), QStringList{m_track.comment});
    return metadata;
}

void CMprisMediaControls::RequestVolume(double dVolume)
{
    if (!m_bControllable || std::isnan(dVolume))
        return;
    // Below silence is silence; the player goes no louder than full.
    emit VolumeRequested(qBound(0.0, dVolume, 1.0));
}

void CMprisMediaControls::QueueChange(const char* property, const QVariant& value)
{
    if (!m_bAvailable)
        return;
    m_pendingChanges.insert(QLatin1String(property), value);
    m_sendTimer.start();
}

void CMprisMediaControls::SendChanges()
{
    if (m_pendingChanges.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(QLatin1String(kObjectPath), QLatin1String(kPropertiesInterface),
                                                     QLatin1String(kPropertiesChanged));
    signal << QLatin1String(kPlayerInterface) << m_pendingChanges << QStringList();
    m_pendingChanges.clear();
    QDBusConnection::sessionBus().send(signal);
}
