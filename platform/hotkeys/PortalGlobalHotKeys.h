#pragma once

#include "platform/hotkeys/GlobalHotKeys.h"
#include "platform/hotkeys/PortalShortcut.h"

#include <QDBusConnection>
#include <QMap>
#include <QSet>

class QDBusMessage;
class QDBusServiceWatcher;

// Global hot keys through the desktop's shortcuts portal
// (org.freedesktop.portal.GlobalShortcuts), where the compositor keeps the
// keyboard to itself. The program registers its application id with the
// host registry where the portal has one, opens one session, asks what the
// desktop remembers of its shortcuts, and binds only what it does not
// remember, all the registered actions in one request, so the desktop asks
// the user once and not at every start. A combination is the preferred
// trigger of its action; the desktop decides, and its answer arrives later.
class CPortalGlobalHotKeys : public IGlobalHotKeys
{
    Q_OBJECT

public:
    explicit CPortalGlobalHotKeys(QObject* pParent = nullptr);
    ~CPortalGlobalHotKeys() override;

    bool IsAvailable() const override;
    bool DesktopDecidesTriggers() const override;
    bool CanConfigureOnDesktop() const override;
    void ConfigureOnDesktop() override;

protected:
    bool Grab(int nId, unsigned nModifiers, unsigned nVirtualKey) override;
    void Ungrab(int nId, unsigned nModifiers, unsigned nVirtualKey) override;
    Binding BindingFor(int nId, unsigned nModifiers, unsigned nVirtualKey) const override;

private slots:
    void OnActivated(const QDBusMessage& message);
    void OnShortcutsChanged(const QDBusMessage& message);

private:
    enum class SessionState { None, Creating, Listing, Ready, Binding, Failed };

    // A registration's action as the portal knows it.
    struct Wanted {
        int nId;
        unsigned nModifiers;
        unsigned nVirtualKey;
        QString strTrigger;
        QString strDescription;
    };

    // The portal's interface version; 0 without the portal or the interface.
    uint PortalVersion() const;
    void ForgetPortal();
    void ScheduleUpdate();
    void Update();
    void RegisterApplication();
    void CreateSession();
    void OnSessionCreated(uint nResponse, const QVariantMap& results);
    void ListShortcuts();
    void OnListed(uint nResponse, const QVariantMap& results);
    void BindWanted();
    void OnBound(uint nResponse, const QVariantMap& results);
    void CloseSession();
    void TakeShortcuts(const PortalShortcutList& shortcuts);
    // Tells the registrations whose answer is in.
    void AnnounceAnswers();
    static QString AskedKey(const QString& strName, const QString& strTrigger);

    QDBusConnection m_bus;
    QDBusServiceWatcher* m_pWatcher = nullptr;
    mutable int m_nVersion = -1;
    // Answers to requests of an earlier session or portal are let go.
    quint64 m_nGeneration = 0;
    bool m_bRegistered = false;
    SessionState m_eState = SessionState::None;
    QString m_strSession;
    // A session binds once; another binding needs a new session.
    bool m_bBoundInSession = false;
    bool m_bUpdateScheduled = false;
    QMap<QString, Wanted> m_wanted;
    // What the desktop holds: shortcut id and how it describes the trigger.
    QMap<QString, QString> m_bound;
    // What the desktop was asked to bind since it started: an action with a
    // trigger is asked once, so a refusal does not bring the dialog back.
    QSet<QString> m_asked;
    // The actions whose registrations have their answer.
    QSet<QString> m_announced;
};
