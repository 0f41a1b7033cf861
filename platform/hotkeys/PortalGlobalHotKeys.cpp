#include "platform/hotkeys/PortalGlobalHotKeys.h"

#include "platform/hotkeys/HotKeysLog.h"
#include "platform/hotkeys/PortalRequest.h"
#include "platform/hotkeys/PortalTrigger.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>

namespace {
constexpr char kService[] = "org.freedesktop.portal.Desktop";
constexpr char kPath[] = "/org/freedesktop/portal/desktop";
constexpr char kShortcutsInterface[] = "org.freedesktop.portal.GlobalShortcuts";
constexpr char kRegistryInterface[] = "org.freedesktop.host.portal.Registry";
constexpr char kSessionInterface[] = "org.freedesktop.portal.Session";
constexpr char kPropertiesInterface[] = "org.freedesktop.DBus.Properties";
constexpr char kVersionProperty[] = "version";
constexpr char kSessionHandle[] = "session_handle";
constexpr char kSessionHandleToken[] = "session_handle_token";
constexpr char kSessionTokenPrefix[] = "kestrel_session";
constexpr char kDescription[] = "description";
constexpr char kPreferredTrigger[] = "preferred_trigger";
constexpr char kTriggerDescription[] = "trigger_description";
// The interface version that has ConfigureShortcuts.
constexpr uint kConfigureVersion = 2;
// A portal that is started on demand may take a moment to answer first.
constexpr int kBlockingCallTimeoutMs = 5000;
}

