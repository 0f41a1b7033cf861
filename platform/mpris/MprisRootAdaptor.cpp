#include "platform/mpris/MprisRootAdaptor.h"

#include "platform/mpris/MprisMediaControls.h"

CMprisRootAdaptor::CMprisRootAdaptor(CMprisMediaControls* pControls)
    : QDBusAbstractAdaptor(pControls)
    , m_controls(*pControls)
{
}

QString CMprisRootAdaptor::Identity() const
{
    return m_controls.GetDescription().identity;
}

QString CMprisRootAdaptor::DesktopEntry() const
{
    return m_controls.GetDescription().desktopEntry;
}

QStringList CMprisRootAdaptor::SupportedUriSchemes() const
{
    return m_controls.GetDescription().uriSchemes;
}

QStringList CMprisRootAdaptor::SupportedMimeTypes() const
{
    return m_controls.GetDescription().mimeTypes;
}

void CMprisRootAdaptor::Raise()
{
    emit m_controls.RaiseRequested();
}

void CMprisRootAdaptor::Quit()
{
    emit m_controls.QuitRequested();
}
