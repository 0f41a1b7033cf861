#include "platform/mpris/MprisPlayerAdaptor.h"

#include "platform/mpris/MprisMediaControls.h"

#include <QDBusError>

namespace {
constexpr char kOpenUriRefused[] = "Kestrel Radio plays the channels of its list only";
}

CMprisPlayerAdaptor::CMprisPlayerAdaptor(CMprisMediaControls* pControls)
    : QDBusAbstractAdaptor(pControls)
    , m_controls(*pControls)
{
}

QString CMprisPlayerAdaptor::PlaybackStatus() const
{
    return m_controls.PlaybackStatusName();
}

QVariantMap CMprisPlayerAdaptor::Metadata() const
{
    return m_controls.Metadata();
}

double CMprisPlayerAdaptor::Volume() const
{
    return m_controls.Volume();
}

void CMprisPlayerAdaptor::SetVolume(double dVolume)
{
    m_controls.RequestVolume(dVolume);
}

bool CMprisPlayerAdaptor::CanControl() const
{
    return m_controls.IsControllable();
}

// Without control every method is a no-op, as the interface has it.
void CMprisPlayerAdaptor::Play()
{
    if (CanControl())
        emit m_controls.PlayRequested();
}

void CMprisPlayerAdaptor::Pause()
{
    if (CanControl())
        emit m_controls.PauseRequested();
}

void CMprisPlayerAdaptor::PlayPause()
{
    if (CanControl())
        emit m_controls.PlayPauseRequested();
}

void CMprisPlayerAdaptor::Stop()
{
    if (CanControl())
        emit m_controls.StopRequested();
}

void CMprisPlayerAdaptor::Next()
{
    if (CanControl())
        emit m_controls.NextRequested();
}

void CMprisPlayerAdaptor::Previous()
{
    if (CanControl())
        emit m_controls.PreviousRequested();
}

bool CMprisPlayerAdaptor::CanSeek() const
{
    return m_controls.IsSeekable();
}

void CMprisPlayerAdaptor::Seek(qlonglong nOffset)
{
    if (CanSeek())
        emit m_controls.SeekRequested(nOffset);
}

void CMprisPlayerAdaptor::SetPosition(const QDBusObjectPath&, qlonglong)
{
}

void CMprisPlayerAdaptor::OpenUri(const QString&)
{
    if (calledFromDBus())
        sendErrorReply(QDBusError::NotSupported, QLatin1String(kOpenUriRefused));
}
