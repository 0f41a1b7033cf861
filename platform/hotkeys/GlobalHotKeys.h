#pragma once

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <memory>

// Key combinations that reach the program from whichever window has the
// keyboard. A combination belongs to one owner under an id of the owner's
// choosing; while it is held, no other owner of this program and no other
// program on the desktop can have it. An owner's combinations end when the
// owner is destroyed.
//
// Keys are virtual-key codes; modifiers are the bits below, and any higher
// bits are kept with the registration but do not take part in the key.
//
// Where the desktop itself decides (a shortcuts portal), a registration is
// a request: the desktop may ask the user, and may bind another trigger or
// none. Its answer comes later, as BindingChanged.
class IGlobalHotKeys : public QObject
{
    Q_OBJECT

public:
    static constexpr unsigned kModifierAlt = 0x01;
    static constexpr unsigned kModifierControl = 0x02;
    static constexpr unsigned kModifierShift = 0x04;
    static constexpr unsigned kModifierSuper = 0x08;
    static constexpr unsigned kModifierKeys = 0x0F;

    // What an id stands for, to the desktop that shows the user the keys.
    struct Action {
        int nId;
        // Stays the same from one version of the program to the next: the
        // desktop remembers the user's choice under it.
        QString strName;
        // In the user's words.
        QString strDescription;
    };

    enum class BindingState {
        Pending,  // the desktop has not answered yet
        AsRegistered,  // the combination works as registered
        Changed,  // the desktop bound another trigger
        Refused,  // no trigger reaches the program
    };
    struct Binding {
        BindingState eState = BindingState::Pending;
        // The trigger as the desktop describes it; empty where the desktop
        // says nothing (the combination itself is the trigger).
        QString strTrigger;
    };

    // Why BindingChanged came.
    enum class BindingChange {
        Answered,  // the desktop answered the registration
        ChangedOnDesktop,  // the user changed the trigger in the desktop's settings
    };
    Q_ENUM(BindingChange)

    explicit IGlobalHotKeys(QObject* pParent = nullptr);
    ~IGlobalHotKeys() override;

    // False where the desktop offers no global keys (no X11 display, no
    // shortcuts portal); every registration then fails.
    virtual bool IsAvailable() const = 0;
    // Whether the desktop decides the triggers and answers later.
    virtual bool DesktopDecidesTriggers() const;
    // Whether the desktop can show its own settings of the program's keys.
    virtual bool CanConfigureOnDesktop() const;
    // Shows them; nothing where it cannot.
    virtual void ConfigureOnDesktop();

    // The actions behind the ids, before the first registration.
    void DescribeActions(const QList<Action>& actions);

    // False when the combination is held already, by this program or by
    // another, or cannot be had on this keyboard or desktop.
    [[nodiscard]] bool Register(QObject* pOwner, int nId, unsigned nModifiers, unsigned nVirtualKey);
    // False when the owner holds nothing under that id.
    bool Unregister(QObject* pOwner, int nId);
    void UnregisterAll(QObject* pOwner);
    // How the desktop holds the owner's registration under the id; Refused
    // when there is none.
    Binding BindingOf(QObject* pOwner, int nId) const;

signals:
    // A held combination was pressed.
    void Pressed(QObject* pOwner, int nId, unsigned nModifiers, unsigned nVirtualKey);
    // The desktop answered or changed the binding of a registration.
    void BindingChanged(QObject* pOwner, int nId, IGlobalHotKeys::BindingChange eChange);

protected:
    // The backend takes the combination for the id from the desktop, or
    // says why not.
    virtual bool Grab(int nId, unsigned nModifiers, unsigned nVirtualKey) = 0;
    virtual void Ungrab(int nId, unsigned nModifiers, unsigned nVirtualKey) = 0;
    // How the desktop holds what was grabbed; as registered unless the
    // backend knows better.
    virtual Binding BindingFor(int nId, unsigned nModifiers, unsigned nVirtualKey) const;
    // The backend reports a press of a combination it grabbed.
    void ReportPressed(unsigned nModifiers, unsigned nVirtualKey);
    // The backend reports a new binding for what it grabbed under the id.
    void ReportBindingChanged(int nId, BindingChange eChange);
    // The description given for the id; a made-up one when none was.
    Action ActionOf(int nId) const;

private:
    struct Registration {
        QObject* pOwner;
        int nId;
        unsigned nModifiers;
        unsigned nVirtualKey;
    };
    bool IsHeld(unsigned nModifiers, unsigned nVirtualKey) const;
    void Release(qsizetype nIndex);

    QList<Registration> m_registrations;
    QSet<QObject*> m_watchedOwners;
    QList<Action> m_actions;
};

// The global hot keys of this desktop session: key grabs on an X11 session,
// the desktop's shortcuts portal on a Wayland session (where an X11 grab
// never sees another program's keys), whichever display the program uses.
std::unique_ptr<IGlobalHotKeys> CreateGlobalHotKeys(QObject* pParent = nullptr);