CPortalGlobalHotKeys::CPortalGlobalHotKeys(QObject* pParent)
    : IGlobalHotKeys(pParent)
    , m_bus(QDBusConnection::sessionBus())
{
    PortalShortcuts::RegisterTypes();
    if (!m_bus.isConnected())
        return;
    // A portal that restarts (or goes) takes its sessions and what it was
    // asked with it.
    m_pWatcher =
        new QDBusServiceWatcher(QLatin1String(kService), m_bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(m_pWatcher, &QDBusServiceWatcher::serviceOwnerChanged, this, [this] {
        ForgetPortal();
        if (!m_wanted.isEmpty())
            ScheduleUpdate();
    });
    m_bus.connect(QLatin1String(kService), QLatin1String(kPath), QLatin1String(kShortcutsInterface),
                  QStringLiteral("Activated"), this, SLOT(OnActivated(QDBusMessage)));
    m_bus.connect(QLatin1String(kService), QLatin1String(kPath), QLatin1String(kShortcutsInterface),
                  QStringLiteral("ShortcutsChanged"), this, SLOT(OnShortcutsChanged(QDBusMessage)));
}

CPortalGlobalHotKeys::~CPortalGlobalHotKeys()
{
    CloseSession();
}

uint CPortalGlobalHotKeys::PortalVersion() const
{
    if (m_nVersion >= 0)
        return static_cast<uint>(m_nVersion);
    m_nVersion = 0;
    if (!m_bus.isConnected())
        return 0;
    QDBusMessage get = QDBusMessage::createMethodCall(QLatin1String(kService), QLatin1String(kPath),
                                                      QLatin1String(kPropertiesInterface), QStringLiteral("Get"));
    get << QLatin1String(kShortcutsInterface) << QLatin1String(kVersionProperty);
    const QDBusMessage reply = m_bus.call(get, QDBus::Block, kBlockingCallTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
        m_nVersion = static_cast<int>(reply.arguments().first().value<QDBusVariant>().variant().toUInt());
    return static_cast<uint>(m_nVersion);
}

bool CPortalGlobalHotKeys::IsAvailable() const
{
    return PortalVersion() > 0;
}

bool CPortalGlobalHotKeys::DesktopDecidesTriggers() const
{
    return true;
}

bool CPortalGlobalHotKeys::CanConfigureOnDesktop() const
{
    return PortalVersion() >= kConfigureVersion;
}

void CPortalGlobalHotKeys::ConfigureOnDesktop()
{
    if (!CanConfigureOnDesktop() || m_strSession.isEmpty())
        return;
    QDBusMessage call =
        QDBusMessage::createMethodCall(QLatin1String(kService), QLatin1String(kPath),
                                       QLatin1String(kShortcutsInterface), QStringLiteral("ConfigureShortcuts"));
    call << QVariant::fromValue(QDBusObjectPath(m_strSession)) << QString() << QVariantMap();
    m_bus.asyncCall(call);
}

bool CPortalGlobalHotKeys::Grab(int nId, unsigned nModifiers, unsigned nVirtualKey)
{
    if (!IsAvailable())
        return false;
    const QString strTrigger = PortalTrigger::FromVirtualKey(nModifiers, nVirtualKey);
    if (strTrigger.isEmpty())
        return false;
    const Action action = ActionOf(nId);
    m_wanted.insert(action.strName, {nId, nModifiers, nVirtualKey, strTrigger, action.strDescription});
    m_announced.remove(action.strName);
    // The registrations that come together (a page registers all its keys
    // at once) go to the desktop in one request, and their answers after
    // this registration is in place.
    ScheduleUpdate();
    return true;
}

void CPortalGlobalHotKeys::Ungrab(int nId, unsigned nModifiers, unsigned nVirtualKey)
{
    // The desktop keeps the shortcut bound; its activations just reach no one.
    const QString strName = ActionOf(nId).strName;
    const auto it = m_wanted.constFind(strName);
    if (it != m_wanted.cend() && it->nModifiers == nModifiers && it->nVirtualKey == nVirtualKey) {
        m_wanted.erase(it);
        m_announced.remove(strName);
    }
}

IGlobalHotKeys::Binding CPortalGlobalHotKeys::BindingFor(int nId, unsigned nModifiers, unsigned nVirtualKey) const
{
    const QString strName = ActionOf(nId).strName;
    const QString strTrigger = PortalTrigger::FromVirtualKey(nModifiers, nVirtualKey);
    const auto bound = m_bound.constFind(strName);
    if (bound != m_bound.cend()) {
        if (bound->isEmpty())
            return {BindingState::Refused, QString()};
        const bool bSame = PortalTrigger::NamesSameKeys(*bound, strTrigger);
        return {bSame ? BindingState::AsRegistered : BindingState::Changed, *bound};
    }
    if (m_eState == SessionState::Failed ||
        (m_eState == SessionState::Ready && m_asked.contains(AskedKey(strName, strTrigger))))
        return {BindingState::Refused, QString()};
    return {BindingState::Pending, QString()};
}

void CPortalGlobalHotKeys::ForgetPortal()
{
    ++m_nGeneration;
    m_nVersion = -1;
    m_bRegistered = false;
    m_eState = SessionState::None;
    m_strSession.clear();
    m_bBoundInSession = false;
    m_bound.clear();
    m_asked.clear();
    m_announced.clear();
}

void CPortalGlobalHotKeys::ScheduleUpdate()
{
    if (m_bUpdateScheduled)
        return;
    m_bUpdateScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_bUpdateScheduled = false;
            Update();
        },
        Qt::QueuedConnection);
}

void CPortalGlobalHotKeys::Update()
{
    switch (m_eState) {
    case SessionState::None:
    case SessionState::Failed:
        if (m_wanted.isEmpty())
            return;
        if (!IsAvailable()) {
            qCWarning(lcHotKeys, "Global hot keys are off: the desktop offers no shortcuts portal");
            m_eState = SessionState::Failed;
            AnnounceAnswers();
            return;
        }
        RegisterApplication();
        CreateSession();
        return;
    case SessionState::Ready:
        break;
    case SessionState::Creating:
    case SessionState::Listing:
    case SessionState::Binding:
        // Their answer updates again.
        return;
    }
    bool bNeedsBinding = false;
    for (auto it = m_wanted.cbegin(); it != m_wanted.cend(); ++it)
        bNeedsBinding |= !m_bound.contains(it.key()) && !m_asked.contains(AskedKey(it.key(), it->strTrigger));
    if (!bNeedsBinding) {
        AnnounceAnswers();
        return;
    }
    if (m_bBoundInSession) {
        CloseSession();
        CreateSession();
        return;
    }
    BindWanted();
}

