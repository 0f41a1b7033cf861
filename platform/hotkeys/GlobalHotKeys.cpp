#include "platform/hotkeys/GlobalHotKeys.h"

IGlobalHotKeys::IGlobalHotKeys(QObject* pParent)
    : QObject(pParent)
{
}

IGlobalHotKeys::~IGlobalHotKeys() = default;

bool IGlobalHotKeys::DesktopDecidesTriggers() const
{
    return false;
}

bool IGlobalHotKeys::CanConfigureOnDesktop() const
{
    return false;
}

void IGlobalHotKeys::ConfigureOnDesktop()
{
}

void IGlobalHotKeys::DescribeActions(const QList<Action>& actions)
{
    m_actions = actions;
}

IGlobalHotKeys::Action IGlobalHotKeys::ActionOf(int nId) const
{
    for (const Action& action : m_actions) {
        if (action.nId == nId)
            return action;
    }
    return {nId, QStringLiteral("hotkey-%1").arg(nId), QStringLiteral("Hot key %1").arg(nId)};
}

IGlobalHotKeys::Binding IGlobalHotKeys::BindingFor(int, unsigned, unsigned) const
{
    return {BindingState::AsRegistered, QString()};
}

IGlobalHotKeys::Binding IGlobalHotKeys::BindingOf(QObject* pOwner, int nId) const
{
    for (const Registration& registration : m_registrations) {
        if (registration.pOwner == pOwner && registration.nId == nId)
            return BindingFor(nId, registration.nModifiers & kModifierKeys, registration.nVirtualKey);
    }
    return {BindingState::Refused, QString()};
}

void IGlobalHotKeys::ReportBindingChanged(int nId, BindingChange eChange)
{
    // A copy: a receiver may unregister.
    const QList<Registration> registrations = m_registrations;
    for (const Registration& registration : registrations) {
        if (registration.nId == nId)
            emit BindingChanged(registration.pOwner, nId, eChange);
    }
}

bool IGlobalHotKeys::Register(QObject* pOwner, int nId, unsigned nModifiers, unsigned nVirtualKey)
{
    if (pOwner == nullptr || nVirtualKey == 0 || IsHeld(nModifiers, nVirtualKey))
        return false;
    if (!Grab(nId, nModifiers & kModifierKeys, nVirtualKey))
        return false;
    m_registrations.append({pOwner, nId, nModifiers, nVirtualKey});
    if (!m_watchedOwners.contains(pOwner)) {
        m_watchedOwners.insert(pOwner);
        connect(pOwner, &QObject::destroyed, this, [this, pOwner] {
            m_watchedOwners.remove(pOwner);
            UnregisterAll(pOwner);
        });
    }
    return true;
}

bool IGlobalHotKeys::Unregister(QObject* pOwner, int nId)
{
    bool bFound = false;
    for (qsizetype i = m_registrations.size() - 1; i >= 0; --i) {
        if (m_registrations[i].pOwner == pOwner && m_registrations[i].nId == nId) {
            Release(i);
            bFound = true;
        }
    }
    return bFound;
}

void IGlobalHotKeys::UnregisterAll(QObject* pOwner)
{
    for (qsizetype i = m_registrations.size() - 1; i >= 0; --i) {
        if (m_registrations[i].pOwner == pOwner)
            Release(i);
    }
}

void IGlobalHotKeys::ReportPressed(unsigned nModifiers, unsigned nVirtualKey)
{
    for (const Registration& registration : std::as_const(m_registrations)) {
        if ((registration.nModifiers & kModifierKeys) == nModifiers && registration.nVirtualKey == nVirtualKey) {
            emit Pressed(registration.pOwner, registration.nId, registration.nModifiers, nVirtualKey);
            return;
        }
    }
}

bool IGlobalHotKeys::IsHeld(unsigned nModifiers, unsigned nVirtualKey) const
{
    for (const Registration& registration : m_registrations) {
        if ((registration.nModifiers & kModifierKeys) == (nModifiers & kModifierKeys) &&
            registration.nVirtualKey == nVirtualKey)
            return true;
    }
    return false;
}

void IGlobalHotKeys::Release(qsizetype nIndex)
{
    const Registration registration = m_registrations.takeAt(nIndex);
    Ungrab(registration.nId, registration.nModifiers & kModifierKeys, registration.nVirtualKey);
}