void CPortalGlobalHotKeys::RegisterApplication()
{
    // Once per portal, before its first session: newer portals refuse a
    // session to a host program that has not said who it is. Older ones
    // have no registry, and the error says so.
    if (m_bRegistered)
        return;
    m_bRegistered = true;
    const QString strApplicationId = QGuiApplication::desktopFileName();
    if (strApplicationId.isEmpty())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(kService), QLatin1String(kPath),
                                                       QLatin1String(kRegistryInterface), QStringLiteral("Register"));
    call << strApplicationId << QVariantMap();
    m_bus.call(call, QDBus::Block, kBlockingCallTimeoutMs);
}

void CPortalGlobalHotKeys::CreateSession()
{
    m_eState = SessionState::Creating;
    m_bBoundInSession = false;
    m_strSession.clear();
    const quint64 nGeneration = ++m_nGeneration;
    QDBusMessage call =
        QDBusMessage::createMethodCall(QLatin1String(kService), QLatin1String(kPath),
                                       QLatin1String(kShortcutsInterface), QStringLiteral("CreateSession"));
    call << QVariantMap{
        {QLatin1String(kSessionHandleToken), QLatin1String(kSessionTokenPrefix) + QString::number(nGeneration)}};
    CPortalRequest::Send(
        m_bus, call,
        [this, nGeneration](uint nResponse, const QVariantMap& results) {
            if (nGeneration == m_nGeneration)
                OnSessionCreated(nResponse, results);
        },
        this);
}

void CPortalGlobalHotKeys::OnSessionCreated(uint nResponse, const QVariantMap& results)
{
    // The handle comes as a string, though it is an object path.
    const QVariant handle = results.value(QLatin1String(kSessionHandle));
    m_strSession = handle.metaType() == QMetaType::fromType<QDBusObjectPath>() ? handle.value<QDBusObjectPath>().path()
                                                                               : handle.toString();
    if (nResponse != CPortalRequest::kSuccess || m_strSession.isEmpty()) {
        qCWarning(lcHotKeys, "Global hot keys are off: the shortcuts portal refused a session (response %u)",
                  nResponse);
        m_strSession.clear();
        m_eState = SessionState::Failed;
        AnnounceAnswers();
        return;
    }
    ListShortcuts();
}

void CPortalGlobalHotKeys::ListShortcuts()
{
    m_eState = SessionState::Listing;
    const quint64 nGeneration = m_nGeneration;
    QDBusMessage call =
        QDBusMessage::createMethodCall(QLatin1String(kService), QLatin1String(kPath),
                                       QLatin1String(kShortcutsInterface), QStringLiteral("ListShortcuts"));
    call << QVariant::fromValue(QDBusObjectPath(m_strSession)) << QVariantMap();
    CPortalRequest::Send(
        m_bus, call,
        [this, nGeneration](uint nResponse, const QVariantMap& results) {
            if (nGeneration == m_nGeneration)
                OnListed(nResponse, results);
        },
        this);
}

void CPortalGlobalHotKeys::OnListed(uint nResponse, const QVariantMap& results)
{
    // What the desktop remembers from earlier runs is bound already: no
    // need to ask the user again.
    if (nResponse == CPortalRequest::kSuccess)
        TakeShortcuts(PortalShortcuts::FromResults(results));
    m_eState = SessionState::Ready;
    Update();
}

void CPortalGlobalHotKeys::BindWanted()
{
    // All the actions in one request, so the desktop shows them together;
    // those it knows keep the trigger the user gave them.
    PortalShortcutList shortcuts;
    for (auto it = m_wanted.cbegin(); it != m_wanted.cend(); ++it) {
        shortcuts << PortalShortcut{
            it.key(),
            {{QLatin1String(kDescription), it->strDescription}, {QLatin1String(kPreferredTrigger), it->strTrigger}}};
        m_asked.insert(AskedKey(it.key(), it->strTrigger));
    }
    m_eState = SessionState::Binding;
    m_bBoundInSession = true;
    const quint64 nGeneration = m_nGeneration;
    QDBusMessage call =
        QDBusMessage::createMethodCall(QLatin1String(kService), QLatin1String(kPath),
                                       QLatin1String(kShortcutsInterface), QStringLiteral("BindShortcuts"));
    call << QVariant::fromValue(QDBusObjectPath(m_strSession)) << QVariant::fromValue(shortcuts) << QString()
         << QVariantMap();
    CPortalRequest::Send(
        m_bus, call,
        [this, nGeneration](uint nResponse, const QVariantMap& results) {
            if (nGeneration == m_nGeneration)
                OnBound(nResponse, results);
        },
        this);
}

void CPortalGlobalHotKeys::OnBound(uint nResponse, const QVariantMap& results)
{
    // A cancelled dialog binds nothing; what was asked stays unbound.
    if (nResponse == CPortalRequest::kSuccess)
        TakeShortcuts(PortalShortcuts::FromResults(results));
    else
        qCInfo(lcHotKeys, "The desktop bound none of the hot keys (response %u)", nResponse);
    m_eState = SessionState::Ready;
    Update();
}

void CPortalGlobalHotKeys::CloseSession()
{
    if (!m_strSession.isEmpty() && m_bus.isConnected()) {
        const QDBusMessage close = QDBusMessage::createMethodCall(
            QLatin1String(kService), m_strSession, QLatin1String(kSessionInterface), QStringLiteral("Close"));
        m_bus.asyncCall(close);
    }
    m_strSession.clear();
}

void CPortalGlobalHotKeys::TakeShortcuts(const PortalShortcutList& shortcuts)
{
    for (const PortalShortcut& shortcut : shortcuts)
        m_bound.insert(shortcut.strId, shortcut.properties.value(QLatin1String(kTriggerDescription)).toString());
}

void CPortalGlobalHotKeys::AnnounceAnswers()
{
    const QList<Wanted> wanted = m_wanted.values();
    for (const Wanted& action : wanted) {
        const QString strName = ActionOf(action.nId).strName;
        if (m_announced.contains(strName) ||
            BindingFor(action.nId, action.nModifiers, action.nVirtualKey).eState == BindingState::Pending)
            continue;
        m_announced.insert(strName);
        ReportBindingChanged(action.nId, BindingChange::Answered);
    }
}

QString CPortalGlobalHotKeys::AskedKey(const QString& strName, const QString& strTrigger)
{
    return strName + QLatin1Char('\n') + strTrigger;
}

void CPortalGlobalHotKeys::OnActivated(const QDBusMessage& message)
{
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 2 || arguments[0].value<QDBusObjectPath>().path() != m_strSession || m_strSession.isEmpty())
        return;
    const auto it = m_wanted.constFind(arguments[1].toString());
    if (it != m_wanted.cend())
        ReportPressed(it->nModifiers, it->nVirtualKey);
}

void CPortalGlobalHotKeys::OnShortcutsChanged(const QDBusMessage& message)
{
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 2 || arguments[0].value<QDBusObjectPath>().path() != m_strSession || m_strSession.isEmpty())
        return;
    const PortalShortcutList shortcuts = PortalShortcuts::FromArgument(arguments[1]);
    TakeShortcuts(shortcuts);
    for (const PortalShortcut& shortcut : shortcuts) {
        const auto it = m_wanted.constFind(shortcut.strId);
        if (it != m_wanted.cend())
            ReportBindingChanged(it->nId, BindingChange::ChangedOnDesktop);
    }
}
